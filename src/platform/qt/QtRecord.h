// The practice record's Qt side: the account's name for the pupil, and the
// --report run that writes the teacher's page and opens it in the browser.
#pragma once

#include <filesystem>
#include <string>

// The account's user name (UTF-8); empty when the system cannot say.
std::string accountUserName();

// Whether --report is among the program's arguments: the run then needs no display.
bool asksForReport(int argc, char* argv[]);

// Writes the report page from the application's arguments and opens it as Help is
// opened; the exit code (0 when it was written).
int runReport(const std::filesystem::path& perUserFolder);
