// Reading the level table: the ranges of divisors and dividends that random questions
// are drawn from, one line per difficulty level in the text file Data/levels.txt.
#pragma once

#include <istream>

#include "lesson/LevelTable.h"

// Reads a level file from `in` to its end marker and appends its records to `table`,
// keeping no more than `usedLevelCount` in the table (records beyond those are read and
// left out, so that the memory taken does not grow with the file). The first line is a
// header and is skipped; each following line is "LABEL,a,b,c,d comment" until a label
// that is exactly "END". Numbers are read the way atoi reads them, saturating at the
// 32-bit limits. The fourth number ends at a space, at the line end or at the end of
// the input; the rest of its line is a comment. Returns true when the table ended at
// "END"; false when the input ran out first, in which case every record whose four
// numbers were read is kept and one cut off before its fourth number is not.
bool readLevels(std::istream& in, LevelTable& table);
