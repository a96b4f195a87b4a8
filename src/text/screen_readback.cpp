#include "text/screen_readback.h"

#include <vector>

#include "text/face_plane.h"
#include "text/text_attributes.h"
#include "util/strings.h"
#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

void t_RedirectOutput(uint8_t window, int64_t mode)
{
    if (graphicwindowguard("t_RedirectOutput", window))
        windowtable[window].TextRedirectOutput = mode;
}

namespace {

// The whole grid, every code as the character with that code point (128..255
// are the Latin-1 letters), `separator` after every line.
std::string screentext(uint8_t window, const std::string& separator)
{
    const t_Window& w = windowtable[window];
    const int64_t width = w.TextWidth;
    const int64_t height = w.TextHeight;
    std::string text;
    for (int64_t line = 1; line <= height; ++line) {
        for (int64_t column = 1; column <= width; ++column) {
            uint8_t code = 0;
            uint8_t attribute = 0;
            if (readtextcell(window, column, line, code, attribute))
                text += unicode::encode(code);
        }
        text += separator;
    }
    return text;
}

// Cuts the text into pieces at carriage returns, drops the trailing blanks of
// every piece and the empty pieces at the end (never the first one), and
// joins the rest with carriage returns again. Works on bytes: a separator
// that is not valid UTF-8 is carried through and the decoding below copes.
std::string trimmedlines(const std::string& text)
{
    std::vector<std::string> pieces = splitat(text, '\r');
    for (std::string& piece : pieces)
        piece.erase(piece.find_last_not_of(' ') + 1);
    while (pieces.size() >= 2 && pieces.back().empty())
        pieces.pop_back();
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            joined += '\r';
        joined += pieces[i];
    }
    return joined;
}

}  // namespace

std::string t_GetScreen(uint8_t window, const std::string& separator)
{
    if (!textwindowguard("t_GetScreen", window))
        return {};
    const std::string text = screentext(window, separator);
    if (separator.empty())
        return text;
    const std::string trimmed = trimmedlines(text);
    if (auto decoded = unicode::decodeutf8(trimmed))
        return *decoded;
    return texttostring(std::vector<uint8_t>(trimmed.begin(), trimmed.end()));
}

// ---- The text grid for a front-end --------------------------------------------

bool viewtextscreen(uint8_t window, t_TextScreen& screen)
{
    if (!memoryready || window >= graphicwindowcount || !windowhastext(window))
        return false;
    const t_Window& w = windowtable[window];
    const int64_t start = w.TextMemoryStart;
    const int64_t end = w.TextMemoryEnd;
    const int64_t columns = w.TextWidth;
    const int64_t lines = w.TextHeight;
    const int64_t half = textplanesize(w);
    if (columns < 1 || lines < 1 || end >= videomemorysize || columns > half / lines)
        return false;
    const int64_t cells = columns * lines;
    screen.Columns = columns;
    screen.Lines = lines;
    screen.Cells.resize(static_cast<size_t>(cells));
    static thread_local std::vector<t_FontFace> faces;
    faces.resize(static_cast<size_t>(cells));
    readfaces(window, faces.data(), cells);
    {
        const RacyVideoRead racy;
        const uint8_t* codes = videomemory + start;
        const uint8_t* attributes = codes + half;
        for (int64_t i = 0; i < cells; ++i) {
            t_TextCell& cell = screen.Cells[static_cast<size_t>(i)];
            cell.Code = codes[i];
            cell.Attribute = attributes[i];
        }
    }
    for (int64_t i = 0; i < cells; ++i)
        screen.Cells[static_cast<size_t>(i)].Face = faces[static_cast<size_t>(i)];
    screen.CursorColumn = w.TextHpos;
    screen.CursorLine = w.TextVpos;
    const t_RGBColor margin = w.RGBColorBorder;
    screen.MarginColour = uint32_t(margin.Red) << 16 | uint32_t(margin.Green) << 8 | margin.Blue;
    return true;
}

uint32_t palettergb(unsigned number)
{
    const t_RGBColor c = palettecolor(number);
    return uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
}
