// Threads of the runtime: the program thread with its large stack, the
// background service tasks, and their numbers and names.
//
// Numbers: the main thread is 1 (the platform marks it); every thread
// started here takes the next number from one counter when it starts, so the
// program thread, started first, is 2 and service tasks are 3 and up.
// Threads the runtime did not start are 0.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/entry_points.h"

using t_Function = std::function<void()>;

// Runs `function` on a new thread with a stack of `stacksize` bytes and
// returns once the thread exists (it does not wait for the function).
// One hand-off at a time: a second caller waits until the first thread has
// picked up its function.
void startprocess(t_Function function, int64_t stacksize);

// Runs a long-lived task on a detached thread of its own; returns at once.
void startbackgroundtask(t_Function function);

// The calling thread's number (see above).
int64_t threadnumber();

// markmainthread is in platform/entry_points.h.

// Names the calling thread (truncated to the 15 bytes Linux allows).
void namethread(const std::string& name);

// Ends the calling thread if the runtime started it (the program thread, a
// service task): unwinds its stack to the thread's entry. Returns false and
// does nothing on any other thread.
bool endcurrentthread();
