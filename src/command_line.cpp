#include "command_line.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#ifndef SPRECHO_VERSION
#error "SPRECHO_VERSION comes from the build (the project's version)"
#endif

namespace {

// One row per option. A new option is one row here; a flag option names the
// field of CommandLine it sets and keeps the action `run`.
struct OptionRow {
    const char* longname;
    char shortname;
    const char* description;  // German, for the usage text
    CommandLine::Action action;
    bool CommandLine::*flag;
};

constexpr std::array optionrows = {
    OptionRow{"help", 'h', "zeigt diese Hilfe und endet", CommandLine::Action::help, nullptr},
    OptionRow{"version", 'V', "zeigt die Version und endet", CommandLine::Action::version, nullptr},
    OptionRow{"terminal", 't', "zeigt das Gespräch im Terminal statt in einem Fenster",
              CommandLine::Action::run, &CommandLine::terminal},
};

// getopt_long answers a long option with this plus its row, a short one with
// its letter, so that a faulty "--help=x" can be told from a faulty "-h".
constexpr int longoptionbase = 0x100;

std::string errorline(std::string_view what)
{
    return "sprecho: " + std::string(what) + " \u2013 Hilfe mit \u201Esprecho --help\u201C.";
}

std::string quoted(std::string_view text)
{
    return "\u201E" + std::string(text) + "\u201C";
}

// Applies the row's action or flag; answers true when the row decides.
bool apply(const OptionRow& row, CommandLine& commandline)
{
    if (row.flag != nullptr)
        commandline.*row.flag = true;
    commandline.action = row.action;
    return row.action != CommandLine::Action::run;
}

CommandLine failure(std::string_view what)
{
    CommandLine commandline;
    commandline.action = CommandLine::Action::error;
    commandline.error = errorline(what);
    return commandline;
}

// The faulty option as written: an unknown long option without its value,
// an unknown letter as "-x", a known long option that was given a value.
CommandLine faultyoption(int argc, char** argv)
{
    if (optopt >= longoptionbase) {
        const OptionRow& row = optionrows[size_t(optopt - longoptionbase)];
        return failure("Option " + quoted(std::string("--") + row.longname) + " erwartet keinen Wert");
    }
    if (optopt != 0)
        return failure("unbekannte Option " + quoted(std::string("-") + char(optopt)));
    // An unknown long option has been stepped over already.
    std::string_view written = optind > 0 && optind <= argc ? argv[optind - 1] : "";
    written = written.substr(0, written.find('='));
    return failure("unbekannte Option " + quoted(written));
}

CommandLine parse(int argc, char** argv)
{
    std::string shortoptions;
    std::vector<option> longoptions;
    for (size_t i = 0; i < optionrows.size(); ++i) {
        shortoptions += optionrows[i].shortname;
        longoptions.push_back({optionrows[i].longname, no_argument, nullptr, longoptionbase + int(i)});
    }
    longoptions.push_back({nullptr, 0, nullptr, 0});

    CommandLine commandline;
    for (;;) {
        const int found = getopt_long(argc, argv, shortoptions.c_str(), longoptions.data(), nullptr);
        if (found == -1)
            break;
        if (found >= longoptionbase) {
            if (apply(optionrows[size_t(found - longoptionbase)], commandline))
                return commandline;
            continue;
        }
        const auto row = std::find_if(optionrows.begin(), optionrows.end(),
                                      [found](const OptionRow& r) { return r.shortname == found; });
        if (row == optionrows.end())
            return faultyoption(argc, argv);
        if (apply(*row, commandline))
            return commandline;
    }
    if (optind < argc)
        return failure("unerwartetes Argument " + quoted(argv[optind]));
    return commandline;
}

}  // namespace

CommandLine parsecommandline(int argc, char** argv)
{
    // getopt keeps its state in globals: start afresh (0 also resets
    // glibc's internal scan state) and leave them as they were found.
    const int savedoptind = optind;
    const int savedopterr = opterr;
    optind = 0;
    opterr = 0;  // the messages are ours, in German
    CommandLine commandline = parse(argc, argv);
    optind = savedoptind;
    opterr = savedopterr;
    return commandline;
}

std::string usagetext()
{
    std::string text =
        "Aufruf: sprecho [OPTION]\n"
        "\n"
        "Sprecho ist ein deutschsprachiger Gesprächspartner im Stil eines\n"
        "Heimcomputer-Programms der Achtzigerjahre: Man tippt hinter \u201E=>\u201C einen\n"
        "Satz und drückt Return, Sprecho antwortet. \u201Eende\u201C, \u201Eschluss\u201C oder\n"
        "\u201Ehör auf\u201C beenden das Gespräch.\n"
        "\n"
        "Optionen:\n";
    std::vector<std::string> names;
    size_t width = 0;
    for (const OptionRow& row : optionrows) {
        names.push_back(std::string("-") + row.shortname + ", --" + row.longname);
        width = std::max(width, names.back().size());
    }
    for (size_t i = 0; i < optionrows.size(); ++i)
        text += "  " + names[i] + std::string(width - names[i].size() + 2, ' ') + optionrows[i].description + "\n";
    text +=
        "\n"
        "Tasten der Eingabezeile:\n"
        "  Return, Enter            schickt die Zeile ab\n"
        "  Escape                   verwirft die Zeile\n"
        "  Links, Rechts            ein Zeichen zurück, vor\n"
        "  Pos1, Ende (auch \u2191, \u2193)   an den Anfang, ans Ende der Zeile\n"
        "  Rücktaste, Entf          löscht links, rechts der Schreibmarke\n"
        "  Strg+S, Strg+D           ein Wort zurück, vor\n"
        "  Strg+X                   löscht alles links der Schreibmarke\n"
        "  Strg+Z                   leert die Zeile\n"
        "  Strg+L, Strg+V           kopiert die Zeile, fügt aus der Zwischenablage ein\n"
        "  Strg+^ und Ziffern       ein Zeichen nach seinem Dezimalcode\n"
        "\n"
        "Menükürzel: Strg+Umschalt+P zeigt das Protokoll, Strg+Umschalt+C kopiert\n"
        "den Text des Fensters, Strg+Umschalt+Q beendet Sprecho.\n"
        "\n"
        "Die Gesprächsprotokolle liegen in $XDG_DATA_HOME/sprecho/Protokolle/\n"
        "(ohne XDG_DATA_HOME in ~/.local/share/sprecho/Protokolle/).\n"
        "\n"
        "Mehr in der Handbuchseite: man 6 sprecho\n";
    return text;
}

std::string versiontext()
{
    return "sprecho " SPRECHO_VERSION "\n";
}

int answercommandline(const CommandLine& commandline)
{
    switch (commandline.action) {
    case CommandLine::Action::run:
        return 0;
    case CommandLine::Action::error:
        std::fputs((commandline.error + "\n").c_str(), stderr);
        std::fflush(stderr);
        return 2;
    case CommandLine::Action::help:
    case CommandLine::Action::version:
        break;
    }
    const std::string text = commandline.action == CommandLine::Action::help ? usagetext() : versiontext();
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("sprecho: Die Ausgabe ließ sich nicht schreiben.\n", stderr);
        return 1;
    }
    return 0;
}
