// Running runtime code on the program thread while the test's main thread
// keeps the desktop's event loop turning (hand-offs to the main thread need
// it).
#pragma once

#include <functional>

// Turns the event loop until `done` answers true or `timeout_ms` passes;
// answers whether `done` became true.
bool pump_until(const std::function<bool()>& done, int timeout_ms = 10000);

// Turns the event loop for `ms` milliseconds.
void pump_for(int ms);

// Starts `work` with startprocess (so the first call runs on thread number
// 2) and turns the event loop until it has returned or ended its thread;
// answers false on timeout.
bool run_on_program_thread(const std::function<void()>& work, int timeout_ms = 10000);
