// The program's entry point on Windows: GDI+ and the common controls first, since the
// panels load pictures and make fonts as they are made; then the folder with the
// program's run-time files, the platform services, and the program's run.
#include "platform/win32/Win32Windows.h"

#include <commctrl.h>

#include <shellapi.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/TeacherFolder.h"
#include "platform/desktop/DesktopClassListStore.h"
#include "platform/desktop/DesktopRecord.h"
#include "platform/desktop/DesktopSettingsStore.h"
#include "platform/desktop/TeacherFolderRule.h"
#include "platform/win32/Win32Drawing.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Record.h"
#include "platform/win32/Win32SoundPlayer.h"
#include "platform/win32/Win32UserFolders.h"
#include "words/Words.h"

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

// The arguments after the program's name, in UTF-8.
std::vector<std::string> commandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int index = 1; index < count; ++index) {
        const std::wstring_view word(words[index]);
        arguments.push_back(words::toUtf8(std::u16string(word.begin(), word.end())));
    }
    LocalFree(words);
    return arguments;
}

// Prints text where standard output goes: a file or a pipe it was given, else the
// console of the command prompt that started it. A program built for the window has no
// console of its own, so it borrows its parent's.
void printToStandardOutput(const std::string& text) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((output == nullptr || output == INVALID_HANDLE_VALUE) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        output = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    }
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    if (GetFileType(output) == FILE_TYPE_CHAR) {
        const std::u16string wide = words::fromUtf8(text);
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
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
    // --version and --help, and the report below, are in the user's display language;
    // the lesson then applies the pupil's own choice.
    enterRuntimeFolder(programFolder());
    words::useLanguage(words::bestLanguage(Win32Host::systemLanguages()));
    if (const auto answer = commandLineAnswer(commandLineArguments())) {
        printToStandardOutput(answer->text);
        return answer->exitCode;
    }
    const GdiplusSession gdiplus;
    initialiseCommonControls();
    installTeacherFolder(desktopTeacherFolder());
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
    DesktopClassListStore classList(teacherFolder());
    installClassListStore(&classList);

    Win32SoundPlayer sound;
    installSoundPlayer(&sound);

    int exitCode = 0;
    {
        Win32Host host(instance, showCommand);
        exitCode = runProgram(host);
    }
    installSoundPlayer(nullptr);
    installClassListStore(nullptr);
    installSettingsStore(nullptr);
    installDrawingServices(nullptr);
    return exitCode;
}
