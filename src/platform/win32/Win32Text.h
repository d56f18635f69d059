// Text and path conversions at the edge of the Win32 backend. The program's text is
// UTF-16 and so is Windows' wide text, so the conversion copies the code units as they
// are.
#pragma once

#include <string>

inline std::wstring toWide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

// A path relative to the working directory, as the program names it with '/', in the
// form the Windows calls take: 8-bit names widened, separators as '\'.
inline std::wstring toWindowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}
