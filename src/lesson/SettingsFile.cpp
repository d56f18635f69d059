// The settings text: reading it into plain values, forming its lines, and passing it
// to and from the platform's settings store.
#include "lesson/SettingsFile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

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

constexpr std::array<std::string_view, 3> keyFactsWords = {"OFF", "SHOWN", "FILLIN"};

constexpr std::array<std::string_view, settingKeyCount> keyWords = {
    "DISPLAY",  "AUTOPRODUCT", "AUTOREMAINDER", "DIFFICULTY", "HINTS",
    "KEYFACTS", "SOUND",       "LANGUAGE",      "CONTRAST"};

// What the settings file reads an unknown word of the four as: false or 0. The settings
// beyond them keep their value, since older copies never write them and a newer copy's
// word should not turn a pupil's choice off.
constexpr std::array<std::string_view, 4> unknownWordOfTheFour = {"TIMES", "OFF", "OFF",
                                                                  "BEGINNER"};

template <std::size_t count>
std::optional<std::size_t> indexOf(const std::array<std::string_view, count>& words,
                                   std::string_view word) {
    const auto found = std::find(words.begin(), words.end(), word);
    if (found == words.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - words.begin());
}

// Sets `flag` from the word for true or the word for false; false for any other word.
bool setFlag(std::string_view word, std::string_view on, std::string_view off, bool& flag) {
    if (word != on && word != off) {
        return false;
    }
    flag = word == on;
    return true;
}

void applyEntry(std::string_view key, std::string_view value, StoredSettings& stored) {
    const auto setting = settingKeyOf(key);
    if (setting && !setSettingValue(*setting, value, stored) &&
        static_cast<std::size_t>(*setting) < unknownWordOfTheFour.size()) {
        setSettingValue(*setting, unknownWordOfTheFour[static_cast<std::size_t>(*setting)], stored);
    }
}

// One option's line: the key, its word and a comment, after a line end that closes the
// line before it.
void addOptionLine(std::string& text, std::string_view key, std::string_view value,
                   std::string_view comment) {
    text += '\n';
    text += key;
    text += ':';
    text += value;
    text += " // ";
    text += comment;
}

}  // namespace

// An index outside 0 to 4 is written as the word the reader turns back into 0.
std::string_view difficultyWord(int difficulty) {
    if (difficulty < 0 || difficulty >= static_cast<int>(difficultyWords.size())) {
        return difficultyWords[0];
    }
    return difficultyWords[static_cast<std::size_t>(difficulty)];
}

namespace {

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

bool isLanguageCode(std::string_view value) {
    return !value.empty() && value.size() <= 32 &&
           std::all_of(value.begin(), value.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '@';
           });
}

std::string_view keyFactsWord(KeyFactsMode mode) {
    return keyFactsWords.at(static_cast<std::size_t>(mode));
}

std::string_view settingKeyWord(SettingKey key) {
    return keyWords.at(static_cast<std::size_t>(key));
}

std::optional<SettingKey> settingKeyOf(std::string_view word) {
    const auto index = indexOf(keyWords, word);
    return index ? std::optional(static_cast<SettingKey>(*index)) : std::nullopt;
}

bool setSettingValue(SettingKey key, std::string_view word, StoredSettings& values) {
    UserSettings& four = values.four;
    PupilOptions& options = values.options;
    switch (key) {
        case SettingKey::Display:
            return setFlag(word, "LOTSOF", "TIMES", four.displayLotsOf);
        case SettingKey::AutoProduct:
            return setFlag(word, "ON", "OFF", four.autoProduct);
        case SettingKey::AutoRemainder:
            return setFlag(word, "ON", "OFF", four.autoRemainder);
        case SettingKey::Hints:
            return setFlag(word, "ON", "OFF", options.hints);
        case SettingKey::Sound:
            return setFlag(word, "ON", "OFF", options.sound);
        case SettingKey::Contrast:
            if (!setFlag(word, "HIGH", "NORMAL", options.highContrast)) {
                return false;
            }
            options.contrastChosen = true;
            return true;
        case SettingKey::Difficulty:
            if (const auto index = indexOf(difficultyWords, word)) {
                four.difficulty = static_cast<int>(*index);
                return true;
            }
            return false;
        case SettingKey::KeyFacts:
            if (const auto index = indexOf(keyFactsWords, word)) {
                options.keyFacts = static_cast<KeyFactsMode>(*index);
                return true;
            }
            return false;
        case SettingKey::Language:
            if (!isLanguageCode(word)) {
                return false;
            }
            options.language = std::string(word);
            return true;
    }
    return false;
}

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
    return readStoredSettings(in, {start, PupilOptions{}}).four;
}

StoredSettings readStoredSettings(std::istream& in, StoredSettings start) {
    StoredSettings settings = start;
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

std::string formatStoredSettings(const StoredSettings& settings, const PupilOptions& starting) {
    std::string text = formatSettings(settings.four);
    const PupilOptions& options = settings.options;
    if (options.hints != starting.hints) {
        addOptionLine(text, "HINTS", options.hints ? "ON" : "OFF",
                      "ON or OFF; if on, a wrong entry gets a hint");
    }
    if (options.keyFacts != starting.keyFacts) {
        addOptionLine(text, "KEYFACTS", keyFactsWord(options.keyFacts),
                      "OFF, SHOWN or FILLIN; the box of easy facts for the divisor");
    }
    if (options.sound != starting.sound) {
        addOptionLine(text, "SOUND", options.sound ? "ON" : "OFF",
                      "ON or OFF; short sounds for right and wrong entries");
    }
    if (options.language != starting.language && !options.language.empty()) {
        addOptionLine(text, "LANGUAGE", options.language,
                      "the language's code, as nl or en_US; without it, the system's");
    }
    if (options.contrastChosen) {
        addOptionLine(text, "CONTRAST", options.highContrast ? "HIGH" : "NORMAL",
                      "HIGH or NORMAL; without it, as the system is set");
    }
    return text;
}

bool keepSettings(const UserSettings& settings) {
    SettingsStore* store = settingsStore();
    return store != nullptr && store->write(formatSettings(settings));
}

bool keepStoredSettings(const StoredSettings& settings, const PupilOptions& starting) {
    SettingsStore* store = settingsStore();
    return store != nullptr && store->write(formatStoredSettings(settings, starting));
}
