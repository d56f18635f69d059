// The settings text: reading it into the lesson panel and its board, forming its four
// lines, and passing it to and from the platform's settings store.
#include "lesson/SettingsFile.h"

#include <array>
#include <limits>
#include <optional>
#include <sstream>
#include <string_view>

#include "lesson/LessonPanel.h"
#include "platform/SettingsStore.h"
#include "words/Words.h"

namespace {

// The file word of each difficulty index.
constexpr std::array<std::string_view, 5> difficultyWords = {"BEGINNER", "NOVICE", "INTERMEDIATE",
                                                             "ADVANCED", "EXPERT"};

// White space as the "C" locale sees it, whatever locale the process runs in. CR is
// among it, so a file with CR LF line ends reads as one with LF.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

using Traits = std::istream::traits_type;

// Keeps c unless word is full: the rest of an overlong word is dropped.
void keep(std::string& word, char c) {
    if (word.size() < longestSettingsWord) {
        word.push_back(c);
    }
}

// The key is everything up to the next colon, which is consumed. False when the input
// ends before a colon: what was read then is not an entry.
bool readKey(std::istream& in, std::string& key) {
    key.clear();
    for (Traits::int_type c = in.get(); !Traits::eq_int_type(c, Traits::eof()); c = in.get()) {
        if (Traits::to_char_type(c) == ':') {
            return true;
        }
        keep(key, Traits::to_char_type(c));
    }
    return false;
}

// Skips white space, then takes characters up to the next white space, which is left
// in the stream for the skip to the line end.
std::string readValue(std::istream& in) {
    std::string value;
    while (!Traits::eq_int_type(in.peek(), Traits::eof()) &&
           isWhiteSpace(Traits::to_char_type(in.peek()))) {
        in.get();
    }
    while (!Traits::eq_int_type(in.peek(), Traits::eof()) &&
           !isWhiteSpace(Traits::to_char_type(in.peek()))) {
        keep(value, Traits::to_char_type(in.get()));
    }
    return value;
}

// Any word other than the four higher levels, "BEGINNER" included, gives 0.
int difficultyOf(std::string_view word) {
    for (std::size_t index = 1; index < difficultyWords.size(); ++index) {
        if (word == difficultyWords[index]) {
            return static_cast<int>(index);
        }
    }
    return 0;
}

void applyEntry(std::string_view key, std::string_view value, UserSettings& settings) {
    if (key == "DISPLAY") {
        settings.displayLotsOf = value == "LOTSOF";
    } else if (key == "AUTOPRODUCT") {
        settings.autoProduct = value == "ON";
    } else if (key == "AUTOREMAINDER") {
        settings.autoRemainder = value == "ON";
    } else if (key == "DIFFICULTY") {
        settings.difficulty = difficultyOf(value);
    }
}

// An index outside 0 to 4 is written as the word the reader turns back into 0.
std::string_view difficultyWord(int difficulty) {
    if (difficulty < 0 || difficulty >= static_cast<int>(difficultyWords.size())) {
        return difficultyWords[0];
    }
    return difficultyWords[static_cast<std::size_t>(difficulty)];
}

// Which order the bytes of UTF-16 text come in, told by its mark or, without one, by
// where the zero bytes of the first character (an ASCII letter in any settings file)
// fall.
enum class Encoding { Utf8, Utf16LittleEnd, Utf16BigEnd };

Encoding encodingOf(std::string_view bytes) {
    if (bytes.size() < 2) {
        return Encoding::Utf8;
    }
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    if ((first == 0xFF && second == 0xFE) || (first != 0 && second == 0)) {
        return Encoding::Utf16LittleEnd;
    }
    if ((first == 0xFE && second == 0xFF) || (first == 0 && second != 0)) {
        return Encoding::Utf16BigEnd;
    }
    return Encoding::Utf8;
}

std::string fromUtf16(std::string_view bytes, bool littleEnd) {
    std::u16string units;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto low = static_cast<unsigned char>(bytes[littleEnd ? at : at + 1]);
        const auto high = static_cast<unsigned char>(bytes[littleEnd ? at + 1 : at]);
        units.push_back(static_cast<char16_t>(high << 8 | low));
    }
    if (!units.empty() && units.front() == u'\uFEFF') {
        units.erase(0, 1);
    }
    return words::toUtf8(units);
}

}  // namespace

std::string settingsTextFrom(const std::string& bytes) {
    switch (encodingOf(bytes)) {
        case Encoding::Utf16LittleEnd:
            return fromUtf16(bytes, true);
        case Encoding::Utf16BigEnd:
            return fromUtf16(bytes, false);
        case Encoding::Utf8:
            break;
    }
    constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
    return bytes.starts_with(utf8Mark) ? bytes.substr(utf8Mark.size()) : bytes;
}

UserSettings readSettings(std::istream& in, UserSettings start) {
    UserSettings settings = start;
    std::string key;
    while (readKey(in, key)) {
        const std::string value = readValue(in);
        applyEntry(key, value, settings);
        if (key.empty()) {
            break;  // a line that begins with a colon ends the reading
        }
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return settings;
}

std::string formatSettings(const UserSettings& settings) {
    std::string text;
    text += "DISPLAY:";
    text += settings.displayLotsOf ? "LOTSOF" : "TIMES";
    text += " // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in working out\n";
    text += "AUTOPRODUCT:";
    text += settings.autoProduct ? "ON" : "OFF";
    text += " // ON or OFF; if on, calculates products for each multiple automatically\n";
    text += "AUTOREMAINDER:";
    text += settings.autoRemainder ? "ON" : "OFF";
    text += " // ON or OFF; if on, calculates the remainder each time automatically\n";
    text += "DIFFICULTY:";
    text += difficultyWord(settings.difficulty);
    text += " // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT";
    return text;
}

UserSettings settingsOf(const LessonPanel& panel) {
    UserSettings settings;
    settings.displayLotsOf = panel.board.displayLotsOf;
    settings.autoProduct = panel.board.autoProduct;
    settings.autoRemainder = panel.board.autoRemainder;
    settings.difficulty = panel.difficulty;
    return settings;
}

void applySettings(LessonPanel& panel, const UserSettings& settings) {
    panel.board.displayLotsOf = settings.displayLotsOf;
    panel.board.autoProduct = settings.autoProduct;
    panel.board.autoRemainder = settings.autoRemainder;
    panel.difficulty = settings.difficulty;
}

bool keepSettings(const UserSettings& settings) {
    SettingsStore* store = settingsStore();
    return store != nullptr && store->write(formatSettings(settings));
}

void LessonPanel::loadSettings() {
    SettingsStore* store = settingsStore();
    const std::optional<std::string> text = store ? store->read() : std::nullopt;
    if (!text) {
        return;
    }
    std::istringstream in(settingsTextFrom(*text));
    applySettings(*this, readSettings(in, settingsOf(*this)));
}
