#include "conversation/conversation.h"

#include "conversation/answer_table.h"
#include "input/line_editor.h"
#include "input/mouse_events.h"
#include "menus/file_panels.h"
#include "menus/files.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "startup/launch.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/diagnostics.h"
#include "util/sound.h"
#include "util/strings.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

LogFile conversationlog;

namespace {

// Palette colours of the conversation.
constexpr int64_t red = 1;
constexpr int64_t green = 12;
constexpr int64_t yellow = 13;

const std::string carriagereturn = "\r";

// The state carried from one line to the next: whether the user has been
// warned after an interrupt word.
int64_t ctrlcwarned = 0;

// The fonts are loaded on first use and kept for the whole run.
const t_Font& regularfont()
{
    static const t_Font font = t_LoadFontResource("MenloRegular 16x32.font");
    return font;
}

const t_Font& italicfont()
{
    static const t_Font font = t_LoadFontResource("MenloItalic 16x32.font");
    return font;
}

std::string logline(const std::string& event)
{
    return "Protokoll vom " + datestring("") + ", " + event + " um " + timestring("") + " Uhr.";
}

void setupscreen()
{
    t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
    t_ColorBorder(0, yellow);
    t_Color(firstwindow, yellow);
    t_WindowCenter(0);
    t_WindowFront(0);
    t_Cr(firstwindow);
    t_Header(firstwindow, "  S P R E C H O", noticeline);
    t_Cr(firstwindow);
    t_Inverse(firstwindow);
    t_ClearEndOfLine(firstwindow);
    t_Normal(firstwindow);
}

// "Protokoll sichern …": the printer text as it stands into a file the user
// chooses. The printer keeps its text whatever happens to the file.
void savelogcopy(const std::string& date)
{
    const std::string path = savefile("Protokoll-" + filestamp(date, "") + ".txt", "Protokoll sichern",
                                      "Wohin soll das Protokoll gesichert werden?", "txt");
    if (path.empty())
        return;
    const int error = writewholefile(path, linuxlineends(p_GetPrinter()));
    if (error == 0) {
        diag_line("savelogcopy: The log is saved to " + path + ".");
        return;
    }
    diag_line("savelogcopy: Cannot write " + path + ": " + systemreason(error) + ".");
    const std::string text = "Das Protokoll konnte nicht unter „" + path + "“ gesichert werden. " +
                             germanreason(error) + "\n\nIm Protokollfenster ist nichts verloren.";
    platform::run_on_main([&text] { platform::show_message("Protokoll sichern", text); });
}

// The log goes to a file of its own as well, named by the conversation's
// start; quitting the application in mid-conversation ends the file with
// its end line.
void startlog()
{
    const std::string date = datestring("");
    const std::string time = timestring("");
    openlogfile(conversationlog, logdirectory(), filestamp(date, time));
    setterminatehandler([] { closelogfile(conversationlog, logline("Ende")); });
    setprogrammenuhandler([date] { menuchoice(date); });
    logappend("Protokoll vom " + date + ", Beginn um " + time + " Uhr.");
    logappend(carriagereturn);
    logappend(carriagereturn);
}

void setupconversation()
{
    p_InitPrinter();
    t_Area(firstwindow, 3, 6, 77, 24);
    t_WindowFont(firstwindow, regularfont());
    t_CursorHome(firstwindow);
    t_Color(firstwindow, green);
    t_WindowTitle(9, "Protokoll");
    p_SetRuler("Sprecho-Protokoll vom " + datestring(""));
    readanswertable();
    startlog();
}

// One exchange; answers false when the line was an end word.
bool converse()
{
    t_WindowFont(firstwindow, regularfont());
    // Pasted characters beyond Latin-1 stand escaped in the line; the log
    // and the answer rules see the characters.
    std::string inputline = unescapedtext(t_InputForm(firstwindow, "=>", "", false, 0, 80));
    logappend("Patient: " + inputline);
    logappend(carriagereturn);
    std::string upper = uppercaseline(inputline);
    LineKind kind = classifyline(upper);
    if (kind == LineKind::Empty)
        return true;
    t_WindowFont(firstwindow, italicfont());
    if (kind == LineKind::Interrupt)
        ctrlcreaction();
    else if (kind == LineKind::Ordinary)
        sayline(choosereply(upper));
    logappend(carriagereturn);
    return kind != LineKind::End;
}

}  // namespace

void menuchoice(const std::string& date)
{
    int64_t action = 0;
    {
        std::lock_guard lock(t_MenuEventsLock);
        if (!t_MenuEvents.empty())
            action = t_MenuEvents.back().ItemAction;
    }
    if (action == platform::savelogtag)
        savelogcopy(date);
}

void logappend(const std::string& text)
{
    appendlogfile(conversationlog, text);
    p_SetPrinter(p_GetPrinter() + text);
}

void sayline(const std::string& text)
{
    t_Print(firstwindow, text);
    t_Cr(firstwindow);
    logappend("Sprecho: " + text);
    logappend(carriagereturn);
}

void ctrlcreaction()
{
    sysbeep();
    t_Color(firstwindow, red);
    sayline("Aaaaaaaahhhhhhhhh........");
    if (ctrlcwarned != 1) {
        t_Color(firstwindow, red);
        sayline("Wenn du das noch einmal machst, brenn' ich dir den Mikroprozessor durch!");
        t_Color(firstwindow, green);
        ctrlcwarned = 1;
        return;
    }
    sayline("Du hast es nicht anders gewollt!");
    t_Color(firstwindow, green);
    sleep_ms(10000);
    sayline("Ich will mal nicht so sein...");
    ctrlcwarned = 0;
}

void conversationmain()
{
    ctrlcwarned = 0;  // every conversation starts unwarned, also a second one in the same process
    setupscreen();
    setupconversation();
    while (converse()) {
    }
    logappend(logline("Ende"));
    logappend(carriagereturn);
    closelogfile(conversationlog);
    t_QuitProgram(0);
}
