// The Qt window system backend: keys become Windows virtual-key codes, the main
// window's events become the program's messages in arrival order, input waiting when a
// modal window opens never reaches the main window after it, the hand cursor lasts a
// drag, the help page opens quietly, and the window is made, sized and closed as the
// program expects.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <vector>

#include "platform/qt/QtHost.h"
#include "platform/qt/QtKeys.h"

namespace {
TEST(QtKeys, DigitsFromTheMainKeyboardAndTheKeypadHaveTheirOwnCodes) {
    for (int digit = 0; digit <= 9; ++digit) {
        EXPECT_EQ(toVirtualKey(Qt::Key_0 + digit, Qt::NoModifier), 48 + digit);
        EXPECT_EQ(toVirtualKey(Qt::Key_0 + digit, Qt::KeypadModifier), 96 + digit);
        EXPECT_EQ(toVirtualKey(Qt::Key_0 + digit, Qt::ShiftModifier), 48 + digit);
    }
}

TEST(QtKeys, TheKeysTheProgramActsOnHaveTheirWindowsCodes) {
    EXPECT_EQ(toVirtualKey(Qt::Key_Return, Qt::NoModifier), 13);
    EXPECT_EQ(toVirtualKey(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(toVirtualKey(Qt::Key_Space, Qt::NoModifier), 32);
    EXPECT_EQ(toVirtualKey(Qt::Key_Backspace, Qt::NoModifier), 8);
    EXPECT_EQ(toVirtualKey(Qt::Key_Escape, Qt::NoModifier), 27);
}

TEST(QtKeys, OtherKeysHaveTheirCodesWhereOneExists) {
    EXPECT_EQ(toVirtualKey(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(toVirtualKey(Qt::Key_Z, Qt::ShiftModifier), 90);
    EXPECT_EQ(toVirtualKey(Qt::Key_F1, Qt::NoModifier), 112);
    EXPECT_EQ(toVirtualKey(Qt::Key_Left, Qt::NoModifier), 37);
    EXPECT_EQ(toVirtualKey(Qt::Key_Delete, Qt::NoModifier), 46);
    EXPECT_EQ(toVirtualKey(Qt::Key_Minus, Qt::NoModifier), 189);
    EXPECT_EQ(toVirtualKey(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(toVirtualKey(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(toVirtualKey(Qt::Key_Eacute, Qt::NoModifier), 0);
}

// Records what the host sends while the window is being made.
class RecordingHandler : public MessageHandler {
public:
    void handleMessage(const Message& message) override { kinds.push_back(message.kind); }
    std::vector<MessageKind> kinds;
};

class QtHostTest : public ::testing::Test {
protected:
    QtHostTest() {
        WindowDescription description;
        description.title = u"Bricketing - Quillmoor";
        description.x = 100;
        description.y = 100;
        description.width = 800;
        description.height = 600;
        host.createMainWindow(description, handler);
    }

    // Every message waiting now, oldest first.
    std::vector<Message> drain() {
        std::vector<Message> messages;
        Message message;
        while (host.peekMessage(message)) {
            messages.push_back(message);
        }
        return messages;
    }

    QWidget& window() { return *host.mainWindow(); }

    QtDrawingServices drawing;
    QtHost host{drawing};
    RecordingHandler handler;
};

TEST_F(QtHostTest, TheWindowIsMadeWithItsTitleAndAFixedClientArea) {
    ASSERT_EQ(handler.kinds.size(), 1u);
    EXPECT_EQ(handler.kinds[0], MessageKind::Create);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Bricketing - Quillmoor"));
    EXPECT_EQ(window().size(), QSize(800, 600));
    EXPECT_EQ(window().minimumSize(), QSize(800, 600));
    EXPECT_EQ(window().maximumSize(), QSize(800, 600));
    EXPECT_FALSE(window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(QtHostTest, KeysArriveAsKeyDownMessagesInOrder) {
    drain();
    QTest::keyClick(&window(), Qt::Key_7);
    QTest::keyClick(&window(), Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&window(), Qt::Key_Return);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].kind, MessageKind::KeyDown);
    EXPECT_EQ(messages[0].keyCode, 55u);
    EXPECT_EQ(messages[1].keyCode, 100u);
    EXPECT_EQ(messages[2].keyCode, 13u);
}

// What the window system sends for a click: the second click of a double click comes
// as a double-click event in place of its press.
void sendMouse(QWidget& window, QEvent::Type type, Qt::MouseButton button) {
    const QPointF at(10, 10);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, window.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

TEST_F(QtHostTest, ButtonsArriveAsPressAndReleaseAndADoubleClickAsTwoPresses) {
    drain();
    sendMouse(window(), QEvent::MouseButtonPress, Qt::LeftButton);
    sendMouse(window(), QEvent::MouseButtonRelease, Qt::LeftButton);
    sendMouse(window(), QEvent::MouseButtonPress, Qt::RightButton);
    sendMouse(window(), QEvent::MouseButtonRelease, Qt::RightButton);
    sendMouse(window(), QEvent::MouseButtonPress, Qt::LeftButton);
    sendMouse(window(), QEvent::MouseButtonRelease, Qt::LeftButton);
    sendMouse(window(), QEvent::MouseButtonDblClick, Qt::LeftButton);
    sendMouse(window(), QEvent::MouseButtonRelease, Qt::LeftButton);
    std::vector<MessageKind> kinds;
    for (const Message& message : drain()) {
        kinds.push_back(message.kind);
    }
    const std::vector<MessageKind> expected = {
        MessageKind::LeftButtonDown, MessageKind::LeftButtonUp, MessageKind::RightButtonDown,
        MessageKind::LeftButtonDown, MessageKind::LeftButtonUp, MessageKind::LeftButtonDown,
        MessageKind::LeftButtonUp};
    EXPECT_EQ(kinds, expected);
}

TEST_F(QtHostTest, WheelNotchesCarryTheirSignedDelta) {
    drain();
    for (int delta : {120, -120}) {
        QWheelEvent wheel(QPointF(10, 10), window().mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&window(), &wheel);
    }
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, MessageKind::MouseWheel);
    EXPECT_EQ(messages[0].wheelDelta, 120);
    EXPECT_EQ(messages[1].wheelDelta, -120);
}

TEST_F(QtHostTest, ClosingTheWindowSendsOneDestroyAndPostQuitEndsTheQueue) {
    drain();
    window().close();
    host.destroyMainWindow();  // a second way to the same end adds nothing
    auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Destroy);
    host.postQuit(0);
    messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Quit);
    EXPECT_EQ(messages[0].exitCode, 0);
}

std::vector<std::uint32_t> keyCodes(const std::vector<Message>& messages) {
    std::vector<std::uint32_t> codes;
    for (const Message& message : messages) {
        if (message.kind == MessageKind::KeyDown) {
            codes.push_back(message.keyCode);
        }
    }
    return codes;
}

// Sends a key press straight to the window, as the window system would.
void pressKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&window, &press);
}

TEST_F(QtHostTest, EveryKeyIsDeliveredExceptAltCombinationsAndF10) {
    drain();
    pressKey(window(), Qt::Key_Eacute);  // no code of its own
    pressKey(window(), Qt::Key_Exclam);  // nor this
    pressKey(window(), Qt::Key_2, Qt::AltModifier);
    pressKey(window(), Qt::Key_Alt);  // the event itself adds Alt to its modifiers
    pressKey(window(), Qt::Key_F10);
    pressKey(window(), Qt::Key_F10, Qt::ShiftModifier);
    pressKey(window(), Qt::Key_2, Qt::AltModifier | Qt::ControlModifier);
    pressKey(window(), Qt::Key_3);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 4u);
    for (const Message& message : messages) {
        EXPECT_EQ(message.kind, MessageKind::KeyDown) << "code " << message.keyCode;
    }
    const std::vector<std::uint32_t> expected = {unmappedVirtualKey, unmappedVirtualKey, 50, 51};
    EXPECT_EQ(keyCodes(messages), expected);
}

// Answers the next message box with No once its modal loop runs, after running
// meanwhile (input that reaches the main window while the box is open).
void answerNoWhenTheBoxOpens(std::function<void()> meanwhile) {
    QTimer::singleShot(0, [meanwhile = std::move(meanwhile)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no message box is open";
            return;
        }
        meanwhile();
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

TEST_F(QtHostTest, InputWaitingWhenAModalBoxOpensIsNotReplayedAfterIt) {
    drain();
    // Two quick presses of Escape, both taken from the window system before the
    // program has handled the first, then a key while the prompt is open.
    pressKey(window(), Qt::Key_Escape);
    pressKey(window(), Qt::Key_Escape);
    Message first;
    ASSERT_TRUE(host.peekMessage(first));
    ASSERT_EQ(first.keyCode, 27u);
    answerNoWhenTheBoxOpens([this] {
        pressKey(window(), Qt::Key_Escape);
        sendMouse(window(), QEvent::MouseButtonPress, Qt::RightButton);
    });
    EXPECT_EQ(host.messageBox(MessageBoxOwner::MainWindow, u"Finished bricketing for today?",
                              u"Had enough?", MessageBoxButtons::YesNo),
              MessageBoxAnswer::No);
    EXPECT_TRUE(drain().empty()) << "input from before or during the prompt came after it";
    // Afterwards input flows again.
    pressKey(window(), Qt::Key_Escape);
    EXPECT_EQ(keyCodes(drain()), std::vector<std::uint32_t>{27u});
}

TEST_F(QtHostTest, APressWhoseReleaseWentToAModalBoxIsClosedAfterIt) {
    drain();
    sendMouse(window(), QEvent::MouseButtonPress, Qt::LeftButton);
    Message press;
    ASSERT_TRUE(host.peekMessage(press));
    ASSERT_EQ(press.kind, MessageKind::LeftButtonDown);
    // The release was already waiting behind the key that opens the box.
    sendMouse(window(), QEvent::MouseButtonRelease, Qt::LeftButton);
    answerNoWhenTheBoxOpens([] {});
    host.messageBox(MessageBoxOwner::MainWindow, u"?", u"Had enough?", MessageBoxButtons::YesNo);
    const auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::LeftButtonUp);
    // With the press closed, a second box adds no second release.
    answerNoWhenTheBoxOpens([] {});
    host.messageBox(MessageBoxOwner::MainWindow, u"?", u"Had enough?", MessageBoxButtons::YesNo);
    EXPECT_TRUE(drain().empty());
}

void moveMouse(QWidget& window, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

TEST_F(QtHostTest, TheHandCursorLastsTheWholeDragAndTheArrowComesBackAfter) {
    sendMouse(window(), QEvent::MouseButtonPress, Qt::LeftButton);
    drawing.showHandCursor();  // what the working-out does when a drag starts
    for (int step = 0; step < 20; ++step) {
        moveMouse(window(), QPointF(10, 10 + 7 * step), Qt::LeftButton);
        ASSERT_EQ(window().cursor().shape(), Qt::PointingHandCursor) << "step " << step;
    }
    moveMouse(window(), QPointF(10, 900), Qt::LeftButton);  // dragged out of the window
    EXPECT_EQ(window().cursor().shape(), Qt::PointingHandCursor);
    sendMouse(window(), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(window().cursor().shape(), Qt::ArrowCursor);
    // A hand shown without a held button, as the working-out may, goes at the next move.
    drawing.showHandCursor();
    moveMouse(window(), QPointF(20, 20), Qt::NoButton);
    EXPECT_EQ(window().cursor().shape(), Qt::ArrowCursor);
}

// A folder on the front of PATH holding a stand-in for the desktop's opener, which
// writes what it was asked to open into a file and complains on both its outputs.
class OpenerTest : public QtHostTest {
protected:
    OpenerTest() : oldPath(qgetenv("PATH")) {}
    ~OpenerTest() override { qputenv("PATH", oldPath); }

    void installOpener() {
        const QString script = folder.filePath(QStringLiteral("xdg-open"));
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.asked\"\n"
            "echo 'xdg-open: no method available for opening' >&2\n"
            "echo 'opening' \nexit 3\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Only the stand-in's folder and the shell's: no other opener can be found.
    void pathWithOnlyTheStandIn() {
        qputenv("PATH", (folder.path() + QStringLiteral(":/bin:/usr/bin")).toLocal8Bit());
    }

    QString asked() const { return folder.filePath(QStringLiteral("xdg-open.asked")); }

    QTemporaryDir folder;
    QByteArray oldPath;
};

TEST_F(OpenerTest, TheHelpPageIsHandedToTheOpenerAndItsComplaintsAreNotShown) {
    installOpener();
    pathWithOnlyTheStandIn();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    host.openDocument("Help/help.html");
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(asked()) && waited.elapsed() < 10000) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    QThread::msleep(300);  // time for the opener's complaint to arrive, were it shown
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(QFile::exists(asked())) << "the opener was not started";
    QFile file(asked());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              QDir::current().absoluteFilePath("Help/help.html"));
    EXPECT_EQ(errors, "");
    EXPECT_EQ(output, "");
}

TEST_F(OpenerTest, WithNoOpenerNothingIsShown) {
    qputenv("PATH", folder.path().toLocal8Bit());  // an empty folder
    testing::internal::CaptureStderr();
    host.openDocument("Help/help.html");
    QCoreApplication::processEvents();
    QThread::msleep(200);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(QtHostTest, TheCounterRunsInNanosecondsAndSleepingTakesTime) {
    std::int64_t frequency = 0;
    ASSERT_TRUE(host.performanceFrequency(frequency));
    EXPECT_EQ(frequency, 1000000000);
    const std::int64_t before = host.performanceCounter();
    host.sleepMilliseconds(20);
    const std::int64_t slept = host.performanceCounter() - before;
    EXPECT_GE(slept, 19000000);
    EXPECT_LT(slept, 2000000000);
}

// A resting program's wait ends on each kind of event that may change what it shows,
// and only on those: each event is sent while the host waits, after an event that must
// not end it.
TEST_F(QtHostTest, AWaitEndsOnInputPointerMovesUncoveringAndScreenChanges) {
    struct Wake {
        const char* what;
        std::function<void(QWidget&)> send;
    };
    const auto toWindow = [](QWidget& window, QEvent& event) {
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    };
    const Wake wakes[] = {
        {"a key", [](QWidget& t) { pressKey(t, Qt::Key_5); }},
        {"a press", [](QWidget& t) { sendMouse(t, QEvent::MouseButtonPress, Qt::LeftButton); }},
        {"a wheel notch",
         [toWindow](QWidget& t) {
             QWheelEvent wheel(QPointF(10, 10), t.mapToGlobal(QPointF(10, 10)), QPoint(),
                               QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                               false);
             toWindow(t, wheel);
         }},
        {"a move over the window",
         [toWindow](QWidget& t) {
             QMouseEvent move(QEvent::MouseMove, QPointF(40, 50), t.mapToGlobal(QPointF(40, 50)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
             toWindow(t, move);
         }},
        {"the pointer coming in",
         [toWindow](QWidget& t) {
             QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), t.mapToGlobal(QPointF(5, 5)));
             toWindow(t, enter);
         }},
        {"the pointer leaving",
         [toWindow](QWidget& t) {
             QEvent leave(QEvent::Leave);
             toWindow(t, leave);
         }},
        {"the window uncovered", [](QWidget& t) { t.update(0, 0, 50, 50); }},
        {"another screen",
         [](QWidget& t) {
             QEvent change(QEvent::ScreenChangeInternal);
             QCoreApplication::sendEvent(&t, &change);
         }},
        {"the window closed", [](QWidget& t) { t.close(); }},
    };
    for (const Wake& wake : wakes) {
        SCOPED_TRACE(wake.what);
        drain();
        host.cursorPosition();  // the frame read the pointer; movement before is seen
        QTimer::singleShot(40, [this] { window().setWindowTitle(QStringLiteral("focus")); });
        QTimer::singleShot(120, [this, &wake] { wake.send(window()); });
        QTimer::singleShot(5000, [this] { pressKey(window(), Qt::Key_Escape); });  // no hang
        QElapsedTimer waited;
        waited.start();
        host.waitForMessage();
        EXPECT_GE(waited.elapsed(), 110) << "the wait ended before the event";
        EXPECT_LT(waited.elapsed(), 2000) << "the event did not end the wait";
        QCoreApplication::processEvents();  // the fallback timer of a failed case fires
        QThread::msleep(5);
    }
}

// The position read while resting comes from the last event, not from a question to
// the window system; a move the window hears of is answered at once.
TEST_F(QtHostTest, ThePointerIsReadFromTheWindowsEvents) {
    const auto moveTo = [this](QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, window().mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window().windowHandle(), &move);
    };
    moveTo(QPointF(300, 200));
    const int asked = host.pointerTracker().questions();
    const auto read = [this] {
        const PixelPoint point = host.cursorPosition();
        return QPoint(point.x, point.y);
    };
    for (int frame = 0; frame < 50; ++frame) {
        EXPECT_EQ(read(), QPoint(300, 200));
    }
    moveTo(QPointF(560, 285));
    EXPECT_EQ(read(), QPoint(560, 285));
    EXPECT_EQ(host.pointerTracker().questions(), asked);
}

TEST_F(QtHostTest, APresentedFrameIsWhatTheWindowShows) {
    auto buffer = host.createBackBuffer(800, 600);
    auto graphics = buffer->beginDrawing();
    graphics->fillRectangle(0xFFEEE2B7, {0, 0, 480, 574});
    graphics.reset();
    host.present(*buffer);
    const QImage shown = window().grab().toImage();
    EXPECT_EQ(shown.pixel(100, 100), 0xFFEEE2B7);
    EXPECT_EQ(shown.pixel(600, 100), 0xFFFFFFFF);
    EXPECT_EQ(shown.pixel(799, 300), 0xFF000000);  // the buffer's outline
}
}  // namespace
