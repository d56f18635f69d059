// The teacher's file, teacher.txt: written like the settings file, it gives a pupil's
// starting values, locks the settings a pupil may not change (LOCK:<KEY> lines) and can
// turn Create Question off (CREATEQUESTION:OFF). Pupils cannot write where it is kept;
// the platform's settings store finds it. Unlike the settings file it is read line by
// line and every line it does not understand is a mistake the teacher is told of.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lesson/SettingsFile.h"

// One line the reader did not understand, by its number from 1.
struct TeacherFileMistake {
    enum class Kind {
        NoColon,       // a line that is not KEY:VALUE
        UnknownKey,    // a key no setting has
        UnknownValue,  // a value the key does not take
        UnknownLock,   // LOCK: naming no setting
    };
    int line = 0;
    Kind kind = Kind::NoColon;
    std::string key;
    std::string value;
};

struct TeacherSettings {
    bool found = false;                         // a teacher's file was read
    StoredSettings values;                      // what it sets, over the defaults
    std::array<bool, settingKeyCount> sets{};   // the file gives this setting a value
    std::array<bool, settingKeyCount> locks{};  // a pupil cannot change this setting
    bool createQuestion = true;                 // CREATEQUESTION:OFF turns it off
    std::vector<TeacherFileMistake> mistakes;

    bool setsValue(SettingKey key) const { return sets[static_cast<std::size_t>(key)]; }
    bool isLocked(SettingKey key) const { return locks[static_cast<std::size_t>(key)]; }
    bool locksAny() const;
};

// Reads a teacher's file. Blank lines and lines starting with "//" or "#" are notes for
// people; every other line is KEY:VALUE with white space allowed around the value and
// anything after it ignored, as in the settings file. Keys and values are case-sensitive.
// A later line for the same key wins. A LOCK of a setting the file does not set keeps
// whatever value the pupil has.
TeacherSettings readTeacherFile(std::string_view text);

// `pupil` with the teacher's values put in: every value the file sets (the starting
// values, before the pupil's own file is read) or only the locked ones (after it).
StoredSettings withTeacherValues(const TeacherSettings& teacher, StoredSettings pupil,
                                 bool lockedOnly);

// `chosen` with every locked setting put back to its value in `current`: what a pupil
// changed of a locked setting does not stand, however it was changed.
StoredSettings withLockedKept(const TeacherSettings& teacher, StoredSettings chosen,
                              const StoredSettings& current);

// One line per mistake for standard error; none when the file was read cleanly.
std::vector<std::string> teacherFileProblemLines(const TeacherSettings& teacher);
// The start-up message listing the mistakes, in the pupil's language; empty when none.
std::u16string teacherFileMessageFor(const TeacherSettings& teacher);
