// The report page on the desktop: the record files found, Chart.js read, the page
// written whole.
#include "platform/desktop/DesktopReport.h"

#include <system_error>

#include "features/record/ReportPage.h"
#include "platform/ProblemReport.h"
#include "platform/desktop/DesktopRecordStore.h"
#include "platform/desktop/FileRewrite.h"
#include "platform/desktop/NativeFile.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t largestChartScript = 4u * 1024u * 1024u;

std::string utf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string chartScript() {
    for (const char* path : chartScriptPaths) {
        const NativeFile file = openToRead(path);
        if (isRegularFile(file)) {
            if (std::optional<std::string> text = readUpTo(file, largestChartScript)) {
                return *text;
            }
        }
    }
    reportProblem(
        "Chart.js is neither in report/chart.min.js nor in /usr/share/javascript; "
        "the report shows its tables without charts");
    return {};
}

bool writePage(const fs::path& path, const std::string& page) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return rewriteFile(path, page);
}

}  // namespace

std::optional<std::vector<fs::path>> reportFolders(const std::vector<fs::path>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--report") {
            std::vector<fs::path> folders;
            for (std::size_t j = i + 1; j < arguments.size(); ++j) {
                if (arguments[j].native().rfind(fs::path("--").native(), 0) != 0) {
                    folders.push_back(arguments[j]);
                }
            }
            return folders;
        }
    }
    return std::nullopt;
}

std::optional<fs::path> writeReportPage(const fs::path& recordFolder,
                                        const std::vector<fs::path>& folders) {
    std::vector<fs::path> searched = folders;
    if (!recordFolder.empty()) {
        searched.insert(searched.begin(), recordFolder);
    }
    for (const fs::path& folder : folders) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            reportProblem("the report leaves out " + utf8(folder) + ": it is not a folder");
        }
    }
    std::vector<ReportFile> files;
    for (FoundRecordFile& found : findRecordFiles(searched)) {
        files.push_back({utf8(fs::absolute(found.path)), std::move(found.text)});
    }
    const std::string page = reportPage(files, chartScript());
    std::error_code error;
    const fs::path places[] = {
        recordFolder.empty() ? fs::path() : recordFolder / "report.html",
        fs::temp_directory_path(error) / "bricketing-report.html",
    };
    for (const fs::path& place : places) {
        if (!place.empty() && writePage(place, page)) {
            return fs::absolute(place, error);
        }
    }
    reportProblem(
        "the report page cannot be written beside the record nor in the temporary "
        "folder");
    return std::nullopt;
}
