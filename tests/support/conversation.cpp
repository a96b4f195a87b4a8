#include "support/conversation.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <cctype>

#include "input/key_events.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "support/keys.h"
#include "support/program_thread.h"
#include "windows/window_table.h"

bool waitsforkey()
{
    return pump_until(
        [] { return memoryready && keyqueuelength() == 0 && windowtable[0].TextCursorLevel == 1; }, 120000);
}

void say(const QString& line, bool ahead)
{
    QWidget* view = toview(windowview(0));
    ASSERT_TRUE(ahead || waitsforkey());
    typetext(view, line);
    pressreturn(view);
    // The keys are queued before typetext returns, so an empty queue means
    // the program has taken the Return (its cursor may be back at the next
    // prompt already).
    ASSERT_TRUE(ahead || pump_until([] { return keyqueuelength() == 0; }));
}

std::string withoutstamps(const std::string& log)
{
    std::string result;
    size_t at = 0;
    while (at < log.size()) {
        std::string found = log.substr(at, 50);
        for (char& c : found)
            c = std::isdigit(static_cast<unsigned char>(c)) ? '9' : c;
        const std::string stamp = "Protokoll vom 99.99.9999, ";
        const std::string begin = stamp + "Beginn um 99:99:99 Uhr.";
        const std::string end = stamp + "Ende um 99:99:99 Uhr.";
        if (found.starts_with(begin)) {
            result += "[Beginn]";
            at += begin.size();
        } else if (found.starts_with(end)) {
            result += "[Ende]";
            at += end.size();
        } else {
            result += log[at++];
        }
    }
    return result;
}
