// What a teacher who edits Data/levels.txt must hear about it: a file that cannot be
// read, a read error, a first line that is a level rather than a header, and each level
// that can give no question. Said as lines on standard error and, when the file is
// there, once at start-up in a message box, since a program started from a menu has no
// terminal to show the lines in.
#pragma once

#include <string>
#include <vector>

#include "lesson/LevelFile.h"
#include "lesson/LevelTable.h"

// One line per problem for standard error, without the program's name. A missing file
// is one line too: whoever starts the program from a terminal learns where it looked.
std::vector<std::string> levelFileProblemLines(const LevelFileReading& reading,
                                               const LevelTable& levels);

// The text of the start-up message box: every problem, then what the program does
// instead. Empty when all is well, and when the file is missing (a missing file is
// simply not read, and a level table that was never there has nothing to mend).
std::u16string levelFileMessageFor(const LevelFileReading& reading, const LevelTable& levels);
