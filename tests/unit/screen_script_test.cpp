// Screen scripts: plain-text tests of the text engine, one test per file in
// tests/screens. A command starts a line and calls the runtime function of
// its name (see execute); its checks (see check) are indented under it, and
// `#` starts a comment. What a command printed must equal its `out S` (a
// line) and `raw S` (text) checks. Quoted words may hold blanks and the
// escapes \r \n \e \xNN (U+00NN).
//
//   window 0 10x4       hand-made window of 10 x 4 cells, 4 x 4 font
//   print "AB\rC"
//     cursor 2,2
//     row 1 "AB"          line 1 of text memory, trailing blanks cut
//     screen "AB\nC\n"    all lines, trailing blanks and empty lines cut
//     consistent          every cell's pixels are what its code and attribute draw
#include <gtest/gtest.h>

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

// A command or check: its line number and words.
using Line = std::pair<int, Words>;

Words splitwords(const std::string& text)
{
    std::istringstream in(text);
    Words words;
    for (std::string word; in >> std::quoted(word, '"', '\x01');)
        words.push_back(word);
    return words;
}

std::string decode(const std::string& word)
{
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        const char e = i + 1 < word.size() && word[i] == '\\' ? word[++i] : 0;
        if (e == 'x') {
            out += unicode::encode(static_cast<char32_t>(std::stoul(word.substr(i + 1, 2), nullptr, 16)));
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

struct ScriptRunner {
    // Runs one command and its checks; `where` names the file for messages.
    void run(const std::string& where, const Line& step, const std::vector<Line>& checks)
    {
        DiagCapture capture;
        execute(step.second);
        const std::string printed = capture.text();
        std::string expected;
        for (const auto& [number, words] : checks) {
            SCOPED_TRACE(where + ":" + std::to_string(number));
            if (words[0] == "out" || words[0] == "raw")
                expected += decode(words.at(1)) + (words[0] == "out" ? "\n" : "");
            else
                check(words);
        }
        EXPECT_EQ(printed, expected) << where << ":" << step.first << ": printed text";
    }

    t_Window& win() { return windowtable[window_]; }

    void execute(const Words& s)
    {
        const uint8_t w = window_;
        const auto arg = [&](size_t i) { return number(s.at(i)); };
        const std::map<std::string, std::function<void()>> actions = {
            {"window", [&] { setwindow(s); }}, {"target", [&] { window_ = static_cast<uint8_t>(arg(1)); }},
            {"area", [&] { t_Area(w, arg(1), arg(2), arg(3), arg(4)); }},
            {"invert", [&] { t_InvertRect(w, arg(1), arg(2), arg(3), arg(4)); }},
            {"print", [&] { t_Print(w, decode(s.at(1))); }},
            {"char", [&] { t_PrintChar(w, static_cast<uint8_t>(arg(1))); }},
            {"control", [&] { t_PrintControl(w, static_cast<uint8_t>(arg(1))); }},
            {"mode", [&] { t_DisplayMode(w, arg(1)); }}, {"color", [&] { t_Color(w, arg(1)); }},
            {"goto", [&] { win().TextHpos = arg(1); win().TextVpos = arg(2); }},
            {"htab", [&] { t_Htab(w, arg(1)); }},
            {"tab", [&] { t_PrintTab(w, arg(1), static_cast<uint8_t>(arg(2))); }},
            {"spc", [&] { t_PrintSpc(w, arg(1)); }}, {"redirect", [&] { t_RedirectOutput(w, arg(1)); }},
            {"scrolllock", [&] { win().ScrollLock = s.at(1) == "on"; }},
            {"header", [&] { t_Header(w, decode(s.at(1)), decode(s.at(2))); }},
            {"getscreen", [&] { result_ = t_GetScreen(w, decode(s.at(1))); }},
            {"snapshot", [&] { snapshot_ = {pixelblock(w), textblock(w)}; }},
            {"emptyfont", [&] { t_WindowFont(w, emptyfont()); }},
            {"notext", [&] { win().TextMemoryStart = win().TextMemoryEnd = -1; }},
        };
        static const std::map<std::string, void (*)(uint8_t)> plain = {
            {"fullarea", t_FullArea}, {"inverse", t_Inverse}, {"normal", t_Normal}, {"home", t_CursorHome},
            {"left", t_CursorLeft}, {"down", t_CursorDown}, {"scrollup", t_ScrollUp},
            {"scrolldown", t_ScrollDown}, {"cursoron", t_CursorOn}, {"cursoroff", t_CursorOff},
            {"clearline", t_ClearEndOfLine}, {"clearwindow", t_ClearEndOfWindow}};
        if (plain.contains(s.at(0)))
            plain.at(s[0])(w);
        else if (actions.contains(s[0]))
            actions.at(s[0])();
        else
            ADD_FAILURE() << "unknown command " << s[0];
    }

    void setwindow(const Words& s)
    {
        window_ = static_cast<uint8_t>(number(s.at(1)));
        const auto [columns, lines] = pair(s.at(2));
        sethandwindow({.number = window_, .width = columns * 4, .height = lines * 4}, handfont(4, 4));
    }

    void check(const Words& e)
    {
        const std::string& what = e.at(0);
        const auto value = [&](size_t i) { return number(e.at(i)); };
        const std::map<std::string, int64_t> fields = {{"mode", win().TextDisplayMode}, {"color", win().TextColor},
                                                       {"level", win().TextCursorLevel}, {"inverse", win().TextInverse}};
        if (fields.contains(what)) {
            EXPECT_EQ(fields.at(what), value(1)) << what;
        } else if (what == "cursor") {
            EXPECT_EQ(std::make_pair(win().TextHpos.load(), win().TextVpos.load()), pair(e.at(1)));
        } else if (what == "row") {
            std::string row = screen_line(window_, value(1));
            EXPECT_EQ(row.erase(row.find_last_not_of(' ') + 1), decode(e.at(2)));
        } else if (what == "screen") {
            EXPECT_EQ(screen_trimmed(window_), decode(e.at(1)));
        } else if (what == "code" || what == "attr") {
            const auto [c, l] = pair(e.at(1));
            EXPECT_EQ(what == "code" ? cell_code(window_, c, l) : cell_attribute(window_, c, l), value(2))
                << what << " of cell " << c << "," << l;
        } else if (what == "consistent") {
            int64_t c = 0, l = 0;
            EXPECT_TRUE(cellsconsistent(window_, c, l)) << "cell " << c << "," << l;
        } else if (what == "unchanged") {
            EXPECT_TRUE(pixelblock(window_) == snapshot_.first && textblock(window_) == snapshot_.second);
        } else if (what == "border") {
            EXPECT_EQ(win().RGBColorBorder.load(), palettecolor(static_cast<unsigned>(value(1))));
        } else if (what == "result") {
            EXPECT_EQ(result_, decode(e.at(1)));
        } else {
            ADD_FAILURE() << "unknown check " << what;
        }
    }

    uint8_t window_ = 0;
    std::string result_;
    std::pair<std::vector<uint8_t>, std::vector<uint8_t>> snapshot_;
};

class ScreenScript : public ::testing::TestWithParam<std::string> {};

// Reads the script line by line: a line at column 0 is a command, an
// indented one a check of the command above.
TEST_P(ScreenScript, Runs)
{
    const std::string path = std::string(SPRECHO_SCREEN_SCRIPTS) + "/" + GetParam() + ".txt";
    std::ifstream file(path);
    ASSERT_TRUE(file.good()) << "cannot read " << path;
    ScriptRunner runner;
    std::vector<std::pair<Line, std::vector<Line>>> steps;
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos || text[first] == '#')
            continue;
        ASSERT_TRUE(first == 0 || !steps.empty()) << path << ":" << number << ": check outside a command";
        if (first == 0)
            steps.push_back({{number, splitwords(text)}, {}});
        else
            steps.back().second.push_back({number, splitwords(text)});
    }
    for (const auto& [step, checks] : steps)
        runner.run(path, step, checks);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenScript, ::testing::Values("clear_invert_cursor", "control_codes", "cursor_wrap_scroll",
                                                           "display_modes", "guards", "headers", "readback_redirect",
                                                           "scroll_areas", "tabs"),
                         [](const auto& info) { return info.param; });

}  // namespace
