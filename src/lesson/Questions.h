// Drawing a random question from the level of a difficulty, and saying in words why a
// level can give none.
#pragma once

#include <string>

#include "lesson/LevelTable.h"

struct Question {
    int dividend = 0;
    int divisor = 1;
};

// The question given when the level table cannot give one.
inline constexpr Question fallbackQuestion = {100, 7};

// A random acceptable question from the difficulty's record, drawn with rand(); the
// fallback question when the record is missing, unusable or holds no acceptable pair.
Question questionFor(const LevelTable& levels, int difficulty);

// Empty when the difficulty's record can give questions; otherwise why it cannot, as
// words that complete "it ...", for a teacher editing the level file.
std::string whyNoQuestion(const LevelTable& levels, int difficulty);
