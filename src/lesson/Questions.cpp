// Random questions from the level table: the acceptance rule, the bounded random draw
// with an ordered search behind it, and the reasons a level can give no question.
#include "lesson/Questions.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "words/Words.h"

namespace {

// Random draws tried before the level is searched in order for an acceptable pair.
constexpr int maxRandomDraws = 10000;

// A level reaching beyond the questions Create Question accepts is cut back to them
// rather than handing the board numbers it cannot lay out (and a divisor of 1, which
// no pupil could type in, is never drawn).

// Questions worth working: enough steps to practise, and none that the ten-times table
// answers at a glance. Small divisors need a larger quotient.
bool isAcceptable(std::int64_t dividend, std::int64_t divisor) {
    const std::int64_t quotient = dividend / divisor;
    return quotient >= 5 && divisor != 10 && dividend != 10 * divisor &&
           (divisor >= 13 || quotient >= 13);
}

// A record can be drawn from only when both ranges hold values and every divisor in
// it is at least 1.
bool isUsable(const LevelRecord& level) {
    return 1 <= level.divisorMin && level.divisorMin <= level.divisorMax &&
           level.dividendMin <= level.dividendMax;
}

// The difficulty's record within the drill's limits, if it has one that can be used.
std::optional<LevelRecord> recordFor(const LevelTable& levels, int difficulty) {
    if (difficulty < 0 || static_cast<std::size_t>(difficulty) >= levels.size()) {
        return std::nullopt;
    }
    LevelRecord level = levels[static_cast<std::size_t>(difficulty)];
    if (level.divisorMin == 1) {
        level.divisorMin = smallestDivisor;
    }
    level.divisorMax = std::min(level.divisorMax, largestDivisor);
    level.dividendMax = std::min(level.dividendMax, largestDividend);
    if (!isUsable(level)) {
        return std::nullopt;
    }
    return level;
}

// min + (rand() mod the range's size), in 64 bits so that wide ranges cannot overflow.
std::int64_t drawFrom(std::int32_t min, std::int32_t max) {
    const std::int64_t size = static_cast<std::int64_t>(max) - min + 1;
    return min + static_cast<std::int64_t>(std::rand()) % size;
}

std::optional<Question> drawAtRandom(const LevelRecord& level) {
    for (int draw = 0; draw < maxRandomDraws; ++draw) {
        const std::int64_t divisor = drawFrom(level.divisorMin, level.divisorMax);
        const std::int64_t dividend = drawFrom(level.dividendMin, level.dividendMax);
        if (isAcceptable(dividend, divisor)) {
            return Question{static_cast<int>(dividend), static_cast<int>(divisor)};
        }
    }
    return std::nullopt;
}

// The smallest acceptable dividend of the level for this divisor, if there is one.
std::optional<std::int64_t> smallestDividendFor(const LevelRecord& level, std::int64_t divisor) {
    if (divisor == 10) {
        return std::nullopt;
    }
    const std::int64_t leastQuotient = divisor >= 13 ? 5 : 13;
    std::int64_t dividend = std::max<std::int64_t>(level.dividendMin, divisor * leastQuotient);
    if (dividend == 10 * divisor) {
        ++dividend;
    }
    if (dividend > level.dividendMax) {
        return std::nullopt;
    }
    return dividend;
}

// Walks the divisors upwards for the first acceptable pair. From 13 on a divisor needs
// a dividend of at least five times itself, so once that exceeds the level's largest
// dividend no larger divisor can do better and the walk stops.
std::optional<Question> searchInOrder(const LevelRecord& level) {
    for (std::int64_t divisor = level.divisorMin; divisor <= level.divisorMax; ++divisor) {
        if (const auto dividend = smallestDividendFor(level, divisor)) {
            return Question{static_cast<int>(*dividend), static_cast<int>(divisor)};
        }
        if (divisor >= 13 && divisor * 5 > level.dividendMax) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace

Question questionFor(const LevelTable& levels, int difficulty) {
    const std::optional<LevelRecord> level = recordFor(levels, difficulty);
    if (!level) {
        return fallbackQuestion;
    }
    if (const auto drawn = drawAtRandom(*level)) {
        return *drawn;
    }
    if (const auto found = searchInOrder(*level)) {
        return *found;
    }
    return fallbackQuestion;
}

// The reasons are whole English clauses, marked for the catalogue: the start-up message
// shows each in the pupil's language.
static_assert(smallestDivisor == 2 && largestDivisor == 99 && largestDividend == 9999,
              "the reasons name these limits");

std::string whyNoQuestion(const LevelTable& levels, int difficulty) {
    if (difficulty < 0 || static_cast<std::size_t>(difficulty) >= levels.size()) {
        return trNoop("has no record in the file");
    }
    const LevelRecord& level = levels[static_cast<std::size_t>(difficulty)];
    if (level.divisorMin < 1) {
        return trNoop("has a smallest divisor below 1");
    }
    if (level.divisorMin > level.divisorMax) {
        return trNoop("has a smallest divisor above its largest");
    }
    if (level.dividendMin > level.dividendMax) {
        return trNoop("has a smallest dividend above its largest");
    }
    if (level.divisorMin > largestDivisor) {
        return trNoop("has no divisor up to 99");
    }
    if (level.divisorMax < smallestDivisor) {
        return trNoop("has no divisor of 2 or more");
    }
    if (level.dividendMin > largestDividend) {
        return trNoop("has no dividend up to 9999");
    }
    const std::optional<LevelRecord> usable = recordFor(levels, difficulty);
    if (!usable || !searchInOrder(*usable)) {
        return trNoop(
            "holds no pair worth working (a quotient of at least 5, at least 13 for "
            "divisors up to 12, no divisor 10, no dividend ten times the divisor)");
    }
    return {};
}

std::string whyOutsideCreateQuestion(const LevelTable& levels, int difficulty) {
    if (!whyNoQuestion(levels, difficulty).empty()) {
        return {};
    }
    const LevelRecord& level = levels[static_cast<std::size_t>(difficulty)];
    if (level.divisorMin >= smallestDivisor && level.divisorMax <= largestDivisor &&
        level.dividendMax <= largestDividend) {
        return {};
    }
    return "reaches beyond the questions Create Question accepts (divisors " +
           std::to_string(smallestDivisor) + " to " + std::to_string(largestDivisor) +
           ", dividends up to " + std::to_string(largestDividend) +
           "); only the questions within them are given";
}
