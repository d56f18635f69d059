// Fuzz target: any bytes as a level file. The reader must end without a sanitizer
// report, and its problems be told alike on standard error and at start-up; then a question is
// drawn from each of the five levels the settings can name and checked against a brute-force
// reading of the level, and worked through on the board to its quotient and remainder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "BoardChecks.h"
#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/LevelFile.h"
#include "lesson/LevelFileProblems.h"

namespace {

constexpr int levelCount = 5;  // BEGINNER to EXPERT
constexpr int fallbackDividend = 100;
constexpr int fallbackDivisor = 7;
// The drill's limits: what Create Question accepts. A level's divisor 1 is read as 2.
constexpr std::int64_t largestDividend = 9999;
constexpr std::int64_t smallestDivisor = 2;
constexpr std::int64_t largestDivisor = 99;

// A question worth working: at least five lots (thirteen below the divisor 13), never
// a division by ten or a dividend of exactly ten lots.
bool worthWorking(std::int64_t dividend, std::int64_t divisor) {
    const std::int64_t quotient = dividend / divisor;
    const std::int64_t leastQuotient = divisor >= 13 ? 5 : 13;
    return divisor != 10 && dividend != 10 * divisor && quotient >= leastQuotient;
}

// Whether the level, cut to the drill's limits, holds any question worth working. For
// each divisor the good dividends are those from leastQuotient lots up, less one.
bool levelHoldsAQuestion(const LevelRecord& level) {
    if (level.divisorMin < 1) {
        return false;  // a level that could divide by 0 is never drawn from
    }
    const std::int64_t highDivisor = std::min<std::int64_t>(level.divisorMax, largestDivisor);
    const std::int64_t highDividend = std::min<std::int64_t>(level.dividendMax, largestDividend);
    const std::int64_t lowDivisor = std::max<std::int64_t>(level.divisorMin, smallestDivisor);
    for (std::int64_t divisor = lowDivisor; divisor <= highDivisor; ++divisor) {
        if (divisor == 10) {
            continue;
        }
        const std::int64_t leastQuotient = divisor >= 13 ? 5 : 13;
        const std::int64_t low = std::max<std::int64_t>(level.dividendMin, leastQuotient * divisor);
        const std::int64_t count = highDividend - low + 1;
        const bool tenLotsInside = low <= 10 * divisor && 10 * divisor <= highDividend;
        if (count - (tenLotsInside ? 1 : 0) > 0) {
            return true;
        }
    }
    return false;
}

bool insideLevel(const LevelRecord& level, int dividend, int divisor) {
    return level.divisorMin <= divisor && smallestDivisor <= divisor &&
           divisor <= level.divisorMax && level.dividendMin <= dividend &&
           dividend <= level.dividendMax && divisor <= largestDivisor &&
           dividend <= largestDividend;
}

void requireQuestion(bool holds, const char* rule, int level, int dividend, int divisor) {
    if (!holds) {
        std::fprintf(stderr, "Broken rule: %s (level %d drew %d / %d)\n", rule, level, dividend,
                     divisor);
        std::abort();
    }
}

// One lesson panel for the whole run, made with the drawing stand-ins and whatever
// level file lies in the working directory; each input replaces its table.
LessonPanel& panel() {
    static FakeDrawingServices* services = [] {
        auto* made = new FakeDrawingServices;
        registerProgramImageSizes(*made);
        return made;
    }();
    (void)services;
    static LessonPanel* made = new LessonPanel;
    return *made;
}

std::uint32_t hashOf(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    LevelTable table;
    const LevelFileReading reading = readLevelFile(in, table);
    // Whatever the file held, its problems can be put into words for the teacher.
    if (levelFileMessageFor(reading, table).empty() !=
        levelFileProblemLines(reading, table).empty()) {
        std::fprintf(stderr, "Broken rule: the start-up message and the error lines disagree\n");
        std::abort();
    }

    LessonPanel& lesson = panel();
    lesson.levels = table;
    // The same input always draws the same questions, so a crash can be replayed.
    const std::uint32_t seed = hashOf(text);
    std::srand(seed);
    for (int level = 0; level < levelCount; ++level) {
        lesson.difficulty = level;
        lesson.newRandomQuestion();
        const int dividend = lesson.dividend;
        const int divisor = lesson.divisor;
        const bool exists = level < static_cast<int>(table.size());
        const bool holds = exists && levelHoldsAQuestion(table[static_cast<std::size_t>(level)]);
        if (holds) {
            requireQuestion(insideLevel(table[static_cast<std::size_t>(level)], dividend, divisor),
                            "the question lies inside the level", level, dividend, divisor);
            requireQuestion(worthWorking(dividend, divisor), "the question is worth working", level,
                            dividend, divisor);
        } else {
            requireQuestion(dividend == fallbackDividend && divisor == fallbackDivisor,
                            "a level without a question gives 100 / 7", level, dividend, divisor);
        }
        lesson.board.autoProduct = (seed >> level) & 1u;
        lesson.board.autoRemainder = (seed >> (level + 8)) & 1u;
        lesson.board.setUpQuestion(dividend, divisor);
        requireBoardInvariants(lesson.board);
        solveOnBoard(lesson.board, seed + static_cast<std::uint32_t>(level));
    }
    return 0;
}
