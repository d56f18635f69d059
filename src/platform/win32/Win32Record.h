// The practice record's Windows side: the account's name for the pupil, and the
// --report run that writes the teacher's page and opens it in the browser.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The account's user name (UTF-8); empty when Windows cannot say.
std::string accountUserName();

// With --report among the command line's arguments: writes the report page and opens it
// as Help is opened, returning the exit code (0 when it was written). Nothing otherwise.
std::optional<int> runReportIfAsked(const std::filesystem::path& perUserFolder);
