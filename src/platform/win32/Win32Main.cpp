// The program's entry point on Windows: GDI+ and the common controls first, since the
// panels load pictures and make fonts as they are made; then the folder with the
// program's run-time files, the platform services, and the program's run.
#include "platform/win32/Win32Windows.h"

#include <commctrl.h>

#include <filesystem>
#include <string>

#include "app/Program.h"
#include "platform/desktop/DesktopRecord.h"
#include "platform/desktop/DesktopSettingsStore.h"
#include "platform/win32/Win32Drawing.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Record.h"
#include "platform/win32/Win32UserFolders.h"

namespace {
std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);  // a long path: try again with more room
    }
}

// The dialogs' controls in the visual style the manifest asks for.
void initialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const GdiplusSession gdiplus;
    initialiseCommonControls();
    enterRuntimeFolder(programFolder());
    // bricketing --report [FOLDER...]: the teacher's page, and no window.
    if (const std::optional<int> reportExit =
            runReportIfAsked(Win32UserFolders().settingsFolder())) {
        return *reportExit;
    }
    DesktopRecord record(Win32UserFolders().settingsFolder(), accountUserName());

    Win32DrawingServices drawing;
    installDrawingServices(&drawing);
    Win32UserFolders folders;
    DesktopSettingsStore settings(folders.settingsFolder(), folders.teacherFolder());
    installSettingsStore(&settings);

    int exitCode = 0;
    {
        Win32Host host(instance, showCommand);
        exitCode = runProgram(host);
    }
    installSettingsStore(nullptr);
    installDrawingServices(nullptr);
    return exitCode;
}
