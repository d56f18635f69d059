// The level file reader and the lesson panel's loading of Data/levels.txt.
#include "lesson/LevelFile.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>

#include "lesson/LessonPanel.h"

namespace {

// White space as atoi sees it in the "C" locale, whatever locale the process runs in.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Leading white space, an optional sign, then digits up to the first other character;
// 0 when there are none. Values beyond 32 bits saturate instead of overflowing.
std::int32_t parseNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isWhiteSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), limit);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// Reads up to the next `delimiter`, which is consumed. True only when the delimiter
// was found; false when the input ended first.
bool readField(std::istream& in, char delimiter, std::string& field) {
    field.clear();  // getline leaves it as it was when the stream has already failed
    std::getline(in, field, delimiter);
    return !in.fail() && !in.eof();
}

// The four numbers after a label: three ended by commas, the last by a space. False
// when the input ends before the record is complete.
bool readRecord(std::istream& in, LevelRecord& record) {
    std::string field;
    std::int32_t* const commaFields[] = {&record.divisorMin, &record.divisorMax,
                                         &record.dividendMin};
    for (std::int32_t* target : commaFields) {
        if (!readField(in, ',', field)) {
            return false;
        }
        *target = parseNumber(field);
    }
    if (!readField(in, ' ', field)) {
        return false;
    }
    record.dividendMax = parseNumber(field);
    return true;
}

void skipRestOfLine(std::istream& in) {
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

}  // namespace

bool readLevels(std::istream& in, LevelTable& table) {
    skipRestOfLine(in);  // the header, whatever it holds
    std::string label;
    for (;;) {
        const bool labelEnded = readField(in, ',', label);
        // "END" may also stand at the very end of the input without its comma.
        if (label == "END") {
            return true;
        }
        LevelRecord record;
        if (!labelEnded || !readRecord(in, record)) {
            return false;
        }
        table.push_back(record);
        skipRestOfLine(in);
    }
}

bool LessonPanel::loadLevels() {
    std::ifstream file("Data/levels.txt");
    if (!file.is_open()) {
        return false;
    }
    readLevels(file, levels);
    return true;
}
