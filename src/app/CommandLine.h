// What the program answers on its command line without opening a window: --version and
// --help, on standard output, as a technician installing or checking it expects.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The program's name and version, as --version prints it and the About dialog shows it.
std::u16string programVersionText();

// The version as the About dialog shows it over its picture ("Version 1.0").
std::u16string aboutVersionText();

// The text to print and the exit code when the arguments (without the program's name)
// ask for an answer instead of a run; nothing when the program should start as usual.
// Arguments it does not know are left to the backend (Qt takes a few of its own).
struct CommandLineAnswer {
    std::string text;  // UTF-8, ending with a line end
    int exitCode = 0;
};
std::optional<CommandLineAnswer> commandLineAnswer(const std::vector<std::string>& arguments);
// Whether commandLineAnswer has an answer, without making its text: a backend asks this
// before it sets the language the answer is written in.
bool answersOnCommandLine(const std::vector<std::string>& arguments);
