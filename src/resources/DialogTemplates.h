// The three dialogs stored with the program as plain data that every backend builds
// from: each control's id, kind, caption, place and size in dialog units, and styles.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogId.h"

// The stored picture the About dialog shows (400 x 173 pixels, 24-bit).
constexpr int aboutBitmapNumber = 118;

// Control ids, shared by the dialog procedures and the backends that build the dialogs.
namespace ControlId {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int WorkingOutGroup = 1001;
constexpr int AutoProduct = 1002;
constexpr int AutoRemainder = 1003;
constexpr int LotsOf = 1004;    // the "lots of" wording
constexpr int Times = 1005;     // the "x" wording
constexpr int Beginner = 1006;  // 1006 to 1010: difficulty 0 (Beginner) to 4 (Expert)
constexpr int Novice = 1007;
constexpr int Intermediate = 1008;
constexpr int Advanced = 1009;
constexpr int Expert = 1010;
constexpr int DifficultyGroup = 1011;
constexpr int DisplayGroup = 1012;
constexpr int Dividend = 1015;
constexpr int Divisor = 1016;
constexpr int DivisionSign = 1017;
// Settings beyond the four, in a column of their own to the right of them.
constexpr int HelpGroup = 1020;
constexpr int Hints = 1021;
constexpr int KeyFactsLabel = 1022;
constexpr int KeyFactsOff = 1023;  // 1023 to 1025: the key-facts box off, shown, filled in
constexpr int KeyFactsShown = 1024;
constexpr int KeyFactsFillIn = 1025;
constexpr int SoundAndScreenGroup = 1026;
constexpr int Sound = 1027;
constexpr int HighContrast = 1028;
constexpr int LanguageLabel = 1029;
constexpr int Language = 1030;
constexpr int TeacherNote = 1031;  // says which settings the teacher set; empty otherwise
constexpr int AboutPicture = -1;   // a static picture, addressed only to write over it
}  // namespace ControlId

enum class ControlKind {
    DefaultPushButton,  // pressed by Enter
    PushButton,
    GroupBox,     // a titled frame drawn behind other controls; holds none of them
    CheckBox,     // ticks and clears itself when clicked
    RadioButton,  // checks itself and clears the others of its group when clicked
    Edit,         // one line of text
    StaticText,
    StaticPicture,  // shows the stored bitmap named by bitmapNumber
    DropDownList,   // a closed list showing its selected choice; opens to choose another
};

// Style marks of a control, combined as bits.
namespace ControlStyle {
constexpr unsigned TabStop = 1u << 0;
// The first control of a group; the group runs up to the next control so marked.
// Controls before the first mark form a group of their own.
constexpr unsigned GroupStart = 1u << 1;
constexpr unsigned Border = 1u << 2;
constexpr unsigned DigitsOnly = 1u << 3;            // edits: only 0 to 9 can be typed
constexpr unsigned AutoHorizontalScroll = 1u << 4;  // edits: text may outgrow the box
constexpr unsigned WantReturn = 1u << 5;            // edits: multi-line Enter handling
}  // namespace ControlStyle

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::StaticText;
    std::u16string_view caption;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned styles = 0;   // ControlStyle bits
    int bitmapNumber = 0;  // StaticPicture only
};

enum class DialogPlacement {
    CentreOnScreen,
    CentreOnPointer,  // moved back inside the screen when that would cut it off
};

struct DialogTemplate {
    DialogId number = DialogId::Settings;
    std::u16string_view caption;
    int width = 0;  // client area in dialog units
    int height = 0;
    std::u16string_view fontName;
    int fontPointSize = 0;
    int fontWeight = 0;
    bool systemMenu = false;  // a system menu and close box in the caption
    DialogPlacement placement = DialogPlacement::CentreOnScreen;
    bool controlParent = false;  // extended style: tabbing enters nested controls
    bool noActivate = false;     // extended style: does not take activation when shown
    std::span<const ControlTemplate> controls;  // in template order, which is tab order
};

// The stored template with this number, or the one made at run time under it; null if
// there is none.
const DialogTemplate* findDialogTemplate(DialogId number);

// A template made while the program runs (the class list's names), found by its number
// until another replaces it or null withdraws it. Not owned: it must outlive its use.
void useRuntimeDialogTemplate(const DialogTemplate* dialog);

// The control with this id in the template, or null.
const ControlTemplate* findControl(const DialogTemplate& dialog, int controlId);

// A control's or a dialog's caption in the pupil's language, as the backends show it:
// the templates keep the English source, the division sign its language's sign.
std::u16string shownCaption(const ControlTemplate& control);
std::u16string shownCaption(const DialogTemplate& dialog);

// The ids of the radio buttons of each group that holds any, in template order.
std::vector<std::vector<int>> radioGroups(const DialogTemplate& dialog);

// The next control after controlId, in template order and wrapping round, that is a
// tab stop: where the focus goes on Tab or on a request for the next control. An id
// not in the template starts from the beginning. 0 when there is no tab stop.
int nextTabStop(const DialogTemplate& dialog, int controlId);

// Dialog units to pixels by the window system's rule, at the base units of the 8-point
// dialog font the templates were laid out with on Windows (6 x 13 pixels at 96 dots per
// inch: a horizontal unit is a quarter of 6, a vertical one an eighth of 13), times
// `scale` for a screen of another resolution, rounded half away from zero. Those base
// units hold whatever font stands in for the dialog font, so that every control lands
// where its template puts it.
int dialogUnitsToPixelsX(int units, double scale = 1.0);
int dialogUnitsToPixelsY(int units, double scale = 1.0);

// Where a dialog's frame starts along one axis when it is centred on `centre` (its
// middle pixel, (size - 1) / 2 from its start, on it), then pulled back inside the
// screen's work area from areaStart to areaEnd (exclusive); the start wins when the
// frame is longer than the area. For a dialog that opens on the pointer.
int centredStart(int centre, int size, int areaStart, int areaEnd);

// The name a screen reader gives a control whose caption does not say what it is (the
// Create Question edits: "Dividend" and "Divisor"); empty for the others.
std::u16string accessibleControlName(DialogId dialog, int controlId);
