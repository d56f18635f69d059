// bricketing --report [FOLDER...]: the teacher's report page written from this
// machine's record and the records gathered into the folders, for the backend to open
// in the browser. No window is made.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The folders after --report when the arguments (without the program's name) ask for
// the report; nothing when they do not.
std::optional<std::vector<std::filesystem::path>> reportFolders(
    const std::vector<std::filesystem::path>& arguments);

// Where Chart.js is looked for, first found first: beside the program (the Windows
// copies carry it) and where Debian's libjs-chart.js puts it.
inline constexpr const char* chartScriptPaths[] = {
    "report/chart.min.js",
    "/usr/share/javascript/chart.js/chart.min.js",
};

// Writes the page from every record file under recordFolder (this machine's pupils)
// and the folders, into recordFolder (or the system's temporary folder when that
// cannot be written) as report.html. Returns the page's path; nothing, with the reason
// on standard error, when it cannot be written.
std::optional<std::filesystem::path> writeReportPage(
    const std::filesystem::path& recordFolder, const std::vector<std::filesystem::path>& folders);
