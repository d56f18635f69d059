// The English fallbacks of the lookups; the catalogue reader replaces them once a
// language is chosen.
#include "words/Words.h"

namespace words {

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0x80 && lead < 0xC0) {
            out += u'\uFFFD';  // a stray continuation byte
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(length) > text.size()) {
            out += u'\uFFFD';
            break;
        }
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
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
    return out;
}

std::vector<std::string> availableLanguages() {
    return {"en"};
}

std::u16string languageName(std::string_view /*code*/) {
    return u"English";
}

bool useLanguage(std::string_view code) {
    return code.empty() || code == "en";
}

std::string currentLanguage() {
    return "en";
}

std::u16string tr(std::string_view english) {
    return fromUtf8(english);
}

std::u16string trc(std::string_view /*context*/, std::string_view english) {
    return fromUtf8(english);
}

std::u16string trn(std::string_view singular, std::string_view plural, long count) {
    return fromUtf8(count == 1 ? singular : plural);
}

std::u16string fill(std::u16string pattern, std::initializer_list<Placeholder> values) {
    std::u16string out;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t open = pattern.find(u'{', at);
        const std::size_t close =
            open == std::u16string::npos ? open : pattern.find(u'}', open + 1);
        if (close == std::u16string::npos) {
            out.append(pattern, at);
            break;
        }
        out.append(pattern, at, open - at);
        const std::string name =
            toUtf8(std::u16string_view(pattern).substr(open + 1, close - open - 1));
        const Placeholder* match = nullptr;
        for (const Placeholder& value : values) {
            if (value.first == name) {
                match = &value;
            }
        }
        if (match != nullptr) {
            out += match->second;
        } else {
            out.append(pattern, open, close - open + 1);
        }
        at = close + 1;
    }
    return out;
}

}  // namespace words
