// Reading the level table: the ranges of divisors and dividends that random questions
// are drawn from, one line per difficulty level in the text file Data/levels.txt.
#pragma once

#include <istream>

#include "lesson/LevelTable.h"

// Appends the records of a level file read from `in` to `table`. The first line is a
// header and is skipped; each following line is "LABEL,a,b,c,d comment" until a label
// that is exactly "END". Numbers are read the way atoi reads them, saturating at the
// 32-bit limits. Returns true when the table ended at "END"; false when the input ran
// out first, in which case the complete records read so far are kept and a record cut
// off by the end of the input is not appended.
bool readLevels(std::istream& in, LevelTable& table);
