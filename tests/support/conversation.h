// Holding a conversation with the program running in the test process:
// real key events typed into view 0.
#pragma once

#include <QString>
#include <string>

// Turns the event loop until the program waits for a key (its text cursor
// is shown and no key is queued); false after two minutes.
bool waitsforkey();
// Types a line into view 0 and, unless it is typed ahead, waits until the
// program has taken it.
void say(const QString& line, bool ahead = false);
// The log with its dated begin and end lines reduced to "[Beginn]" and
// "[Ende]" when their shape is exact (digits where the date and time go).
std::string withoutstamps(const std::string& log);
