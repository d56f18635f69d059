// The pupil's four settings and the small text file Data/settings.txt that keeps them
// between runs: its reader, its exact written form and its safe rewriting.
#pragma once

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

// The program's own settings file, relative to its run-time folder.
inline constexpr const char* settingsFilePath = "Data/settings.txt";

// Reader rules applied to a stream, starting from the given values (entries it finds
// override them). Each entry is a key up to the next colon (case-sensitive, it may span
// lines), then a value word after any white space; the rest of its line is ignored.
// Later entries win, unknown keys are ignored and an unknown value gives false or 0.
// Reading stops at an empty key or when the input runs out before a colon.
UserSettings readSettings(std::istream& in, UserSettings start);

// The exact four commented lines, line 4 without a line end, LF line ends.
std::string formatSettings(const UserSettings& settings);

// The four values where they live.
UserSettings settingsOf(const LessonPanel& panel);

// Stores them: the flags into panel.board, the difficulty into panel.
void applySettings(LessonPanel& panel, const UserSettings& settings);

// Writes the settings where the next start-up will read them: the pupil's own file or
// Data/settings.txt (see SettingsLocation.h). False when they could not be written.
bool writeSettingsFile(const UserSettings& settings);

// Writes the four lines as the whole of the file at path (see rewriteFile): false, with
// the old file as it was, when it cannot be written.
bool writeSettingsFile(const UserSettings& settings, const std::string& path);
