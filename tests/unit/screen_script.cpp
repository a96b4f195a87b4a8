#include "screen_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "hand_window.h"
#include "support/screen.h"
#include "text/screen_readback.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

// ---- Parsing ------------------------------------------------------------------

struct Expectation {
    int line = 0;
    std::vector<std::string> words;
    std::vector<std::string> rows;  // of a `screen` block
};

struct Step {
    int line = 0;
    std::vector<std::string> words;
    std::vector<Expectation> expectations;
};

// Words separated by blanks; a quoted word keeps its escapes (decoded later,
// as characters or as bytes) and its leading quote as a marker.
std::vector<std::string> splitwords(const std::string& text)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            word += '"';
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size())
                    word += text[i++];
                word += text[i];
            }
            ++i;
        } else {
            while (i < text.size() && text[i] != ' ')
                word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

std::vector<Step> parsescript(const std::string& path)
{
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << "cannot read " << path;
    std::vector<Step> steps;
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos || text[first] == '#')
            continue;
        if (first == 0) {
            steps.push_back({number, splitwords(text), {}});
        } else if (steps.empty()) {
            ADD_FAILURE() << path << ":" << number << ": expectation before any command";
        } else if (text[first] == '|') {
            auto& expectations = steps.back().expectations;
            if (expectations.empty())
                ADD_FAILURE() << path << ":" << number << ": screen row outside a screen block";
            else
                expectations.back().rows.push_back(text.substr(first + 1));
        } else {
            steps.back().expectations.push_back({number, splitwords(text.substr(first)), {}});
        }
    }
    return steps;
}

std::string utf8(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18);
        s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// A quoted word with its escapes replaced. `bytes`: \xNN is the byte NN
// (the Text form); otherwise it is the character U+00NN.
std::string unquote(const std::string& word, bool bytes = false)
{
    std::string out;
    const size_t start = !word.empty() && word[0] == '"' ? 1 : 0;
    for (size_t i = start; i < word.size(); ++i) {
        if (word[i] != '\\' || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        const char e = word[++i];
        if (e == 'r') {
            out += '\r';
        } else if (e == 'n') {
            out += '\n';
        } else if (e == 'e') {
            out += '\x1b';
        } else if (e == 'x') {
            const auto code = static_cast<char32_t>(std::stoul(word.substr(i + 1, 2), nullptr, 16));
            out += bytes ? std::string(1, static_cast<char>(code)) : utf8(code);
            i += 2;
        } else if (e == 'u') {  // \u{hex}
            const size_t close = word.find('}', i);
            out += utf8(static_cast<char32_t>(std::stoul(word.substr(i + 2, close - i - 2), nullptr, 16)));
            i = close;
        } else {
            out += e;
        }
    }
    return out;
}

int64_t number(const std::string& word)
{
    return std::stoll(word, nullptr, 0);
}

// "C,L" as two numbers.
std::pair<int64_t, int64_t> cell(const std::string& word)
{
    const size_t comma = word.find(',');
    return {number(word.substr(0, comma)), number(word.substr(comma + 1))};
}

// ---- Running ------------------------------------------------------------------

class ScriptRunner {
public:
    explicit ScriptRunner(std::string path) : path_(std::move(path)) {}

    void run(const Step& step)
    {
        std::string printed;
        {
            DiagCapture capture;
            execute(step);
            printed = capture.text();
        }
        std::string expected;
        for (const Expectation& e : step.expectations) {
            SCOPED_TRACE(path_ + ":" + std::to_string(e.line));
            if (e.words[0] == "out")
                expected += unquote(e.words.at(1)) + "\n";
            else if (e.words[0] == "raw")
                expected += unquote(e.words.at(1));
            else
                check(e);
        }
        EXPECT_EQ(printed, expected) << path_ << ":" << step.line << ": printed lines";
    }

private:
    t_Window& win() { return windowtable[window_]; }
    int64_t arg(const Step& s, size_t i) { return number(s.words.at(i)); }

    void execute(const Step& s)
    {
        const std::string& c = s.words.at(0);
        const uint8_t w = window_;
        using Action = std::function<void()>;
        const std::map<std::string, Action> actions = {
            {"window", [&] { setwindow(s); }},
            {"target", [&] { window_ = static_cast<uint8_t>(arg(s, 1)); }},
            {"area", [&] { t_Area(w, arg(s, 1), arg(s, 2), arg(s, 3), arg(s, 4)); }},
            {"fullarea", [&] { t_FullArea(w); }},
            {"print", [&] { t_Print(w, unquote(s.words.at(1))); }},
            {"bytes", [&] { printbytes(s); }},
            {"char", [&] { t_PrintChar(w, static_cast<uint8_t>(arg(s, 1))); }},
            {"control", [&] { t_PrintControl(w, static_cast<uint8_t>(arg(s, 1))); }},
            {"mode", [&] { t_DisplayMode(w, arg(s, 1)); }},
            {"color", [&] { t_Color(w, arg(s, 1)); }},
            {"inverse", [&] { t_Inverse(w); }},
            {"normal", [&] { t_Normal(w); }},
            {"reverse", [&] { t_Reverse(w); }},
            {"goto", [&] { win().TextHpos = arg(s, 1); win().TextVpos = arg(s, 2); }},
            {"htab", [&] { t_Htab(w, arg(s, 1)); }},
            {"tab", [&] { t_PrintTab(w, arg(s, 1), static_cast<uint8_t>(s.words.size() > 2 ? arg(s, 2) : 32)); }},
            {"spc", [&] { t_PrintSpc(w, arg(s, 1)); }},
            {"home", [&] { t_CursorHome(w); }},
            {"end", [&] { t_CursorEnd(w); }},
            {"left", [&] { t_CursorLeft(w); }},
            {"right", [&] { t_CursorRight(w); }},
            {"up", [&] { t_CursorUp(w); }},
            {"down", [&] { t_CursorDown(w); }},
            {"cr", [&] { t_Cr(w); }},
            {"scrollup", [&] { t_ScrollUp(w); }},
            {"scrolldown", [&] { t_ScrollDown(w); }},
            {"scrolllock", [&] { win().ScrollLock = s.words.at(1) == "on"; }},
            {"header", [&] { t_Header(w, unquote(s.words.at(1)), unquote(s.words.at(2))); }},
            {"invert", [&] { t_InvertRect(w, arg(s, 1), arg(s, 2), arg(s, 3), arg(s, 4)); }},
            {"cursoron", [&] { t_CursorOn(w); }},
            {"cursoroff", [&] { t_CursorOff(w); }},
            {"cursordraw", [&] { t_CursorDraw(w); }},
            {"clearline", [&] { t_ClearEndOfLine(w); }},
            {"clearwindow", [&] { t_ClearEndOfWindow(w); }},
            {"redirect", [&] { t_RedirectOutput(w, arg(s, 1)); }},
            {"getscreen", [&] { result_ = t_GetScreen(w, unquote(s.words.at(1))); }},
            {"snapshot", [&] { snappixels_ = pixelblock(w); snaptext_ = textblock(w); }},
            {"write", [&] { writecells(s); }},
            {"emptyfont", [&] { t_WindowFont(w, emptyfont()); }},
            {"notext", [&] { win().TextMemoryStart = -1; win().TextMemoryEnd = -1; }},
        };
        const auto found = actions.find(c);
        if (found == actions.end())
            ADD_FAILURE() << path_ << ":" << s.line << ": unknown command " << c;
        else
            found->second();
    }

    void setwindow(const Step& s)
    {
        HandWindow layout;
        layout.number = static_cast<uint8_t>(arg(s, 1));
        const auto grid = s.words.at(2);
        const int64_t columns = number(grid.substr(0, grid.find('x')));
        const int64_t lines = number(grid.substr(grid.find('x') + 1));
        int64_t fw = 4;
        int64_t fh = 4;
        for (size_t i = 3; i < s.words.size(); ++i) {
            if (s.words[i] == "depth") {
                layout.depth = arg(s, ++i);
            } else if (s.words[i] == "font") {
                const auto size = s.words.at(++i);
                fw = number(size.substr(0, size.find('x')));
                fh = number(size.substr(size.find('x') + 1));
            } else if (s.words[i] == "exact") {
                layout.padded = false;
            }
        }
        layout.width = columns * fw;
        layout.height = lines * fh;
        sethandwindow(layout, handfont(fw, fh));
        window_ = layout.number;
    }

    void printbytes(const Step& s)
    {
        const std::string bytes = unquote(s.words.at(1), true);
        t_Print(window_, Text{std::vector<uint8_t>(bytes.begin(), bytes.end())});
    }

    void writecells(const Step& s)
    {
        const std::string text = unquote(s.words.at(3), true);
        const int64_t half = (win().TextMemoryEnd - win().TextMemoryStart + 1) / 2;
        int64_t index = win().TextMemoryStart + (arg(s, 2) - 1) * win().TextWidth + arg(s, 1) - 1;
        for (const char c : text) {
            videomemory[index] = static_cast<uint8_t>(c);
            videomemory[index + half] = 0xC0;
            ++index;
        }
    }

    void check(const Expectation& e)
    {
        const std::string& what = e.words.at(0);
        const auto word = [&](size_t i) { return e.words.at(i); };
        if (what == "cursor") {
            EXPECT_EQ(std::make_pair(win().TextHpos.load(), win().TextVpos.load()), cell(word(1)));
        } else if (what == "row") {
            std::string actual = screen_line(window_, number(word(1)));
            actual.erase(actual.find_last_not_of(' ') + 1);
            EXPECT_EQ(actual, unquote(word(2)));
        } else if (what == "screen") {
            std::string expected;
            for (const std::string& row : e.rows)
                expected += row + "\n";
            EXPECT_EQ(screen_trimmed(window_), expected);
        } else if (what == "code") {
            const auto [c, l] = cell(word(1));
            EXPECT_EQ(cell_code(window_, c, l), number(word(2)));
        } else if (what == "attr") {
            const auto [c, l] = cell(word(1));
            EXPECT_EQ(cell_attribute(window_, c, l), number(word(2)));
        } else if (what == "ink" || what == "paper") {
            checkcolour(e);
        } else if (what == "consistent") {
            int64_t c = 0;
            int64_t l = 0;
            EXPECT_TRUE(cellsconsistent(window_, c, l)) << "cell " << c << "," << l;
        } else if (what == "unchanged") {
            EXPECT_TRUE(pixelblock(window_) == snappixels_) << "pixels differ";
            EXPECT_TRUE(textblock(window_) == snaptext_) << "text memory differs";
        } else if (what == "mode") {
            EXPECT_EQ(win().TextDisplayMode, number(word(1)));
        } else if (what == "color") {
            EXPECT_EQ(win().TextColor, number(word(1)));
        } else if (what == "inverse") {
            EXPECT_EQ(win().TextInverse, word(1) == "yes");
        } else if (what == "level") {
            EXPECT_EQ(win().TextCursorLevel, number(word(1)));
        } else if (what == "area") {
            const std::vector<int64_t> actual{win().TextFirstColumn, win().TextFirstLine,
                                              win().TextLastColumn, win().TextLastLine};
            const std::vector<int64_t> expected{number(word(1)), number(word(2)), number(word(3)),
                                                number(word(4))};
            EXPECT_EQ(actual, expected);
        } else if (what == "border") {
            EXPECT_EQ(win().RGBColorBorder.load(), palettecolor(static_cast<unsigned>(number(word(1)))));
        } else if (what == "result") {
            EXPECT_EQ(result_, unquote(word(1)));
        } else {
            ADD_FAILURE() << "unknown expectation " << what;
        }
    }

    // The top-left pixel of a glyph is full ink, the bottom-right one paper.
    void checkcolour(const Expectation& e)
    {
        const auto [c, l] = cell(e.words.at(1));
        const int64_t fw = win().Font.Width;
        const int64_t fh = win().Font.Height;
        const bool ink = e.words[0] == "ink";
        const int64_t x = (c - 1) * fw + (ink ? 0 : fw - 1);
        const int64_t y = (l - 1) * fh + (ink ? 0 : fh - 1);
        const t_RGBColor colour = palettecolor(static_cast<unsigned>(number(e.words.at(2))));
        const uint32_t expected = uint32_t{colour.Red} << 16 | uint32_t{colour.Green} << 8 | colour.Blue;
        EXPECT_EQ(pixelrgb(window_, x, y), expected) << e.words[0] << " of cell " << c << "," << l;
    }

    std::string path_;
    uint8_t window_ = 0;
    std::string result_;
    std::vector<uint8_t> snappixels_;
    std::vector<uint8_t> snaptext_;
};

}  // namespace

void runscreenscript(const std::string& path)
{
    ScriptRunner runner(path);
    for (const Step& step : parsescript(path))
        runner.run(step);
}
