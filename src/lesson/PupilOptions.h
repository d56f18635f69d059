// The pupil's settings beyond the four the Settings dialog has always had: hints, the
// key-facts box, sound, the language and high contrast. They are written to the
// settings file after the four lines, and only when they differ from these defaults, so
// a file with the four lines alone reads back as it was written.
#pragma once

#include <string>

enum class KeyFactsMode { Off, Shown, FillIn };  // KEYFACTS:OFF, SHOWN, FILLIN

struct PupilOptions {
    bool hints = true;  // HINTS:ON or OFF
    KeyFactsMode keyFacts = KeyFactsMode::Off;
    bool sound = false;         // SOUND:OFF or ON
    std::string language;       // LANGUAGE: a catalogue's code; empty: the system's
    bool highContrast = false;  // CONTRAST:HIGH, or NORMAL
    // Whether highContrast was chosen (a CONTRAST entry was read or the pupil changed it
    // in Settings); until then the colours follow the system's high-contrast setting.
    bool contrastChosen = false;
    bool operator==(const PupilOptions&) const = default;
};
