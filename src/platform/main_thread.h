// The thread that owns a front-end's objects ("the main thread"), and the
// queue through which other threads hand it work (platform::run_on_main,
// platform::post_to_main).
//
// A front-end attaches its thread once, watches `mainthreadwakeup()` in
// its event loop (readable when work is queued) and then calls
// `runmainthreadqueue()`. Front-end neutral: the desktop watches the
// descriptor with a socket notifier, the terminal with poll().
#pragma once

// The calling thread owns the front-end from now on (it also becomes the
// runtime's thread number 1); work can be queued.
void attachmainthread();
// The front-end is going away: nothing more is queued, and callers that
// wait for queued work that can no longer run give up.
void detachmainthread();
// A descriptor that becomes readable while work is queued; -1 before the
// first attach.
int mainthreadwakeup();
// Runs every queued call, in order (calls queued meanwhile run too).
// Main thread only.
void runmainthreadqueue();
