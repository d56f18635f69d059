// Reading the level table: the ranges of divisors and dividends that random questions
// are drawn from, one line per difficulty level in the text file levels.txt, which a teacher
// may edit (Data/levels.txt in a portable copy, /etc/bricketing/levels.txt installed).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>

#include "lesson/LevelTable.h"

// The level file's place: levels.txt in the teacher folder (Data/levels.txt, relative to
// the working directory, unless the backend installed another folder).
std::filesystem::path levelFilePath();

// The most of the level file that is read: far more than a table with comments needs,
// and little enough that a huge file does not hold up the start.
inline constexpr std::uint64_t largestLevelFileRead = 1024 * 1024;

// Whether the level file could be read at all, and if not why.
enum class LevelFileAccess {
    Read,        // opened and read (whatever it held)
    Missing,     // there is no such file: nothing is read and nothing said
    Folder,      // a folder stands where the file should be
    NotAFile,    // a device, a pipe or a socket, which is never opened
    CannotOpen,  // it is there but cannot be opened, for lack of rights for instance
};

// What reading a level file found besides the records themselves.
struct LevelFileReading {
    LevelFileAccess access = LevelFileAccess::Read;
    // The table ended at "END", or held all the records the difficulties use.
    bool complete = false;
    // The first line, always skipped as the header, has a label and four numbers.
    bool headerLooksLikeRecord = false;
    // A read error ended the input early; lastLine is the line it happened on.
    bool readFailed = false;
    // The file went on past largestLevelFileRead bytes, which were all that was read.
    bool cutAtLimit = false;
    int lastLine = 1;
    // The line each record of the table starts on, counted from 1; 0 for records
    // that did not come from this input.
    std::array<int, usedLevelCount> recordLines{};
};

// Reads a level file from `in` and appends its records to `table`, keeping no more than
// `usedLevelCount` in the table: once it holds that many, nothing later can change it
// and reading stops. The first line is a header and is skipped; each following line is
// "LABEL,a,b,c,d comment" until a label that is exactly "END". Numbers are read the way
// atoi reads them, saturating at the 32-bit limits. Blanks before the fourth number are
// skipped; the number then ends at a space, at the line end or at the end of the input,
// and the rest of its line is a comment. A read error counts as the end of the input.
// When the input runs out, every record whose four numbers were read is kept and one
// cut off before its fourth number is not.
LevelFileReading readLevelFile(std::istream& in, LevelTable& table);

// The same reading, true when the table was complete (see LevelFileReading).
bool readLevels(std::istream& in, LevelTable& table);

// Opens the file at `path` only if it is a regular file (a pipe would block the opening
// and a device could be endless) and reads it as above, its first largestLevelFileRead
// bytes at most.
LevelFileReading readLevelFile(const std::filesystem::path& path, LevelTable& table);
