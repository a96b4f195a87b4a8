// What other programs get from the clipboard after Text kopieren, on a
// real X server: another X client reads it while this one owns it.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QProcess>

#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "platform/platform.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "text/text_output.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"
#include "x11/x11_server.h"

namespace {

// The clipboard's text as a second X client pastes it. The event loop
// turns meanwhile: this process owns the clipboard and answers for it.
std::string pastedelsewhere()
{
    QProcess reader;
    reader.start(QCoreApplication::applicationFilePath(), {"--print-clipboard"});
    if (!reader.waitForStarted())
        return "(the reader did not start)";
    pump_until([&] { return reader.state() == QProcess::NotRunning; }, 20000);
    return reader.readAllStandardOutput().toStdString();
}

}  // namespace

// Two lines of a graphic window copied with Text kopieren arrive with a
// line feed between them and no carriage return.
TEST(X11Clipboard, TextKopierenGivesLineFeeds)
{
    if (!xserverproblem.empty())
        GTEST_SKIP() << xserverproblem;
    ASSERT_TRUE(run_on_program_thread([] {
        t_InitWindow(0, 24, 20, 3, 8, "MenloBold 16x32.font");
        t_Print(0, "Zeile eins");
        t_Cr(0);
        t_Print(0, "Zeile zwei");
    }));
    t_WindowFront(0);
    ASSERT_TRUE(focusview(toview(windowview(0))));
    ASSERT_TRUE(pump_until([] { return mainwindownumber() == 0; }, 5000)) << "window 0 never became active";
    QAction* copy = itemwithtag(111);
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    EXPECT_EQ(pastedelsewhere(), "Zeile eins\nZeile zwei");
}
