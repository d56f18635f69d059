// The level file reader and the lesson panel's loading of Data/levels.txt. The file is
// read one character at a time and only the numbers and the few letters the reader is
// looking at are kept, so that however large the file, reading it takes no more memory.
#include "lesson/LevelFile.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <streambuf>
#include <string_view>

#include "lesson/LessonPanel.h"

namespace {

using Traits = std::char_traits<char>;

// White space as atoi sees it in the "C" locale, whatever locale the process runs in.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The characters of the file, straight from the stream's buffer.
class Characters {
public:
    explicit Characters(std::istream& in) : buffer(in.rdbuf()) {}
    // The next character, or Traits::eof() at the end of the input.
    Traits::int_type next() { return buffer == nullptr ? Traits::eof() : buffer->sbumpc(); }

private:
    std::streambuf* buffer;
};

// atoi's reading of a field, fed one character at a time: leading white space, an
// optional sign, then digits up to the first other character; 0 when there are none.
// Values beyond 32 bits saturate instead of overflowing.
class NumberReader {
public:
    void take(char c) {
        if (stage == Stage::Blank) {
            if (isWhiteSpace(c)) {
                return;
            }
            stage = Stage::Digits;
            if (c == '+' || c == '-') {
                negative = c == '-';
                return;
            }
        }
        if (stage == Stage::Digits) {
            if (isDigit(c)) {
                magnitude = std::min(magnitude * 10 + (c - '0'), largestMagnitude);
            } else {
                stage = Stage::Done;
            }
        }
    }

    std::int32_t value() const {
        if (negative) {
            return static_cast<std::int32_t>(-magnitude);
        }
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(magnitude, std::numeric_limits<std::int32_t>::max()));
    }

private:
    enum class Stage { Blank, Digits, Done };
    static constexpr std::int64_t largestMagnitude =
        -std::int64_t{std::numeric_limits<std::int32_t>::min()};
    Stage stage = Stage::Blank;
    bool negative = false;
    std::int64_t magnitude = 0;
};

// Whether a label is exactly "END", fed one character at a time.
class LabelReader {
public:
    void take(char c) {
        if (length < end.size() && c != end[length]) {
            matches = false;
        }
        ++length;
    }
    bool isEnd() const { return matches && length == end.size(); }

private:
    static constexpr std::string_view end = "END";
    std::size_t length = 0;
    bool matches = true;
};

// What ended a field: the delimiter looked for, a line end, or the end of the input.
enum class FieldEnd { Delimiter, LineEnd, Input };

// Feeds the characters up to the delimiter (consumed) to `reader`. A line end ends the
// field only where `lineEndEnds` says so; elsewhere a field may run across lines.
template <typename Reader>
FieldEnd readField(Characters& characters, char delimiter, bool lineEndEnds, Reader& reader) {
    for (;;) {
        const Traits::int_type next = characters.next();
        if (Traits::eq_int_type(next, Traits::eof())) {
            return FieldEnd::Input;
        }
        const char c = Traits::to_char_type(next);
        if (c == delimiter) {
            return FieldEnd::Delimiter;
        }
        if (lineEndEnds && c == '\n') {
            return FieldEnd::LineEnd;
        }
        reader.take(c);
    }
}

// Consumes the rest of the line and its line end. False when the input ended first.
bool skipLine(Characters& characters) {
    for (;;) {
        const Traits::int_type next = characters.next();
        if (Traits::eq_int_type(next, Traits::eof())) {
            return false;
        }
        if (Traits::to_char_type(next) == '\n') {
            return true;
        }
    }
}

// What reading one record after its label found.
enum class RecordEnd {
    Line,      // the record and its line are done; the next label follows
    Input,     // the input ended after the fourth number: the record is whole
    CutShort,  // the input ended before the fourth number: there is no record
};

// The four numbers after a label: three ended by commas, the last by a space (the rest
// of the line is a comment), by the line end or by the end of the input.
RecordEnd readRecord(Characters& characters, LevelRecord& record) {
    std::int32_t* const commaFields[] = {&record.divisorMin, &record.divisorMax,
                                         &record.dividendMin};
    for (std::int32_t* target : commaFields) {
        NumberReader number;
        if (readField(characters, ',', false, number) == FieldEnd::Input) {
            return RecordEnd::CutShort;
        }
        *target = number.value();
    }
    NumberReader last;
    const FieldEnd lastEnd = readField(characters, ' ', true, last);
    record.dividendMax = last.value();
    if (lastEnd == FieldEnd::Input) {
        return RecordEnd::Input;
    }
    if (lastEnd == FieldEnd::Delimiter && !skipLine(characters)) {
        return RecordEnd::Input;
    }
    return RecordEnd::Line;
}

}  // namespace

bool readLevels(std::istream& in, LevelTable& table) {
    Characters characters(in);
    if (!skipLine(characters)) {
        return false;  // nothing but the header, whatever it holds
    }
    for (;;) {
        LabelReader label;
        const FieldEnd labelEnd = readField(characters, ',', false, label);
        // "END" may also stand at the very end of the input without its comma.
        if (label.isEnd()) {
            return true;
        }
        if (labelEnd == FieldEnd::Input) {
            return false;
        }
        LevelRecord record;
        const RecordEnd recordEnd = readRecord(characters, record);
        if (recordEnd == RecordEnd::CutShort) {
            return false;
        }
        if (table.size() < usedLevelCount) {
            table.push_back(record);
        }
        if (recordEnd == RecordEnd::Input) {
            return false;
        }
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
