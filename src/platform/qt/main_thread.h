// Which thread owns the desktop, and the application object that work for
// it is queued on.
#pragma once

class QCoreApplication;

// The calling thread has created `application` and owns the desktop from
// now on (it also becomes the runtime's thread number 1).
void attachmainthread(QCoreApplication* application);
// The application is going away: nothing more is queued, and callers that
// wait for queued work that can no longer run give up.
void detachmainthread();
