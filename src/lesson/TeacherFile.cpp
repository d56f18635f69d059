// Reading the teacher's file and putting its values over the pupil's.
#include "lesson/TeacherFile.h"

#include <algorithm>
#include <optional>

#include "words/Words.h"

namespace {

// The longest line looked at; the rest of a longer one is part of its comment.
constexpr std::size_t longestLine = 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Copies one setting from `from` into `to`.
void copySetting(SettingKey key, const StoredSettings& from, StoredSettings& to) {
    switch (key) {
        case SettingKey::Display:
            to.four.displayLotsOf = from.four.displayLotsOf;
            break;
        case SettingKey::AutoProduct:
            to.four.autoProduct = from.four.autoProduct;
            break;
        case SettingKey::AutoRemainder:
            to.four.autoRemainder = from.four.autoRemainder;
            break;
        case SettingKey::Difficulty:
            to.four.difficulty = from.four.difficulty;
            break;
        case SettingKey::Hints:
            to.options.hints = from.options.hints;
            break;
        case SettingKey::KeyFacts:
            to.options.keyFacts = from.options.keyFacts;
            break;
        case SettingKey::Sound:
            to.options.sound = from.options.sound;
            break;
        case SettingKey::Language:
            to.options.language = from.options.language;
            break;
        case SettingKey::Contrast:
            to.options.highContrast = from.options.highContrast;
            to.options.contrastChosen = from.options.contrastChosen;
            break;
    }
}

void readLine(std::string_view line, int number, TeacherSettings& teacher) {
    line = trimmed(line.substr(0, longestLine));
    if (line.empty() || line.starts_with("//") || line.starts_with("#")) {
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        teacher.mistakes.push_back(
            {number, TeacherFileMistake::Kind::NoColon, std::string(line), {}});
        return;
    }
    const std::string_view key = trimmed(line.substr(0, colon));
    std::string_view rest = trimmed(line.substr(colon + 1));
    const std::size_t valueEnd = std::find_if(rest.begin(), rest.end(), isBlank) - rest.begin();
    const std::string_view value = rest.substr(0, valueEnd);
    auto mistake = [&](TeacherFileMistake::Kind kind) {
        teacher.mistakes.push_back({number, kind, std::string(key), std::string(value)});
    };
    if (key == "LOCK") {
        if (const auto locked = settingKeyOf(value)) {
            teacher.locks[static_cast<std::size_t>(*locked)] = true;
        } else {
            mistake(TeacherFileMistake::Kind::UnknownLock);
        }
        return;
    }
    if (key == "CREATEQUESTION") {
        if (value == "ON" || value == "OFF") {
            teacher.createQuestion = value == "ON";
        } else {
            mistake(TeacherFileMistake::Kind::UnknownValue);
        }
        return;
    }
    const auto setting = settingKeyOf(key);
    if (!setting) {
        mistake(TeacherFileMistake::Kind::UnknownKey);
        return;
    }
    if (setSettingValue(*setting, value, teacher.values)) {
        teacher.sets[static_cast<std::size_t>(*setting)] = true;
    } else {
        mistake(TeacherFileMistake::Kind::UnknownValue);
    }
}

std::string mistakeInWords(const TeacherFileMistake& mistake) {
    const std::string where = "teacher.txt line " + std::to_string(mistake.line) + ": ";
    switch (mistake.kind) {
        case TeacherFileMistake::Kind::NoColon:
            return where + "\"" + mistake.key + "\" is not KEY:VALUE; the line is ignored";
        case TeacherFileMistake::Kind::UnknownKey:
            return where + "no setting is called " + mistake.key + "; the line is ignored";
        case TeacherFileMistake::Kind::UnknownValue:
            return where + mistake.key + " cannot be \"" + mistake.value +
                   "\"; the line is ignored";
        case TeacherFileMistake::Kind::UnknownLock:
            return where + "LOCK names no setting called \"" + mistake.value +
                   "\"; nothing is locked by it";
    }
    return where + "the line is ignored";
}

std::u16string mistakeForTeacher(const TeacherFileMistake& mistake) {
    const std::u16string line = words::fromUtf8(std::to_string(mistake.line));
    const std::u16string key = words::fromUtf8(mistake.key);
    const std::u16string value = words::fromUtf8(mistake.value);
    switch (mistake.kind) {
        case TeacherFileMistake::Kind::NoColon:
            return fill(tr("Line {line} is not written as KEY:VALUE, so it is ignored."),
                        {{"line", line}});
        case TeacherFileMistake::Kind::UnknownKey:
            return fill(tr("Line {line}: there is no setting called {key}, so the line is "
                           "ignored."),
                        {{"line", line}, {"key", key}});
        case TeacherFileMistake::Kind::UnknownValue:
            return fill(tr("Line {line}: {key} cannot be \"{value}\", so the line is ignored."),
                        {{"line", line}, {"key", key}, {"value", value}});
        case TeacherFileMistake::Kind::UnknownLock:
            return fill(tr("Line {line}: LOCK names no setting called \"{value}\", so nothing "
                           "is locked by it."),
                        {{"line", line}, {"value", value}});
    }
    return {};
}

}  // namespace

bool TeacherSettings::locksAny() const {
    return std::find(locks.begin(), locks.end(), true) != locks.end();
}

TeacherSettings readTeacherFile(std::string_view text) {
    TeacherSettings teacher;
    teacher.found = true;
    int number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        readLine(text.substr(0, end), number, teacher);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
        ++number;
    }
    return teacher;
}

StoredSettings withTeacherValues(const TeacherSettings& teacher, StoredSettings pupil,
                                 bool lockedOnly) {
    for (std::size_t at = 0; at < settingKeyCount; ++at) {
        const auto key = static_cast<SettingKey>(at);
        if (teacher.setsValue(key) && (!lockedOnly || teacher.isLocked(key))) {
            copySetting(key, teacher.values, pupil);
        }
    }
    return pupil;
}

StoredSettings withLockedKept(const TeacherSettings& teacher, StoredSettings chosen,
                              const StoredSettings& current) {
    for (std::size_t at = 0; at < settingKeyCount; ++at) {
        const auto key = static_cast<SettingKey>(at);
        if (teacher.isLocked(key)) {
            copySetting(key, current, chosen);
        }
    }
    return chosen;
}

std::vector<std::string> teacherFileProblemLines(const TeacherSettings& teacher) {
    std::vector<std::string> lines;
    for (const TeacherFileMistake& mistake : teacher.mistakes) {
        lines.push_back(mistakeInWords(mistake));
    }
    return lines;
}

std::u16string teacherFileMessageFor(const TeacherSettings& teacher) {
    if (teacher.mistakes.empty()) {
        return {};
    }
    std::u16string message = tr("The teacher's file teacher.txt has mistakes:");
    for (const TeacherFileMistake& mistake : teacher.mistakes) {
        message += u"\n";
        message += mistakeForTeacher(mistake);
    }
    message += u"\n\n";
    message += tr("The other lines of the file apply. Ask your teacher to mend it.");
    return message;
}
