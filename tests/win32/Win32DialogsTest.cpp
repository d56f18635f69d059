// The stored dialogs on Win32: the in-memory templates give every control of the table
// with its class, styles, text and the pixel rectangle its dialog units map to; and the
// dialogs run modally with the program's own procedures, driven through the dialog
// manager's keyboard handling and message boxes.
#include <gtest/gtest.h>

// The program's own headers before the Windows ones, which hide its Rectangle type.
#include "app/Dialogs.h"

#include "Win32TestSupport.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/DesktopSettingsStore.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Text.h"

namespace {

INT_PTR CALLBACK passiveDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog made from the table's template without running it.
class MadeDialog {
public:
    explicit MadeDialog(const DialogTemplate& layout) : words(buildDialogTemplate(layout)) {
        handle = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                            nullptr, &passiveDialogProc, 0);
    }
    ~MadeDialog() {
        if (handle != nullptr) {
            DestroyWindow(handle);
        }
    }
    MadeDialog(const MadeDialog&) = delete;
    MadeDialog& operator=(const MadeDialog&) = delete;

    // The children in creation order, which is the template's order.
    std::vector<HWND> children() const {
        std::vector<HWND> found;
        for (HWND child = GetWindow(handle, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            found.push_back(child);
        }
        return found;
    }

    std::vector<WORD> words;
    HWND handle = nullptr;
};

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring className(HWND window) {
    wchar_t text[64] = {};
    GetClassNameW(window, text, 64);
    return text;
}

const wchar_t* expectedClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
            return L"Edit";
        case ControlKind::StaticText:
        case ControlKind::StaticPicture:
            return L"Static";
        case ControlKind::DropDownList:
            return L"ComboBox";
        default:
            return L"Button";
    }
}

class DialogTemplateTest : public ::testing::TestWithParam<DialogId> {};

}  // namespace

TEST_P(DialogTemplateTest, EveryControlIsMadeAtTheSizeItsDialogUnitsGive) {
    const DialogTemplate* layout = findDialogTemplate(GetParam());
    ASSERT_NE(layout, nullptr);
    const MadeDialog dialog(*layout);
    ASSERT_NE(dialog.handle, nullptr);
    EXPECT_EQ(windowText(dialog.handle), toWide(std::u16string(layout->caption)));

    RECT client{0, 0, layout->width, layout->height};
    MapDialogRect(dialog.handle, &client);
    RECT actual{};
    GetClientRect(dialog.handle, &actual);
    EXPECT_EQ(actual.right, client.right);
    EXPECT_EQ(actual.bottom, client.bottom);
    // Dialog units from an 8-point font are a few pixels each: 176 units are far more
    // than 176 pixels.
    EXPECT_GT(client.right, layout->width);

    const std::vector<HWND> children = dialog.children();
    ASSERT_EQ(children.size(), layout->controls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const ControlTemplate& c = layout->controls[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(c.id));
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(c.id));
        EXPECT_EQ(className(child), expectedClass(c.kind));
        if (c.kind != ControlKind::StaticPicture) {
            EXPECT_EQ(windowText(child), toWide(std::u16string(c.caption)));
        }

        const LONG style = GetWindowLongW(child, GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, (c.styles & ControlStyle::TabStop) != 0);
        EXPECT_EQ((style & WS_GROUP) != 0, (c.styles & ControlStyle::GroupStart) != 0);
        EXPECT_EQ(static_cast<DWORD>(style) & 0xFFFFu, controlStyle(c) & 0xFFFFu);
        // Place and size are each mapped from dialog units, as the dialog manager does
        // it. The picture control takes its stored bitmap's size here, made without the
        // program's procedure, which fits it to the box (the About test checks that).
        RECT place{c.x, c.y, c.x, c.y};
        MapDialogRect(dialog.handle, &place);
        RECT size{0, 0, c.width, c.height};
        MapDialogRect(dialog.handle, &size);
        RECT placed{};
        GetWindowRect(child, &placed);
        MapWindowPoints(nullptr, dialog.handle, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, place.left);
        EXPECT_EQ(placed.top, place.top);
        if (c.kind == ControlKind::DropDownList) {
            // A closed list is as tall as its font makes it, within a pixel or two of
            // the box its dialog units give.
            EXPECT_EQ(placed.right - placed.left, size.right);
            EXPECT_NEAR(placed.bottom - placed.top, size.bottom, 2);
        } else if (c.kind != ControlKind::StaticPicture) {
            EXPECT_EQ(placed.right - placed.left, size.right);
            EXPECT_EQ(placed.bottom - placed.top, size.bottom);
        }
    }
}

TEST_P(DialogTemplateTest, TheDialogUsesItsEightPointFont) {
    const DialogTemplate* layout = findDialogTemplate(GetParam());
    ASSERT_NE(layout, nullptr);
    const MadeDialog dialog(*layout);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog.handle, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW description{};
    ASSERT_NE(GetObjectW(font, sizeof description, &description), 0);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"MS Shell Dlg");
    EXPECT_EQ(description.lfHeight, -MulDiv(8, 96, 72));
    EXPECT_EQ(description.lfWeight, FW_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(StoredDialogs, DialogTemplateTest,
                         ::testing::Values(DialogId::Settings, DialogId::CreateQuestion,
                                           DialogId::About));

TEST(DialogStyles, FollowTheTable) {
    const DialogTemplate& settings = *findDialogTemplate(DialogId::Settings);
    const DialogTemplate& create = *findDialogTemplate(DialogId::CreateQuestion);
    const DialogTemplate& about = *findDialogTemplate(DialogId::About);
    EXPECT_NE(dialogStyle(settings) & DS_CENTER, 0u);
    EXPECT_NE(dialogStyle(create) & DS_CENTERMOUSE, 0u);
    EXPECT_NE(dialogStyle(settings) & WS_SYSMENU, 0u);
    EXPECT_NE(dialogStyle(create) & WS_SYSMENU, 0u);
    EXPECT_EQ(dialogStyle(about) & WS_SYSMENU, 0u) << "About has no close box";
    for (const DialogTemplate* d : {&settings, &create, &about}) {
        EXPECT_NE(dialogStyle(*d) & WS_CAPTION, 0u);
        EXPECT_NE(dialogStyle(*d) & DS_MODALFRAME, 0u);
    }
    EXPECT_NE(dialogExtendedStyle(settings) & WS_EX_CONTROLPARENT, 0u);
    EXPECT_NE(dialogExtendedStyle(about) & WS_EX_NOACTIVATE, 0u);
    EXPECT_EQ(dialogExtendedStyle(create), 0u);
}

namespace {

// Plays a script against the dialogs and message boxes the thread shows: a thread timer
// runs the next step whenever the current one reports it is done. The timer's messages
// are dispatched by whichever modal loop is running, the dialog's or a message box's.
class Script {
public:
    using Step = std::function<bool()>;  // true when done, false to try again later

    explicit Script(std::vector<Step> steps) : steps(std::move(steps)) {
        active = this;
        timer = SetTimer(nullptr, 0, 20, &Script::tick);
    }
    ~Script() {
        KillTimer(nullptr, timer);
        active = nullptr;
    }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    bool finished() const { return next == steps.size(); }
    std::size_t stepsDone() const { return next; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        Script* script = active;
        if (script == nullptr || script->finished() || script->running) {
            return;
        }
        script->running = true;
        if (script->steps[script->next]()) {
            ++script->next;
            script->waited = 0;
        } else if (++script->waited > 250) {
            script->giveUp();  // five seconds on one step: close whatever is open
        }
        script->running = false;
    }

    void giveUp() {
        next = steps.size();
        for (HWND open = GetActiveWindow(); open != nullptr; open = GetActiveWindow()) {
            if (!EndDialog(open, 0)) {
                break;
            }
        }
    }

    static inline Script* active = nullptr;
    std::vector<Step> steps;
    std::size_t next = 0;
    int waited = 0;
    bool running = false;
    UINT_PTR timer = 0;
};

HWND findDialog(const wchar_t* caption) {
    return FindWindowW(L"#32770", caption);
}

// Types text into the focused control, one character message each, as the keyboard
// would after TranslateMessage.
void typeText(const std::wstring& text) {
    for (wchar_t c : text) {
        SendMessageW(GetFocus(), WM_CHAR, c, 0);
    }
}

// Presses a key on the focused control through the dialog manager's own handling.
void pressKey(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000000);
}

bool focusIs(HWND dialog, int controlId) {
    return dialog != nullptr && GetFocus() == GetDlgItem(dialog, controlId);
}

std::wstring controlText(HWND dialog, int controlId) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, controlId, text, 256);
    return text;
}

// A message box's text: the static control the system gives the id 0xFFFF.
std::wstring messageBoxText(HWND box) {
    return controlText(box, 0xFFFF);
}

class ModalDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The lesson panel reads the program's files from the source tree, where the
        // tests run; the Settings dialog writes into a scratch copy of Data.
        panel = std::make_unique<LessonPanel>();
        std::filesystem::create_directories(scratch.path / "Data");
        owner = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }

    void run(DialogId dialogNumber, DialogProcedure& procedure) {
        runWin32Dialog(GetModuleHandleW(nullptr), owner, dialogNumber, procedure);
    }

    ScratchFolder scratch;
    std::unique_ptr<LessonPanel> panel;
    HWND owner = nullptr;
    HWND dialog = nullptr;
};

}  // namespace

TEST_F(ModalDialogTest, CreateQuestionRefusesABigDividendThenStartsTheTypedQuestion) {
    panel->lessonState = Answered;
    std::wstring refusal;
    std::wstring refusalCaption;
    HWND box = nullptr;
    Script script({
        [&] { return (dialog = findDialog(L"Create Question")) != nullptr; },
        [&] { return focusIs(dialog, ControlId::Dividend); },
        [&] {
            typeText(L"12345");
            pressKey(VK_RETURN);
            return true;
        },
        [&] { return (box = findDialog(L"Error")) != nullptr; },
        [&] {
            refusal = messageBoxText(box);
            refusalCaption = windowText(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&] { return !IsWindow(box) && focusIs(dialog, ControlId::Dividend); },
        [&] {
            EXPECT_EQ(controlText(dialog, ControlId::Dividend), L"") << "emptied after refusal";
            typeText(L"345");
            pressKey(VK_RETURN);
            return true;
        },
        // Enter in the dividend moves on to the divisor.
        [&] { return focusIs(dialog, ControlId::Divisor); },
        [&] {
            typeText(L"7");
            pressKey(VK_RETURN);
            return true;
        },
    });
    CreateQuestionDialog procedure(*panel);
    run(DialogId::CreateQuestion, procedure);
    EXPECT_TRUE(script.finished()) << "stopped after step " << script.stepsDone();
    EXPECT_EQ(refusal, L"The dividend (number being divided) must be less than 10,000.");
    EXPECT_EQ(refusalCaption, L"Error");
    EXPECT_EQ(panel->dividend, 345);
    EXPECT_EQ(panel->divisor, 7);
    EXPECT_EQ(panel->lessonState, Working);
    EXPECT_FALSE(IsWindow(dialog)) << "the dialog closed";
}

TEST_F(ModalDialogTest, CreateQuestionTypesOnlyDigitsAndCancelChangesNothing) {
    const int dividend = panel->dividend;
    const int divisor = panel->divisor;
    std::wstring typed;
    Script script({
        [&] { return (dialog = findDialog(L"Create Question")) != nullptr; },
        [&] { return focusIs(dialog, ControlId::Dividend); },
        [&] { return focusIs(dialog, ControlId::Dividend); },
        [&] {
            typeText(L"4x2-7");
            typed = controlText(dialog, ControlId::Dividend);
            pressKey(VK_ESCAPE);
            return true;
        },
    });
    CreateQuestionDialog procedure(*panel);
    run(DialogId::CreateQuestion, procedure);
    EXPECT_TRUE(script.finished()) << "stopped after step " << script.stepsDone();
    EXPECT_EQ(typed, L"427");
    EXPECT_EQ(panel->dividend, dividend);
    EXPECT_EQ(panel->divisor, divisor);
}

TEST_F(ModalDialogTest, CreateQuestionOpensCentredOnThePointerAndInsideTheScreen) {
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    struct Case {
        POINT pointer;
        bool centred;  // false: near an edge, so pulled back inside instead
    };
    const Case cases[] = {
        {{(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2}, true},
        {{screen.left + 400, screen.top + 300}, true},
        {{screen.right - 5, screen.bottom - 5}, false},
        {{screen.left + 2, screen.top + 2}, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetCursorPos(c.pointer.x, c.pointer.y));
        ASSERT_TRUE(pumpUntil([&] {
            POINT where{};
            GetCursorPos(&where);
            return where.x == c.pointer.x && where.y == c.pointer.y;
        }));
        RECT frame{};
        Script script({
            [&] { return (dialog = findDialog(L"Create Question")) != nullptr; },
            [&] {
                GetWindowRect(dialog, &frame);
                pressKey(VK_ESCAPE);
                return true;
            },
        });
        CreateQuestionDialog procedure(*panel);
        run(DialogId::CreateQuestion, procedure);
        ASSERT_TRUE(script.finished());
        SCOPED_TRACE("pointer at " + std::to_string(c.pointer.x) + ", " +
                     std::to_string(c.pointer.y));
        EXPECT_GE(frame.left, screen.left);
        EXPECT_GE(frame.top, screen.top);
        EXPECT_LE(frame.right, screen.right);
        EXPECT_LE(frame.bottom, screen.bottom);
        if (c.centred) {
            EXPECT_NEAR((frame.left + frame.right) / 2, c.pointer.x, 1);
            EXPECT_NEAR((frame.top + frame.bottom) / 2, c.pointer.y, 1);
        }
    }
}

TEST_F(ModalDialogTest, SettingsShowsTheValuesAndOkWritesTheChoicesWithCrLf) {
    const WorkingDirectory inScratch(scratch.path);
    DesktopSettingsStore store{std::filesystem::path()};  // a portable copy's own file
    installSettingsStore(&store);
    panel->difficulty = 1;
    panel->board.displayLotsOf = true;
    panel->board.autoProduct = false;
    panel->board.autoRemainder = true;
    bool shownRight = false;
    Script script({
        [&] { return (dialog = findDialog(L"Settings")) != nullptr; },
        [&] {
            shownRight = IsDlgButtonChecked(dialog, ControlId::Novice) == BST_CHECKED &&
                         IsDlgButtonChecked(dialog, ControlId::Beginner) == BST_UNCHECKED &&
                         IsDlgButtonChecked(dialog, ControlId::LotsOf) == BST_CHECKED &&
                         IsDlgButtonChecked(dialog, ControlId::AutoProduct) == BST_UNCHECKED &&
                         IsDlgButtonChecked(dialog, ControlId::AutoRemainder) == BST_CHECKED;
            // Clicks, as the mouse would make them.
            SendDlgItemMessageW(dialog, ControlId::Expert, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, ControlId::Times, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, ControlId::AutoProduct, BM_CLICK, 0, 0);
            return true;
        },
        [&] {
            // A radio click clears the rest of its group only.
            EXPECT_EQ(IsDlgButtonChecked(dialog, ControlId::Novice), BST_UNCHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, ControlId::LotsOf), BST_UNCHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, ControlId::AutoRemainder), BST_CHECKED);
            SendDlgItemMessageW(dialog, ControlId::Ok, BM_CLICK, 0, 0);
            return true;
        },
    });
    SettingsDialog procedure(*panel);
    run(DialogId::Settings, procedure);
    EXPECT_TRUE(script.finished()) << "stopped after step " << script.stepsDone();
    EXPECT_TRUE(shownRight);
    EXPECT_EQ(panel->difficulty, 4);
    EXPECT_FALSE(panel->board.displayLotsOf);
    EXPECT_TRUE(panel->board.autoProduct);
    EXPECT_TRUE(panel->board.autoRemainder);

    std::ifstream file(scratch.path / "Data" / "settings.txt", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes,
              "DISPLAY:TIMES // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in "
              "working out\r\n"
              "AUTOPRODUCT:ON // ON or OFF; if on, calculates products for each multiple "
              "automatically\r\n"
              "AUTOREMAINDER:ON // ON or OFF; if on, calculates the remainder each time "
              "automatically\r\n"
              "DIFFICULTY:EXPERT // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT");
    installSettingsStore(nullptr);
}

TEST_F(ModalDialogTest, AboutIgnoresEscapeAndClosesWithEnter) {
    bool openAfterEscape = false;
    int ticksAfterEscape = 0;
    Script script({
        [&] { return (dialog = findDialog(L"About")) != nullptr; },
        [&] {
            SetFocus(GetDlgItem(dialog, ControlId::Ok));
            pressKey(VK_ESCAPE);
            return true;
        },
        [&] { return ++ticksAfterEscape > 5; },
        [&] {
            openAfterEscape = IsWindow(dialog) && IsWindowVisible(dialog);
            pressKey(VK_RETURN);
            return true;
        },
    });
    AboutDialog procedure;
    run(DialogId::About, procedure);
    EXPECT_TRUE(script.finished()) << "stopped after step " << script.stepsDone();
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(IsWindow(dialog));
}

// The About picture grows with its dialog: with the dialog font at 8, 12 and 16 points
// (its dialog units as at 96, 144 and 192 DPI) the picture is as wide as the box its
// units map to, in its own proportions, and at 8 points it is the stored picture itself.
TEST_F(ModalDialogTest, TheAboutPictureFillsItsBoxAtEveryScale) {
    const DialogTemplate& stored = *findDialogTemplate(DialogId::About);
    const ControlTemplate& about = stored.controls[0];
    for (const int points : {8, 12, 16}) {
        SCOPED_TRACE(std::to_string(points) + " points");
        DialogTemplate layout = stored;
        layout.fontPointSize = points;
        SIZE box{};
        SIZE control{};
        SIZE picture{};
        Script script({
            [&] { return (dialog = findDialog(L"About")) != nullptr; },
            [&] {
                RECT mapped{0, 0, about.width, about.height};
                MapDialogRect(dialog, &mapped);
                box = {mapped.right, mapped.bottom};
                HWND shown = GetWindow(dialog, GW_CHILD);
                RECT client{};
                GetClientRect(shown, &client);
                control = {client.right, client.bottom};
                BITMAP bitmap{};
                const auto image =
                    reinterpret_cast<HBITMAP>(SendMessageW(shown, STM_GETIMAGE, IMAGE_BITMAP, 0));
                if (image != nullptr && GetObjectW(image, sizeof bitmap, &bitmap) != 0) {
                    picture = {bitmap.bmWidth, bitmap.bmHeight};
                }
                EndDialog(dialog, 0);
                return true;
            },
        });
        AboutDialog procedure;
        runWin32Dialog(GetModuleHandleW(nullptr), owner, layout, procedure);
        ASSERT_TRUE(script.finished()) << "stopped after step " << script.stepsDone();
        ASSERT_GT(box.cx, 0);
        // As wide as the box, as tall as the stored picture's proportions make it.
        EXPECT_NEAR(picture.cx, box.cx, box.cx / 50 + 1)
            << "the test program stores the About picture";
        EXPECT_NEAR(picture.cy * 400, 173 * picture.cx, 400);
        EXPECT_EQ(control.cx, picture.cx);
        EXPECT_EQ(control.cy, picture.cy);
        if (points == 8) {
            EXPECT_EQ(picture.cx, 400);
            EXPECT_EQ(picture.cy, 173);
        }
    }
}

TEST(Win32MessageBox, ShowsTheTextAndCaptionAndAnswersWithTheButtonPressed) {
    struct Case {
        MessageBoxButtons buttons;
        int press;  // the button id the script presses
        MessageBoxAnswer answer;
    };
    const Case cases[] = {
        {MessageBoxButtons::YesNo, IDYES, MessageBoxAnswer::Yes},
        {MessageBoxButtons::YesNo, IDNO, MessageBoxAnswer::No},
        {MessageBoxButtons::Ok, IDOK, MessageBoxAnswer::Ok},
    };
    for (const Case& c : cases) {
        HWND box = nullptr;
        std::wstring text;
        bool hasNo = false;
        Script script({
            [&] { return (box = findDialog(L"Had enough?")) != nullptr; },
            [&] {
                text = messageBoxText(box);
                hasNo = GetDlgItem(box, IDNO) != nullptr;
                PostMessageW(box, WM_COMMAND, c.press, 0);
                return true;
            },
        });
        const MessageBoxAnswer answer = showWin32MessageBox(
            nullptr, u"Finished bricketing for today?", u"Had enough?", c.buttons);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(text, L"Finished bricketing for today?");
        EXPECT_EQ(hasNo, c.buttons == MessageBoxButtons::YesNo);
    }
}
