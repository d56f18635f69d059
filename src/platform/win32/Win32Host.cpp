// The main window and the host services on Win32.
#include "platform/win32/Win32Host.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Drawing.h"
#include "platform/win32/Win32Text.h"
#include "words/Words.h"

namespace {
// Sent when the window moves to a monitor of another resolution (Windows 8.1 on); the
// older headers do not name it.
constexpr UINT dpiChangedMessage = 0x02E0;

Message messageOf(MessageKind kind) {
    Message message;
    message.kind = kind;
    return message;
}
}  // namespace

Win32Host::Win32Host(HINSTANCE instance, int showCommand)
    : instance(instance), showCommand(showCommand) {}

Win32Host::~Win32Host() {
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

void Win32Host::registerWindowClass() {
    WNDCLASSW windowClass{};
    windowClass.style = 0;  // no double-click messages: a double click is two clicks
    windowClass.lpfnWndProc = &Win32Host::windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconResource));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
}

void Win32Host::createMainWindow(const WindowDescription& description, MessageHandler& handler) {
    this->handler = &handler;
    outerWidth = description.width;
    outerHeight = description.height;
    registerWindowClass();
    const std::wstring title = toWide(description.title);
    // A caption and system menu with a minimise box, and no sizing border or maximise
    // box, so the window keeps its size. The outer size includes caption and border.
    CreateWindowExW(0, className, title.c_str(), WS_SYSMENU | WS_MINIMIZEBOX, description.x,
                    description.y, description.width, description.height, nullptr, nullptr,
                    instance, this);
    fitWindowToScale();
    ShowWindow(window, showCommand);
    UpdateWindow(window);
}

void Win32Host::fitWindowToScale() {
    if (window == nullptr) {
        return;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    fittingScale = scaleWithin(dpiScale(windowDpi(window)), outerWidth, outerHeight,
                               work.right - work.left, work.bottom - work.top);
    const float factor = scale();
    const int width = static_cast<int>(std::lround(static_cast<float>(outerWidth) * factor));
    const int height = static_cast<int>(std::lround(static_cast<float>(outerHeight) * factor));
    RECT now{};
    GetWindowRect(window, &now);
    // Moved up and left as far as the window would stand out, but never beyond the
    // work area's top left corner, where the caption and its close box are.
    const LONG left = std::max(work.left, std::min<LONG>(now.left, work.right - width));
    const LONG top = std::max(work.top, std::min<LONG>(now.top, work.bottom - height));
    if (left != now.left || top != now.top || width != now.right - now.left ||
        height != now.bottom - now.top) {
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

float Win32Host::scale() const {
    const float wanted = dpiScale(windowDpi(window));
    return fittingScale > 0.0f ? std::min(wanted, fittingScale) : wanted;
}

LRESULT CALLBACK Win32Host::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return host->handleWindowMessage(window, message, wParam, lParam);
}

// The creation message goes to the handler at once, since the back buffer must exist
// before the window is shown; every other message the program acts on waits in the
// queue for the frame loop. All of them then go on to DefWindowProcW.
LRESULT Win32Host::handleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            window = hwnd;
            if (handler != nullptr) {
                handler->handleMessage(messageOf(MessageKind::Create));
            }
            break;
        case WM_DESTROY:
            shownBuffer = nullptr;
            post(MessageKind::Destroy);
            break;
        case WM_MOUSEMOVE:
            pointerAt(lParam);
            changedWhileWaiting = true;
            break;
        case WM_MOUSELEAVE:
            trackingLeave = false;
            pointerKnown = false;
            changedWhileWaiting = true;
            break;
        case WM_MOVE:
            pointerKnown = false;  // a pointer left where it was is elsewhere in the window
            break;
        case WM_PAINT:
            changedWhileWaiting = true;
            if (shownBuffer != nullptr) {
                PAINTSTRUCT paint{};
                HDC target = BeginPaint(hwnd, &paint);
                shownBuffer->copyTo(target);
                EndPaint(hwnd, &paint);
                return 0;
            }
            break;
        case WM_GETOBJECT:
            if (const LRESULT object = answerGetObject(hwnd, wParam, lParam, words)) {
                return object;
            }
            break;
        case WM_KEYDOWN: {
            Message key = messageOf(MessageKind::KeyDown);
            key.keyCode = static_cast<std::uint32_t>(wParam);
            queue.push_back(key);
            break;
        }
        case WM_LBUTTONDOWN:
            pointerAt(lParam);
            post(MessageKind::LeftButtonDown);
            break;
        case WM_LBUTTONUP:
            pointerAt(lParam);
            post(MessageKind::LeftButtonUp);
            break;
        case WM_RBUTTONDOWN:
            pointerAt(lParam);
            post(MessageKind::RightButtonDown);
            break;
        case WM_MOUSEWHEEL: {
            Message wheel = messageOf(MessageKind::MouseWheel);
            wheel.wheelDelta = static_cast<short>(HIWORD(wParam));
            queue.push_back(wheel);
            break;
        }
        case dpiChangedMessage: {
            // The suggested rectangle keeps the window's size in the new scaling; the
            // back buffer follows at its next clear.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            fitWindowToScale();  // the new monitor may be too small for that
            pictureLost = true;
            pointerKnown = false;
            changedWhileWaiting = true;
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Mouse messages carry client pixels, negative to the left of and above the window
// while the mouse is captured. The first one over the window asks to hear of its leaving.
void Win32Host::pointerAt(LPARAM position) {
    pointer.x = static_cast<short>(LOWORD(position));
    pointer.y = static_cast<short>(HIWORD(position));
    pointerKnown = true;
    if (!trackingLeave && window != nullptr) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window;
        trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
}

void Win32Host::post(MessageKind kind) {
    queue.push_back(messageOf(kind));
}

void Win32Host::destroyMainWindow() {
    if (window != nullptr) {
        DestroyWindow(window);
    }
}

std::unique_ptr<BackBuffer> Win32Host::createBackBuffer(int width, int height) {
    return std::make_unique<Win32BackBuffer>(window, width, height, [this] { return scale(); });
}

void Win32Host::present(BackBuffer& buffer) {
    if (window == nullptr || !IsWindow(window)) {
        return;
    }
    shownBuffer = &static_cast<Win32BackBuffer&>(buffer);
    HDC windowDC = GetDC(window);
    shownBuffer->copyTo(windowDC);
    ReleaseDC(window, windowDC);
}

// After a change of resolution the buffer is made anew at its next clear; until a
// frame is drawn into it, the window would show the old one.
bool Win32Host::windowPictureLost() {
    return std::exchange(pictureLost, false);
}

// Takes one window message: dispatched to the window, it becomes the program's message
// if it is one the program acts on, else an Other message. Either way a message was
// waiting, so no frame is drawn this pass.
bool Win32Host::peekMessage(Message& message) {
    if (queue.empty()) {
        MSG msg{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            return false;
        }
        if (msg.message == WM_QUIT) {
            message = messageOf(MessageKind::Quit);
            message.exitCode = static_cast<int>(msg.wParam);
            return true;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (queue.empty()) {
            message = messageOf(MessageKind::Other);
            return true;
        }
    }
    message = queue.front();
    queue.pop_front();
    return true;
}

void Win32Host::postQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

// Client pixels of the window in back-buffer pixels: divided by the scale on a scaled
// monitor, rounded down so that negative positions stay outside.
PixelPoint Win32Host::cursorPosition() {
    if (!pointerKnown) {
        pointer = {};
        GetCursorPos(&pointer);
        if (window != nullptr) {
            ScreenToClient(window, &pointer);
        }
        pointerKnown = true;
    }
    const POINT point = pointer;
    const float factor = scale();
    if (factor == 1.0f) {
        return {point.x, point.y};
    }
    return {static_cast<int>(std::floor(static_cast<float>(point.x) / factor)),
            static_cast<int>(std::floor(static_cast<float>(point.y) / factor))};
}

void Win32Host::captureMouse() {
    SetCapture(window);
}

void Win32Host::releaseMouse() {
    ReleaseCapture();
}

bool Win32Host::performanceFrequency(std::int64_t& countsPerSecond) {
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency)) {
        return false;
    }
    countsPerSecond = frequency.QuadPart;
    return true;
}

std::int64_t Win32Host::performanceCounter() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

void Win32Host::sleepMilliseconds(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

// Dispatches what comes until a message for the program is queued or something that
// may change the picture arrived (the pointer moving over the window or leaving it, a
// repaint, another resolution); WaitMessage sleeps until the thread's queue gets
// anything new.
void Win32Host::waitForMessage() {
    changedWhileWaiting = false;
    while (queue.empty() && !changedWhileWaiting) {
        MSG msg{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            Message quit = messageOf(MessageKind::Quit);
            quit.exitCode = static_cast<int>(msg.wParam);
            queue.push_back(quit);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

MessageBoxAnswer Win32Host::messageBox(MessageBoxOwner owner, const std::u16string& text,
                                       const std::u16string& caption, MessageBoxButtons buttons) {
    HWND ownerWindow = owner == MessageBoxOwner::MainWindow ? window : nullptr;
    return showWin32MessageBox(ownerWindow, text, caption, buttons);
}

void Win32Host::runDialog(DialogId dialog, DialogProcedure& procedure) {
    runWin32Dialog(instance, window, dialog, procedure);
}

void Win32Host::publishAccessibleText(const AccessibleText& text) {
    publishWindowWords(window, *words, text);
}

void Win32Host::announce(const std::u16string& text) {
    announceInWindow(window, *words, text);
}

// The user's display languages, most wanted first ("nl-NL", ...), as Windows names them.
std::vector<std::string> Win32Host::preferredLanguages() {
    return systemLanguages();
}

std::vector<std::string> Win32Host::systemLanguages() {
    ULONG count = 0;
    ULONG length = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) {
        return {};
    }
    std::wstring names(length, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &length)) {
        return {};
    }
    std::vector<std::string> languages;
    for (std::size_t start = 0; start < names.size() && names[start] != L'\0';) {
        const std::size_t end = names.find(L'\0', start);
        std::string name;
        for (std::size_t i = start; i < end; ++i) {
            name += static_cast<char>(names[i] < 0x80 ? names[i] : L'?');
        }
        languages.push_back(name);
        start = end + 1;
    }
    return languages;
}

std::wstring shellNameFor(const std::wstring& fullPath) {
    if (fullPath.size() < MAX_PATH) {
        return fullPath;
    }
    // The short name, where the file system keeps short names, is the same file.
    const std::wstring longForm = L"\\\\?\\" + fullPath;
    std::wstring shortForm(longForm.size() + 1, L'\0');
    const DWORD length =
        GetShortPathNameW(longForm.c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size()));
    if (length > 0 && length < shortForm.size()) {
        shortForm.resize(length);
        if (shortForm.rfind(L"\\\\?\\", 0) == 0) {
            shortForm.erase(0, 4);
        }
        if (shortForm.size() < MAX_PATH) {
            return shortForm;
        }
    }
    // Else a file URL, which the browser opens whatever its length.
    std::wstring url = L"file:///";
    for (const char c : words::toUtf8(std::u16string(fullPath.begin(), fullPath.end()))) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain =
            (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') ||
            std::wstring_view(L"-._~:").find(static_cast<wchar_t>(byte)) != std::wstring_view::npos;
        if (byte == '\\') {
            url += L'/';
        } else if (plain) {
            url += static_cast<wchar_t>(byte);
        } else {
            constexpr const wchar_t* hex = L"0123456789ABCDEF";
            url += L'%';
            url += hex[byte >> 4];
            url += hex[byte & 15];
        }
    }
    return url;
}

// The shell is given the full path: a relative one is resolved by it against a
// folder of its own choosing, and one of MAX_PATH or more opens nothing.
void Win32Host::openDocument(const std::string& relativePath) {
    std::error_code error;
    const std::filesystem::path full =
        std::filesystem::absolute(std::filesystem::path(toWindowsPath(relativePath)), error);
    const std::wstring name =
        error ? toWindowsPath(relativePath) : shellNameFor(full.lexically_normal().wstring());
    ShellExecuteW(nullptr, L"open", name.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32Host::prefersHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
