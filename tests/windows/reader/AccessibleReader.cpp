// A small screen-reader stand-in for the Windows end-to-end runs: finds the program's
// window (class "CApp") from another process, asks it for its client object as a
// reader does (AccessibleObjectFromWindow) and prints the object's name, value and
// description, one "field=text" line each in UTF-8, newlines in the text as "\n".
// Given a window's title instead (a dialog's, say), it prints the name of each control
// in that window as a reader names it, one "control=name" line each.
// Exit status 0 when the object was found, 1 when there was no window, 2 when it gave
// no object.
#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::string escaped(const std::string& text) {
    std::string result;
    for (char c : text) {
        result += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return result;
}

void print(const char* field, IAccessible& object,
           HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const HRESULT result = (object.*property)(self, &text);
    const std::wstring wide = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    std::printf("%s=%s\n", field, FAILED(result) ? "<failed>" : escaped(utf8(wide)).c_str());
}

BOOL CALLBACK printControl(HWND control, LPARAM) {
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))) &&
        object != nullptr) {
        print("control", *object, &IAccessible::get_accName);
        object->Release();
    }
    return TRUE;
}

int printControls(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) {
        std::printf("no window of that title\n");
        return 1;
    }
    CoInitialize(nullptr);
    EnumChildWindows(window, printControl, 0);
    std::fflush(stdout);
    CoUninitialize();
    return 0;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments != nullptr && count > 1) {
        return printControls(arguments[1]);
    }
    HWND window = FindWindowW(L"CApp", nullptr);
    if (window == nullptr) {
        std::printf("no window of class CApp\n");
        return 1;
    }
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    const HRESULT found =
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
    if (FAILED(found) || object == nullptr) {
        std::printf("no accessible object (0x%08lx)\n", static_cast<unsigned long>(found));
        CoUninitialize();
        return 2;
    }
    print("name", *object, &IAccessible::get_accName);
    print("value", *object, &IAccessible::get_accValue);
    print("description", *object, &IAccessible::get_accDescription);
    std::fflush(stdout);
    object->Release();
    CoUninitialize();
    return 0;
}
