// The line editor.
//
// Positions and lengths count Unicode scalars of InputString, not grapheme
// clusters: a key inserts exactly one scalar and t_Print draws one cell per
// scalar, so the cursor's screen column is always InputHpos +
// InputCursorPos. With clusters, a letter followed by a combining mark
// would be one position but two cells.
//
// The text stays on its screen line: a key is accepted only while the text
// ends before the area's last column, a default text is cut to the same
// room, and every redraw (with its blanking spaces) is cut to it as well,
// so drawing never wraps to the next line or scrolls the area.
#include "input/line_editor.h"

#include <algorithm>
#include <optional>

#include "input/key_events.h"
#include "platform/platform.h"
#include "text/text_output.h"
#include "util/strings.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

using Scalars = std::u32string;

constexpr int64_t editdisplaymode = 4;  // control codes show as colour-1 letters

Scalars toscalars(const std::string& text)
{
    const std::vector<char32_t> scalars = unicode::scalars(text);
    return Scalars(scalars.begin(), scalars.end());
}

std::string toutf8(const Scalars& text)
{
    std::string result;
    result.reserve(text.size());
    for (const char32_t c : text)
        result += unicode::encode(c);
    return result;
}

int64_t lengthof(const Scalars& text)
{
    return static_cast<int64_t>(text.size());
}

// Cells from InputHpos up to, not including, the area's last column: the
// room for the text and for anything a redraw blanks.
int64_t linecells(const t_Window& w)
{
    return std::max<int64_t>(0, w.TextLastColumn - w.InputHpos);
}

// Draws `text` from InputHpos in the editing display mode, cut to the line.
void redraw(uint8_t window, const Scalars& text)
{
    t_Window& w = windowtable[window];
    const auto cells = static_cast<size_t>(linecells(w));
    w.TextHpos = w.InputHpos.load();
    w.TextDisplayMode = editdisplaymode;
    t_Print(window, toutf8(text.substr(0, cells)));
    w.TextDisplayMode = 0;
}

// Blanks the `count` cells the text took before it was emptied.
void blankspaces(uint8_t window, int64_t count)
{
    t_Window& w = windowtable[window];
    const int64_t cells = std::min(count, linecells(w));
    w.TextHpos = w.InputHpos.load();
    t_Print(window, Text{filledbytes(32, cells)});
}

bool isdigitcode(int64_t c)
{
    return c >= '0' && c <= '9';
}

int64_t keycode(const std::string& key)
{
    return unicode::firstscalar(key);
}

// Whether an escaped character starts at `pos`. A sequence that is cut
// short, lacks its closing 29, holds anything but four hexadecimal digits,
// or whose digits give no Unicode scalar value is no escaped character.
bool escapedcharacter(const Scalars& s, size_t pos)
{
    return readescape(s.data() + pos, s.size() - pos).kind == Escaped::character;
}

// An escaped character is one character to the person: the cursor steps
// over it, Backspace and Delete remove it whole.
int64_t widthat(const Scalars& s, int64_t p)
{
    return p >= 0 && size_t(p) < s.size() && escapedcharacter(s, size_t(p)) ? int64_t(escapelength) : 1;
}

int64_t widthbefore(const Scalars& s, int64_t p)
{
    constexpr auto length = int64_t(escapelength);
    return p >= length && escapedcharacter(s, size_t(p - length)) ? length : 1;
}

// ---- Cursor movement ----------------------------------------------------------

// Word right stops just after a space or at the end; word left just after a
// space or at the start.
int64_t wordright(const Scalars& s, int64_t p)
{
    const int64_t length = lengthof(s);
    if (p >= length)
        return p;
    ++p;
    while (p < length && s[static_cast<size_t>(p - 1)] != U' ')
        ++p;
    return p;
}

int64_t wordleft(const Scalars& s, int64_t p)
{
    if (p <= 0)
        return p;
    --p;
    while (p > 0 && s[static_cast<size_t>(p - 1)] != U' ')
        --p;
    return p;
}

// The cursor after a movement key; nothing for every other key.
std::optional<int64_t> movedcursor(const Scalars& s, int64_t p, int64_t key)
{
    switch (key) {
    case 1:
    case 2:
    case 11:
    case 18: return 0;
    case 3:
    case 5:
    case 6:
    case 10: return lengthof(s);
    case 4: return wordright(s, p);
    case 8: return std::max<int64_t>(p - widthbefore(s, p), 0);
    case 19: return wordleft(s, p);
    case 21: return std::min(p + widthat(s, p), lengthof(s));
    default: return std::nullopt;
    }
}

// ---- Input filters ------------------------------------------------------------

std::optional<int64_t> decimalfilter(const Scalars& s, int64_t p, int64_t key)
{
    const int64_t c = lowercasecode(key);
    if (isdigitcode(c))
        return c;
    if (c == '.' || c == ',') {
        if (s.find(U',') == Scalars::npos)
            return ',';
        return std::nullopt;
    }
    if (c == '-' && (p == 0 || s[static_cast<size_t>(p - 1)] == U'e'))
        return c;
    if (c == 'e' && s.find(U'e') == Scalars::npos)
        return c;
    return std::nullopt;
}

// The code to insert for `key` under the input mode; nothing when the mode
// rejects the key.
std::optional<int64_t> filtered(int64_t mode, const Scalars& s, int64_t p, int64_t key)
{
    switch (mode) {
    case 2:
        if (isdigitcode(key) || (key == '-' && p == 0))
            return key;
        return std::nullopt;
    case 3: return decimalfilter(s, p, key);
    case 4:
        if (isdigitcode(key) || (key == '-' && p > 0 && s.find(U'-') == Scalars::npos))
            return key;
        return std::nullopt;
    default:
        if (key != 0)
            return key;
        return std::nullopt;
    }
}

// ---- Editing keys -------------------------------------------------------------

void store(t_Window& w, const Scalars& text)
{
    w.InputString = toutf8(text);
}

void forwarddelete(uint8_t window, Scalars s, int64_t p)
{
    const int64_t width = widthat(s, p);
    if (p < lengthof(s))
        s.erase(static_cast<size_t>(p), static_cast<size_t>(width));
    store(windowtable[window], s);
    redraw(window, s + Scalars(static_cast<size_t>(width), U' '));
}

void backspace(uint8_t window, Scalars s, int64_t p)
{
    t_Window& w = windowtable[window];
    const int64_t width = widthbefore(s, p);
    if (p > 0)
        s.erase(static_cast<size_t>(p - width), static_cast<size_t>(width));
    store(w, s);
    w.InputCursorPos = p - width;
    redraw(window, s + Scalars(static_cast<size_t>(width), U' '));
}

void deletetostart(uint8_t window, const Scalars& s, int64_t p)
{
    t_Window& w = windowtable[window];
    const Scalars rest = s.substr(static_cast<size_t>(p));
    store(w, rest);
    w.InputCursorPos = 0;
    redraw(window, rest + Scalars(s.size() - rest.size(), U' '));
}

void clearline(uint8_t window, int64_t length)
{
    t_Window& w = windowtable[window];
    w.InputString.clear();
    w.InputCursorPos = 0;
    w.TextHpos = w.InputHpos.load();
    t_PrintSpc(window, std::min(length, linecells(w)));
}

void cancelline(uint8_t window, int64_t length)
{
    t_Window& w = windowtable[window];
    w.InputString.clear();
    w.InputFinished = false;
    blankspaces(window, length);
}

void copytopasteboard(const std::string& input)
{
    const std::string text = unescapedtext(input);
    platform::run_on_main([&text] { platform::set_pasteboard_text(text); });
}

void pastefrompasteboard(uint8_t window)
{
    std::string pasted;
    platform::run_on_main([&pasted] { pasted = platform::pasteboard_text(); });
    t_InputPaste(window, pasted);
}

// The six scalars of the escaped character for `code`. The escape holds 16
// bits: a character beyond them is written as the replacement character.
Scalars escaped(char32_t code)
{
    if (code > 0xFFFF)
        code = 0xFFFD;
    Scalars s(1, escapestart);
    for (const char digit : hexword(code))
        s += static_cast<char32_t>(digit);
    return s + escapeend;
}

// Inserts `piece` (one character, or the scalars of an escaped one) for
// `key` at the cursor when the whole piece fits and the input filter takes
// the key.
void insertpiece(uint8_t window, int64_t key, Scalars piece)
{
    t_Window& w = windowtable[window];
    Scalars s = toscalars(w.InputString);
    const int64_t length = lengthof(s) + lengthof(piece) - 1;  // before the piece's last scalar
    if (w.InputHpos + length >= w.TextLastColumn || length >= w.InputMaxCharacters)
        return;
    const int64_t p = std::clamp<int64_t>(w.InputCursorPos, 0, lengthof(s));
    const std::optional<int64_t> code = filtered(w.InputMode, s, p, key);
    if (!code)
        return;
    if (piece.size() == 1)
        piece[0] = unicode::isscalar(*code) ? static_cast<char32_t>(*code) : 0;
    s.insert(static_cast<size_t>(p), piece);
    store(w, s);
    w.InputCursorPos = p + lengthof(piece);
    redraw(window, s);
}

// A pasted character is always inserted, never taken for an editing key; one
// beyond Latin-1 goes in as its escaped character, which the font can show.
void insertpasted(uint8_t window, int64_t key)
{
    if (key > 255)
        insertpiece(window, key, escaped(static_cast<char32_t>(key)));
    else
        t_InputInsert(window, key);
}

// Up to three decimal digits give a character code. The key that is no
// digit (first or later) is swallowed.
void decimalentry(uint8_t window)
{
    int64_t c = keycode(t_GetKey(window));
    if (!isdigitcode(c))
        return;
    int64_t value = c - '0';
    for (int digits = 1; digits < 3; ++digits) {
        c = keycode(t_GetKey(window));
        if (!isdigitcode(c))
            break;
        value = value * 10 + c - '0';
    }
    const int64_t lowest = windowtable[window].InputMode == 1 ? 1 : 32;
    if (value >= lowest && value <= 255)
        t_InputInsert(window, value);
}

void editkey(uint8_t window, int64_t key, const Scalars& s, int64_t p)
{
    t_Window& w = windowtable[window];
    switch (key) {
    case 0:
        redraw(window, s);
        w.TextHpos = w.InputHpos + p;
        break;
    case 7: forwarddelete(window, s, p); break;
    case 12: copytopasteboard(w.InputString); break;
    case 13: w.InputFinished = true; break;
    case 22: pastefrompasteboard(window); break;
    case 24: deletetostart(window, s, p); break;
    case 26: clearline(window, lengthof(s)); break;
    case 27: cancelline(window, lengthof(s)); break;
    case 30: decimalentry(window); break;
    case 31: w.TextHpos = w.InputHpos + p; break;
    case 127: backspace(window, s, p); break;
    default:
        if (key >= 32)
            t_InputInsert(window, key);
        break;
    }
}

// Reads keys until Return or Escape, showing the cursor while it waits.
void editline(uint8_t window)
{
    int64_t key = 0;
    do {
        t_InputEdit(window, 31);
        key = keycode(t_GetKey(window));
        if (t_LastKeyEvent.Pasted) {
            insertpasted(window, key);
            key = 0;
        } else {
            t_InputEdit(window, key);
        }
    } while (key != 13 && key != 27);
    t_Cr(window);
}

// The characters a paste types: its first line in composed form, without
// control characters (a tab becomes a space).
std::vector<std::string> pastedcharacters(const std::string& text)
{
    std::vector<std::string> characters;
    for (char32_t c : unicode::scalars(unicode::nfc(firstline(text)))) {
        if (c == U'\t')
            c = U' ';
        if (c < 32 || (c >= 127 && c < 160))
            continue;
        characters.push_back(unicode::encode(c));
    }
    return characters;
}

}  // namespace

std::string t_InputForm(uint8_t window, const std::string& prompt, const std::string& defaultText,
                        bool noEdit, int64_t mode, int64_t maxCharacters)
{
    if (!textwindowguard("t_InputForm", window))
        return {};
    t_Window& w = windowtable[window];
    w.TextDisplayMode = editdisplaymode;
    t_Print(window, prompt);
    w.TextDisplayMode = 0;
    w.InputHpos = w.TextHpos.load();
    w.InputVpos = w.TextVpos.load();
    w.InputMode = mode;
    w.InputMaxCharacters = maxCharacters;

    Scalars text = toscalars(defaultText);
    const int64_t room = std::max<int64_t>(0, std::min(maxCharacters, linecells(w)));
    if (lengthof(text) > room)
        text.resize(static_cast<size_t>(room));
    store(w, text);
    w.InputFinished = false;
    w.InputCursorPos = lengthof(text);
    t_Print(window, w.InputString);
    if (!noEdit)
        editline(window);
    return w.InputString;
}

void t_InputEdit(uint8_t window, int64_t key)
{
    if (!textwindowguard("t_InputEdit", window))
        return;
    t_Window& w = windowtable[window];
    const Scalars s = toscalars(w.InputString);
    // A cursor the program moved outside the text counts as at its edge.
    const int64_t p = std::clamp<int64_t>(w.InputCursorPos, 0, lengthof(s));
    w.TextVpos = w.InputVpos.load();
    w.TextHpos = w.InputHpos + p;
    if (const std::optional<int64_t> moved = movedcursor(s, p, key))
        w.InputCursorPos = *moved;
    else
        editkey(window, key, s, p);
    const int64_t length = lengthof(toscalars(w.InputString));
    w.InputCursorPos = std::clamp<int64_t>(w.InputCursorPos, 0, length);
}

void t_InputInsert(uint8_t window, int64_t key)
{
    if (textwindowguard("t_InputInsert", window))
        insertpiece(window, key, Scalars(1, 0));
}

void t_InputPaste(uint8_t window, const std::string& text)
{
    queuepasted(window, pastedcharacters(text));
}

void viewPaste(int window, const std::string& text)
{
    if (viewtakesevents("viewPaste", window))
        t_InputPaste(static_cast<uint8_t>(window), text);
}

// ---- Pasteboard conversions ---------------------------------------------------

std::string unescapedtext(const std::string& input)
{
    const Scalars s = toscalars(input);
    std::string text;
    text.reserve(input.size());
    for (size_t pos = 0; pos < s.size();) {
        // A broken escape is no character: it is copied as it stands.
        const Escaped escaped = readescape(s.data() + pos, s.size() - pos);
        if (escaped.kind == Escaped::character) {
            text += unicode::encode(escaped.code);
            pos += escapelength;
        } else {
            text += unicode::encode(s[pos]);
            ++pos;
        }
    }
    return text;
}
