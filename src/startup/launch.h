// The work done when the application has finished launching, and when it
// terminates. launchwork and applicationwillterminate are entry points of
// the front-ends (platform/entry_points.h).
#pragma once

#include "platform/entry_points.h"
#include "startup/threads.h"

// The function called when the application terminates (after the line
// "applicationWillTerminate: Called."); it does nothing until a program
// sets one. Any thread; the handler runs on the main thread.
void setterminatehandler(t_Function handler);
