// Screen scripts: plain-text tests of the text engine, one test per file in
// tests/screens. A command starts a line and calls the runtime function of
// its name (see execute); its checks (see check) are indented under it, and
// `#` starts a comment. What a command printed must equal its `out S` (a
// line) and `raw S` (text) checks. Quoted words may hold blanks and the
// escapes \r \n \e \xNN (U+00NN; in `bytes`, the byte NN).
//
//   window 0 10x4 [depth D] [font WxH] [exact]   hand-made window, 4 x 4 font
//   print "AB\rC"
//     cursor 2,2
//     row 1 "AB"          line 1 of text memory, trailing blanks cut
//     screen              all lines, trailing blanks and empty lines cut
//       |AB
//       |C
//     consistent          every cell's pixels are what its code and attribute draw
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <sstream>

#include "hand_window.h"
#include "support/screen.h"
#include "text/screen_readback.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

using Words = std::vector<std::string>;

// A command with its checks, or a check with the rows of a `screen` block.
struct Line {
    int number;
    Words words;
    std::vector<Line> checks;
    std::string rows;
};

Words splitwords(const std::string& text)
{
    std::istringstream in(text);
    Words words;
    for (std::string word; in >> std::quoted(word, '"', '\x01');)
        words.push_back(word);
    return words;
}

std::vector<Line> parsescript(const std::string& path)
{
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << "cannot read " << path;
    std::vector<Line> steps;
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos || text[first] == '#')
            continue;
        if (first == 0)
            steps.push_back({number, splitwords(text), {}, ""});
        else if (steps.empty() || (text[first] == '|' && steps.back().checks.empty()))
            ADD_FAILURE() << path << ":" << number << ": check outside a command";
        else if (text[first] == '|')
            steps.back().checks.back().rows += text.substr(first + 1) + "\n";
        else
            steps.back().checks.push_back({number, splitwords(text), {}, ""});
    }
    return steps;
}

std::string decode(const std::string& word, bool bytes = false)
{
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        const char e = i + 1 < word.size() && word[i] == '\\' ? word[++i] : 0;
        if (e == 'x') {
            const auto code = static_cast<char32_t>(std::stoul(word.substr(i + 1, 2), nullptr, 16));
            out += bytes ? std::string(1, static_cast<char>(code)) : unicode::encode(code);
            i += 2;
        } else {
            out += e == 0 ? word[i] : e == 'r' ? '\r' : e == 'n' ? '\n' : e == 'e' ? '\x1b' : e;
        }
    }
    return out;
}

int64_t number(const std::string& word)
{
    return std::stoll(word, nullptr, 0);
}

// "C,L" or "CxL" as two numbers.
std::pair<int64_t, int64_t> pair(const std::string& word)
{
    const size_t split = word.find_first_of(",x");
    return {number(word.substr(0, split)), number(word.substr(split + 1))};
}

class ScriptRunner {
public:
    explicit ScriptRunner(std::string path) : path_(std::move(path)) {}

    void run(const Line& step)
    {
        DiagCapture capture;
        execute(step.words);
        const std::string printed = capture.text();
        std::string expected;
        for (const Line& c : step.checks) {
            SCOPED_TRACE(path_ + ":" + std::to_string(c.number));
            if (c.words[0] == "out" || c.words[0] == "raw")
                expected += decode(c.words.at(1)) + (c.words[0] == "out" ? "\n" : "");
            else
                check(c.words, c.rows);
        }
        EXPECT_EQ(printed, expected) << path_ << ":" << step.number << ": printed text";
    }

private:
    t_Window& win() { return windowtable[window_]; }

    void execute(const Words& s)
    {
        const uint8_t w = window_;
        const auto arg = [&](size_t i) { return number(s.at(i)); };
        const auto byte = [&](size_t i) { return static_cast<uint8_t>(arg(i)); };
        const std::map<std::string, std::function<void()>> actions = {
            {"window", [&] { setwindow(s); }}, {"target", [&] { window_ = byte(1); }},
            {"area", [&] { t_Area(w, arg(1), arg(2), arg(3), arg(4)); }},
            {"invert", [&] { t_InvertRect(w, arg(1), arg(2), arg(3), arg(4)); }},
            {"print", [&] { t_Print(w, decode(s.at(1))); }},
            {"bytes", [&] {
                 const std::string b = decode(s.at(1), true);
                 t_Print(w, Text{{b.begin(), b.end()}});
             }},
            {"char", [&] { t_PrintChar(w, byte(1)); }}, {"control", [&] { t_PrintControl(w, byte(1)); }},
            {"mode", [&] { t_DisplayMode(w, arg(1)); }}, {"color", [&] { t_Color(w, arg(1)); }},
            {"goto", [&] { win().TextHpos = arg(1); win().TextVpos = arg(2); }},
            {"htab", [&] { t_Htab(w, arg(1)); }}, {"tab", [&] { t_PrintTab(w, arg(1), byte(2)); }},
            {"spc", [&] { t_PrintSpc(w, arg(1)); }}, {"redirect", [&] { t_RedirectOutput(w, arg(1)); }},
            {"scrolllock", [&] { win().ScrollLock = s.at(1) == "on"; }},
            {"header", [&] { t_Header(w, decode(s.at(1)), decode(s.at(2))); }},
            {"getscreen", [&] { result_ = t_GetScreen(w, decode(s.at(1))); }},
            {"snapshot", [&] { snapshot_ = {pixelblock(w), textblock(w)}; }},
            {"emptyfont", [&] { t_WindowFont(w, emptyfont()); }},
            {"notext", [&] { win().TextMemoryStart = win().TextMemoryEnd = -1; }},
        };
        static const std::map<std::string, void (*)(uint8_t)> plain = {
            {"fullarea", t_FullArea}, {"inverse", t_Inverse}, {"normal", t_Normal}, {"reverse", t_Reverse},
            {"home", t_CursorHome}, {"end", t_CursorEnd}, {"left", t_CursorLeft}, {"right", t_CursorRight},
            {"up", t_CursorUp}, {"down", t_CursorDown}, {"cr", t_Cr}, {"scrollup", t_ScrollUp},
            {"scrolldown", t_ScrollDown}, {"cursoron", t_CursorOn}, {"cursoroff", t_CursorOff},
            {"cursordraw", t_CursorDraw}, {"clearline", t_ClearEndOfLine},
            {"clearwindow", t_ClearEndOfWindow}};
        if (plain.contains(s.at(0)))
            plain.at(s[0])(w);
        else if (actions.contains(s[0]))
            actions.at(s[0])();
        else
            ADD_FAILURE() << path_ << ": unknown command " << s[0];
    }

    void setwindow(const Words& s)
    {
        HandWindow layout{.number = static_cast<uint8_t>(number(s.at(1)))};
        const auto [columns, lines] = pair(s.at(2));
        std::pair<int64_t, int64_t> font{4, 4};
        for (size_t i = 3; i < s.size(); ++i) {
            if (s[i] == "depth")
                layout.depth = number(s.at(++i));
            else if (s[i] == "font")
                font = pair(s.at(++i));
            else
                layout.padded = s[i] != "exact";
        }
        layout.width = columns * font.first;
        layout.height = lines * font.second;
        sethandwindow(layout, handfont(font.first, font.second));
        window_ = layout.number;
    }

    void check(const Words& e, const std::string& rows)
    {
        const std::string& what = e.at(0);
        const auto value = [&](size_t i) { return number(e.at(i)); };
        const std::map<std::string, int64_t> fields = {{"mode", win().TextDisplayMode},
                                                       {"color", win().TextColor},
                                                       {"level", win().TextCursorLevel},
                                                       {"inverse", win().TextInverse}};
        if (fields.contains(what)) {
            EXPECT_EQ(fields.at(what), value(1)) << what;
        } else if (what == "cursor") {
            EXPECT_EQ(std::make_pair(win().TextHpos.load(), win().TextVpos.load()), pair(e.at(1)));
        } else if (what == "row") {
            std::string row = screen_line(window_, value(1));
            EXPECT_EQ(row.erase(row.find_last_not_of(' ') + 1), decode(e.at(2)));
        } else if (what == "screen") {
            EXPECT_EQ(screen_trimmed(window_), rows);
        } else if (what == "code" || what == "attr") {
            const auto [c, l] = pair(e.at(1));
            EXPECT_EQ(what == "code" ? cell_code(window_, c, l) : cell_attribute(window_, c, l), value(2))
                << what << " of cell " << c << "," << l;
        } else if (what == "consistent") {
            int64_t c = 0, l = 0;
            EXPECT_TRUE(cellsconsistent(window_, c, l)) << "cell " << c << "," << l;
        } else if (what == "unchanged") {
            EXPECT_TRUE(pixelblock(window_) == snapshot_.first) << "pixels differ";
            EXPECT_TRUE(textblock(window_) == snapshot_.second) << "text memory differs";
        } else if (what == "border") {
            EXPECT_EQ(win().RGBColorBorder.load(), palettecolor(static_cast<unsigned>(value(1))));
        } else if (what == "result") {
            EXPECT_EQ(result_, decode(e.at(1)));
        } else {
            ADD_FAILURE() << "unknown check " << what;
        }
    }

    std::string path_;
    uint8_t window_ = 0;
    std::string result_;
    std::pair<std::vector<uint8_t>, std::vector<uint8_t>> snapshot_;
};

std::vector<std::string> scriptnames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(SPRECHO_SCREEN_SCRIPTS))
        if (entry.path().extension() == ".txt")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScreenScript : public ::testing::TestWithParam<std::string> {};

TEST_P(ScreenScript, Runs)
{
    const std::string path = std::string(SPRECHO_SCREEN_SCRIPTS) + "/" + GetParam() + ".txt";
    ScriptRunner runner(path);
    for (const Line& step : parsescript(path))
        runner.run(step);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenScript, ::testing::ValuesIn(scriptnames()),
                         [](const auto& info) { return info.param; });

}  // namespace
