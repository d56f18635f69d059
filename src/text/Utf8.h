// UTF-16 to UTF-8, written once for the words lookup, the pupil's names and the
// settings reader. Header-only, so the platform layer and the words can both use it
// without linking one to the other.
#pragma once

#include <string>
#include <string_view>

namespace text {

inline bool isSurrogate(char32_t code) {
    return code >= 0xD800 && code < 0xE000;
}

// The character at text[at], stepping `at` past it: a high surrogate followed by a low
// one gives the character the pair makes; a lone surrogate comes back as itself
// (isSurrogate) for the caller to replace as it sees fit.
inline char32_t nextCharacter(std::u16string_view text, std::size_t& at) {
    const char32_t code = text[at++];
    if (code >= 0xD800 && code < 0xDC00 && at < text.size() && text[at] >= 0xDC00 &&
        text[at] < 0xE000) {
        return 0x10000 + ((code - 0xD800) << 10) + (text[at++] - 0xDC00);
    }
    return code;
}

inline void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 as UTF-8; a lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
inline std::string utf8From(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = nextCharacter(text, at);
        appendUtf8(out, isSurrogate(code) ? U'\uFFFD' : code);
    }
    return out;
}

}  // namespace text
