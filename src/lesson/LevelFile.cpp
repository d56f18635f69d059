// The level file reader: a stream or Data/levels.txt into a level table. The file is
// read one character at a time and only the numbers and the few letters the reader is
// looking at are kept, so that however large the file, reading it takes no more memory;
// and reading stops as soon as the table holds every record the difficulties use.
#include "lesson/LevelFile.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <ios>
#include <limits>
#include <streambuf>
#include <string_view>
#include <system_error>

#include "platform/TeacherFolder.h"

namespace {

using Traits = std::char_traits<char>;

// White space as atoi sees it in the "C" locale, whatever locale the process runs in.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The characters of the file, straight from the stream's buffer, with the number of
// the line they are on. A read error (a folder opened as a file, a failing disk) is
// the end of the input: the buffer throws it, and what was read before it stands.
// Past limit characters the input ends too, so that a huge file costs no more than its
// start.
class Characters {
public:
    Characters(std::istream& in, std::uint64_t limit) : buffer(in.rdbuf()), left(limit) {}
    // The next character, or Traits::eof() at the end of the input.
    Traits::int_type next() {
        if (buffer == nullptr) {
            return Traits::eof();
        }
        if (left == 0) {
            try {
                limitReached = !Traits::eq_int_type(buffer->sgetc(), Traits::eof());
            } catch (const std::ios_base::failure&) {
                failed = true;
            }
            buffer = nullptr;
            return Traits::eof();
        }
        --left;
        try {
            const Traits::int_type c = buffer->sbumpc();
            if (Traits::eq_int_type(c, Traits::to_int_type('\n'))) {
                ++lineNumber;
            }
            return c;
        } catch (const std::ios_base::failure&) {
            buffer = nullptr;
            failed = true;
            return Traits::eof();
        }
    }
    int line() const { return lineNumber; }
    bool readFailed() const { return failed; }
    bool cutAtLimit() const { return limitReached; }

private:
    std::streambuf* buffer;
    std::uint64_t left;
    int lineNumber = 1;
    bool failed = false;
    bool limitReached = false;
};

// atoi's reading of a field, fed one character at a time: leading white space, an
// optional sign, then digits up to the first other character; 0 when there are none.
// Values beyond 32 bits saturate instead of overflowing. It also notes whether the
// field held a number and nothing else but white space, as a record's fields do.
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
                hasDigits = true;
                magnitude = std::min(magnitude * 10 + (c - '0'), largestMagnitude);
                return;
            }
            stage = Stage::Done;
        }
        if (!isWhiteSpace(c)) {
            hasOtherText = true;
        }
    }

    std::int32_t value() const {
        if (negative) {
            return static_cast<std::int32_t>(-magnitude);
        }
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(magnitude, std::numeric_limits<std::int32_t>::max()));
    }

    // Past the white space in front of the number.
    bool started() const { return stage != Stage::Blank; }
    bool holdsOnlyANumber() const { return hasDigits && !hasOtherText; }

private:
    enum class Stage { Blank, Digits, Done };
    static constexpr std::int64_t largestMagnitude =
        -std::int64_t{std::numeric_limits<std::int32_t>::min()};
    Stage stage = Stage::Blank;
    bool negative = false;
    bool hasDigits = false;
    bool hasOtherText = false;
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

// Whether a line, fed one character at a time up to its line end, has the shape of a
// record: a label, three numbers ended by commas and a fourth ended by a blank or the
// line end. A header names its columns in words, so it never has that shape.
class RecordShape {
public:
    void take(char c) {
        if (field == 0) {
            field = c == ',' ? 1 : 0;
            return;
        }
        if (field > lastField) {
            return;
        }
        if (field < lastField ? c == ',' : isBlank(c) && number.started()) {
            endField();
        } else {
            number.take(c);
        }
    }
    // Called at the line end.
    bool looksLikeRecord() {
        if (field == lastField) {
            endField();
        }
        return field > lastField && allNumbers;
    }

private:
    static constexpr int lastField = 4;
    void endField() {
        allNumbers = allNumbers && number.holdsOnlyANumber();
        number = NumberReader{};
        ++field;
    }
    int field = 0;  // 0 the label, 1 to 4 the numbers
    bool allNumbers = true;
    NumberReader number;
};

// What ended a field: the delimiter looked for, a line end, or the end of the input.
enum class FieldEnd { Delimiter, LineEnd, Input };

// Feeds the characters up to the next comma (consumed) to `reader`; the field may run
// across lines.
template <typename Reader>
FieldEnd readCommaField(Characters& characters, Reader& reader) {
    for (;;) {
        const Traits::int_type next = characters.next();
        if (Traits::eq_int_type(next, Traits::eof())) {
            return FieldEnd::Input;
        }
        const char c = Traits::to_char_type(next);
        if (c == ',') {
            return FieldEnd::Delimiter;
        }
        reader.take(c);
    }
}

// The fourth number: blanks in front of it are skipped, as they are before the other
// three ("30, 99"), and the first space after them ends it, or the line end.
FieldEnd readLastNumber(Characters& characters, NumberReader& number) {
    for (;;) {
        const Traits::int_type next = characters.next();
        if (Traits::eq_int_type(next, Traits::eof())) {
            return FieldEnd::Input;
        }
        const char c = Traits::to_char_type(next);
        if (c == '\n') {
            return FieldEnd::LineEnd;
        }
        if (c == ' ' && number.started()) {
            return FieldEnd::Delimiter;
        }
        number.take(c);
    }
}

// Consumes the rest of the line and its line end, showing each character to `shape`.
// False when the input ended first.
template <typename Shape>
bool skipLine(Characters& characters, Shape& shape) {
    for (;;) {
        const Traits::int_type next = characters.next();
        if (Traits::eq_int_type(next, Traits::eof())) {
            return false;
        }
        const char c = Traits::to_char_type(next);
        if (c == '\n') {
            return true;
        }
        shape.take(c);
    }
}

struct IgnoreShape {
    void take(char) {}
};

bool skipLine(Characters& characters) {
    IgnoreShape ignored;
    return skipLine(characters, ignored);
}

// What reading one record after its label found.
enum class RecordEnd {
    Line,      // the record and its line are done; the next label follows
    Comment,   // a comment follows the record on its line
    Input,     // the input ended after the fourth number: the record is whole
    CutShort,  // the input ended before the fourth number: there is no record
};

// The four numbers after a label: three ended by commas, the last by a space (the rest
// of the line is a comment, left for the caller), by the line end or by the end of the
// input.
RecordEnd readRecord(Characters& characters, LevelRecord& record) {
    std::int32_t* const commaFields[] = {&record.divisorMin, &record.divisorMax,
                                         &record.dividendMin};
    for (std::int32_t* target : commaFields) {
        NumberReader number;
        if (readCommaField(characters, number) == FieldEnd::Input) {
            return RecordEnd::CutShort;
        }
        *target = number.value();
    }
    NumberReader last;
    const FieldEnd lastEnd = readLastNumber(characters, last);
    record.dividendMax = last.value();
    if (lastEnd == FieldEnd::Input) {
        return RecordEnd::Input;
    }
    return lastEnd == FieldEnd::Delimiter ? RecordEnd::Comment : RecordEnd::Line;
}

// The records after the header, up to "END", the end of the input or a full table.
void readRecords(Characters& characters, LevelTable& table, LevelFileReading& reading) {
    while (table.size() < usedLevelCount) {
        LabelReader label;
        const FieldEnd labelEnd = readCommaField(characters, label);
        // "END" may also stand at the very end of the input without its comma.
        if (label.isEnd()) {
            reading.complete = true;
            return;
        }
        if (labelEnd == FieldEnd::Input) {
            return;
        }
        const int line = characters.line();
        LevelRecord record;
        const RecordEnd recordEnd = readRecord(characters, record);
        if (recordEnd == RecordEnd::CutShort) {
            return;
        }
        reading.recordLines.at(table.size()) = line;
        table.push_back(record);
        // The comment of the record that fills the table is not read at all.
        const bool full = table.size() >= usedLevelCount;
        if (recordEnd == RecordEnd::Input ||
            (recordEnd == RecordEnd::Comment && !full && !skipLine(characters))) {
            break;
        }
    }
    reading.complete = table.size() >= usedLevelCount;
}

LevelFileAccess accessOf(const std::filesystem::path& path) {
    std::error_code error;
    switch (std::filesystem::status(path, error).type()) {
        case std::filesystem::file_type::regular:
            return LevelFileAccess::Read;
        case std::filesystem::file_type::not_found:
            return LevelFileAccess::Missing;
        case std::filesystem::file_type::directory:
            return LevelFileAccess::Folder;
        case std::filesystem::file_type::none:
        case std::filesystem::file_type::unknown:
            return LevelFileAccess::CannotOpen;  // there, but not even its kind is known
        default:
            return LevelFileAccess::NotAFile;
    }
}

LevelFileReading readLevelsUpTo(std::istream& in, LevelTable& table, std::uint64_t limit) {
    LevelFileReading reading;
    Characters characters(in, limit);
    RecordShape header;
    const bool headerEnded = skipLine(characters, header);
    reading.headerLooksLikeRecord = header.looksLikeRecord();
    if (headerEnded) {
        if (table.size() < usedLevelCount) {
            readRecords(characters, table, reading);
        } else {
            reading.complete = true;  // nothing in the file could change the table
        }
    }
    reading.readFailed = characters.readFailed();
    reading.cutAtLimit = characters.cutAtLimit();
    reading.lastLine = characters.line();
    return reading;
}

}  // namespace

LevelFileReading readLevelFile(std::istream& in, LevelTable& table) {
    return readLevelsUpTo(in, table, std::numeric_limits<std::uint64_t>::max());
}

bool readLevels(std::istream& in, LevelTable& table) {
    return readLevelFile(in, table).complete;
}

std::filesystem::path levelFilePath() {
    return teacherFile("levels.txt");
}

LevelFileReading readLevelFile(const std::filesystem::path& path, LevelTable& table) {
    LevelFileReading reading;
    reading.access = accessOf(path);
    if (reading.access != LevelFileAccess::Read) {
        return reading;
    }
    std::ifstream file(path);
    if (!file.is_open()) {
        reading.access = LevelFileAccess::CannotOpen;
        return reading;
    }
    return readLevelsUpTo(file, table, largestLevelFileRead);
}
