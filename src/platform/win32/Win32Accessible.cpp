// The client area's IAccessible: the program's words for the object itself, and the
// system's standard object for the client area for everything else (its place, state,
// parent and navigation), so readers find it where they expect a window's client.
#include "platform/win32/Win32Accessible.h"

#include <oleacc.h>

#include <utility>

#include "platform/win32/Win32Text.h"

#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019
#endif

namespace {

// The interface ids are taken from the headers' own declarations: the import library's
// IID_IAccessible is a symbol of the DLL, which a static link does not resolve to data.

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT giveText(const std::u16string& text, BSTR* result) {
    if (result == nullptr) {
        return E_INVALIDARG;
    }
    if (text.empty()) {
        *result = nullptr;
        return S_FALSE;
    }
    const std::wstring wide = toWide(text);
    *result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

class ClientAccessible final : public IAccessible {
public:
    ClientAccessible(IAccessible* standard, std::shared_ptr<const Win32WindowWords> words)
        : standard(standard), words(std::move(words)) {}
    ClientAccessible(const ClientAccessible&) = delete;
    ClientAccessible& operator=(const ClientAccessible&) = delete;

    // IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) ||
            IsEqualIID(id, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch, as the standard object offers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return standard->Invoke(member, id, locale, flags, parameters, result, exception,
                                argumentError);
    }

    // The program's words.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || words->text.name.empty()) {
            return standard->get_accName(child, name);
        }
        return giveText(words->text.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return isSelf(child) ? giveText(words->text.value, value)
                             : standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return isSelf(child) ? giveText(words->text.description(), description)
                             : standard->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return isSelf(child) ? giveText(words->announcement, help)
                             : standard->get_accHelp(child, help);
    }

    // Everything else, as the standard client object answers it.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
        return standard->get_accChild(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard->accDoDefaultAction(child);
    }
    // The words are the program's to write, not a reader's.
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~ClientAccessible() { standard->Release(); }

    IAccessible* standard;
    std::shared_ptr<const Win32WindowWords> words;
    long references = 1;
};

void notify(HWND window, DWORD event) {
    NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace

LRESULT answerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                        const std::shared_ptr<const Win32WindowWords>& words) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) {
        return 0;
    }
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return 0;
    }
    auto* client = new ClientAccessible(standard, words);
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, client);
    client->Release();  // LresultFromObject holds its own reference while it is asked for
    return answer;
}

// The description is the lines and the value: it changed when either did. The lines
// are read only when they are another copy, which they are only after a step.
void publishWindowWords(HWND window, Win32WindowWords& words, const AccessibleText& text) {
    const bool nameChanged = words.text.name != text.name;
    const bool valueChanged = words.text.value != text.value;
    const bool linesChanged =
        words.text.lines != text.lines && words.text.linesText() != text.linesText();
    words.text = text;
    if (window == nullptr) {
        return;
    }
    if (nameChanged) {
        notify(window, EVENT_OBJECT_NAMECHANGE);
    }
    if (valueChanged) {
        notify(window, EVENT_OBJECT_VALUECHANGE);
    }
    if (valueChanged || linesChanged) {
        notify(window, EVENT_OBJECT_DESCRIPTIONCHANGE);
    }
}

void announceInWindow(HWND window, Win32WindowWords& words, const std::u16string& notice) {
    words.announcement = notice;
    if (window != nullptr) {
        notify(window, EVENT_OBJECT_HELPCHANGE);
        notify(window, EVENT_OBJECT_LIVEREGIONCHANGED);
    }
}
