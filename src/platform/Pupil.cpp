// The current pupil and their file-safe name.
#include "platform/Pupil.h"

#include <algorithm>
#include <string_view>

namespace {

std::u16string chosenPupil;

constexpr std::size_t longestFileName = 64;

// Characters that Windows, POSIX or a URL would read as something other than a name.
bool unsafeInFileName(char16_t c) {
    return c < 0x20 || c == 0x7F ||
           std::u16string_view(u"/\\:*?\"<>|%").find(c) != std::u16string_view::npos;
}

void appendUtf8(std::string& out, char32_t code) {
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

std::u16string trimmed(const std::u16string& name) {
    const std::size_t first = name.find_first_not_of(u" .");
    if (first == std::u16string::npos) {
        return {};
    }
    return name.substr(first, name.find_last_not_of(u" .") - first + 1);
}

// Names that Windows keeps for devices, whatever follows a dot: a folder called "Con"
// could not be made there, and Con is a short name a class may well have.
bool windowsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") {
        return true;
    }
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

void setCurrentPupil(const std::u16string& name) {
    chosenPupil = name;
}

const std::u16string& currentPupil() {
    return chosenPupil;
}

std::string pupilNameUtf8(const std::u16string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t code = name[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
            name[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (name[++i] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
    }
    return out;
}

std::string pupilFileName(const std::u16string& name) {
    const std::u16string kept = trimmed(name);
    std::string out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        char32_t code = kept[i];
        const bool pair = code >= 0xD800 && code < 0xDC00 && i + 1 < kept.size() &&
                          kept[i + 1] >= 0xDC00 && kept[i + 1] < 0xE000;
        if (pair) {
            code = 0x10000 + ((code - 0xD800) << 10) + (kept[++i] - 0xDC00);
        } else if (unsafeInFileName(kept[i]) || (code >= 0xD800 && code < 0xE000)) {
            code = u'_';
        }
        std::string character;
        appendUtf8(character, code);
        if (out.size() + character.size() > longestFileName) {
            break;
        }
        out += character;
    }
    if (windowsDeviceName(out)) {
        // After the device name, before any dot; the last character gives way if the
        // name was already 64 bytes long.
        const std::size_t stemEnd = std::min(out.find('.'), out.size());
        out = out.substr(0, stemEnd) + '_' + out.substr(stemEnd);
        while (out.size() > longestFileName) {
            while ((static_cast<unsigned char>(out.back()) & 0xC0) == 0x80) {
                out.pop_back();
            }
            out.pop_back();
        }
    }
    return out.empty() ? "_" : out;
}
