// The Qt window system backend: keys become Windows virtual-key codes, the main
// window's events become the program's messages in arrival order, and the window is
// made, sized and closed as the program expects.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
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
