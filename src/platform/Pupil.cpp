// The current pupil and their file-safe name.
#include "platform/Pupil.h"

#include <algorithm>
#include <string_view>

#include "text/Utf8.h"

namespace {

std::u16string chosenPupil;

constexpr std::size_t longestFileName = 64;

// Characters that Windows, POSIX or a URL would read as something other than a name.
bool unsafeInFileName(char32_t c) {
    return c < 0x20 || c == 0x7F ||
           (c < 0x80 &&
            std::string_view("/\\:*?\"<>|%").find(static_cast<char>(c)) != std::string_view::npos);
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
    return text::utf8From(name);
}

std::string pupilFileName(const std::u16string& name) {
    const std::u16string kept = trimmed(name);
    std::string out;
    for (std::size_t at = 0; at < kept.size();) {
        char32_t code = text::nextCharacter(kept, at);
        if (text::isSurrogate(code) || unsafeInFileName(code)) {
            code = u'_';
        }
        std::string character;
        text::appendUtf8(character, code);
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
