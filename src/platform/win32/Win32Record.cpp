// The account's name from GetUserNameW, the arguments from the wide command line, and
// the report opened by the shell, as Help is.
#include "platform/win32/Win32Record.h"

#include "platform/win32/Win32Windows.h"

#include <lmcons.h>
#include <shellapi.h>

#include <vector>

#include "platform/desktop/DesktopRecordStore.h"
#include "platform/desktop/DesktopReport.h"

std::string accountUserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD length = UNLEN + 1;
    if (!GetUserNameW(name, &length) || length <= 1) {
        return {};
    }
    const std::u8string text = std::filesystem::path(std::wstring(name, length - 1)).u8string();
    return std::string(text.begin(), text.end());
}

std::optional<int> runReportIfAsked(const std::filesystem::path& perUserFolder) {
    int count = 0;
    wchar_t** given = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::filesystem::path> arguments;
    for (int i = 1; given != nullptr && i < count; ++i) {
        arguments.emplace_back(given[i]);
    }
    LocalFree(given);
    const std::optional<std::vector<std::filesystem::path>> folders = reportFolders(arguments);
    if (!folders) {
        return std::nullopt;
    }
    const std::optional<std::filesystem::path> page =
        writeReportPage(DesktopRecordStore::folderBesideSettings(perUserFolder), *folders);
    if (!page) {
        return 1;
    }
    ShellExecuteW(nullptr, L"open", page->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}
