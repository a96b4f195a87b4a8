#include "text/text_output.h"

#include "input/key_events.h"
#include "menus/menu_events.h"
#include "text/face_plane.h"
#include "text/glyph.h"
#include "text/text_attributes.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/sound.h"
#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t escapemode = 99;  // an escape code waits for its parameter
constexpr int64_t pausekey = 19;    // control-S

// ---- Printing characters ------------------------------------------------------

// Draws `code` at the cursor in the current colours and moves the cursor on.
void drawatcursor(uint8_t window, uint8_t code)
{
    const t_Window& w = windowtable[window];
    t_PrintSymbol(window, code, w.TextColor, w.TextHpos, w.TextVpos);
    t_CursorRight(window);
}

// A character through the display mode, drawn at the cursor; the mode's
// temporary attribute changes are undone afterwards, an escape parameter's
// colour change is kept.
void printdisplayed(uint8_t window, int64_t c)
{
    t_Window& w = windowtable[window];
    const t_DisplayModeResult r = t_ApplyDisplayMode(window, c);
    if (r.code >= 256) {  // beyond the font: a question mark
        if (w.TextDisplayMode == 4)
            t_Color(window, 1);
        drawatcursor(window, '?');
    } else if (r.code >= 0) {
        drawatcursor(window, static_cast<uint8_t>(r.code));
    }
    w.TextInverse = r.inverse;
    w.TextColor = r.colour;
}

// One character of t_Print: control codes act while the display mode shows
// them as controls (mode 2 and below); everything else is displayed.
void printcharacter(uint8_t window, int64_t c)
{
    if (c < 32 && windowtable[window].TextDisplayMode <= 2) {
        if (c == 13)
            outputpausecheck(pausekey, true);
        t_PrintControl(window, static_cast<uint8_t>(c));
        return;
    }
    printdisplayed(window, c);
}

// The pause check runs after the last character (so an empty text runs only
// that) and before every carriage return.
template <typename Characters>
void printcharacters(uint8_t window, const Characters& characters)
{
    if (!textwindowguard("t_Print", window))
        return;
    if (windowtable[window].Font.Data.empty()) {
        diag_line("t_Print: Window #" + std::to_string(window) + " has no text font.");
        return;
    }
    for (const auto c : characters)
        printcharacter(window, static_cast<int64_t>(c));
    outputpausecheck(pausekey, true);
}

// ---- Escape parameters --------------------------------------------------------

// Tab to the next stop of a grid of `grid` columns; a stop beyond the
// window's last column ends the line instead.
void gridtab(uint8_t window, int64_t grid)
{
    const t_Window& w = windowtable[window];
    const int64_t stop = (w.TextHpos / grid) * grid + grid + 1;
    if (w.TextWidth - w.TextFirstColumn + 1 < stop) {
        t_ClearEndOfLine(window);
        t_Cr(window);
    } else {
        t_PrintTab(window, stop, 32);
    }
}

bool isescapeparameter(int64_t c)
{
    return (c >= 64 && c <= 95) || c == 101 || c == 102 || (c >= 105 && c <= 107) ||
           (c >= 110 && c <= 127);
}

// Acts on the character after an escape code. Any other character is no
// parameter: it is drawn as it is and the escape stays pending.
void escapeparameter(uint8_t window, int64_t c, t_DisplayModeResult& r)
{
    if (!isescapeparameter(c))
        return;
    t_Window& w = windowtable[window];
    w.TextDisplayMode = 0;
    r.code = -1;
    if (c <= 79)
        r.colour = static_cast<uint8_t>((c - 64) * 16 + (w.TextColor & 0x0F));
    else if (c <= 95)
        r.colour = static_cast<uint8_t>((w.TextColor & 0xF0) + (c - 80));
    else if (c == 101)
        t_CursorEnd(window);
    else if (c == 102)
        t_Htab(window, w.TextWidth - w.TextFirstColumn + 1);
    else if (c <= 107)
        gridtab(window, c == 105 ? 10 : c == 106 ? 20 : 40);
    else
        t_ColorBorder(window, c - 110);
}

// ---- Scrolling ----------------------------------------------------------------

// Moves `count` bytes of video memory when source and destination both lie
// within [low, high]; a record changed by hand cannot make a scroll reach
// outside the window's block.
void moveinside(int64_t source, int64_t destination, int64_t count, int64_t low, int64_t high)
{
    if (count < 1 || low < 0 || high >= videomemorysize)
        return;
    if (source < low || destination < low || source + count - 1 > high ||
        destination + count - 1 > high)
        return;
    movevideomemory(source, destination, count);
}

struct ScrollGeometry {
    int64_t tfc, tlc, tfl, tll, tw;
    int64_t tms, tme, half;
    int64_t bd, w, ms, me, fw, fh;
};

ScrollGeometry scrollgeometry(const t_Window& win)
{
    ScrollGeometry g{};
    g.tfc = win.TextFirstColumn;
    g.tlc = win.TextLastColumn;
    g.tfl = win.TextFirstLine;
    g.tll = win.TextLastLine;
    g.tw = win.TextWidth;
    g.tms = win.TextMemoryStart;
    g.tme = win.TextMemoryEnd;
    g.half = textplanesize(win);
    g.bd = win.BitDepth;
    g.w = win.Width;
    g.ms = win.MemoryStart;
    g.me = win.MemoryEnd;
    g.fw = win.Font.Width;
    g.fh = win.Font.Height;
    return g;
}

// Moves the lines of a full-width area by one line in both text planes and
// in the pixel block. `up` moves lines tfl+1..tll to tfl..tll-1, otherwise
// lines tfl..tll-1 go to tfl+1..tll.
void movefullwidth(uint8_t window, const ScrollGeometry& g, bool up)
{
    const int64_t cells = g.tw * (g.tll - g.tfl);
    const int64_t line = g.tw * (g.tfl - 1);  // first cell of the area
    const int64_t from = up ? line + g.tw : line;
    const int64_t to = up ? line : line + g.tw;
    const int64_t planeend = g.tms + g.half - 1;
    moveinside(g.tms + g.half + from, g.tms + g.half + to, cells, g.tms + g.half, planeend + g.half);
    moveinside(g.tms + from, g.tms + to, cells, g.tms, planeend);
    moveface(window, from, to, cells);

    const int64_t linebytes = (g.bd * g.fh * g.w) / 8;
    if (up) {
        const int64_t src = g.ms + (g.bd * g.fh * g.tfl * g.w) / 8;
        const int64_t end = g.ms + ((g.fw * g.tw + (g.fh * g.tll - 1) * g.w) * g.bd) / 8;
        moveinside(src, src - linebytes, end - src, g.ms, g.me);
    } else {
        const int64_t src = g.ms + (g.bd * g.fh * (g.tfl - 1) * g.w) / 8;
        const int64_t end = g.ms + ((g.fw * g.tw + (g.fh * (g.tll - 1) - 1) * g.w) * g.bd) / 8;
        moveinside(src, src + linebytes, end - src, g.ms, g.me);
    }
}

// Redraws line `to` of a narrow area from the cells of line `from`, each
// with exactly its stored attribute.
void copyline(uint8_t window, const ScrollGeometry& g, int64_t from, int64_t to)
{
    for (int64_t column = g.tfc; column <= g.tlc; ++column)
        redrawcell(window, column, from, to, false);
}

void movenarrow(uint8_t window, const ScrollGeometry& g, bool up)
{
    if (up) {
        for (int64_t line = g.tfl; line <= g.tll - 1; ++line)
            copyline(window, g, line + 1, line);
    } else {
        for (int64_t line = g.tll; line >= g.tfl + 1; --line)
            copyline(window, g, line - 1, line);
    }
}

void scroll(uint8_t window, const char* op, bool up)
{
    if (window >= graphicwindowcount) {
        notgraphic(op);
        return;
    }
    if (windowtable[window].ScrollLock)
        return;
    if (!textwindowguard(op, window))
        return;
    const ScrollGeometry g = scrollgeometry(windowtable[window]);
    if (g.tfc == 1 && g.tlc == g.tw)
        movefullwidth(window, g, up);
    else
        movenarrow(window, g, up);
    blankcells(window, g.tfc, g.tlc, up ? g.tll : g.tfl);
}

// ---- Output pause -------------------------------------------------------------

// Recomputes t_KeyEventAvailable from the queue under the queue's lock, so
// the refresh cannot undo a key the main thread appends meanwhile.
void refreshkeyavailable()
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    t_KeyEventAvailable = !t_KeyEvents.empty();
}

// ---- Cursor -----------------------------------------------------------------

// One line down; below the area's last line the area scrolls up instead.
void linedown(uint8_t window)
{
    t_Window& w = windowtable[window];
    ++w.TextVpos;
    if (w.TextVpos > w.TextLastLine) {
        t_ScrollUp(window);
        --w.TextVpos;
    }
}

}  // namespace

// ---- Output -----------------------------------------------------------------

void t_Print(uint8_t window, const std::string& text)
{
    printcharacters(window, unicode::scalars(text));
}

void t_Print(uint8_t window, const Text& text)
{
    printcharacters(window, text.Elements);
}

void t_PrintChar(uint8_t window, uint8_t code)
{
    if (textwindowguard("t_PrintChar", window))
        printdisplayed(window, code);
}

void t_PrintControl(uint8_t window, uint8_t code)
{
    if (window >= graphicwindowcount) {
        notgraphic("t_PrintControl");
        return;
    }
    if (!routetext("t_PrintControl", window, code))
        return;
    t_Window& w = windowtable[window];
    switch (code) {
    case 7: sysbeep(); break;
    case 8: t_CursorLeft(window); break;
    case 10: t_CursorDown(window); break;
    case 11: t_ClearEndOfWindow(window); break;
    case 12:
        t_CursorHome(window);
        t_ClearEndOfWindow(window);
        break;
    case 13: t_Cr(window); break;
    case 14: t_Normal(window); break;
    case 15: t_Inverse(window); break;
    case 17: t_Reverse(window); break;
    case 18: t_Htab(window, 1); break;
    case 19: w.TextDisplayMode = 0; break;
    case 20: w.TextDisplayMode = 1; break;
    case 22: t_ScrollDown(window); break;
    case 23: t_ScrollUp(window); break;
    case 25: t_CursorHome(window); break;
    case 26:
        t_Htab(window, 1);
        t_ClearEndOfLine(window);
        break;
    case 27: w.TextDisplayMode = escapemode; break;
    case 28: t_CursorRight(window); break;
    case 29: t_ClearEndOfLine(window); break;
    case 30: t_CursorUp(window); break;
    case 31: w.TextDisplayMode = 2; break;
    default: break;  // 9, 16, 21, 24 and everything outside 7..31
    }
}

t_DisplayModeResult t_ApplyDisplayMode(uint8_t window, int64_t c)
{
    if (!textwindowguard("t_ApplyDisplayMode", window))
        return {-2, false, 0xF0};
    t_Window& w = windowtable[window];
    t_DisplayModeResult r{c, w.TextInverse, w.TextColor};
    switch (w.TextDisplayMode) {
    case 1:
        if (c >= 32 && c <= 127)
            r.code = c + 128;
        break;
    case 2:
        if (c >= 96 && c <= 127)
            r.code = c + 32;
        else if (c >= 64 && c <= 95)
            r.code = c - 64;
        break;
    case 3:
        if (c >= 0 && c <= 31) {
            r.code = c + 64;
            t_Inverse(window);
        }
        break;
    case 4:
        if (c >= 0 && c <= 31) {
            r.code = c + 64;
            t_Color(window, 1);
        }
        break;
    case escapemode: escapeparameter(window, c, r); break;
    default: break;
    }
    return r;
}

// ---- Cursor -----------------------------------------------------------------

void t_Cr(uint8_t window)
{
    if (!textwindowguard("t_Cr", window))
        return;
    windowtable[window].TextHpos = windowtable[window].TextFirstColumn.load();
    linedown(window);
}

void t_CursorRight(uint8_t window)
{
    if (!textwindowguard("t_CursorRight", window))
        return;
    t_Window& w = windowtable[window];
    ++w.TextHpos;
    if (w.TextHpos > w.TextLastColumn)
        t_Cr(window);
}

void t_CursorLeft(uint8_t window)
{
    if (!textwindowguard("t_CursorLeft", window))
        return;
    t_Window& w = windowtable[window];
    --w.TextHpos;
    if (w.TextHpos < w.TextFirstColumn) {
        w.TextHpos = w.TextLastColumn.load();
        t_CursorUp(window);
    }
}

void t_CursorUp(uint8_t window)
{
    if (!textwindowguard("t_CursorUp", window))
        return;
    t_Window& w = windowtable[window];
    --w.TextVpos;
    if (w.TextVpos < w.TextFirstLine) {
        t_ScrollDown(window);
        ++w.TextVpos;
    }
}

void t_CursorDown(uint8_t window)
{
    if (textwindowguard("t_CursorDown", window))
        linedown(window);
}

void t_CursorHome(uint8_t window)
{
    if (!textwindowguard("t_CursorHome", window))
        return;
    t_Window& w = windowtable[window];
    w.TextHpos = w.TextFirstColumn.load();
    w.TextVpos = w.TextFirstLine.load();
}

void t_CursorEnd(uint8_t window)
{
    if (!textwindowguard("t_CursorEnd", window))
        return;
    t_Window& w = windowtable[window];
    w.TextHpos = w.TextLastColumn.load();
    w.TextVpos = w.TextLastLine.load();
}

void t_Htab(uint8_t window, int64_t column)
{
    if (!textwindowguard("t_Htab", window))
        return;
    t_Window& w = windowtable[window];
    // May go beyond the area's last column, up to the window's last one.
    // Compared as column - 1 <= TextWidth - TextFirstColumn, so that no
    // column, however large, overflows the sum.
    if (column >= 1 && column - 1 <= w.TextWidth - w.TextFirstColumn)
        w.TextHpos = w.TextFirstColumn + column - 1;
}

void t_PrintTab(uint8_t window, int64_t column, uint8_t fill)
{
    if (!textwindowguard("t_PrintTab", window))
        return;
    const int64_t hpos = windowtable[window].TextHpos;
    if (column <= hpos)
        return;
    // The distance taken unsigned: column - hpos of far-apart values would
    // overflow and wrap to a count that prints for ever.
    const uint64_t count = static_cast<uint64_t>(column) - static_cast<uint64_t>(hpos);
    for (uint64_t i = 0; i < count; ++i)
        t_PrintChar(window, fill);
}

void t_PrintSpc(uint8_t window, int64_t count)
{
    if (!textwindowguard("t_PrintSpc", window))
        return;
    for (int64_t i = 0; i < count; ++i)
        t_PrintChar(window, 32);
}

void t_ScrollUp(uint8_t window)
{
    scroll(window, "t_ScrollUp", true);
}

void t_ScrollDown(uint8_t window)
{
    scroll(window, "t_ScrollDown", false);
}

// ---- Output pause -------------------------------------------------------------

bool outputpausecheck(int64_t key, bool wait)
{
    int64_t last = 0;
    if (!t_KeyEventAvailable || !lastqueuedkeyvalue(last) || last != key) {
        refreshkeyavailable();
        return false;
    }
    clearkeyqueue();
    if (!wait)
        return true;
    // Paused until a key or a menu choice arrives; the key that ends the
    // pause is taken so that it never reaches the program.
    const size_t keys = keyqueuelength();
    const size_t menus = menuqueuelength();
    while (keyqueuelength() == keys && menuqueuelength() == menus)
        sleep_ms(10);
    if (keyqueuelength() > keys)
        t_NextKeyEvent();
    refreshkeyavailable();
    return true;
}
