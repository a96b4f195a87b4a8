// Sprecho as a person uses it: the real program started offscreen, real
// key events typed into view 0, the conversation log read back from the
// printer window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "conversation/answer_table.h"
#include "display/window_image.h"
#include "menus/virtual_printer.h"
#include "startup/launch.h"
#include "support/conversation.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "support/temp_folder.h"
#include "util/diagnostics.h"
#include "util/strings.h"
#include "windows/font_file.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

// Whether cell (column, line) of window 0's image shows `code` of the font
// file: every pixel the glyph covers fully is ink, every pixel it leaves
// free is paper, in the colours of the cell's attribute byte.
bool showsglyph(int64_t column, int64_t line, const char* fontname, uint8_t code)
{
    const t_Font font = t_LoadFontResource(fontname);
    const auto image = t_WindowImage(0);
    if (!image || font.Data.size() < size_t(256 * 16 * 32))
        return false;
    const uint8_t attribute = cell_attribute(0, column, line);
    const auto rgb = [](unsigned colour) {
        const t_RGBColor c = palettecolor(colour);
        return 0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue;
    };
    for (int64_t y = 0; y < 32; ++y)
        for (int64_t x = 0; x < 16; ++x) {
            const uint8_t coverage = font.Data[size_t((code * 32 + y) * 16 + x)];
            const uint32_t shown = image->Pixels[size_t(((line - 1) * 32 + y) * image->Width + (column - 1) * 16 + x)];
            if ((coverage == 255 && shown != rgb(attribute >> 4)) || (coverage == 0 && shown != rgb(attribute & 15)))
                return false;
        }
    return true;
}

// The font a cell is drawn in, judged by its glyph.
std::string fontof(int64_t column, int64_t line)
{
    const uint8_t code = cell_code(0, column, line);
    for (const char* name : {"MenloBold 16x32.font", "MenloRegular 16x32.font", "MenloItalic 16x32.font"})
        if (showsglyph(column, line, name, code))
            return std::string(name).substr(5, std::string(name).find(' ') - 5);
    return "?";
}

// The last screen line whose text area starts with `text`, its attribute
// byte there and its font; line 0 when there is none.
std::tuple<int64_t, int, std::string> shown(const std::string& text)
{
    for (int64_t line = 24; line >= 6; --line)
        if (screen_line(0, line).substr(2).starts_with(text))
            return {line, cell_attribute(0, 3, line), fontof(text.starts_with("=>") && text.size() > 2 ? 5 : 3, line)};
    return {0, 0, ""};
}

// The "Patient: " lines of the log, in order.
Lines patientlines(const std::string& log)
{
    Lines lines;
    for (size_t at = log.find("Patient: "); at != std::string::npos; at = log.find("Patient: ", at + 1))
        lines.push_back(log.substr(at + 9, log.find('\r', at) - at - 9));
    return lines;
}

constexpr int green = 0xC0, red = 0x10, yellow = 0xD0, inversebar = 0x0D;

// Waits until the program has shown its end message and its thread has
// said that it quits (it draws the message, waits a moment, then reports),
// so that nothing of it runs on into the next test.
bool programended(const DiagCapture& capture)
{
    return pump_until([&] {
        return screen_line(0, 25).starts_with("(Programm Ende)") &&
               capture.text().find("t_QuitProgram: Quitting current thread") != std::string::npos;
    });
}

// The conversation that the terminal's test types too: the lines typed,
// and the log they leave with its dated lines as [Beginn] and [Ende].
struct Script {
    Lines typed;
    Lines log;
};

Script readscript(const std::string& path)
{
    Script script;
    Lines* part = nullptr;
    std::istringstream text(filetext(path));
    for (std::string line; std::getline(text, line);) {
        if (line == "typed:" || line == "log:")
            part = line == "typed:" ? &script.typed : &script.log;
        else if (part != nullptr)
            part->push_back(line);
    }
    return script;
}

// A log's lines as a reader of the window sees them: without trailing
// blanks, and without the empty lines at the end.
Lines loglines(const std::string& log)
{
    Lines lines;
    std::istringstream text(linuxlineends(log));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

}  // namespace

// Sprecho's screen and log through a whole conversation typed key by key:
// the header and the bar, the prompt, the typed line upright and the reply
// in italics in green; lines typed ahead all taken in order and logged as
// typed; the outburst in red with its ten-second pause and the green after
// it; the end word and "(Programm Ende)" in red on the last line. The log
// file holds the same lines as the printer.
TEST(Conversation, AWholeConversationOnScreenAndInTheLog)
{
    const TempFolder datahome(true);
    const DiagCapture capture(false);
    launchwork();
    ASSERT_TRUE(waitsforkey());
    const std::string header = screen_line(0, 2);
    EXPECT_EQ(header, "  S P R E C H O" + std::string(80 - 15 - 30, ' ') + noticeline);
    EXPECT_EQ(std::tuple(cell_attribute(0, 3, 2), cell_attribute(0, 80, 2), fontof(3, 2)),
              std::tuple(yellow, yellow, "Bold"));
    EXPECT_EQ(screen_line(0, 4), std::string(80, ' '));
    EXPECT_EQ(cell_attribute(0, 1, 4) * 256 + cell_attribute(0, 80, 4), inversebar * 257);
    EXPECT_EQ(screen_line(0, 1) + screen_line(0, 3) + screen_line(0, 5), std::string(240, ' '));
    EXPECT_EQ(screen_line(0, 6).substr(0, 5), "  => ");

    say("Hallo");
    ASSERT_TRUE(waitsforkey());
    EXPECT_EQ(screen_trimmed(0).substr(screen_trimmed(0).find("  =>")), "  =>Hallo\n  Ich begr\u00FCsse dich!\n  =>\n");
    EXPECT_EQ(shown("=>Hallo"), std::tuple(6, green, "Regular"));
    EXPECT_EQ(fontof(3, 6), "Regular") << "the prompt";
    EXPECT_EQ(shown("Ich begr"), std::tuple(7, green, "Italic"));

    const Lines ahead = {"", std::string(80, 'x'), "\u00DCberm\u00E4\u00DFig \u00F6de Gr\u00FC\u00DFe aus K\u00F6ln",
                         "Gute Nacht \U0001F600", "e\u0301te", "wie geht es dir?"};
    for (const std::string& line : ahead)
        say(QString::fromStdString(line), true);
    ASSERT_TRUE(waitsforkey());
    EXPECT_EQ(screen_line(0, 2), header);
    for (int64_t line = 6; line <= 24; ++line)
        EXPECT_TRUE(screen_line(0, line).starts_with("  ") && screen_line(0, line).ends_with("   ")) << line;
    EXPECT_EQ(screen_line(0, 25), std::string(80, ' '));

    const std::string scream = "Aaaaaaaahhhhhhhhh........", grace = "Ich will mal nicht so sein...";
    const std::string warning = "Wenn du das noch einmal machst, brenn' ich dir den Mikroprozessor durch!";
    for (const char* line : {"ich weiß nicht", "ctrl-c", "ctrl-c"})
        say(QString::fromUtf8(line));  // the second outburst pauses ten seconds before its last line
    ASSERT_TRUE(waitsforkey());
    // A scroll of the narrowed area redraws its cells in the font of the
    // moment: only lines drawn since the last scroll keep the font they had.
    EXPECT_EQ(shown("Du hast es nicht anders gewollt!"), std::tuple(std::get<0>(shown(grace)) - 1, red, "Italic"));
    EXPECT_EQ(shown(grace), std::tuple(23, green, "Italic"));
    EXPECT_EQ(shown("=>"), std::tuple(24, green, "Regular"));
    say("ctrl-c");
    ASSERT_TRUE(waitsforkey());
    say("ende", true);
    ASSERT_TRUE(programended(capture));

    // The colours as the text memory records them.
    EXPECT_EQ(std::get<1>(shown(scream)), red);
    EXPECT_EQ(std::get<0>(shown(grace)), std::get<0>(shown(warning)) - 3);
    EXPECT_EQ(std::get<1>(shown(warning)), red);
    EXPECT_EQ(std::tuple(std::get<0>(shown(warning)), std::get<0>(shown("=>ende")), std::get<1>(shown("=>ende"))),
              std::tuple(22, 23, green));
    EXPECT_EQ(screen_line(0, 24), std::string(80, ' '));
    EXPECT_EQ(std::tuple(cell_attribute(0, 1, 25), cell_attribute(0, 15, 25), screen_line(0, 25).substr(15)),
              std::tuple(red, red, std::string(65, ' ')));

    const std::string log = p_GetPrinter();
    const Lines typed = patientlines(log);
    Lines expected = {"Hallo"};
    expected.insert(expected.end(), ahead.begin(), ahead.end());
    expected[2].resize(72);  // what fits between the prompt and the area's last column
    expected.insert(expected.end(), {"ich weiß nicht", "ctrl-c", "ctrl-c", "ctrl-c", "ende"});
    ASSERT_EQ(typed.size(), expected.size()) << log;
    for (size_t i = 0; i < typed.size(); ++i)  // the emoji and the combining accent have no code: not exact
        EXPECT_TRUE(i == 4 || i == 5 ? typed[i].size() < expected[i].size() + 2 : typed[i] == expected[i]) << typed[i];
    const std::string tail = log.substr(log.find("Patient: ich wei"));
    const std::string sprecho = "Sprecho: ";
    EXPECT_EQ(withoutstamps(log.substr(0, log.find("Patient: "))), "[Beginn]\r\r");
    EXPECT_EQ(withoutstamps(tail),
              "Patient: ich weiß nicht\rSprecho: Bist du immer unsicher?\r\r"
              "Patient: ctrl-c\r" + sprecho + scream + "\r" + sprecho + warning + "\r\r"
              "Patient: ctrl-c\r" + sprecho + scream + "\rSprecho: Du hast es nicht anders gewollt!\r" +
              sprecho + grace + "\r\r"
              "Patient: ctrl-c\r" + sprecho + scream + "\r" + sprecho + warning + "\r\r"
              "Patient: ende\r\r[Ende]\r");
    EXPECT_NE(log.find("Patient: Hallo\rSprecho: Ich begrüsse dich!\r\rPatient: \rPatient: xxx"), std::string::npos);
    const std::filesystem::directory_iterator files(datahome.path() + "/sprecho/Protokolle");
    ASSERT_NE(files, std::filesystem::directory_iterator());
    EXPECT_EQ(filetext(files->path()), linuxlineends(log));
}

// The script the terminal's test types leaves the same log here.
TEST(Conversation, TheScriptOfBothFrontEndsLeavesItsLog)
{
    const TempFolder datahome(true);
    const DiagCapture capture(false);
    const Script script = readscript(SPRECHO_TEST_CONVERSATION);
    ASSERT_FALSE(script.typed.empty());
    launchwork();
    ASSERT_TRUE(waitsforkey());
    for (const std::string& line : script.typed) {
        const bool last = &line == &script.typed.back();
        say(QString::fromStdString(line), last);
        if (!last) {
            ASSERT_TRUE(waitsforkey());
        }
    }
    ASSERT_TRUE(programended(capture));
    EXPECT_EQ(loglines(withoutstamps(p_GetPrinter())), script.log);
}

// The launch lines in their order; the program thread's lines in theirs,
// all after "Program: Start.", with which they may interleave; the printer's
// task reports itself at its own pace. The threads the runtime started
// carry their names, the program thread's ("Main Program") only when it is
// thread number 2.
TEST(Conversation, TheProgramPrintsItsStartUpLinesInOrder)
{
    const TempFolder datahome(true);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + "/sprecho", {});
    ASSERT_TRUE(program.waitForStarted());
    QByteArray output;
    while (!(output.contains("eingelesen.") && output.contains("Start as thread")) && program.waitForReadyRead(10000))
        output += program.readAllStandardOutput();
    // A thread names itself just after its start line: look until every
    // name is there, for a few seconds at most.
    const std::vector<std::string> wanted = {"Main Program", "t_WindowAutoUpd", "p_PrinterAutoUp"};
    std::set<std::string> names;
    const std::string tasks = "/proc/" + std::to_string(program.processId()) + "/task";
    const auto allnamed = [&] {
        names.clear();
        for (const auto& task : std::filesystem::directory_iterator(tasks)) {
            std::string name;
            std::getline(std::ifstream(task.path() / "comm"), name);
            names.insert(name);
        }
        return std::ranges::all_of(wanted, [&](const std::string& name) { return names.contains(name); });
    };
    pump_until(allnamed, 5000);
    program.kill();
    program.waitForFinished();

    for (const std::string& name : wanted)
        EXPECT_TRUE(names.contains(name)) << name << " among " << testing::PrintToString(names);
    const Lines launch = {"applicationWillFinishLaunching: Called.", "applicationDidFinishLaunching: Start.",
                          "inittermkit: Start.", "inittermkit: End.", "Program: Start.",
                          "applicationDidFinishLaunching: End."};
    const Lines programlines = {
        "Program: Start.", "t_InitMemory: Start.", "t_InitMemory: End.", "t_InitWindow: GraphicWindow #0 Start.",
        "t_InitWindow: GraphicWindow #0 = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
        "t_InitWindow: GraphicWindow #0 End.", "66 Fragen und Antworten eingelesen."};
    const Lines printer = {"Program: Start.", "p_PrinterAutoUpdateProcess: Start as thread #"};
    std::string text = "\n";
    text += output.toStdString();
    for (const Lines* order : {&launch, &programlines, &printer}) {
        size_t from = 0;
        for (const std::string& line : *order) {
            const size_t at = text.find(std::string("\n") + line, from);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\n" << text;
            from = at + 1;
        }
    }
}
