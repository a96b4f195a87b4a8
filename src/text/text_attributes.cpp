#include "text/text_attributes.h"

#include <cstring>

#include "text/face_plane.h"
#include "text/glyph.h"
#include "text/text_output.h"
#include "util/strings.h"
#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

// ---- Attributes -------------------------------------------------------------

void t_Normal(uint8_t window)
{
    if (graphicwindowguard("t_Normal", window))
        windowtable[window].TextInverse = false;
}

void t_Inverse(uint8_t window)
{
    if (graphicwindowguard("t_Inverse", window))
        windowtable[window].TextInverse = true;
}

void t_Reverse(uint8_t window)
{
    if (graphicwindowguard("t_Reverse", window))
        windowtable[window].TextInverse = !windowtable[window].TextInverse;
}

void t_DisplayMode(uint8_t window, int64_t mode)
{
    if (graphicwindowguard("t_DisplayMode", window))
        windowtable[window].TextDisplayMode = mode;
}

void t_Color(uint8_t window, int64_t colour)
{
    if (!graphicwindowguard("t_Color", window))
        return;
    t_Window& w = windowtable[window];
    // The ink becomes colour mod 16 (the byte keeps the low bits of the
    // product), the paper stays. Multiplied unsigned: the low bits are the
    // same, and a colour of any size cannot overflow.
    w.TextColor = static_cast<uint8_t>(static_cast<uint64_t>(colour) * 16 + (w.TextColor & 0x0F));
    w.RGBColor = palettecolor(static_cast<unsigned>(colour & 15));
}

// ---- Area and font ----------------------------------------------------------

void t_Area(uint8_t window, int64_t firstColumn, int64_t firstLine, int64_t lastColumn,
            int64_t lastLine)
{
    if (!graphicwindowguard("t_Area", window))
        return;
    t_Window& w = windowtable[window];
    // Each pair is taken or ignored on its own; a bad pair is no error.
    if (1 <= firstColumn && firstColumn <= lastColumn && lastColumn <= w.TextWidth) {
        w.TextFirstColumn = firstColumn;
        w.TextLastColumn = lastColumn;
    }
    if (1 <= firstLine && firstLine <= lastLine && lastLine <= w.TextHeight) {
        w.TextFirstLine = firstLine;
        w.TextLastLine = lastLine;
    }
    w.TextHpos = w.TextFirstColumn.load();
    w.TextVpos = w.TextFirstLine.load();
}

void t_FullArea(uint8_t window)
{
    if (!graphicwindowguard("t_FullArea", window))
        return;
    t_Window& w = windowtable[window];
    w.TextFirstColumn = 1;
    w.TextLastColumn = w.TextWidth.load();
    w.TextFirstLine = 1;
    w.TextLastLine = w.TextHeight.load();
}

void t_WindowFont(uint8_t window, const t_Font& font)
{
    if (!graphicwindowguard("t_WindowFont", window))
        return;
    // HeaderSize and Identifier describe the file the window's font came
    // from and stay; the text grid is not re-derived (callers swap fonts of
    // the same cell size).
    t_Font& f = windowtable[window].Font;
    f.Format = font.Format;
    f.Size = font.Size;
    f.Start = font.Start;
    f.End = font.End;
    f.Width = font.Width;
    f.Height = font.Height;
    f.Reserved = font.Reserved;
    f.Data = font.Data;
    f.Face = font.Face;
}

// ---- Text memory cells ------------------------------------------------------

bool readtextcell(uint8_t window, int64_t column, int64_t line, uint8_t& code,
                  uint8_t& attribute)
{
    if (window >= graphicwindowcount)
        return false;
    const t_Window& w = windowtable[window];
    const int64_t start = w.TextMemoryStart;
    const int64_t end = w.TextMemoryEnd;
    const int64_t width = w.TextWidth;
    if (start < 0 || end < start || end >= videomemorysize)
        return false;
    if (column < 1 || column > width || line < 1 || line > w.TextHeight)
        return false;
    const int64_t half = (end - start + 1) / 2;
    const int64_t index = (line - 1) * width + (column - 1);
    if (index >= half)
        return false;
    code = videomemory[start + index];
    attribute = videomemory[start + half + index];
    return true;
}

void redrawcell(uint8_t window, int64_t column, int64_t from, int64_t to, bool inverse)
{
    uint8_t code = 0;
    uint8_t attribute = 0;
    if (readtextcell(window, column, from, code, attribute))
        printsymbol(window, code, attribute, column, to, inverse);
}

// ---- Clearing ---------------------------------------------------------------

namespace {

// True when t_PrintSymbol would draw a space in every cell first..last of
// `line` the same way and silently, writing every byte of each cell's pixel
// rows: a drawable glyph, cells inside the pixel block and the text planes,
// and a depth at which a cell is whole bytes that the glyph drawing writes
// completely (16 and 32 bits leave a byte of each pixel alone).
bool blanksarecopies(const t_Window& w, int64_t first, int64_t last, int64_t line)
{
    const t_Font& f = w.Font;
    const int64_t depth = w.BitDepth;
    if (w.TextRedirectOutput != 1 || f.Format != 2 || f.Start > 32 || f.End < 32 ||
        static_cast<int64_t>(f.Data.size()) < 33 * f.Width * f.Height || f.Width < 1)
        return false;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24)
        return false;
    if (f.Width * depth % 8 != 0 || first < 1 || first >= last || line < 1)
        return false;
    const int64_t half = textplanesize(w);
    return f.Width * last <= w.Width && f.Height * line <= w.Height && last <= w.TextWidth &&
           line <= w.TextHeight && (line - 1) * w.TextWidth + last <= half &&
           w.MemoryStart >= 0 && w.MemoryEnd < videomemorysize &&
           w.MemoryStart + w.Width * w.Height * depth / 8 - 1 <= w.MemoryEnd;
}

// Copies the first cell's pixel rows and text memory entries to the cells
// right of it.
void copyfirstcell(const t_Window& w, int64_t first, int64_t last, int64_t line)
{
    const int64_t rowbytes = w.Width * w.BitDepth / 8;
    const int64_t cellbytes = w.Font.Width * w.BitDepth / 8;
    const int64_t top = (line - 1) * w.Font.Height;
    for (int64_t row = top; row < top + w.Font.Height; ++row) {
        uint8_t* cell = videomemory + w.MemoryStart + row * rowbytes + (first - 1) * cellbytes;
        for (int64_t column = first + 1; column <= last; ++column)
            std::memcpy(cell + (column - first) * cellbytes, cell, static_cast<size_t>(cellbytes));
    }
    const int64_t half = textplanesize(w);
    uint8_t* codes = videomemory + w.TextMemoryStart + (line - 1) * w.TextWidth;
    const auto count = static_cast<size_t>(last - first);
    std::memset(codes + first, codes[first - 1], count);
    std::memset(codes + half + first, codes[half + first - 1], count);
}

}  // namespace

// A blank line is a small part of a scroll's bytes, but drawn cell by cell
// it cost almost as much as moving the whole screen; copying the first cell
// makes it a few memcpys.
void blankcells(uint8_t window, int64_t first, int64_t last, int64_t line)
{
    t_Window& w = windowtable[window];
    if (first > last)
        return;
    t_PrintSymbol(window, 32, w.TextColor, first, line);
    if (blanksarecopies(w, first, last, line)) {
        copyfirstcell(w, first, last, line);
        for (int64_t column = first + 1; column <= last; ++column)
            recordface(window, (line - 1) * w.TextWidth + column - 1, w.Font.Face);
        return;
    }
    for (int64_t column = first + 1; column <= last; ++column)
        t_PrintSymbol(window, 32, w.TextColor, column, line);
}

namespace {

// Blanks the cursor line from the cursor to the area's last column. With the
// cursor beyond the last column (t_Htab allows that) nothing is blanked.
void clearrestofline(uint8_t window)
{
    const t_Window& w = windowtable[window];
    blankcells(window, w.TextHpos, w.TextLastColumn, w.TextVpos);
}

}  // namespace

void t_ClearEndOfLine(uint8_t window)
{
    if (textwindowguard("t_ClearEndOfLine", window))
        clearrestofline(window);
}

void t_ClearEndOfWindow(uint8_t window)
{
    if (!textwindowguard("t_ClearEndOfWindow", window))
        return;
    const t_Window& w = windowtable[window];
    clearrestofline(window);
    for (int64_t line = w.TextVpos + 1; line <= w.TextLastLine; ++line)
        blankcells(window, w.TextFirstColumn, w.TextLastColumn, line);
}

// ---- Inverted cells and the text cursor -------------------------------------

namespace {

// Redraws a rectangle of cells from text memory inverted, so every cell swaps ink and paper and stores its attribute swapped: doing it
// twice gives back the same pixels and the same text memory.
void invertcells(uint8_t window, int64_t c1, int64_t l1, int64_t c2, int64_t l2)
{
    for (int64_t line = l1; line <= l2; ++line)
        for (int64_t column = c1; column <= c2; ++column)
            redrawcell(window, column, line, line, true);
}

}  // namespace

void t_InvertRect(uint8_t window, int64_t firstColumn, int64_t firstLine, int64_t lastColumn,
                  int64_t lastLine)
{
    if (!textwindowguard("t_InvertRect", window))
        return;
    const t_Window& w = windowtable[window];
    if (1 <= firstColumn && firstColumn <= lastColumn && lastColumn <= w.TextWidth &&
        1 <= firstLine && firstLine <= lastLine && lastLine <= w.TextHeight)
        invertcells(window, firstColumn, firstLine, lastColumn, lastLine);
}

void t_CursorDraw(uint8_t window)
{
    if (!textwindowguard("t_CursorDraw", window))
        return;
    const t_Window& w = windowtable[window];
    t_InvertRect(window, w.TextHpos, w.TextVpos, w.TextHpos, w.TextVpos);
}

// The level counts nested requests; only the step from 0 to 1 and back
// touches the cell. It is not clamped: unpaired calls stay unpaired.
void t_CursorOn(uint8_t window)
{
    if (!textwindowguard("t_CursorOn", window))
        return;
    t_Window& w = windowtable[window];
    ++w.TextCursorLevel;
    if (w.TextCursorLevel == 1)
        t_CursorDraw(window);
}

void t_CursorOff(uint8_t window)
{
    if (!textwindowguard("t_CursorOff", window))
        return;
    t_Window& w = windowtable[window];
    --w.TextCursorLevel;
    if (w.TextCursorLevel == 0)
        t_CursorDraw(window);
}

// ---- Header -----------------------------------------------------------------

void t_Header(uint8_t window, const std::string& left, const std::string& right)
{
    if (!textwindowguard("t_Header", window))
        return;
    t_Window& w = windowtable[window];
    const uint8_t colour = w.TextColor;
    const std::string line = justify(left, right, w.TextLastColumn - w.TextFirstColumn + 1);
    const int64_t length = unicode::length(line);
    if (length >= 2)
        t_Print(window, unicode::slice(line, 0, length - 1));
    // The last character is drawn without moving the cursor on, so a header
    // in the area's bottom-right corner does not scroll the area.
    const std::string last = length >= 1 ? unicode::slice(line, length - 1, 1) : std::string();
    const auto code = static_cast<uint8_t>(unicode::firstscalar(last) & 0xFF);
    t_PrintSymbol(window, code, colour, w.TextHpos, w.TextVpos);
    if (w.TextLastLine - w.TextFirstLine + 1 < 2)
        t_Htab(window, 1);
    else
        t_Cr(window);
}
