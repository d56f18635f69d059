// Drawing a random question from the level of a difficulty, and saying in words why a
// level can give none.
#pragma once

#include <string>

#include "lesson/LevelTable.h"

struct Question {
    int dividend = 0;
    int divisor = 1;
};

// The questions Create Question accepts, and so the only ones a level gives: the
// working-out's columns and its entry row hold at most four digits.
inline constexpr int smallestDivisor = 2;
inline constexpr int largestDivisor = 99;
inline constexpr int largestDividend = 9999;

// The question given when the level table cannot give one.
inline constexpr Question fallbackQuestion = {100, 7};

// A random acceptable question from the difficulty's record, drawn with rand(); the
// fallback question when the record is missing, unusable or holds no acceptable pair.
Question questionFor(const LevelTable& levels, int difficulty);

// Empty when the difficulty's record can give questions; otherwise why it cannot, as
// words that complete "it ...", for a teacher editing the level file.
std::string whyNoQuestion(const LevelTable& levels, int difficulty);

// Empty when every question of the difficulty's record is one Create Question accepts,
// or when the record can give none (whyNoQuestion says why); otherwise how it reaches
// beyond them, as words that complete "it ...". Only the part within them is drawn from.
std::string whyOutsideCreateQuestion(const LevelTable& levels, int difficulty);
