// The resolution lookup, through the newest call the running system offers.
#include "platform/win32/Win32Dpi.h"

#include <algorithm>
#include <cmath>

namespace {
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

GetDpiForWindowCall getDpiForWindowCall() {
    static const GetDpiForWindowCall call = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        FARPROC address = user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(address));
    }();
    return call;
}
}  // namespace

UINT windowDpi(HWND window) {
    if (window != nullptr) {
        if (GetDpiForWindowCall call = getDpiForWindowCall()) {
            const UINT dpi = call(window);
            if (dpi != 0) {
                return dpi;
            }
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : standardDpi;
}

float dpiScale(UINT dpi) {
    return dpi == 0 ? 1.0f : static_cast<float>(dpi) / static_cast<float>(standardDpi);
}

float scaleWithin(float wanted, int outerWidth, int outerHeight, int workWidth, int workHeight) {
    if (outerWidth <= 0 || outerHeight <= 0 || workWidth <= 0 || workHeight <= 0) {
        return wanted;
    }
    const float fits = std::min(static_cast<float>(workWidth) / static_cast<float>(outerWidth),
                                static_cast<float>(workHeight) / static_cast<float>(outerHeight));
    // In steps of 1/16 (downwards), so that rounding never makes the window a pixel too big.
    return std::min(wanted, std::floor(fits * 16.0f) / 16.0f);
}
