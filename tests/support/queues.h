// Putting events into the runtime's queues the way the main thread does.
#pragma once

#include <cstdint>

// Appends a key event with `value` to the key queue.
void queuekeyvalue(int64_t value);
