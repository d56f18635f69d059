// The pupil's four settings and the text that keeps them between runs: its reader, its
// exact written form, and where the four values live. Where the text is kept is the
// platform's settings store (platform/SettingsStore.h).
#pragma once

#include <cstddef>
#include <istream>
#include <string>

class LessonPanel;

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

// The exact four commented lines, line 4 without a line end, LF line ends.
std::string formatSettings(const UserSettings& settings);

// The four values where they live.
UserSettings settingsOf(const LessonPanel& panel);

// Stores them: the flags into panel.board, the difficulty into panel.
void applySettings(LessonPanel& panel, const UserSettings& settings);

// Keeps the four lines in the installed settings store, where the next start-up reads
// them. False when they could not be kept (or no store is installed); what was kept
// before then stays.
bool keepSettings(const UserSettings& settings);
