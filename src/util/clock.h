// The runtime's clock: seconds since 1 January 2001 00:00 UTC, the epoch
// that the time stamps of events and window updates count from.
#pragma once

#include <cstdint>

// Seconds since 2001-01-01, with the fraction.
double absolute_seconds();
// The same in milliseconds, truncated toward zero (event and update stamps).
int64_t absolute_ms();
// The same in microseconds, truncated toward zero (durations).
int64_t absolute_us();

// Sleeps the calling thread; the runtime waits by polling with short sleeps.
void sleep_ms(int64_t milliseconds);
