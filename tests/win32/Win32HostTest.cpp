// The Win32 host: the window class and window as the program asks for them, window
// messages turned into the program's messages with Windows' own key codes, the quit
// message and its exit code, the cursor in client pixels (from the mouse messages), the
// counter, the resting wait and what ends it, presenting the back buffer, and the
// per-user folder.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32UserFolders.h"

namespace {
// Stands in for the application: makes the back buffer when the window is created.
class CreationRecorder : public MessageHandler {
public:
    explicit CreationRecorder(Host& host) : host(host) {}
    void handleMessage(const Message& message) override {
        kinds.push_back(message.kind);
        if (message.kind == MessageKind::Create) {
            buffer = host.createBackBuffer(800, 600);
        }
    }
    Host& host;
    std::vector<MessageKind> kinds;
    std::unique_ptr<BackBuffer> buffer;
};

class Win32HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowDescription description;
        description.title = u"Bricketing - Quillmoor";
        description.x = 100;
        description.y = 100;
        description.width = 800;
        description.height = 600;
        host.createMainWindow(description, recorder);
        drain();  // whatever showing the window brought
    }

    // Every waiting message, in order.
    std::vector<Message> drain() {
        std::vector<Message> messages;
        Message message;
        while (host.peekMessage(message)) {
            messages.push_back(message);
        }
        return messages;
    }

    // The waiting messages of one kind, in order.
    std::vector<Message> drainKind(MessageKind kind) {
        std::vector<Message> chosen;
        for (const Message& message : drain()) {
            if (message.kind == kind) {
                chosen.push_back(message);
            }
        }
        return chosen;
    }

    HWND window() const { return host.mainWindow(); }

    Win32Host host{GetModuleHandleW(nullptr), SW_SHOWNORMAL};
    CreationRecorder recorder{host};
};
}  // namespace

TEST_F(Win32HostTest, TheWindowIsTheProgramsFixedSizeWindowAtItsPlace) {
    ASSERT_NE(window(), nullptr);
    wchar_t text[64] = {};
    GetWindowTextW(window(), text, 64);
    EXPECT_EQ(std::wstring(text), L"Bricketing - Quillmoor");
    GetClassNameW(window(), text, 64);
    EXPECT_EQ(std::wstring(text), L"CApp");

    RECT outer{};
    GetWindowRect(window(), &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
    EXPECT_EQ(outer.right - outer.left, 800);
    EXPECT_EQ(outer.bottom - outer.top, 600);

    const LONG style = GetWindowLongW(window(), GWL_STYLE);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "no sizing border";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0) << "no maximise box";
    EXPECT_TRUE(IsWindowVisible(window()));
    // The client area is smaller than the buffer: caption and border take their share.
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_LT(client.right, 800);
    EXPECT_LT(client.bottom, 600);
}

TEST_F(Win32HostTest, TheCreationMessageMadeTheBackBufferWhileTheWindowWasMade) {
    ASSERT_FALSE(recorder.kinds.empty());
    EXPECT_EQ(recorder.kinds.front(), MessageKind::Create);
    EXPECT_EQ(recorder.kinds.size(), 1u) << "only the creation message goes straight through";
    ASSERT_NE(recorder.buffer, nullptr);
    EXPECT_EQ(recorder.buffer->width(), 800);
    EXPECT_EQ(recorder.buffer->height(), 600);
}

TEST_F(Win32HostTest, KeyMessagesArriveWithWindowsOwnCodesInOrder) {
    const WPARAM codes[] = {VK_ESCAPE, '0',       '5',      '9',       VK_NUMPAD0, VK_NUMPAD7,
                            VK_BACK,   VK_RETURN, VK_SPACE, 'A',       'Z',        VK_LEFT,
                            VK_DELETE, VK_F1,     VK_SHIFT, VK_DECIMAL};
    for (WPARAM code : codes) {
        PostMessageW(window(), WM_KEYDOWN, code, 0);
    }
    const std::vector<Message> keys = drainKind(MessageKind::KeyDown);
    ASSERT_EQ(keys.size(), std::size(codes));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].keyCode, codes[i]) << "key " << i;
    }
}

TEST_F(Win32HostTest, ButtonAndWheelMessagesBecomeTheProgramsMessages) {
    struct Case {
        UINT message;
        WPARAM wParam;
        MessageKind kind;
        int wheelDelta;
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, MessageKind::LeftButtonDown, 0},
        {WM_LBUTTONUP, 0, MessageKind::LeftButtonUp, 0},
        {WM_RBUTTONDOWN, MK_RBUTTON, MessageKind::RightButtonDown, 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MessageKind::MouseWheel, -120},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MessageKind::MouseWheel, 240},
        {WM_RBUTTONUP, 0, MessageKind::Other, 0},
        {WM_MOUSEMOVE, 0, MessageKind::Other, 0},
        {WM_LBUTTONDBLCLK, 0, MessageKind::Other, 0},
    };
    for (const Case& c : cases) {
        PostMessageW(window(), c.message, c.wParam, MAKELPARAM(10, 10));
        const std::vector<Message> messages = drain();
        ASSERT_EQ(messages.size(), 1u) << "message " << c.message;
        EXPECT_EQ(messages[0].kind, c.kind) << "message " << c.message;
        EXPECT_EQ(messages[0].wheelDelta, c.wheelDelta) << "message " << c.message;
    }
}

TEST_F(Win32HostTest, AnEmptyQueueSaysSoAndEveryWindowMessageCountsAsWaiting) {
    Message message;
    EXPECT_FALSE(host.peekMessage(message));
    PostMessageW(window(), WM_NULL, 0, 0);
    ASSERT_TRUE(host.peekMessage(message));
    EXPECT_EQ(message.kind, MessageKind::Other);
    EXPECT_FALSE(host.peekMessage(message));
}

TEST_F(Win32HostTest, DestroyingTheWindowGivesDestroyAndTheQuitCarriesTheExitCode) {
    host.destroyMainWindow();
    EXPECT_FALSE(IsWindow(window()));
    std::vector<Message> messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Destroy);

    for (int exitCode : {0, 7}) {
        host.postQuit(exitCode);
        messages = drain();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].kind, MessageKind::Quit);
        EXPECT_EQ(messages[0].exitCode, exitCode);
    }
}

TEST_F(Win32HostTest, TheCloseCommandDestroysTheWindow) {
    PostMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    const std::vector<Message> destroyed = drainKind(MessageKind::Destroy);
    EXPECT_EQ(destroyed.size(), 1u);
    EXPECT_FALSE(IsWindow(window()));
}

TEST_F(Win32HostTest, TheCursorIsReadInClientPixelsAndNotClamped) {
    POINT origin{0, 0};
    ClientToScreen(window(), &origin);
    const POINT places[] = {{origin.x + 10, origin.y + 20},
                            {origin.x + 300, origin.y + 250},
                            {origin.x - 30, origin.y - 40}};  // outside: negative
    for (const POINT& place : places) {
        ASSERT_TRUE(SetCursorPos(place.x, place.y));
        POINT where{};
        ASSERT_TRUE(pumpUntil([&] {
            GetCursorPos(&where);
            return where.x == place.x && where.y == place.y;
        }));
        // Wine sends no move message for a program's own SetCursorPos; once the pointer
        // is said to have left, the host asks the system where it is.
        PostMessageW(window(), WM_MOUSELEAVE, 0, 0);
        drain();
        const PixelPoint point = host.cursorPosition();
        EXPECT_EQ(point.x, place.x - origin.x);
        EXPECT_EQ(point.y, place.y - origin.y);
    }
}

TEST_F(Win32HostTest, TheCounterRunsAndSleepWaits) {
    std::int64_t frequency = 0;
    ASSERT_TRUE(host.performanceFrequency(frequency));
    EXPECT_GT(frequency, 1000);
    const std::int64_t before = host.performanceCounter();
    host.sleepMilliseconds(20);
    const std::int64_t after = host.performanceCounter();
    const double seconds = static_cast<double>(after - before) / static_cast<double>(frequency);
    EXPECT_GE(seconds, 0.015);
    EXPECT_LT(seconds, 1.0);
}

TEST_F(Win32HostTest, PresentCopiesTheBufferIntoTheWindow) {
    ASSERT_NE(recorder.buffer, nullptr);
    recorder.buffer->clear();
    recorder.buffer->beginDrawing()->fillRectangle(0xFF0000FF, {50, 60, 100, 80});
    host.present(*recorder.buffer);
    HDC windowDC = GetDC(window());
    const Pixels shown(windowDC, 300, 300);
    ReleaseDC(window(), windowDC);
    EXPECT_EQ(shown.at(0, 0), 0xFF000000u);  // the outline's corner
    EXPECT_EQ(shown.at(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(shown.at(60, 70), 0xFF0000FFu);
    EXPECT_EQ(shown.at(149, 139), 0xFF0000FFu);
    EXPECT_EQ(shown.at(151, 141), 0xFFFFFFFFu);
}

// A resting program presents nothing, so a window whose picture was painted over (as
// when it is uncovered) paints the last presented frame again by itself.
TEST_F(Win32HostTest, AWindowAskedToPaintShowsTheLastPresentedFrame) {
    ASSERT_NE(recorder.buffer, nullptr);
    recorder.buffer->clear();
    recorder.buffer->beginDrawing()->fillRectangle(0xFF0000FF, {50, 60, 100, 80});
    host.present(*recorder.buffer);
    HDC windowDC = GetDC(window());
    RECT everything{0, 0, 300, 300};
    FillRect(windowDC, &everything, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    ReleaseDC(window(), windowDC);
    InvalidateRect(window(), nullptr, FALSE);
    UpdateWindow(window());
    windowDC = GetDC(window());
    const Pixels shown(windowDC, 300, 300);
    ReleaseDC(window(), windowDC);
    EXPECT_EQ(shown.at(0, 0), 0xFF000000u);
    EXPECT_EQ(shown.at(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(shown.at(60, 70), 0xFF0000FFu);
    EXPECT_FALSE(host.windowPictureLost());
}

TEST_F(Win32HostTest, AtNinetySixDotsPerInchOneBufferPixelIsOneDevicePixel) {
    EXPECT_FLOAT_EQ(host.scale(), 1.0f);
    const auto& buffer = static_cast<const Win32BackBuffer&>(*recorder.buffer);
    EXPECT_EQ(buffer.pixelWidth(), 800);
    EXPECT_EQ(buffer.pixelHeight(), 600);
}

// A window that would not fit the monitor's work area at its scale is drawn at a smaller
// one and kept within the work area, caption and close box included; one that fits
// stays as asked.
TEST(Win32HostPlacement, TheWindowIsKeptWithinTheWorkArea) {
    struct Case {
        const char* name;
        int x, y, width, height;
    };
    for (const Case& c : {Case{"fits", 100, 100, 800, 600}, Case{"too big", 100, 100, 2000, 1500},
                          Case{"off the right and the bottom", 5000, 4000, 800, 600},
                          Case{"off the left and the top", -900, -700, 800, 600}}) {
        SCOPED_TRACE(c.name);
        Win32Host host(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        CreationRecorder recorder(host);
        WindowDescription description;
        description.title = u"Bricketing - Quillmoor";
        description.x = c.x;
        description.y = c.y;
        description.width = c.width;
        description.height = c.height;
        host.createMainWindow(description, recorder);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(host.mainWindow(), MONITOR_DEFAULTTONEAREST),
                                    &monitor));
        const RECT& work = monitor.rcWork;
        RECT outer{};
        GetWindowRect(host.mainWindow(), &outer);
        EXPECT_GE(outer.left, work.left);
        EXPECT_GE(outer.top, work.top);
        EXPECT_LE(outer.right, work.right);
        EXPECT_LE(outer.bottom, work.bottom);
        const bool fits = c.width <= work.right - work.left && c.height <= work.bottom - work.top;
        EXPECT_EQ(host.scale() == 1.0f, fits) << host.scale();
        EXPECT_EQ(outer.right - outer.left, std::lround(c.width * host.scale()));
        if (fits && c.x >= work.left && c.x + c.width <= work.right) {
            EXPECT_EQ(outer.left, c.x);
            EXPECT_EQ(outer.top, c.y);
        }
        EXPECT_EQ(recorder.buffer->width(), 800) << "the layout stays 800 x 600";
    }
    // 150 % on 1280 x 800 with a task bar: the picture at 1.375 instead of 1.5.
    EXPECT_FLOAT_EQ(scaleWithin(1.5f, 800, 543, 1280, 760), 1.375f);
    EXPECT_FLOAT_EQ(scaleWithin(2.0f, 800, 543, 3840, 2100), 2.0f);
    EXPECT_FLOAT_EQ(scaleWithin(1.0f, 800, 543, 1024, 540), 0.9375f);
}

// Help from a copy deep in the folders: the shell is given a name shorter than MAX_PATH
// that still leads to the page, whether a short path or a file URL.
TEST(Win32HostHelp, ThePageIsNamedWithinMaxPathFromADeepFolder) {
    const ScratchFolder scratch;
    std::wstring folder = std::filesystem::absolute(scratch.path).wstring();
    for (int depth = 0; depth < 5; ++depth) {
        folder += L"\\Bricketing for the whole school, year " + std::to_wstring(depth);
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    }
    const std::wstring page = folder + L"\\help.html";
    ASSERT_GE(page.size(), static_cast<std::size_t>(MAX_PATH));
    const char contents[] = "<p>help</p>";
    {
        HANDLE file = CreateFileW((L"\\\\?\\" + page).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, contents, sizeof contents - 1, &written, nullptr);
        CloseHandle(file);
    }
    const std::wstring name = shellNameFor(page);
    EXPECT_LT(name.size(), static_cast<std::size_t>(MAX_PATH)) << "the shell opens nothing longer";
    if (name.rfind(L"file:///", 0) == 0) {
        EXPECT_NE(name.find(L"help.html"), std::wstring::npos);
    } else {
        HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        char read[32] = {};
        DWORD got = 0;
        ReadFile(file, read, sizeof read, &got, nullptr);
        CloseHandle(file);
        EXPECT_EQ(std::string(read, got), contents);
    }
    EXPECT_EQ(shellNameFor(L"C:\\Bricketing\\Help\\help.html"), L"C:\\Bricketing\\Help\\help.html");
    // Folders of such depth are removed through the long form, as they were made.
    for (int depth = 0; depth < 5; ++depth) {
        DeleteFileW((L"\\\\?\\" + page).c_str());
        RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
        folder.erase(folder.rfind(L'\\'));
    }
}

TEST(Win32UserFoldersTest, SettingsLiveInTheRoamingApplicationDataFolder) {
    Win32UserFolders folders;
    const std::filesystem::path folder = folders.settingsFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_EQ(folder.filename(), L"Bricketing");
    EXPECT_TRUE(std::filesystem::is_directory(folder.parent_path()));
    wchar_t appData[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    EXPECT_TRUE(std::filesystem::equivalent(folder.parent_path(), appData));
}

namespace {
// What a timer does while the host waits; each runs once.
std::function<void()> firstTimerAction;
std::function<void()> secondTimerAction;

void CALLBACK runFirstTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    firstTimerAction();
}

void CALLBACK runSecondTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    secondTimerAction();
}
}  // namespace

// A resting program's wait ends on each kind of message that may change what it shows,
// and not on others: each case comes 120 ms into the wait, after a message (and the
// timers' own) that must not end it.
TEST_F(Win32HostTest, AWaitEndsOnInputPointerMovesRepaintsAndAnotherResolution) {
    struct Wake {
        const char* what;
        std::function<void(HWND)> send;
    };
    const Wake wakes[] = {
        {"a key", [](HWND w) { PostMessageW(w, WM_KEYDOWN, 0x35, 0); }},
        {"a press", [](HWND w) { PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 9)); }},
        {"a wheel notch",
         [](HWND w) { PostMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(9, 9)); }},
        {"a move over the window",
         [](HWND w) { PostMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(40, 50)); }},
        {"the pointer leaving", [](HWND w) { PostMessageW(w, WM_MOUSELEAVE, 0, 0); }},
        {"the window uncovered", [](HWND w) { InvalidateRect(w, nullptr, FALSE); }},
        {"another resolution",
         [](HWND w) {
             RECT place{};
             GetWindowRect(w, &place);
             SendMessageW(w, 0x02E0, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));
         }},
        {"the quit message", [](HWND) { PostQuitMessage(3); }},
    };
    for (const Wake& wake : wakes) {
        SCOPED_TRACE(wake.what);
        drain();
        const HWND target = window();
        firstTimerAction = [target] { PostMessageW(target, WM_NULL, 0, 0); };
        secondTimerAction = [target, &wake] { wake.send(target); };
        SetTimer(nullptr, 0, 40, runFirstTimer);
        SetTimer(nullptr, 0, 120, runSecondTimer);
        const ULONGLONG started = GetTickCount64();
        host.waitForMessage();
        const ULONGLONG waited = GetTickCount64() - started;
        EXPECT_GE(waited, 100u) << "the wait ended before the message";
        EXPECT_LT(waited, 2000u);
        if (std::string(wake.what) == "the quit message") {
            const std::vector<Message> left = drain();
            ASSERT_EQ(left.size(), 1u);
            EXPECT_EQ(left[0].kind, MessageKind::Quit);
            EXPECT_EQ(left[0].exitCode, 3);
        }
    }
}

// The pointer is read from the mouse messages, not asked of the system, until it has
// left the window.
TEST_F(Win32HostTest, ThePointerIsReadFromTheMouseMessagesUntilItLeaves) {
    POINT origin{0, 0};
    ClientToScreen(window(), &origin);
    ASSERT_TRUE(SetCursorPos(origin.x + 10, origin.y + 20));
    POINT where{};
    ASSERT_TRUE(pumpUntil([&] {
        GetCursorPos(&where);
        return where.x == origin.x + 10;
    }));
    Sleep(100);  // the system's own move message for it comes first
    drain();
    PostMessageW(window(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    drain();
    PixelPoint point = host.cursorPosition();
    EXPECT_EQ(point.x, 300);
    EXPECT_EQ(point.y, 200);
    PostMessageW(window(), WM_MOUSELEAVE, 0, 0);
    drain();
    point = host.cursorPosition();
    EXPECT_EQ(point.x, 10) << "asked of the system after leaving";
    EXPECT_EQ(point.y, 20);
}
