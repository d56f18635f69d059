// The stored dialogs and the message boxes as Qt builds them, driven with QTest under
// the offscreen platform: every control with its caption, Enter, Escape and the close
// box, the About dialog that Escape cannot close, digits-only fields, placement, and a
// typed question carried through to the lesson.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "app/Dialogs.h"
#include "lesson/LessonPanel.h"
#include "platform/qt/QtDialogs.h"
#include "resources/DialogTemplates.h"
#include "words/Words.h"

namespace {

// Ends whatever modal window is on top every few seconds, so that a test whose
// driving went wrong fails instead of hanging in a modal loop.
class ModalWatchdog {
public:
    ModalWatchdog() {
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal window was left open";
                modal->hide();
            }
        });
        timer.start(3000);
    }

private:
    QTimer timer;
};

template <typename Widget>
Widget* topModal() {
    return qobject_cast<Widget*>(QApplication::activeModalWidget());
}

// Once the modal loop runs, hands the top modal window to drive.
template <typename Widget>
void whenModalOpens(std::function<void(Widget&)> drive) {
    QTimer::singleShot(0, [drive = std::move(drive)] {
        Widget* modal = topModal<Widget>();
        if (modal == nullptr) {
            ADD_FAILURE() << "no modal window of the expected kind is open";
            return;
        }
        drive(*modal);
    });
}

void runDriven(DialogId id, DialogProcedure& procedure, std::function<void(QDialog&)> drive) {
    ModalWatchdog watchdog;
    bool driven = false;
    whenModalOpens<QDialog>([&driven, drive = std::move(drive)](QDialog& dialog) {
        driven = true;
        drive(dialog);
    });
    runQtDialog(nullptr, id, procedure);
    EXPECT_TRUE(driven);
}

template <typename Widget>
Widget* controlOf(QDialog& dialog, int id) {
    return dialog.findChild<Widget*>(QString::number(id));
}

// Records every command with the control that had the focus, and ends the dialog on
// the commands it is told to.
class RecordingProcedure : public DialogProcedure {
public:
    bool initDialog(DialogHost& dialog) override {
        if (initialFocus == 0) {
            return false;
        }
        dialog.setFocus(initialFocus);
        return true;
    }
    bool command(DialogHost& dialog, int commandId) override {
        commands.emplace_back(commandId, dialog.focusedControl());
        if (endOn.count(commandId) == 0) {
            return false;
        }
        dialog.end(0);
        return true;
    }
    std::vector<int> ids() const {
        std::vector<int> result;
        for (const auto& [id, focus] : commands) {
            result.push_back(id);
        }
        return result;
    }

    int initialFocus = 0;
    std::set<int> endOn = {1, 2};
    std::vector<std::pair<int, int>> commands;  // command id, focused control
};

enum class Kind { Button, DefaultButton, Check, Radio, Group, Edit, Label, Picture, List };

struct ExpectedControl {
    int id;
    Kind kind;
    QString caption;
};

// The kind and caption of a built control, in the terms of ExpectedControl.
std::pair<Kind, QString> describe(QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        return {button->isDefault() ? Kind::DefaultButton : Kind::Button, button->text()};
    }
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        return {Kind::Check, check->text()};
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        return {Kind::Radio, radio->text()};
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return {Kind::Group, group->title()};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return {Kind::Edit, edit->text()};
    }
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        return {Kind::List, list->currentText()};
    }
    auto* label = qobject_cast<QLabel*>(widget);
    // Static texts wrap their lines; a picture's label never does.
    const bool picture = label != nullptr && label->text().isEmpty() && !label->wordWrap();
    return {picture ? Kind::Picture : Kind::Label, label != nullptr ? label->text() : QString()};
}

struct DialogCase {
    DialogId id;
    QString title;
    std::vector<ExpectedControl> controls;
};

const DialogCase settingsCase{DialogId::Settings,
                              "Settings",
                              {{1, Kind::DefaultButton, "OK"},
                               {2, Kind::Button, "Cancel"},
                               {1001, Kind::Group, "Working Out"},
                               {1002, Kind::Check, "AutoProduct"},
                               {1003, Kind::Check, "AutoRemainder"},
                               {1012, Kind::Group, "Display"},
                               {1004, Kind::Radio, "\"lots of\""},
                               {1005, Kind::Radio, "\"x\""},
                               {1006, Kind::Radio, "Beginner"},
                               {1007, Kind::Radio, "Novice"},
                               {1008, Kind::Radio, "Intermediate"},
                               {1009, Kind::Radio, "Advanced"},
                               {1010, Kind::Radio, "Expert"},
                               {1011, Kind::Group, "Difficulty"},
                               {1020, Kind::Group, "Help"},
                               {1021, Kind::Check, "Hints after a wrong entry"},
                               {1022, Kind::Label, "Key facts box:"},
                               {1023, Kind::Radio, "Off"},
                               {1024, Kind::Radio, "Shown"},
                               {1025, Kind::Radio, "Fill it in"},
                               {1026, Kind::Group, "Sound and screen"},
                               {1027, Kind::Check, "Sound"},
                               {1028, Kind::Check, "High contrast colours"},
                               {1029, Kind::Label, "Language:"},
                               {1030, Kind::List, ""},
                               {1031, Kind::Label, ""}}};
const DialogCase createQuestionCase{DialogId::CreateQuestion,
                                    "Create Question",
                                    {{1, Kind::DefaultButton, "OK"},
                                     {2, Kind::Button, "Cancel"},
                                     {1015, Kind::Edit, ""},
                                     {1017, Kind::Label, QString(QChar(0x00F7))},
                                     {1016, Kind::Edit, ""}}};
const DialogCase aboutCase{
    DialogId::About, "About", {{-1, Kind::Picture, ""}, {1, Kind::DefaultButton, "OK"}}};

class QtDialogControlsTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(QtDialogControlsTest, EveryControlIsBuiltWithItsKindAndCaption) {
    const DialogCase& expected = GetParam();
    RecordingProcedure procedure;
    runDriven(expected.id, procedure, [&expected](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), expected.title);
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the size is fixed";
        for (const ExpectedControl& control : expected.controls) {
            QWidget* widget = controlOf<QWidget>(dialog, control.id);
            ASSERT_NE(widget, nullptr) << "control " << control.id;
            const auto [kind, caption] = describe(widget);
            EXPECT_EQ(kind, control.kind) << "control " << control.id;
            EXPECT_EQ(caption, control.caption) << "control " << control.id;
            EXPECT_TRUE(dialog.rect().contains(widget->geometry())) << "control " << control.id;
        }
        dialog.hide();
    });
}

INSTANTIATE_TEST_SUITE_P(StoredDialogs, QtDialogControlsTest,
                         ::testing::Values(settingsCase, createQuestionCase, aboutCase));

// Dialog units to pixels as on Windows at 96 dots per inch, where the dialog font's
// base units are 6 x 13 pixels: a horizontal unit is 6/4 pixel, a vertical one 13/8,
// rounded half away from zero.
int unitsToPixelsX(int units) {
    return (units * 6 + 2) / 4;
}
int unitsToPixelsY(int units) {
    return (units * 13 + 4) / 8;
}

struct UnitsCase {
    DialogId id;
    int dialogNumber;
};

class QtDialogUnitsTest : public ::testing::TestWithParam<UnitsCase> {};

TEST_P(QtDialogUnitsTest, TheDialogAndEveryControlSitWhereTheTemplateSaysWhateverTheFont) {
    const DialogTemplate* layout =
        findDialogTemplate(static_cast<DialogId>(GetParam().dialogNumber));
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    RecordingProcedure procedure;
    runDriven(GetParam().id, procedure, [layout](QDialog& dialog) {
        EXPECT_EQ(dialog.size(),
                  QSize(unitsToPixelsX(layout->width), unitsToPixelsY(layout->height)));
        for (const ControlTemplate& c : layout->controls) {
            QWidget* widget = controlOf<QWidget>(dialog, c.id);
            ASSERT_NE(widget, nullptr) << "control " << c.id;
            EXPECT_EQ(widget->pos(), QPoint(unitsToPixelsX(c.x), unitsToPixelsY(c.y)))
                << "control " << c.id;
            if (c.kind != ControlKind::StaticPicture) {
                EXPECT_EQ(widget->size(), QSize(unitsToPixelsX(c.width), unitsToPixelsY(c.height)))
                    << "control " << c.id;
            }
        }
        dialog.hide();
    });
}

INSTANTIATE_TEST_SUITE_P(StoredDialogs, QtDialogUnitsTest,
                         ::testing::Values(UnitsCase{DialogId::Settings, 106},
                                           UnitsCase{DialogId::CreateQuestion, 108},
                                           UnitsCase{DialogId::About, 109}));

void captionsFit(DialogId id, const DialogTemplate& template_, const std::string& language);

// In every language shipped, the captions of check boxes and radio buttons fit the room
// their template gives them, in the font the dialogs use on this machine, at most a
// point smaller than the template's; push buttons keep the template's font and their
// captions fit too, as do the group boxes' titles and the labels.
TEST_P(QtDialogUnitsTest, EveryCaptionFitsItsControl) {
    const DialogTemplate* layout =
        findDialogTemplate(static_cast<DialogId>(GetParam().dialogNumber));
    ASSERT_NE(layout, nullptr);
    const std::vector<std::string> languages = words::availableLanguages();
    ASSERT_GE(languages.size(), 7u) << "English and six catalogues in Resources/locale";
    for (const std::string& language : languages) {
        ASSERT_TRUE(words::useLanguage(language));
        captionsFit(GetParam().id, *layout, language);
    }
    words::useLanguage("en");
}

void captionsFit(DialogId id, const DialogTemplate& template_, const std::string& language) {
    const DialogTemplate* layout = &template_;
    RecordingProcedure procedure;
    runDriven(id, procedure, [layout, &language](QDialog& dialog) {
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
            const QFontMetrics metrics(group->font());
            EXPECT_LE(metrics.horizontalAdvance(group->title()) + 16, group->width())
                << language << ": " << group->title().toStdString();
        }
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) {
                continue;  // the About picture
            }
            EXPECT_LE(label->sizeHint().width(), label->width())
                << language << ": " << label->text().toStdString();
        }
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            const std::string caption = language + ": " + button->text().toStdString();
            const qreal points = button->font().pointSizeF();
            if (qobject_cast<QPushButton*>(button) != nullptr) {
                const QFontMetrics metrics(button->font());
                EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width())
                    << caption;
                EXPECT_EQ(points, layout->fontPointSize) << caption;
                continue;
            }
            EXPECT_LE(button->sizeHint().width(), button->width()) << caption;
            EXPECT_GE(points, layout->fontPointSize - 1.0) << caption;
            EXPECT_LE(points, layout->fontPointSize) << caption;
        }
        dialog.hide();
    });
}

TEST(QtDialogsTest, TheKnownSizesInPixels) {
    // Settings 176 x 156 units, Create Question 149 x 72, About 281 x 120.
    EXPECT_EQ(QSize(unitsToPixelsX(176), unitsToPixelsY(156)), QSize(264, 254));
    EXPECT_EQ(QSize(unitsToPixelsX(149), unitsToPixelsY(72)), QSize(224, 117));
    EXPECT_EQ(QSize(unitsToPixelsX(281), unitsToPixelsY(120)), QSize(422, 195));
}

TEST(QtDialogsTest, AboutShowsItsPictureAtItsOwnSize) {
    if (!QFile::exists(":/about.bmp")) {
        GTEST_SKIP() << "the About picture is not built in";
    }
    RecordingProcedure procedure;
    runDriven(DialogId::About, procedure, [](QDialog& dialog) {
        QLabel* picture = controlOf<QLabel>(dialog, -1);
        const QPixmap shown = picture->pixmap();
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(shown.size(), QSize(400, 173));
        EXPECT_EQ(picture->geometry(), QRect(11, 11, 400, 173));
        EXPECT_TRUE(dialog.rect().contains(picture->geometry()));
        // Drawn unscaled: the shown pixels are the stored ones.
        const QImage stored = QImage(":/about.bmp").convertToFormat(QImage::Format_RGB32);
        const QImage drawn = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(drawn.size(), stored.size());
        for (const QPoint at : {QPoint(0, 0), QPoint(200, 86), QPoint(399, 172), QPoint(57, 140)}) {
            EXPECT_EQ(drawn.pixel(at), stored.pixel(at)) << at.x() << ", " << at.y();
        }
        dialog.hide();
    });
}

TEST(QtDialogsTest, EnterInAnEditSendsOkAndEscapeSendsCancel) {
    RecordingProcedure procedure;
    procedure.initialFocus = 1015;
    procedure.endOn = {2};
    runDriven(DialogId::CreateQuestion, procedure, [&procedure](QDialog& dialog) {
        QLineEdit* dividend = controlOf<QLineEdit>(dialog, 1015);
        EXPECT_EQ(dialog.focusWidget(), dividend);
        QTest::keyClicks(dividend, "345");
        QTest::keyClick(dividend, Qt::Key_Return);
        QTest::keyClick(controlOf<QLineEdit>(dialog, 1016), Qt::Key_Enter);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(dividend, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    const std::vector<std::pair<int, int>> expected = {{1, 1015}, {1, 1015}, {2, 1015}};
    EXPECT_EQ(procedure.commands, expected);
}

TEST(QtDialogsTest, EnterOnACheckBoxSendsOkAndOnAFocusedButtonPressesThatButton) {
    RecordingProcedure procedure;
    procedure.endOn = {};
    runDriven(DialogId::Settings, procedure, [](QDialog& dialog) {
        QTest::keyClick(controlOf<QCheckBox>(dialog, 1002), Qt::Key_Return);
        QPushButton* cancel = controlOf<QPushButton>(dialog, 2);
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        dialog.hide();
    });
    EXPECT_EQ(procedure.ids(), (std::vector<int>{1, 2}));
}

TEST(QtDialogsTest, CloseBoxSendsCancelAndClosesOnlyWhenTheProcedureEnds) {
    RecordingProcedure procedure;
    procedure.endOn = {};
    runDriven(DialogId::Settings, procedure, [&procedure](QDialog& dialog) {
        EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        procedure.endOn = {2};
        dialog.close();
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(procedure.ids(), (std::vector<int>{2, 2}));
}

TEST(QtDialogsTest, AboutIgnoresEscapeAndClosesThroughOk) {
    AboutDialog procedure;
    runDriven(DialogId::About, procedure, [](QDialog& dialog) {
        // The version is written over the picture where it is white, left of OK.
        QLabel* picture = controlOf<QLabel>(dialog, -1);
        if (QFile::exists(":/about.bmp")) {
            EXPECT_TRUE(picture->accessibleDescription().startsWith("Version "));
            const QImage stored = QImage(":/about.bmp").convertToFormat(QImage::Format_RGB32);
            const QImage shown = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
            int written = 0;
            for (int y = 112; y < 142; ++y) {
                for (int x = 228; x < 300; ++x) {
                    written += shown.pixel(x, y) != stored.pixel(x, y) ? 1 : 0;
                }
            }
            EXPECT_GT(written, 40) << "no words over the picture";
            EXPECT_EQ(shown.pixel(200, 86), stored.pixel(200, 86));
        }
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(controlOf<QPushButton>(dialog, 1), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
}

TEST(QtDialogsTest, SettingsRadioGroupsFollowTheTemplatesGroupMarks) {
    RecordingProcedure procedure;
    procedure.endOn = {};
    runDriven(DialogId::Settings, procedure, [](QDialog& dialog) {
        auto radio = [&dialog](int id) { return controlOf<QRadioButton>(dialog, id); };
        QTest::mouseClick(radio(1005), Qt::LeftButton);
        QTest::mouseClick(radio(1008), Qt::LeftButton);
        QTest::mouseClick(radio(1004), Qt::LeftButton);
        EXPECT_TRUE(radio(1004)->isChecked());
        EXPECT_FALSE(radio(1005)->isChecked());
        EXPECT_TRUE(radio(1008)->isChecked()) << "the wording does not clear the difficulty";
        QTest::mouseClick(radio(1010), Qt::LeftButton);
        EXPECT_FALSE(radio(1008)->isChecked());
        EXPECT_TRUE(radio(1004)->isChecked());
        dialog.hide();
    });
}

// Tab reaches every control once, each radio group at its checked button; the arrows
// move through a group and check what they reach; the edits are named for a reader.
TEST(QtDialogsTest, TabReachesEachRadioGroupOnceAndArrowsMoveWithinIt) {
    RecordingProcedure procedure;
    procedure.endOn = {};
    runDriven(DialogId::Settings, procedure, [](QDialog& dialog) {
        auto radio = [&dialog](int id) { return controlOf<QRadioButton>(dialog, id); };
        // The arrows act in the active window only, as they do for the pupil.
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(radio(1008), Qt::LeftButton);
        QTest::mouseClick(radio(1004), Qt::LeftButton);
        QPushButton* ok = controlOf<QPushButton>(dialog, 1);
        ok->setFocus();
        std::vector<int> stops;
        for (int press = 0; press < 20 && (stops.empty() || dialog.focusWidget() != ok); ++press) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            stops.push_back(dialog.focusWidget()->objectName().toInt());
        }
        for (int id : {1, 2, 1002, 1003, 1004, 1008}) {
            EXPECT_EQ(std::count(stops.begin(), stops.end(), id), 1) << id;
        }
        for (int id : {1005, 1006, 1007, 1009, 1010}) {
            EXPECT_EQ(std::count(stops.begin(), stops.end(), id), 0) << id;
        }
        // Back from the first setting beyond the four (Hints) to the difficulty.
        QCheckBox* hints = controlOf<QCheckBox>(dialog, ControlId::Hints);
        hints->setFocus();
        QTest::keyClick(hints, Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(dialog.focusWidget(), radio(1008));
        QTest::keyClick(radio(1008), Qt::Key_Down);
        EXPECT_EQ(dialog.focusWidget(), radio(1009));
        EXPECT_TRUE(radio(1009)->isChecked());
        QTest::keyClick(radio(1009), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(dialog.focusWidget(), radio(1004));
        QTest::keyClick(radio(1004), Qt::Key_Down);
        EXPECT_TRUE(radio(1005)->isChecked());
        EXPECT_TRUE(radio(1009)->isChecked());
        dialog.hide();
    });
    EXPECT_EQ(procedure.ids(), (std::vector<int>{1008, 1004, 1009, 1005}));
    RecordingProcedure create;
    runDriven(DialogId::CreateQuestion, create, [](QDialog& dialog) {
        EXPECT_EQ(controlOf<QLineEdit>(dialog, 1015)->accessibleName(), "Dividend");
        EXPECT_EQ(controlOf<QLineEdit>(dialog, 1016)->accessibleName(), "Divisor");
        dialog.hide();
    });
}

TEST(QtDialogsTest, CreateQuestionFieldsTakeOnlyDigits) {
    RecordingProcedure procedure;
    runDriven(DialogId::CreateQuestion, procedure, [](QDialog& dialog) {
        QLineEdit* dividend = controlOf<QLineEdit>(dialog, 1015);
        QLineEdit* divisor = controlOf<QLineEdit>(dialog, 1016);
        QTest::keyClicks(dividend, "1a2-3 4.5");
        EXPECT_EQ(dividend->text(), "12345");
        QTest::keyClicks(divisor, "+x9y9");
        EXPECT_EQ(divisor->text(), "99");
        divisor->insert("7b");
        EXPECT_EQ(divisor->text(), "99");
        dialog.hide();
    });
}

TEST(QtDialogsTest, SettingsOpensInTheMiddleOfTheScreen) {
    RecordingProcedure procedure;
    runDriven(DialogId::Settings, procedure, [](QDialog& dialog) {
        const QRect area = dialog.screen()->availableGeometry();
        const QPoint offset = dialog.frameGeometry().center() - area.center();
        EXPECT_LE(offset.manhattanLength(), 1);
        dialog.hide();
    });
}

TEST(QtDialogsTest, CreateQuestionOpensOnThePointerKeptInsideTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint inside = area.center() + QPoint(40, -30);
    QCursor::setPos(inside);
    if (QCursor::pos() != inside) {
        GTEST_SKIP() << "this platform cannot move the pointer";
    }
    RecordingProcedure procedure;
    runDriven(DialogId::CreateQuestion, procedure, [inside](QDialog& dialog) {
        EXPECT_LE((dialog.frameGeometry().center() - inside).manhattanLength(), 1);
        dialog.hide();
    });
    QCursor::setPos(area.topLeft());
    runDriven(DialogId::CreateQuestion, procedure, [area](QDialog& dialog) {
        EXPECT_EQ(dialog.frameGeometry().topLeft(), area.topLeft());
        dialog.hide();
    });
}

// The real Create Question procedure on the real dialog, with a lesson to start.
class QtCreateQuestionTest : public ::testing::Test {
protected:
    LessonPanel panel;
    CreateQuestionDialog procedure{panel};
};

TEST_F(QtCreateQuestionTest, TypingBothNumbersWithEnterStartsTheQuestion) {
    panel.lessonState = Answered;
    runDriven(DialogId::CreateQuestion, procedure, [](QDialog& dialog) {
        QLineEdit* dividend = controlOf<QLineEdit>(dialog, 1015);
        QLineEdit* divisor = controlOf<QLineEdit>(dialog, 1016);
        QTest::keyClicks(dividend, "345");
        QTest::keyClick(dividend, Qt::Key_Return);
        QCoreApplication::processEvents();  // the postponed move to the next field
        EXPECT_EQ(dialog.focusWidget(), divisor);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClicks(divisor, "7");
        QTest::keyClick(divisor, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(panel.dividend, 345);
    EXPECT_EQ(panel.divisor, 7);
    EXPECT_EQ(panel.lessonState, Working);
    EXPECT_EQ(panel.board.dividend, 345);
}

TEST_F(QtCreateQuestionTest, ATooLargeDividendIsRefusedInABoxOwnedByTheDialog) {
    const int dividendBefore = panel.dividend;
    runDriven(DialogId::CreateQuestion, procedure, [](QDialog& dialog) {
        QLineEdit* dividend = controlOf<QLineEdit>(dialog, 1015);
        QTest::keyClicks(dividend, "12345");
        whenModalOpens<QMessageBox>([&dialog](QMessageBox& box) {
            EXPECT_EQ(box.parentWidget(), &dialog);
            EXPECT_EQ(box.windowTitle(), "Error");
            EXPECT_EQ(box.text(), "The dividend (number being divided) must be less than 10,000.");
            EXPECT_EQ(box.buttons().size(), 1);
            QTest::keyClick(&box, Qt::Key_Return);
        });
        QTest::keyClick(dividend, Qt::Key_Return);
        EXPECT_EQ(dividend->text(), "");
        EXPECT_EQ(dialog.focusWidget(), dividend);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(dividend, Qt::Key_Escape);
    });
    EXPECT_EQ(panel.dividend, dividendBefore);
}

// Shows a message box and hands it to inspect, which must close it.
MessageBoxAnswer answerBox(const std::u16string& caption, MessageBoxButtons buttons,
                           std::function<void(QMessageBox&)> inspect) {
    ModalWatchdog watchdog;
    whenModalOpens<QMessageBox>(std::move(inspect));
    return showQtMessageBox(nullptr, u"Finished bricketing for today?", caption, buttons);
}

TEST(QtMessageBoxTest, OkBoxHasNoIconOneButtonAndTheProgramsNameForAnEmptyCaption) {
    const MessageBoxAnswer answer = answerBox(u"", MessageBoxButtons::Ok, [](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QGuiApplication::applicationDisplayName());
        EXPECT_EQ(box.text(), "Finished bricketing for today?");
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons().size(), 1);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(answer, MessageBoxAnswer::Ok);
}

TEST(QtMessageBoxTest, YesNoBoxDefaultsToYes) {
    const MessageBoxAnswer answer =
        answerBox(u"Had enough?", MessageBoxButtons::YesNo, [](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Had enough?");
            ASSERT_NE(box.defaultButton(), nullptr);
            EXPECT_EQ(box.defaultButton()->text(), "&Yes");
            EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
            QTest::keyClick(&box, Qt::Key_Return);
        });
    EXPECT_EQ(answer, MessageBoxAnswer::Yes);
}

// A style that asks for icons on dialog buttons, as some desktop styles do.
class IconButtonsStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_DialogButtonBox_ButtonsHaveIcons) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST(QtMessageBoxTest, ButtonsArePlainTextWhateverTheStyle) {
    const QString styleBefore = QApplication::style()->name();
    auto* style = new IconButtonsStyle;  // the application takes it over
    QApplication::setStyle(style);
    for (const auto& [buttons, captions] :
         {std::pair{MessageBoxButtons::Ok, QStringList{"OK"}},
          std::pair{MessageBoxButtons::YesNo, QStringList{"&Yes", "&No"}}}) {
        answerBox(u"Had enough?", buttons, [captions](QMessageBox& box) {
            QStringList shown;
            for (QAbstractButton* button : box.buttons()) {
                shown.append(button->text());
                EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
            }
            shown.sort();
            QStringList expected = captions;
            expected.sort();
            EXPECT_EQ(shown, expected);
            QTest::keyClick(&box, Qt::Key_Escape);
        });
    }
    QApplication::setStyle(styleBefore);
}

TEST(QtMessageBoxTest, NoAndEscapeBothAnswerNo) {
    EXPECT_EQ(answerBox(u"Had enough?", MessageBoxButtons::YesNo,
                        [](QMessageBox& box) {
                            for (QAbstractButton* button : box.buttons()) {
                                if (button->text() == "&No") {
                                    QTest::mouseClick(button, Qt::LeftButton);
                                }
                            }
                        }),
              MessageBoxAnswer::No);
    EXPECT_EQ(answerBox(u"Had enough?", MessageBoxButtons::YesNo,
                        [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              MessageBoxAnswer::No);
}

}  // namespace
