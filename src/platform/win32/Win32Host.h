// The Win32 implementation of the window-system side of the platform layer: the window
// class "CApp" and its one window, whose window messages become the program's
// messages, the cursor and capture, the performance counter, Sleep, message boxes, the
// stored dialogs and opening documents through the shell.
#pragma once

#include "platform/win32/Win32Windows.h"

#include <deque>
#include <memory>
#include <string>

#include "platform/Host.h"
#include "platform/win32/Win32Accessible.h"

class Win32BackBuffer;

class Win32Host : public Host {
public:
    // instance: the module the window class and the icon belong to; showCommand: how
    // the system asked for the window to be shown.
    Win32Host(HINSTANCE instance, int showCommand);
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    void createMainWindow(const WindowDescription& description, MessageHandler& handler) override;
    void destroyMainWindow() override;
    std::unique_ptr<BackBuffer> createBackBuffer(int width, int height) override;
    void present(BackBuffer& buffer) override;
    bool windowPictureLost() override;
    bool peekMessage(Message& message) override;
    void postQuit(int exitCode) override;
    PixelPoint cursorPosition() override;
    void captureMouse() override;
    void releaseMouse() override;
    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    void sleepMilliseconds(int milliseconds) override;
    void waitForMessage() override;
    MessageBoxAnswer messageBox(MessageBoxOwner owner, const std::u16string& text,
                                const std::u16string& caption, MessageBoxButtons buttons) override;
    void runDialog(DialogId dialog, DialogProcedure& procedure) override;
    void openDocument(const std::string& relativePath) override;
    std::vector<std::string> preferredLanguages() override;
    // The user's display languages, most wanted first; needs no window.
    static std::vector<std::string> systemLanguages();
    // Windows' high-contrast mode (Settings, Accessibility, Contrast themes).
    bool prefersHighContrast() override;
    void publishAccessibleText(const AccessibleText& text) override;
    void announce(const std::u16string& text) override;

    HWND mainWindow() const { return window; }
    // Device pixels per back-buffer pixel: the window's resolution asks for it, unless
    // the window would then not fit the monitor's work area, which then sets it.
    float scale() const;

    // The window class's name and the icon resource it shows.
    static constexpr const wchar_t* className = L"CApp";
    static constexpr int iconResource = 114;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void registerWindowClass();
    void post(MessageKind kind);
    // Sizes the window for the current scale, smaller where the monitor's work area is
    // too small for it, and moves it into the work area where it stands out of it.
    void fitWindowToScale();
    // The pointer over the window, or held by capture, at client pixel (x, y).
    void pointerAt(LPARAM position);

    // Something arrived that may change what the window shows: a wait ends.
    bool changedWhileWaiting = false;
    // The pointer in client pixels, as the last mouse message placed it; asked of the
    // system only when no message can tell (before the first, after leaving or a move
    // of the window).
    POINT pointer{};
    bool pointerKnown = false;
    bool trackingLeave = false;  // TrackMouseEvent will report the pointer leaving

    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWNORMAL;
    HWND window = nullptr;
    MessageHandler* handler = nullptr;
    std::deque<Message> queue;
    int outerWidth = 0;  // in back-buffer pixels, as the program asked for them
    int outerHeight = 0;
    // The largest scale at which the window fits the work area of its monitor; 0 before
    // the window is fitted.
    float fittingScale = 0.0f;
    // The buffer last presented, which holds the picture the window shows: the window
    // paints itself from it when uncovered, since a resting program presents nothing.
    Win32BackBuffer* shownBuffer = nullptr;
    bool pictureLost = false;  // the resolution changed since the last frame was drawn
    // What screen readers are told of the window (Win32Accessible).
    std::shared_ptr<Win32WindowWords> words = std::make_shared<Win32WindowWords>();
};

// The name the shell is given for the file at fullPath: the path itself when it is
// shorter than MAX_PATH (the most the shell opens), else its short form, else a file
// URL.
std::wstring shellNameFor(const std::wstring& fullPath);
