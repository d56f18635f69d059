// The main window as a Windows screen reader reads it: the client object found with
// AccessibleObjectFromWindow carries the published name, value and description and the
// latest notice, and each change sends its WinEvent.
#include <gtest/gtest.h>

#include "platform/win32/Win32Windows.h"

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Host.h"

namespace {

class NoHandler : public MessageHandler {
public:
    void handleMessage(const Message&) override {}
};

std::vector<DWORD> heardEvents;

void CALLBACK hearEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) {
        heardEvents.push_back(event);
    }
}

class Win32AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        WindowDescription description{u"Bricketing - Quillmoor", 100, 100, 800, 600};
        host.createMainWindow(description, handler);
        pump();
    }
    void TearDown() override {
        host.destroyMainWindow();
        CoUninitialize();
    }

    static void pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // One text of the client object, as a reader asks for it.
    std::wstring read(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) {
        IAccessible* object = nullptr;
        const HRESULT found =
            AccessibleObjectFromWindow(host.mainWindow(), static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object));
        if (FAILED(found) || object == nullptr) {
            return L"<no accessible object: " + std::to_wstring(static_cast<unsigned long>(found)) +
                   L">";
        }
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        (object->*property)(self, &text);
        std::wstring result = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
        SysFreeString(text);
        object->Release();
        return result;
    }

    NoHandler handler;
    Win32Host host{GetModuleHandleW(nullptr), SW_SHOWNORMAL};
};

TEST_F(Win32AccessibleTest, AReaderFindsThePublishedWordsAndHearsEachChange) {
    AccessibleText text{u"100 \u00F7 7", u"How many lots of 7 to take from 100? Typed: 15.",
                        std::make_shared<const std::u16string>(u"100 \u00F7 7\nStart with 100.\n")};
    host.publishAccessibleText(text);
    EXPECT_EQ(read(&IAccessible::get_accName), L"100 \u00F7 7");
    EXPECT_EQ(read(&IAccessible::get_accValue), L"How many lots of 7 to take from 100? Typed: 15.");
    EXPECT_EQ(read(&IAccessible::get_accDescription),
              L"100 \u00F7 7\nStart with 100.\nHow many lots of 7 to take from 100? Typed: 15.");

    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, hearEvent,
                                               GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    heardEvents.clear();
    text.value = u"Wrong: 15 lots of 7 is more than 100. Press any key to try again.";
    host.publishAccessibleText(text);
    host.announce(text.value);
    pump();
    UnhookWinEvent(hook);
    EXPECT_EQ(read(&IAccessible::get_accValue), std::wstring(text.value.begin(), text.value.end()));
    EXPECT_EQ(read(&IAccessible::get_accHelp), std::wstring(text.value.begin(), text.value.end()));
    EXPECT_EQ(read(&IAccessible::get_accName), L"100 \u00F7 7");
    // The description ends with the value, so it changed too.
    const std::vector<DWORD> expected = {EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE,
                                         EVENT_OBJECT_HELPCHANGE, 0x8019};
    EXPECT_EQ(heardEvents, expected);
}

}  // namespace
