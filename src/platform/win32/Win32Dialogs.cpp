// Builds the dialogs' in-memory templates from the one template table and runs them
// with the window system's dialog manager, which supplies the keyboard handling: Enter
// presses the default button (command 1), Escape and the close box send command 2,
// Tab walks the tab stops, radio groups follow the group marks.
#include "platform/win32/Win32Dialogs.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/win32/Win32Text.h"

namespace {

// Atoms of the predefined control classes, as templates name them.
constexpr WORD buttonClass = 0x0080;
constexpr WORD editClass = 0x0081;
constexpr WORD staticClass = 0x0082;
constexpr WORD comboBoxClass = 0x0085;
// A drop-down list's template height includes its opened list, which the dialog's own
// height need not hold: the list opens over whatever is below.
constexpr int openedListHeight = 80;
// The buffer a control's text is read into, as the dialog procedures expect.
constexpr int controlTextCapacity = 255;

// Writes the little-endian words of a template, keeping the alignment its parts need.
class TemplateWriter {
public:
    void word(WORD value) { words.push_back(value); }
    void doubleWord(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void coordinate(int value) { word(static_cast<WORD>(static_cast<short>(value))); }
    void text(std::u16string_view value) {
        for (char16_t unit : value) {
            word(static_cast<WORD>(unit));
        }
        word(0);
    }
    void ordinal(WORD value) {
        word(0xFFFF);
        word(value);
    }
    // Every item starts on a 4-byte boundary.
    void alignToDoubleWord() {
        if (words.size() % 2 != 0) {
            word(0);
        }
    }
    std::vector<WORD> words;
};

DWORD kindStyle(ControlKind kind) {
    switch (kind) {
        case ControlKind::DefaultPushButton:
            return BS_DEFPUSHBUTTON;
        case ControlKind::PushButton:
            return BS_PUSHBUTTON;
        case ControlKind::GroupBox:
            return BS_GROUPBOX;
        case ControlKind::CheckBox:
            return BS_AUTOCHECKBOX;
        case ControlKind::RadioButton:
            return BS_AUTORADIOBUTTON;
        case ControlKind::Edit:
            return ES_LEFT;
        case ControlKind::StaticText:
            return SS_LEFT;
        case ControlKind::StaticPicture:
            return SS_BITMAP;
        case ControlKind::DropDownList:
            return CBS_DROPDOWNLIST | WS_VSCROLL;
    }
    return 0;
}

WORD controlClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
            return editClass;
        case ControlKind::DropDownList:
            return comboBoxClass;
        case ControlKind::StaticText:
        case ControlKind::StaticPicture:
            return staticClass;
        default:
            return buttonClass;
    }
}

void writeControl(TemplateWriter& out, const ControlTemplate& control) {
    out.alignToDoubleWord();
    out.doubleWord(0);  // help id
    out.doubleWord(0);  // extended style
    out.doubleWord(controlStyle(control));
    out.coordinate(control.x);
    out.coordinate(control.y);
    out.coordinate(control.width);
    out.coordinate(control.kind == ControlKind::DropDownList ? control.height + openedListHeight
                                                             : control.height);
    out.doubleWord(static_cast<DWORD>(control.id));
    out.ordinal(controlClass(control.kind));
    if (control.kind == ControlKind::StaticPicture) {
        out.ordinal(static_cast<WORD>(control.bitmapNumber));  // the bitmap resource
    } else {
        out.text(shownCaption(control));
    }
    out.word(0);  // no creation data
}

// One open dialog as its procedure sees it, addressed by control ids.
class Win32DialogHost : public DialogHost {
public:
    Win32DialogHost(HWND dialog, DialogProcedure& procedure)
        : dialog(dialog), procedure(procedure) {}

    std::u16string controlText(int controlId) override {
        wchar_t buffer[controlTextCapacity] = {};
        GetDlgItemTextW(dialog, controlId, buffer, controlTextCapacity);
        return fromWide(buffer);
    }
    void setControlText(int controlId, const std::u16string& text) override {
        HWND control = GetDlgItem(dialog, controlId);
        // A bitmap control would take the text as the name of a bitmap to load.
        if (control != nullptr && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            writeOverPicture(control, toWide(text));
            return;
        }
        SetDlgItemTextW(dialog, controlId, toWide(text).c_str());
    }
    bool isChecked(int controlId) override {
        return IsDlgButtonChecked(dialog, controlId) == BST_CHECKED;
    }
    void setChecked(int controlId, bool checked) override {
        CheckDlgButton(dialog, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    void checkRadioButton(int firstId, int lastId, int checkedId) override {
        CheckRadioButton(dialog, firstId, lastId, checkedId);
    }
    void setEnabled(int controlId, bool enabled) override {
        if (HWND control = GetDlgItem(dialog, controlId)) {
            EnableWindow(control, enabled ? TRUE : FALSE);
        }
    }
    void setListItems(int controlId, const std::vector<std::u16string>& items) override {
        SendDlgItemMessageW(dialog, controlId, CB_RESETCONTENT, 0, 0);
        for (const std::u16string& item : items) {
            const std::wstring wide = toWide(item);
            SendDlgItemMessageW(dialog, controlId, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(wide.c_str()));
        }
    }
    void selectListItem(int controlId, int index) override {
        SendDlgItemMessageW(dialog, controlId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int selectedListItem(int controlId) override {
        const LRESULT index = SendDlgItemMessageW(dialog, controlId, CB_GETCURSEL, 0, 0);
        return index == CB_ERR ? -1 : static_cast<int>(index);
    }
    int focusedControl() override {
        HWND focus = GetFocus();
        if (focus == nullptr || !IsChild(dialog, focus)) {
            return 0;
        }
        return GetDlgCtrlID(focus);
    }
    void setFocus(int controlId) override {
        if (HWND control = GetDlgItem(dialog, controlId)) {
            SetFocus(control);
        }
    }
    void postNextControl() override { PostMessageW(dialog, WM_NEXTDLGCTL, 0, 0); }
    MessageBoxAnswer messageBox(const std::u16string& text, const std::u16string& caption,
                                MessageBoxButtons buttons) override {
        return showWin32MessageBox(dialog, text, caption, buttons);
    }
    void end(int result) override { EndDialog(dialog, result); }

    ~Win32DialogHost() override {
        for (HBITMAP picture : pictures) {
            DeleteObject(picture);
        }
    }
    Win32DialogHost(const Win32DialogHost&) = delete;
    Win32DialogHost& operator=(const Win32DialogHost&) = delete;

    DialogProcedure& procedureOf() { return procedure; }
    // The pictures it made for its controls, deleted with it.
    void keepPicture(HBITMAP picture) { pictures.push_back(picture); }
    // Shows picture in the control; what it showed before goes unless it is kept.
    void showPicture(HWND control, HBITMAP picture) {
        keepPicture(picture);
        const auto replaced = reinterpret_cast<HBITMAP>(
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
        if (replaced != nullptr &&
            std::find(pictures.begin(), pictures.end(), replaced) == pictures.end()) {
            DeleteObject(replaced);  // the stored one, no longer shown
        }
    }

private:
    // The words right-aligned where the About picture is white, between its subtitle
    // and the OK button, in the dialog's font: the box is in the stored picture's 400 x
    // 173 pixels and grows with the picture shown.
    void writeOverPicture(HWND control, const std::wstring& words) {
        const auto shown =
            reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP size{};
        if (shown == nullptr || GetObjectW(shown, sizeof size, &size) == 0) {
            return;
        }
        const auto copy =
            static_cast<HBITMAP>(CopyImage(shown, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        HDC screen = GetDC(nullptr);
        HDC drawing = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        if (copy == nullptr || drawing == nullptr) {
            if (copy != nullptr) {
                DeleteObject(copy);
            }
            if (drawing != nullptr) {
                DeleteDC(drawing);
            }
            return;
        }
        const auto scaled = [&](int pixels, LONG length, int stored) {
            return static_cast<LONG>(MulDiv(pixels, length, stored));
        };
        RECT box{scaled(228, size.bmWidth, 400), scaled(112, size.bmHeight, 173),
                 scaled(300, size.bmWidth, 400), scaled(142, size.bmHeight, 173)};
        HGDIOBJ previousBitmap = SelectObject(drawing, copy);
        HGDIOBJ previousFont =
            SelectObject(drawing, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        SetBkMode(drawing, TRANSPARENT);
        SetTextColor(drawing, RGB(0x55, 0x55, 0x55));
        DrawTextW(drawing, words.c_str(), static_cast<int>(words.size()), &box,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(drawing, previousFont);
        SelectObject(drawing, previousBitmap);
        DeleteDC(drawing);
        showPicture(control, copy);
    }

    HWND dialog;
    DialogProcedure& procedure;
    std::vector<HBITMAP> pictures;
};

// What the dialog procedure needs from runWin32Dialog, handed over as the
// initialisation parameter.
struct DialogSession {
    DialogProcedure& procedure;
    const DialogTemplate& layout;
};

// The stored picture drawn anew at width x height, smoothly; null when it cannot be.
HBITMAP scaledPicture(HBITMAP stored, int width, int height) {
    Gdiplus::Bitmap source(stored, nullptr);
    Gdiplus::Bitmap target(width, height, PixelFormat32bppRGB);
    if (source.GetLastStatus() != Gdiplus::Ok || target.GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    {
        Gdiplus::Graphics graphics(&target);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
        Gdiplus::ImageAttributes edges;
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);  // no pale seam at the borders
        graphics.DrawImage(&source, Gdiplus::Rect(0, 0, width, height), 0, 0,
                           static_cast<INT>(source.GetWidth()),
                           static_cast<INT>(source.GetHeight()), Gdiplus::UnitPixel, &edges);
    }
    HBITMAP made = nullptr;
    return target.GetHBITMAP(Gdiplus::Color(255, 255, 255), &made) == Gdiplus::Ok ? made : nullptr;
}

// A picture control shows its stored bitmap at the bitmap's own size, which suits its
// box in dialog units only at 96 DPI: wherever the box maps to a width other than the
// bitmap's, the picture is drawn again at that width (and the height in proportion),
// so that it grows with the dialog. Within 2 % it is shown as stored: the rounding of
// dialog units, and fonts that measure a little differently, leave it alone.
void fitPictures(HWND dialog, const DialogTemplate& layout, Win32DialogHost& host) {
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlTemplate& control : layout.controls) {
        if (child == nullptr) {
            return;
        }
        if (control.kind == ControlKind::StaticPicture) {
            RECT box{control.x, control.y, control.x + control.width, control.y + control.height};
            MapDialogRect(dialog, &box);
            const auto stored =
                reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
            BITMAP size{};
            if (stored != nullptr && GetObjectW(stored, sizeof size, &size) != 0 &&
                size.bmWidth > 0) {
                const LONG width = box.right - box.left;
                const LONG height = MulDiv(size.bmHeight, width, size.bmWidth);
                if (std::abs(width - size.bmWidth) * 50 > size.bmWidth) {
                    if (HBITMAP scaled = scaledPicture(stored, width, height)) {
                        SetWindowPos(child, nullptr, box.left, box.top, width, height,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
                        host.showPicture(child, scaled);
                    }
                }
            }
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

// Centres the dialog on the pointer and pulls it back inside the pointer's monitor,
// the top-left corner winning when it is too big. The centring style asks the system
// for the same; doing it here makes every system (Wine included) place it alike.
void centreOnPointer(HWND dialog) {
    POINT pointer{};
    GetCursorPos(&pointer);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int left = centredStart(pointer.x, frame.right - frame.left, area.left, area.right);
    const int top = centredStart(pointer.y, frame.bottom - frame.top, area.top, area.bottom);
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The annotation service and the name property (oleacc.h declares them; their values
// are given here so that no other file has to define the GUIDs).
constexpr CLSID accPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID accPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID nameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// Names the controls whose captions do not say what they are (the Create Question
// edits), so that a screen reader says "Dividend" where it would say "edit". Through
// the accessibility service's annotations; where that service is missing they stay
// unnamed.
void nameControls(HWND dialog, DialogId dialogNumber) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(accPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                   accPropServicesInterface,
                                   reinterpret_cast<void**>(&services)))) {
        const DialogTemplate* layout = findDialogTemplate(dialogNumber);
        for (const ControlTemplate& control :
             layout ? layout->controls : std::span<const ControlTemplate>()) {
            const std::u16string name = accessibleControlName(dialogNumber, control.id);
            HWND item = GetDlgItem(dialog, control.id);
            if (!name.empty() && item != nullptr) {
                services->SetHwndPropStr(item, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         nameProperty, toWide(name).c_str());
            }
        }
        services->Release();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* session = reinterpret_cast<DialogSession*>(lParam);
        if (session->layout.placement == DialogPlacement::CentreOnPointer) {
            centreOnPointer(dialog);
        }
        nameControls(dialog, session->layout.number);
        auto* host = new Win32DialogHost(dialog, session->procedure);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
        fitPictures(dialog, session->layout, *host);
        // TRUE lets the dialog manager focus the first tab stop; FALSE keeps the focus
        // the procedure placed.
        return host->procedureOf().initDialog(*host) ? FALSE : TRUE;
    }
    auto* host = reinterpret_cast<Win32DialogHost*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (host == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            // Button clicks (and Enter and Escape, which arrive as clicks of 1 and 2);
            // an edit's notifications carry other codes and are left alone.
            if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 1) {
                return host->procedureOf().command(*host, LOWORD(wParam)) ? TRUE : FALSE;
            }
            return FALSE;
        case WM_NCDESTROY:
            SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
            delete host;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

DWORD controlStyle(const ControlTemplate& control) {
    DWORD style = WS_CHILD | WS_VISIBLE | kindStyle(control.kind);
    if ((control.styles & ControlStyle::TabStop) != 0) {
        style |= WS_TABSTOP;
    }
    if ((control.styles & ControlStyle::GroupStart) != 0) {
        style |= WS_GROUP;
    }
    if ((control.styles & ControlStyle::Border) != 0) {
        style |= WS_BORDER;
    }
    if ((control.styles & ControlStyle::DigitsOnly) != 0) {
        style |= ES_NUMBER;
    }
    if ((control.styles & ControlStyle::AutoHorizontalScroll) != 0) {
        style |= ES_AUTOHSCROLL;
    }
    if ((control.styles & ControlStyle::WantReturn) != 0) {
        style |= ES_WANTRETURN;
    }
    return style;
}

DWORD dialogStyle(const DialogTemplate& dialog) {
    DWORD style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION;
    style |= dialog.placement == DialogPlacement::CentreOnPointer ? DS_CENTERMOUSE : DS_CENTER;
    if (dialog.systemMenu) {
        style |= WS_SYSMENU;
    }
    return style;
}

DWORD dialogExtendedStyle(const DialogTemplate& dialog) {
    DWORD style = 0;
    if (dialog.controlParent) {
        style |= WS_EX_CONTROLPARENT;
    }
    if (dialog.noActivate) {
        style |= WS_EX_NOACTIVATE;
    }
    return style;
}

std::vector<WORD> buildDialogTemplate(const DialogTemplate& dialog) {
    TemplateWriter out;
    out.word(1);        // version
    out.word(0xFFFF);   // the extended template's signature
    out.doubleWord(0);  // help id
    out.doubleWord(dialogExtendedStyle(dialog));
    out.doubleWord(dialogStyle(dialog));
    out.word(static_cast<WORD>(dialog.controls.size()));
    out.coordinate(0);  // placed by the centring style
    out.coordinate(0);
    out.coordinate(dialog.width);
    out.coordinate(dialog.height);
    out.word(0);  // no menu
    out.word(0);  // the standard dialog class
    out.text(shownCaption(dialog));
    out.word(static_cast<WORD>(dialog.fontPointSize));
    out.word(static_cast<WORD>(dialog.fontWeight));
    out.word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // not italic; the default character set
    out.text(dialog.fontName);
    for (const ControlTemplate& control : dialog.controls) {
        writeControl(out, control);
    }
    return out.words;
}

void runWin32Dialog(HINSTANCE instance, HWND owner, DialogId dialogNumber,
                    DialogProcedure& procedure) {
    if (const DialogTemplate* layout = findDialogTemplate(dialogNumber)) {
        runWin32Dialog(instance, owner, *layout, procedure);
    }
}

void runWin32Dialog(HINSTANCE instance, HWND owner, const DialogTemplate& layout,
                    DialogProcedure& procedure) {
    const std::vector<WORD> words = buildDialogTemplate(layout);
    DialogSession session{procedure, layout};
    DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
                            &dialogProc, reinterpret_cast<LPARAM>(&session));
}

MessageBoxAnswer showWin32MessageBox(HWND owner, const std::u16string& text,
                                     const std::u16string& caption, MessageBoxButtons buttons) {
    const std::wstring wideText = toWide(text);
    const std::wstring wideCaption = toWide(caption);
    const UINT type = buttons == MessageBoxButtons::YesNo ? MB_YESNO : MB_OK;
    const int answer =
        MessageBoxW(owner, wideText.c_str(), caption.empty() ? nullptr : wideCaption.c_str(), type);
    if (buttons == MessageBoxButtons::Ok) {
        return MessageBoxAnswer::Ok;
    }
    return answer == IDYES ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}
