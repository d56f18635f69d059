// The pupil's settings and the text that keeps them between runs: its reader and its
// exact written form. The values are plain data; the lesson panel applies them where
// they are used. Where the text is kept is the platform's settings store
// (platform/SettingsStore.h).
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "lesson/PupilOptions.h"

// The four settings in one place. In the running program they live where they are
// used: the three flags in the working-out board, the difficulty in the lesson panel.
struct UserSettings {
    bool displayLotsOf = true;  // true: "lots of"; false: the times sign
    bool autoProduct = false;
    bool autoRemainder = false;
    int difficulty = 0;  // 0 Beginner to 4 Expert
};

// The most one key or one value word keeps; the rest of a longer one is read past and
// dropped, so no entry grows without bound and a longer word matches no known one.
inline constexpr std::size_t longestSettingsWord = 256;

// Reader rules applied to a stream, starting from the given values (entries it finds
// override them). Each entry is a key up to the next colon (case-sensitive, it may span
// lines), then a value word after any white space; the rest of its line is ignored.
// Later entries win, unknown keys are ignored and an unknown value gives false or 0.
// Reading stops at an empty key or when the input runs out before a colon. Keys and
// values are cut at longestSettingsWord.
UserSettings readSettings(std::istream& in, UserSettings start);

// The settings text as the reader takes it, from the bytes kept: a UTF-8 byte-order
// mark is dropped, and UTF-16 (either byte order, with its mark or without, as editors
// on Windows write it) is turned into UTF-8. Other bytes stay as they are.
std::string settingsTextFrom(const std::string& bytes);

// Everything the settings text holds: the four and the settings beyond them.
struct StoredSettings {
    UserSettings four;
    PupilOptions options;
};

// The settings the files name, the teacher's file included, in the order of their keys.
enum class SettingKey {
    Display,
    AutoProduct,
    AutoRemainder,
    Difficulty,
    Hints,
    KeyFacts,
    Sound,
    Language,
    Contrast
};
inline constexpr std::size_t settingKeyCount = 9;

// "DISPLAY", "AUTOPRODUCT", ... as the files write them, and back.
std::string_view settingKeyWord(SettingKey key);
std::optional<SettingKey> settingKeyOf(std::string_view word);

// Puts the value a file word gives one setting into `values`: LOTSOF or TIMES for
// DISPLAY; ON or OFF for AUTOPRODUCT, AUTOREMAINDER, HINTS and SOUND; a level's name for
// DIFFICULTY; OFF, SHOWN or FILLIN for KEYFACTS; a catalogue's code for LANGUAGE; HIGH or
// NORMAL for CONTRAST (which marks the contrast as chosen). False, with nothing changed,
// when the word is not one the setting takes.
bool setSettingValue(SettingKey key, std::string_view word, StoredSettings& values);

// The same reader rules for the whole text. Besides the four it knows HINTS (ON or OFF),
// KEYFACTS (OFF, SHOWN or FILLIN), SOUND (ON or OFF), LANGUAGE (a catalogue's code, kept
// as written) and CONTRAST (HIGH or NORMAL, which marks the contrast as chosen). An
// unknown value of these leaves the option as it was, since older copies never write
// them and a newer copy's word should not turn a pupil's choice off.
StoredSettings readStoredSettings(std::istream& in, StoredSettings start);

// The exact four commented lines, line 4 without a line end, LF line ends.
std::string formatSettings(const UserSettings& settings);

// The four lines, then one commented line for each option that differs from its
// starting value (the defaults, or what the teacher's file starts a pupil with), so a
// pupil who changed nothing keeps the four lines alone, byte for byte. The last line
// never has a line end. The contrast is written only once it was chosen.
std::string formatStoredSettings(const StoredSettings& settings, const PupilOptions& starting = {});

// A catalogue's code as LANGUAGE takes it: letters, digits, "_", "-" and "@", as "nl",
// "en_US" or "sr@latin"; anything else is not kept.
bool isLanguageCode(std::string_view value);

// The file words of the settings, shared with the teacher's file.
std::string_view difficultyWord(int difficulty);
std::string_view keyFactsWord(KeyFactsMode mode);

// Keeps the four lines in the installed settings store, where the next start-up reads
// them. False when they could not be kept (or no store is installed); what was kept
// before then stays.
bool keepSettings(const UserSettings& settings);
// The same for the whole text as formatStoredSettings forms it.
bool keepStoredSettings(const StoredSettings& settings, const PupilOptions& starting = {});
