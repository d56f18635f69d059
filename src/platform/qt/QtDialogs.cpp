// Builds the stored dialogs with Qt widgets, placed in dialog units converted by the
// window system's base units for the dialog font, and runs them for the neutral
// procedures; also the program's message boxes.
#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMoveEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <vector>

#include "resources/DialogTemplates.h"
#include "words/Words.h"

namespace {
// Words over a picture: right-aligned in the box where the About picture is white,
// between its subtitle and the OK button, in the picture's own pixels.
constexpr QRect wordsOnPicture(228, 112, 72, 30);

QPixmap withWords(QPixmap picture, const QString& words, const QFont& font) {
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(QColor(0x55, 0x55, 0x55));
    painter.drawText(wordsOnPicture, Qt::AlignRight | Qt::AlignVCenter, words);
    return picture;
}

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The picture stored with the program under a bitmap number, as a Qt resource.
QString bitmapResourcePath(int bitmapNumber) {
    return bitmapNumber == aboutBitmapNumber ? QStringLiteral(":/about.bmp") : QString();
}

// The template's font, or where it is not installed one of its usual stand-ins, or
// else Arial (or a face with Arial's widths, which font systems put in its place): the
// captions then take about the room the templates give them. The application's font
// is the last resort.
QFont dialogFont(const DialogTemplate& dialog) {
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString& family : {toQString(dialog.fontName), QStringLiteral("Tahoma"),
                                  QStringLiteral("Microsoft Sans Serif")}) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            families.append(family);
        }
    }
    families << QStringLiteral("Arial") << QApplication::font().family();
    QFont font;
    font.setFamilies(families);
    font.setPointSize(dialog.fontPointSize);
    font.setWeight(static_cast<QFont::Weight>(dialog.fontWeight));
    return font;
}

// Dialog units to pixels on the dialog's screen: they grow with its resolution.
class DialogUnits {
public:
    explicit DialogUnits(const QScreen* screen)
        : scale(screen != nullptr ? screen->logicalDotsPerInch() / 96.0 : 1.0) {}
    int x(int units) const { return dialogUnitsToPixelsX(units, scale); }
    int y(int units) const { return dialogUnitsToPixelsY(units, scale); }
    QRect rect(const ControlTemplate& c) const { return {x(c.x), y(c.y), x(c.width), y(c.height)}; }

private:
    double scale = 1.0;
};

QScreen* screenOf(const QWidget* owner) {
    return owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
}

// A check box or radio button whose caption, in the font standing in for the dialog
// font and with this style's indicator, is a little wider than its place gets a
// slightly smaller font, down to a point less, rather than a cut caption.
void fitCaption(QWidget* widget) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (button == nullptr || qobject_cast<QPushButton*>(button) != nullptr) {
        return;
    }
    const qreal smallest = button->font().pointSizeF() - 1.0;
    QFont font = button->font();
    while (button->sizeHint().width() > button->width() && font.pointSizeF() > smallest) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        button->setFont(font);
    }
}

Qt::FocusPolicy focusPolicyOf(const ControlTemplate& control) {
    if (control.kind == ControlKind::GroupBox || control.kind == ControlKind::StaticText ||
        control.kind == ControlKind::StaticPicture) {
        return Qt::NoFocus;
    }
    // Controls without the tab-stop mark take the focus only when clicked.
    return (control.styles & ControlStyle::TabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus;
}

// Checks or clears a button even in an exclusive group, which on its own refuses to
// clear its checked member.
void setButtonChecked(QAbstractButton& button, bool checked) {
    QButtonGroup* group = button.group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive) {
        group->setExclusive(false);
    }
    button.setChecked(checked);
    if (exclusive) {
        group->setExclusive(true);
    }
}

// One open dialog: the widgets built from its template, and the procedure's view of
// them. Commands are delivered one at a time; an end requested during a command
// closes the dialog once the command returns.
class QtDialog : public QDialog, public DialogHost {
public:
    QtDialog(QWidget* owner, const DialogTemplate& layout, DialogProcedure& procedure)
        : QDialog(owner), layout(layout), procedure(procedure) {
        setWindowTitle(QString::fromStdU16String(shownCaption(layout)));
        setWindowFlags(windowFlagsOf(layout));
        setFont(dialogFont(layout));
        const DialogUnits units(screenOf(owner));
        setFixedSize(units.x(layout.width), units.y(layout.height));
        buildControls(units);
    }

    // Lets the procedure set the controls, gives the focus to the first tab stop when
    // it did not place it, and puts the dialog where its template says. False when
    // the procedure already ended it.
    bool prepare() {
        const bool focusPlaced = deliver([this] { return procedure.initDialog(*this); });
        if (ended) {
            return false;
        }
        if (!focusPlaced) {
            focusControl(nextTabStop(layout, 0), Qt::OtherFocusReason);
        }
        placeOnScreen();
        return true;
    }

    std::u16string controlText(int controlId) override {
        QWidget* widget = control(controlId);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            return edit->text().toStdU16String();
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            return button->text().toStdU16String();
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            return label->text().toStdU16String();
        }
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            return group->title().toStdU16String();
        }
        return {};
    }

    void setControlText(int controlId, const std::u16string& text) override {
        QWidget* widget = control(controlId);
        const QString value = QString::fromStdU16String(text);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(value);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(value);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->pixmap().isNull()) {
                label->setText(value);
            } else {
                label->setPixmap(withWords(label->pixmap(), value, label->font()));
                label->setAccessibleDescription(value);
            }
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(value);
        }
    }

    bool isChecked(int controlId) override {
        auto* button = qobject_cast<QAbstractButton*>(control(controlId));
        return button != nullptr && button->isChecked();
    }

    void setChecked(int controlId, bool checked) override {
        if (auto* button = qobject_cast<QAbstractButton*>(control(controlId))) {
            setButtonChecked(*button, checked);
        }
    }

    void checkRadioButton(int firstId, int lastId, int checkedId) override {
        for (const ControlTemplate& c : layout.controls) {
            if (c.kind == ControlKind::RadioButton && c.id >= firstId && c.id <= lastId) {
                setChecked(c.id, c.id == checkedId);
            }
        }
    }

    void setEnabled(int controlId, bool enabled) override {
        if (QWidget* widget = control(controlId)) {
            widget->setEnabled(enabled);
        }
    }

    void setListItems(int controlId, const std::vector<std::u16string>& items) override {
        if (auto* list = qobject_cast<QComboBox*>(control(controlId))) {
            list->clear();
            for (const std::u16string& item : items) {
                list->addItem(QString::fromStdU16String(item));
            }
            list->setCurrentIndex(-1);
        }
    }

    void selectListItem(int controlId, int index) override {
        if (auto* list = qobject_cast<QComboBox*>(control(controlId))) {
            list->setCurrentIndex(index);
        }
    }

    int selectedListItem(int controlId) override {
        auto* list = qobject_cast<QComboBox*>(control(controlId));
        return list != nullptr ? list->currentIndex() : -1;
    }

    int focusedControl() override {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr || focused->window() != this) {
            focused = focusWidget();  // the child that gets the focus when we are active
        }
        for (const auto& [id, widget] : controls) {
            if (widget == focused) {
                return id;
            }
        }
        return 0;
    }

    void setFocus(int controlId) override { focusControl(controlId, Qt::OtherFocusReason); }

    void postNextControl() override {
        QTimer::singleShot(0, this, [this] {
            focusControl(nextTabStop(layout, focusedControl()), Qt::TabFocusReason);
        });
    }

    MessageBoxAnswer messageBox(const std::u16string& text, const std::u16string& caption,
                                MessageBoxButtons buttons) override {
        return showQtMessageBox(this, text, caption, buttons);
    }

    void end(int result) override {
        if (inCommand) {
            endRequested = true;
            endResult = result;
            return;
        }
        finish(result);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // Reached when the focused control leaves Enter alone: edits, check boxes and
        // radio buttons. A focused push button presses itself instead.
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            sendCommand(defaultCommand());
            return;
        }
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            event->accept();
            sendCommand(ControlId::Cancel);
            return;
        }
        QDialog::keyPressEvent(event);
    }

    // Tab and Shift+Tab go from stop to stop in template order, as the window system's
    // dialogs do: each control marked as a tab stop, and each group of radio buttons
    // once, at its checked button (its first when none is checked). The arrows then
    // move through the group and check the button they reach.
    bool focusNextPrevChild(bool next) override {
        const auto count = static_cast<std::ptrdiff_t>(tabStops.size());
        std::ptrdiff_t current = -1;
        for (std::ptrdiff_t index = 0; index < count; ++index) {
            if (focusWidget() != nullptr && stopOf(focusWidget()) == stopOf(tabStops[index])) {
                current = index;
            }
        }
        for (std::ptrdiff_t step = 1; step <= count; ++step) {
            const std::ptrdiff_t index =
                ((current < 0 && !next ? 0 : current) + (next ? step : count - step)) % count;
            QWidget* target = stopTarget(tabStops[static_cast<std::size_t>(index)]);
            if (target->isEnabled() && target->isVisible()) {
                target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return QDialog::focusNextPrevChild(next);
    }

    // The close box and any other request to close arrive here. The dialog closes
    // only if the procedure ends it.
    void reject() override { sendCommand(ControlId::Cancel); }

    // A window manager frames the dialog only once it is shown, so the frame's size is
    // known only then; the dialog is centred again when it learns it.
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        QTimer::singleShot(frameWaitMilliseconds, this, [this] { followFrame(); });
    }

    void moveEvent(QMoveEvent* event) override {
        QDialog::moveEvent(event);
        followFrame();
    }

private:
    static Qt::WindowFlags windowFlagsOf(const DialogTemplate& layout) {
        Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (layout.systemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        }
        return flags;
    }

    void buildControls(const DialogUnits& units) {
        QButtonGroup* radioGroup = nullptr;
        QWidget* previousTabStop = nullptr;
        QLabel* lastLabel = nullptr;
        for (const ControlTemplate& c : layout.controls) {
            if ((c.styles & ControlStyle::GroupStart) != 0) {
                radioGroup = nullptr;  // the next radio button opens a new group
            }
            const bool opensRadioGroup =
                c.kind == ControlKind::RadioButton && radioGroup == nullptr;
            QWidget* widget = makeControl(c, radioGroup);
            // A list is named by the text just before it, as "Language:".
            if (c.kind == ControlKind::DropDownList && lastLabel != nullptr) {
                lastLabel->setBuddy(widget);
            }
            lastLabel = qobject_cast<QLabel*>(widget);
            widget->setObjectName(QString::number(c.id));
            widget->setGeometry(units.rect(c));
            fitCaption(widget);
            widget->setFocusPolicy(focusPolicyOf(c));
            controls[c.id] = widget;
            if (c.kind == ControlKind::RadioButton) {
                // Every button of a group takes the focus, so that the arrows move
                // through it; Tab stops at the group once (focusNextPrevChild).
                widget->setFocusPolicy(Qt::StrongFocus);
                if (opensRadioGroup) {
                    tabStops.push_back(widget);
                }
            } else if ((c.styles & ControlStyle::TabStop) != 0) {
                tabStops.push_back(widget);
            }
            if ((c.styles & ControlStyle::TabStop) != 0) {
                if (previousTabStop != nullptr) {
                    QWidget::setTabOrder(previousTabStop, widget);
                }
                previousTabStop = widget;
            }
        }
        placePicture(units);
    }

    QWidget* makeControl(const ControlTemplate& c, QButtonGroup*& radioGroup) {
        const QString caption = QString::fromStdU16String(shownCaption(c));
        switch (c.kind) {
            case ControlKind::DefaultPushButton:
            case ControlKind::PushButton:
                return makePushButton(c, caption);
            case ControlKind::CheckBox:
                return connectClicks(new QCheckBox(caption, this), c.id);
            case ControlKind::RadioButton:
                return makeRadioButton(c, caption, radioGroup);
            case ControlKind::GroupBox:
                return makeGroupBox(caption);
            case ControlKind::Edit:
                return makeEdit(c);
            case ControlKind::StaticText: {
                auto* label = new QLabel(caption, this);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setWordWrap(true);
                return label;
            }
            case ControlKind::StaticPicture:
                return new QLabel(this);
            case ControlKind::DropDownList:
                return new QComboBox(this);
        }
        return new QWidget(this);
    }

    QWidget* makePushButton(const ControlTemplate& c, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        // Enter on a focused push button presses that button.
        button->setAutoDefault(true);
        button->setDefault(c.kind == ControlKind::DefaultPushButton);
        return connectClicks(button, c.id);
    }

    QWidget* makeRadioButton(const ControlTemplate& c, const QString& caption,
                             QButtonGroup*& radioGroup) {
        auto* radio = new QRadioButton(caption, this);
        // Exclusivity comes from the template's groups, not from sharing a parent.
        radio->setAutoExclusive(false);
        if (radioGroup == nullptr) {
            radioGroup = new QButtonGroup(this);
            radioGroup->setExclusive(true);
        }
        radioGroup->addButton(radio, c.id);
        return connectClicks(radio, c.id);
    }

    QWidget* makeGroupBox(const QString& caption) {
        auto* group = new QGroupBox(caption, this);
        // A frame behind its neighbours: it must not take their clicks or cover them.
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        group->lower();
        return group;
    }

    QWidget* makeEdit(const ControlTemplate& c) {
        auto* edit = new QLineEdit(this);
        edit->setAccessibleName(toQString(accessibleControlName(layout.number, c.id)));
        edit->setFrame((c.styles & ControlStyle::Border) != 0);
        if ((c.styles & ControlStyle::DigitsOnly) != 0) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        return edit;
    }

    // A button's click is a command with its id, as the window system reports it;
    // procedures ignore the ids they do not handle.
    QWidget* connectClicks(QAbstractButton* button, int id) {
        QObject::connect(button, &QAbstractButton::clicked, this, [this, id] { sendCommand(id); });
        return button;
    }

    // Each picture control shows its stored picture at the picture's own size from
    // the control's top-left corner, as a bitmap control sizes itself to its bitmap;
    // nothing when the picture is missing.
    void placePicture(const DialogUnits& units) {
        for (const ControlTemplate& c : layout.controls) {
            auto* label = qobject_cast<QLabel*>(control(c.id));
            if (c.kind != ControlKind::StaticPicture || label == nullptr) {
                continue;
            }
            const QPixmap picture(bitmapResourcePath(c.bitmapNumber));
            if (!picture.isNull()) {
                label->setPixmap(picture);
                label->setGeometry(
                    QRect(units.rect(c).topLeft(), picture.deviceIndependentSize().toSize()));
            }
        }
    }

    // Centres the dialog again when its frame has turned out other than it was placed
    // with. A few times at most, so that a window manager that keeps moving it cannot
    // start a tug of war.
    void followFrame() {
        if (!placed || frameFollows >= maxFrameFollows || windowHandle() == nullptr) {
            return;
        }
        if (windowHandle()->frameMargins() != placedMargins) {
            ++frameFollows;
            placeOnScreen();
        }
    }

    void placeOnScreen() {
        const bool onPointer = layout.placement == DialogPlacement::CentreOnPointer;
        if (!placed) {
            anchor = QCursor::pos();  // later corrections keep the pointer of the opening
        }
        QScreen* screen = onPointer ? QGuiApplication::screenAt(anchor) : nullptr;
        if (screen == nullptr) {
            screen = parentWidget() != nullptr ? parentWidget()->screen()
                                               : QGuiApplication::primaryScreen();
        }
        if (screen == nullptr) {
            return;
        }
        const QRect area = screen->availableGeometry();
        // The whole window, caption and border included, is what gets centred.
        const auto [margins, ownFrameKnown] = expectedFrame();
        placed = true;
        placedMargins = margins;
        const QSize frame = size().grownBy(margins);
        const QPoint centre = onPointer ? anchor : area.center();
        const QPoint topLeft(
            centredStart(centre.x(), frame.width(), area.left(), area.left() + area.width()),
            centredStart(centre.y(), frame.height(), area.top(), area.top() + area.height()));
        // Until the window has a frame of its own, its position is that of its inside.
        move(ownFrameKnown ? topLeft : topLeft + QPoint(margins.left(), margins.top()));
    }

    // The frame the dialog will have: its own once the platform knows it, else that
    // of its owner, which the same window manager framed alike. The second value is
    // whether the frame is the dialog's own.
    std::pair<QMargins, bool> expectedFrame() {
        create();  // the native window, which may already know its frame
        const QMargins own =
            windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
        if (!own.isNull() || parentWidget() == nullptr) {
            return {own, true};
        }
        const QWindow* owner = parentWidget()->window()->windowHandle();
        return {owner != nullptr ? owner->frameMargins() : QMargins(), false};
    }

    int defaultCommand() const {
        for (const ControlTemplate& c : layout.controls) {
            if (c.kind == ControlKind::DefaultPushButton) {
                return c.id;
            }
        }
        return ControlId::Ok;
    }

    QWidget* control(int id) const {
        const auto found = controls.find(id);
        return found == controls.end() ? nullptr : found->second;
    }

    void focusControl(int id, Qt::FocusReason reason) {
        if (QWidget* widget = control(id)) {
            widget->setFocus(reason);
        }
    }

    void sendCommand(int id) {
        deliver([this, id] { return procedure.command(*this, id); });
    }

    // Runs one call into the procedure; a second one arriving meanwhile (from a
    // message box's own event loop) is dropped, as the dialog is disabled then.
    template <typename Call>
    bool deliver(Call call) {
        if (inCommand || ended) {
            return false;
        }
        inCommand = true;
        const bool result = call();
        inCommand = false;
        if (endRequested) {
            endRequested = false;
            finish(endResult);
        }
        return result;
    }

    void finish(int result) {
        ended = true;
        done(result);
    }

    static constexpr int frameWaitMilliseconds = 100;
    static constexpr int maxFrameFollows = 3;

    const DialogTemplate& layout;
    DialogProcedure& procedure;
    bool placed = false;
    QPoint anchor;           // the pointer when the dialog was first placed
    QMargins placedMargins;  // the frame the dialog was last centred with
    int frameFollows = 0;
    std::map<int, QWidget*> controls;
    // What Tab stops at, in order: a control, or the first button of a radio group.
    std::vector<QWidget*> tabStops;

    // The group a radio button belongs to, or the widget itself.
    static QObject* stopOf(QWidget* widget) {
        auto* radio = qobject_cast<QRadioButton*>(widget);
        return radio != nullptr && radio->group() != nullptr ? static_cast<QObject*>(radio->group())
                                                             : widget;
    }
    static QWidget* stopTarget(QWidget* stop) {
        auto* radio = qobject_cast<QRadioButton*>(stop);
        if (radio != nullptr && radio->group() != nullptr && radio->group()->checkedButton()) {
            return radio->group()->checkedButton();
        }
        return stop;
    }
    bool inCommand = false;
    bool endRequested = false;
    int endResult = 0;
    bool ended = false;
};

}  // namespace

// The boxes have plain text buttons with the window system's captions in the pupil's
// language, whatever the
// style would add: Qt's standard buttons carry icons under some styles.
MessageBoxAnswer showQtMessageBox(QWidget* owner, const std::u16string& text,
                                  const std::u16string& caption, MessageBoxButtons buttons) {
    QMessageBox box(owner);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(caption.empty() ? QGuiApplication::applicationDisplayName()
                                       : QString::fromStdU16String(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdU16String(text));
    if (buttons == MessageBoxButtons::Ok) {
        QPushButton* ok =
            box.addButton(QString::fromStdU16String(trc("button", "OK")), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return MessageBoxAnswer::Ok;
    }
    QPushButton* yes =
        box.addButton(QString::fromStdU16String(trc("button", "&Yes")), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(QString::fromStdU16String(trc("button", "&No")), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

void runQtDialog(QWidget* owner, DialogId dialog, DialogProcedure& procedure) {
    const DialogTemplate* layout = findDialogTemplate(dialog);
    if (layout == nullptr) {
        return;
    }
    QtDialog window(owner, *layout, procedure);
    if (window.prepare()) {
        window.exec();
    }
}
