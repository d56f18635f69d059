// The per-user folder from the shell's application-data folder.
#include "platform/win32/Win32UserFolders.h"

#include "platform/win32/Win32Windows.h"

#include <shlobj.h>

std::filesystem::path Win32UserFolders::settingsFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)) ||
        appData[0] == L'\0') {
        return {};
    }
    return std::filesystem::path(appData) / L"Bricketing";
}

std::filesystem::path Win32UserFolders::teacherFolder() {
    wchar_t programData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                programData)) ||
        programData[0] == L'\0') {
        return {};
    }
    return std::filesystem::path(programData) / L"Bricketing";
}
