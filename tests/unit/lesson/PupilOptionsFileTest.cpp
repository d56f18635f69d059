// The settings beyond the four in the settings text: what the reader takes from each
// line, the lines written after the four only when an option differs from where the
// pupil started, and a random round trip that an older copy's reader also survives.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "lesson/SettingsFile.h"

namespace {

StoredSettings readStored(const std::string& text, const StoredSettings& start = {}) {
    std::istringstream in(text);
    return readStoredSettings(in, start);
}

struct OptionCase {
    const char* text;
    PupilOptions expected;
};

PupilOptions options(bool hints, KeyFactsMode keyFacts, bool sound, const char* language,
                     bool highContrast, bool contrastChosen) {
    return {hints, keyFacts, sound, language, highContrast, contrastChosen};
}

TEST(PupilOptionsReader, EachLineSetsItsOptionAndOddWordsLeaveItAlone) {
    using K = KeyFactsMode;
    const PupilOptions defaults;
    const OptionCase cases[] = {
        {"HINTS:OFF", options(false, K::Off, false, "", false, false)},
        {"HINTS:ON", defaults},
        {"HINTS:off", defaults},  // values are case-sensitive, as the four's are
        {"KEYFACTS:SHOWN // the box", options(true, K::Shown, false, "", false, false)},
        {"KEYFACTS:FILLIN", options(true, K::FillIn, false, "", false, false)},
        {"KEYFACTS:SOMETIMES", defaults},
        {"SOUND:ON", options(true, K::Off, true, "", false, false)},
        {"SOUND:LOUD", defaults},
        {"LANGUAGE:nl", options(true, K::Off, false, "nl", false, false)},
        {"LANGUAGE:sr@latin", options(true, K::Off, false, "sr@latin", false, false)},
        {"LANGUAGE:../../etc", defaults},  // no code holds a slash or a dot
        {"CONTRAST:HIGH", options(true, K::Off, false, "", true, true)},
        {"CONTRAST:NORMAL", options(true, K::Off, false, "", false, true)},
        {"CONTRAST:MAX", defaults},
        {"SOUND:ON\nSOUND:OFF", defaults},  // the later entry wins
        {"DIFFICULTY:EXPERT\nHINTS:OFF\nKEYFACTS:SHOWN\nSOUND:ON\nLANGUAGE:de\nCONTRAST:HIGH",
         options(false, K::Shown, true, "de", true, true)},
    };
    for (const OptionCase& c : cases) {
        EXPECT_EQ(readStored(c.text).options, c.expected) << c.text;
    }
}

const std::string plainFour =
    "DISPLAY:LOTSOF // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in working "
    "out\n"
    "AUTOPRODUCT:OFF // ON or OFF; if on, calculates products for each multiple automatically\n"
    "AUTOREMAINDER:OFF // ON or OFF; if on, calculates the remainder each time automatically\n"
    "DIFFICULTY:BEGINNER // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT";

TEST(PupilOptionsWriter, OptionsAtTheirStartingValuesAddNothing) {
    EXPECT_EQ(formatStoredSettings({}), plainFour);
    // The teacher started the pupil with sound on and Dutch: keeping them adds nothing.
    PupilOptions teachers;
    teachers.sound = true;
    teachers.language = "nl";
    StoredSettings kept;
    kept.options = teachers;
    EXPECT_EQ(formatStoredSettings(kept, teachers), plainFour);
    // Turning sound off again is written, since it differs from where the pupil started.
    kept.options.sound = false;
    EXPECT_EQ(formatStoredSettings(kept, teachers),
              plainFour + "\nSOUND:OFF // ON or OFF; short sounds for right and wrong entries");
}

TEST(PupilOptionsWriter, ChangedOptionsFollowTheFourWithoutAClosingLineEnd) {
    StoredSettings settings;
    settings.options = options(false, KeyFactsMode::FillIn, true, "en_US", false, true);
    const std::string text = formatStoredSettings(settings);
    EXPECT_EQ(text.substr(0, plainFour.size()), plainFour);
    EXPECT_EQ(text.substr(plainFour.size()),
              "\nHINTS:OFF // ON or OFF; if on, a wrong entry gets a hint"
              "\nKEYFACTS:FILLIN // OFF, SHOWN or FILLIN; the box of easy facts for the divisor"
              "\nSOUND:ON // ON or OFF; short sounds for right and wrong entries"
              "\nLANGUAGE:en_US // the language's code, as nl or en_US; without it, the system's"
              "\nCONTRAST:NORMAL // HIGH or NORMAL; without it, as the system is set");
}

StoredSettings randomSettings(std::mt19937& random) {
    auto coin = [&random] { return std::bernoulli_distribution(0.5)(random); };
    const char* const languages[] = {"", "nl", "de", "en_US", "pl"};
    StoredSettings s;
    s.four = {coin(), coin(), coin(), std::uniform_int_distribution<int>(0, 4)(random)};
    s.options.hints = coin();
    s.options.keyFacts =
        static_cast<KeyFactsMode>(std::uniform_int_distribution<int>(0, 2)(random));
    s.options.sound = coin();
    s.options.language = languages[std::uniform_int_distribution<int>(0, 4)(random)];
    s.options.contrastChosen = coin();
    s.options.highContrast = s.options.contrastChosen && coin();
    return s;
}

// Whatever the pupil chose and wherever they started, reading the written text from the
// same start gives the choices back; the four read alone, as an older copy reads them,
// are the four written.
TEST(PupilOptionsWriter, RandomSettingsReadBackFromTheirStart) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 500; ++round) {
        const StoredSettings chosen = randomSettings(random);
        StoredSettings start = randomSettings(random);
        start.options.contrastChosen = false;  // a start never holds a chosen contrast
        start.options.highContrast = false;
        if (chosen.options.language.empty()) {
            start.options.language.clear();  // "the system's" is the absence of a line
        }
        const std::string text = formatStoredSettings(chosen, start.options);
        const StoredSettings read = readStored(text, {UserSettings{}, start.options});
        ASSERT_EQ(read.options, chosen.options) << text;
        std::istringstream old(text);
        const UserSettings four = readSettings(old, {});
        ASSERT_EQ(formatSettings(four), formatSettings(chosen.four)) << text;
        ASSERT_EQ(text.back() == '\n', false);
    }
}

}  // namespace
