// The answers to --version and --help.
#include "app/CommandLine.h"

#include "words/Words.h"

#ifndef BRICKETING_VERSION
#error "the build gives the program's version as BRICKETING_VERSION"
#endif

std::u16string programVersionText() {
    return fill(tr("Bricketing {version}"), {{"version", words::fromUtf8(BRICKETING_VERSION)}});
}

std::u16string aboutVersionText() {
    return fill(tr("Version {version}"), {{"version", words::fromUtf8(BRICKETING_VERSION)}});
}

namespace {

enum class Question { None, Version, Help };

// The first of --version and --help before a "--"; the answer is to that one.
Question askedOf(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "--version") {
            return Question::Version;
        }
        if (argument == "--help" || argument == "-h") {
            return Question::Help;
        }
    }
    return Question::None;
}

}  // namespace

bool answersOnCommandLine(const std::vector<std::string>& arguments) {
    return askedOf(arguments) != Question::None;
}

std::optional<CommandLineAnswer> commandLineAnswer(const std::vector<std::string>& arguments) {
    switch (askedOf(arguments)) {
        case Question::None:
            return std::nullopt;
        case Question::Version:
            return CommandLineAnswer{words::toUtf8(programVersionText()) + "\n", 0};
        case Question::Help: {
            const std::u16string help =
                fill(tr("Usage: {program} [--help | --version | --report [FOLDER...]]\n"
                        "\n"
                        "A drill in whole-number division by repeated subtraction of multiples of "
                        "the divisor.\n"
                        "Started without options it opens its window.\n"
                        "\n"
                        "  --help     print this help and exit\n"
                        "  --version  print the program's name and version and exit\n"
                        "  --report [FOLDER...]\n"
                        "             write the teacher's report of the practice records (this\n"
                        "             computer's, and those gathered in each FOLDER) and open it\n"
                        "\n"
                        "The levels are read from Data/levels.txt in the program's folder, the "
                        "settings from Data/settings.txt or the pupil's own settings file.\n"),
                     {{"program", u"bricketing"}});
            return CommandLineAnswer{words::toUtf8(help), 0};
        }
    }
    return std::nullopt;
}
