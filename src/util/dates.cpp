// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "util/dates.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::string nowstring() { return {}; }
std::string datetimetext(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second) { return {}; }
std::string datestring(const std::string& text) { return {}; }
std::string timestring(const std::string& text) { return {}; }
