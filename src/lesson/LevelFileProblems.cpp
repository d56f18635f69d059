// The level file's problems in words, for standard error and for the start-up message.
#include "lesson/LevelFileProblems.h"

#include <array>
#include <cstddef>
#include <utility>

#include "lesson/Questions.h"
#include "text/Stringify.h"

namespace {

constexpr std::array<const char*, usedLevelCount> levelNames = {
    "Beginner", "Novice", "Intermediate", "Advanced", "Expert"};

// The file as the teacher knows it: Data/levels.txt, or its installed place.
std::string levelFileName() {
    const std::u8string name = levelFilePath().generic_u8string();
    return std::string(name.begin(), name.end());
}

std::string fallbackInWords() {
    return std::to_string(fallbackQuestion.dividend) + " divided by " +
           std::to_string(fallbackQuestion.divisor);
}

bool fileWasRead(const LevelFileReading& reading) {
    return reading.access == LevelFileAccess::Read;
}

// Why the file could not be read at all, as words that complete "Data/levels.txt ...".
std::string whyUnread(LevelFileAccess access) {
    switch (access) {
        case LevelFileAccess::Folder:
            return "is a folder, not a file";
        case LevelFileAccess::NotAFile:
            return "is not an ordinary file (a device or a pipe, say), so it is not opened";
        case LevelFileAccess::CannotOpen:
            return "cannot be opened; perhaps this user may not read it";
        case LevelFileAccess::Missing:
        case LevelFileAccess::Read:
            break;
    }
    return "cannot be read";
}

std::string readErrorInWords(const LevelFileReading& reading) {
    return "a read error on line " + std::to_string(reading.lastLine) +
           " ended the reading; the lines before it are used";
}

std::string headerInWords(const LevelFileReading& reading) {
    const int beginnerLine = reading.recordLines[0];
    std::string words =
        "line 1 looks like a level, not a header; the first line is always skipped as the "
        "header, so its numbers are not used and each level takes the line below the one "
        "meant for it";
    if (beginnerLine > 0) {
        words += " (Beginner takes line " + std::to_string(beginnerLine) + ")";
    }
    return words;
}

// "the Expert level (line 6, record 5 after the header)", or without the line when the
// file has no record for the level.
std::string levelInWords(const LevelFileReading& reading, std::size_t level) {
    std::string place = "record " + std::to_string(level + 1) + " after the header";
    if (reading.recordLines[level] > 0) {
        place = "line " + std::to_string(reading.recordLines[level]) + ", " + place;
    }
    return "the " + std::string(levelNames[level]) + " level (" + place + ")";
}

// The levels that can give no question, each with why, in level order.
std::vector<std::pair<std::size_t, std::string>> levelsWithoutQuestions(const LevelTable& levels) {
    std::vector<std::pair<std::size_t, std::string>> found;
    for (std::size_t level = 0; level < usedLevelCount; ++level) {
        std::string why = whyNoQuestion(levels, static_cast<int>(level));
        if (!why.empty()) {
            found.emplace_back(level, std::move(why));
        }
    }
    return found;
}

std::u16string capitalised(std::string sentence) {
    if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z') {
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    }
    return toWideText(sentence);
}

std::u16string fallbackOnScreen() {
    return stringify(fallbackQuestion.dividend) + u" \u00F7 " + stringify(fallbackQuestion.divisor);
}

}  // namespace

std::vector<std::string> levelFileProblemLines(const LevelFileReading& reading,
                                               const LevelTable& levels) {
    const std::string instead = "New Question gives " + fallbackInWords() + " instead";
    if (reading.access == LevelFileAccess::Missing) {
        return {levelFileName() + " cannot be read; at every level " + instead};
    }
    if (!fileWasRead(reading)) {
        return {levelFileName() + " " + whyUnread(reading.access) + "; at every level " + instead};
    }
    std::vector<std::string> lines;
    if (reading.readFailed) {
        lines.push_back(levelFileName() + ": " + readErrorInWords(reading));
    }
    if (reading.headerLooksLikeRecord) {
        lines.push_back(levelFileName() + ": " + headerInWords(reading));
    }
    for (const auto& [level, why] : levelsWithoutQuestions(levels)) {
        lines.push_back(levelFileName() + ": " + levelInWords(reading, level) +
                        " can give no question: it " + why + "; " + instead);
    }
    return lines;
}

std::u16string levelFileMessageFor(const LevelFileReading& reading, const LevelTable& levels) {
    const std::u16string file = toWideText(levelFileName());
    if (reading.access == LevelFileAccess::Missing) {
        return {};
    }
    if (!fileWasRead(reading)) {
        return file + u" " + toWideText(whyUnread(reading.access)) +
               u".\n\nNo level could be read, so at every level New Question gives " +
               fallbackOnScreen() + u" instead.";
    }
    std::vector<std::u16string> paragraphs;
    if (reading.readFailed) {
        paragraphs.push_back(capitalised(readErrorInWords(reading)) + u".");
    }
    if (reading.headerLooksLikeRecord) {
        paragraphs.push_back(capitalised(headerInWords(reading)) +
                             u". Put a header line above the levels.");
    }
    const auto withoutQuestions = levelsWithoutQuestions(levels);
    for (const auto& [level, why] : withoutQuestions) {
        paragraphs.push_back(capitalised(levelInWords(reading, level)) +
                             u" can give no question: it " + toWideText(why) + u".");
    }
    if (paragraphs.empty()) {
        return {};
    }
    std::u16string message = file + u" needs mending:";
    for (const std::u16string& paragraph : paragraphs) {
        message += u"\n\n" + paragraph;
    }
    if (!withoutQuestions.empty()) {
        message += u"\n\nAt " +
                   std::u16string(withoutQuestions.size() == 1 ? u"that level" : u"those levels") +
                   u" New Question gives " + fallbackOnScreen() + u" instead.";
    }
    return message;
}
