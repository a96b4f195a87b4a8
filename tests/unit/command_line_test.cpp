#include "command_line.h"

#include <gtest/gtest.h>
#include <getopt.h>

#include <string>
#include <vector>

namespace {

CommandLine parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "sprecho");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return parsecommandline(int(arguments.size()), argv.data());
}

using Action = CommandLine::Action;

struct Case {
    std::vector<std::string> arguments;
    Action action;
    const char* named;  // the faulty argument as the error line names it
};

// One parse after the other: a row that left getopt's state behind would
// make the next rows fail.
TEST(CommandLine, OptionsFaultsAndTheirOrder)
{
    const std::vector<Case> cases = {
        {{}, Action::run, nullptr},
        {{"--"}, Action::run, nullptr},
        {{"--help"}, Action::help, nullptr},
        {{"-h"}, Action::help, nullptr},
        {{"--he"}, Action::help, nullptr},  // a unique abbreviation
        {{"--version"}, Action::version, nullptr},
        {{"-V"}, Action::version, nullptr},
        // The first deciding option wins, also inside a cluster.
        {{"-hV"}, Action::help, nullptr},
        {{"-Vh"}, Action::version, nullptr},
        {{"--version", "--bogus"}, Action::version, nullptr},
        {{"Hallo", "--help"}, Action::help, nullptr},
        {{"--bogus"}, Action::error, "\u201E--bogus\u201C"},
        {{"--bogus=1"}, Action::error, "\u201E--bogus\u201C"},
        {{"-x"}, Action::error, "\u201E-x\u201C"},
        {{"-xh"}, Action::error, "\u201E-x\u201C"},
        {{"-v"}, Action::error, "\u201E-v\u201C"},
        {{"--help", "-x"}, Action::help, nullptr},
        {{"--help=1"}, Action::error, "\u201E--help\u201C erwartet keinen Wert"},
        {{"Hallo"}, Action::error, "Argument \u201EHallo\u201C"},
        {{"-"}, Action::error, "Argument \u201E-\u201C"},
        {{"--", "--help"}, Action::error, "Argument \u201E--help\u201C"},
        // Qt's own arguments are not taken.
        {{"-platform", "offscreen"}, Action::error, "\u201E-p\u201C"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments)
            shown += argument + " ";
        SCOPED_TRACE(shown);
        const CommandLine result = parse(c.arguments);
        EXPECT_EQ(result.action, c.action);
        if (c.named == nullptr) {
            EXPECT_EQ(result.error, "");
            continue;
        }
        EXPECT_NE(result.error.find(c.named), std::string::npos) << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, ErrorLineAndGetoptStateAsFound)
{
    optind = 1;
    opterr = 1;
    EXPECT_EQ(parse({"--bogus"}).error,
              "sprecho: unbekannte Option \u201E--bogus\u201C \u2013 Hilfe mit \u201Esprecho --help\u201C.");
    EXPECT_EQ(optind, 1);
    EXPECT_EQ(opterr, 1);
}

// The help goes to a terminal: no line wider than 79 characters.
TEST(CommandLine, UsageTextFitsATerminal)
{
    const std::string text = usagetext();
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        const std::string line = text.substr(start, end - start);
        size_t width = 0;
        for (const char c : line)
            width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(width, 79u) << line;
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "the text ends with a line end";
}

}  // namespace
