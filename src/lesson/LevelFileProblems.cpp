// The level file's problems in words, for standard error and for the start-up message.
#include "lesson/LevelFileProblems.h"

#include <array>
#include <cstddef>
#include <utility>

#include "lesson/Questions.h"
#include "text/Stringify.h"
#include "words/Words.h"

namespace {

constexpr std::array<const char*, usedLevelCount> levelNames = {
    trNoop("Beginner"), trNoop("Novice"), trNoop("Intermediate"), trNoop("Advanced"),
    trNoop("Expert")};

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

// The levels that give questions only part of which Create Question accepts.
std::vector<std::pair<std::size_t, std::string>> levelsOutsideCreateQuestion(
    const LevelTable& levels) {
    std::vector<std::pair<std::size_t, std::string>> found;
    for (std::size_t level = 0; level < usedLevelCount; ++level) {
        std::string why = whyOutsideCreateQuestion(levels, static_cast<int>(level));
        if (!why.empty()) {
            found.emplace_back(level, std::move(why));
        }
    }
    return found;
}

std::string cutInWords() {
    return "the file is longer than " + std::to_string(largestLevelFileRead) +
           " bytes; only its start is read";
}

std::u16string fallbackOnScreen() {
    return fill(trc("question", "{dividend} \u00F7 {divisor}"),
                {{"dividend", stringify(fallbackQuestion.dividend)},
                 {"divisor", stringify(fallbackQuestion.divisor)}});
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
    if (reading.cutAtLimit) {
        lines.push_back(levelFileName() + ": " + cutInWords());
    }
    if (reading.headerLooksLikeRecord) {
        lines.push_back(levelFileName() + ": " + headerInWords(reading));
    }
    for (const auto& [level, why] : levelsOutsideCreateQuestion(levels)) {
        lines.push_back(levelFileName() + ": " + levelInWords(reading, level) + " " + why);
    }
    for (const auto& [level, why] : levelsWithoutQuestions(levels)) {
        lines.push_back(levelFileName() + ": " + levelInWords(reading, level) +
                        " can give no question: it " + why + "; " + instead);
    }
    return lines;
}

namespace {

// Why the file could not be read at all, as the message's first sentence.
std::u16string unreadSentence(LevelFileAccess access, const std::u16string& file) {
    switch (access) {
        case LevelFileAccess::Folder:
            return fill(tr("{file} is a folder, not a file."), {{"file", file}});
        case LevelFileAccess::NotAFile:
            return fill(tr("{file} is not an ordinary file (a device or a pipe, say), so it is "
                           "not opened."),
                        {{"file", file}});
        case LevelFileAccess::CannotOpen:
            return fill(tr("{file} cannot be opened; perhaps this user may not read it."),
                        {{"file", file}});
        case LevelFileAccess::Missing:
        case LevelFileAccess::Read:
            break;
    }
    return fill(tr("{file} cannot be read."), {{"file", file}});
}

std::u16string headerSentence(const LevelFileReading& reading) {
    const int beginnerLine = reading.recordLines[0];
    if (beginnerLine > 0) {
        return fill(tr("Line 1 looks like a level, not a header; the first line is always "
                       "skipped as the header, so its numbers are not used and each level takes "
                       "the line below the one meant for it (Beginner takes line {line}). Put a "
                       "header line above the levels."),
                    {{"line", stringify(beginnerLine)}});
    }
    return tr(
        "Line 1 looks like a level, not a header; the first line is always skipped as "
        "the header, so its numbers are not used and each level takes the line below the "
        "one meant for it. Put a header line above the levels.");
}

std::u16string levelSentence(const LevelFileReading& reading, std::size_t level,
                             const std::string& why) {
    const std::u16string name = tr(levelNames[level]);
    const std::u16string record = stringify(static_cast<int>(level + 1));
    const std::u16string reason = tr(why);
    if (reading.recordLines[level] > 0) {
        return fill(tr("The {level} level (line {line}, record {record} after the header) can "
                       "give no question: it {reason}."),
                    {{"level", name},
                     {"line", stringify(reading.recordLines[level])},
                     {"record", record},
                     {"reason", reason}});
    }
    return fill(tr("The {level} level (record {record} after the header) can give no question: "
                   "it {reason}."),
                {{"level", name}, {"record", record}, {"reason", reason}});
}

// The limits named are those of Create Question (divisors 2 to 99, dividends up to
// 9999), as whyOutsideCreateQuestion words them for standard error.
std::u16string outsideSentence(const LevelFileReading& reading, std::size_t level) {
    const std::u16string name = tr(levelNames[level]);
    const std::u16string record = stringify(static_cast<int>(level + 1));
    if (reading.recordLines[level] > 0) {
        return fill(
            tr("The {level} level (line {line}, record {record} after the header) "
               "reaches beyond the questions Create Question accepts (divisors 2 to 99, "
               "dividends up to 9999); only the questions within them are given."),
            {{"level", name}, {"line", stringify(reading.recordLines[level])}, {"record", record}});
    }
    return fill(tr("The {level} level (record {record} after the header) reaches beyond the "
                   "questions Create Question accepts (divisors 2 to 99, dividends up to 9999); "
                   "only the questions within them are given."),
                {{"level", name}, {"record", record}});
}

}  // namespace

std::u16string levelFileMessageFor(const LevelFileReading& reading, const LevelTable& levels) {
    const std::u16string file = toWideText(levelFileName());
    const std::u16string question = fallbackOnScreen();
    if (reading.access == LevelFileAccess::Missing) {
        return {};
    }
    if (!fileWasRead(reading)) {
        return unreadSentence(reading.access, file) + u"\n\n" +
               fill(tr("No level could be read, so at every level New Question gives {question} "
                       "instead."),
                    {{"question", question}});
    }
    std::vector<std::u16string> paragraphs;
    if (reading.readFailed) {
        paragraphs.push_back(fill(tr("A read error on line {line} ended the reading; the lines "
                                     "before it are used."),
                                  {{"line", stringify(reading.lastLine)}}));
    }
    if (reading.cutAtLimit) {
        paragraphs.push_back(fill(tr("The file is longer than {size} bytes; only its start is "
                                     "read."),
                                  {{"size", stringify(static_cast<int>(largestLevelFileRead))}}));
    }
    if (reading.headerLooksLikeRecord) {
        paragraphs.push_back(headerSentence(reading));
    }
    for (const auto& outside : levelsOutsideCreateQuestion(levels)) {
        paragraphs.push_back(outsideSentence(reading, outside.first));
    }
    const auto withoutQuestions = levelsWithoutQuestions(levels);
    for (const auto& [level, why] : withoutQuestions) {
        paragraphs.push_back(levelSentence(reading, level, why));
    }
    if (paragraphs.empty()) {
        return {};
    }
    std::u16string message = fill(tr("{file} needs mending:"), {{"file", file}});
    for (const std::u16string& paragraph : paragraphs) {
        message += u"\n\n" + paragraph;
    }
    if (!withoutQuestions.empty()) {
        message += u"\n\n" + fill(trn("At that level New Question gives {question} instead.",
                                      "At those levels New Question gives {question} instead.",
                                      static_cast<long>(withoutQuestions.size())),
                                  {{"question", question}});
    }
    return message;
}
