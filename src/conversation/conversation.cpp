#include "conversation/conversation.h"

#include "conversation/answer_table.h"
#include "input/line_editor.h"
#include "menus/virtual_printer.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/sound.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

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
    logappend(logline("Beginn"));
    logappend(carriagereturn);
    logappend(carriagereturn);
}

// One exchange; answers false when the line was an end word.
bool converse()
{
    t_WindowFont(firstwindow, regularfont());
    std::string inputline = t_InputForm(firstwindow, "=>", "", false, 0, 80);
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

void logappend(const std::string& text)
{
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
    t_QuitProgram(0);
}
