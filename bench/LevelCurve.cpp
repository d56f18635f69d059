// How hard each level of a level file is, measured with the program's own reader and
// draw: for a number of accepted draws per level, the mean quotient, the mean number of
// steps when the pupil takes place-value chunks (hundreds, then tens, then units), the
// numbers the pupil types with both automatic settings off, how many distinct questions
// came up and the share that took a single step. With --check it also says whether the
// levels make a curve a teacher can trust, and fails when they do not.
//
// Usage: level_curve [--seed N] [--draws N] [--check] [file]   (file: Data/levels.txt)
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "lesson/LevelFile.h"
#include "lesson/LevelFileProblems.h"
#include "lesson/Questions.h"

namespace {

constexpr std::array<const char*, usedLevelCount> levelNames = {
    "Beginner", "Novice", "Intermediate", "Advanced", "Expert"};

// What Create Question accepts, which every drawn question must too.
constexpr int dividendLimit = 10000;  // dividends stay below it
constexpr int smallestDivisor = 2;
constexpr int largestDivisor = 99;

// The curve a teacher can trust: at least this many distinct questions per level, and
// at most this share of single-step questions above Novice.
constexpr std::size_t fewestDistinct = 400;
constexpr double mostSingleSteps = 0.03;
constexpr std::size_t firstLevelAboveNovice = 2;

struct Options {
    unsigned seed = static_cast<unsigned>(std::time(nullptr));
    int draws = 20000;
    bool check = false;
    std::string file = levelFilePath().string();
};

struct Curve {
    double meanQuotient = 0.0;
    double meanSteps = 0.0;
    double meanTyped = 0.0;
    std::size_t distinct = 0;
    double singleStepShare = 0.0;
    bool insideLimits = true;
};

// The multiples a pupil taking place-value chunks subtracts: the hundreds (and any
// thousands with them), the tens, the units; a zero digit is no step.
std::vector<int> placeValueChunks(int quotient) {
    std::vector<int> chunks;
    for (const int chunk : {quotient / 100 * 100, quotient / 10 % 10 * 10, quotient % 10}) {
        if (chunk > 0) {
            chunks.push_back(chunk);
        }
    }
    return chunks;
}

// The numbers typed on the board with both automatic settings off: each step's multiple;
// its product unless the multiple is 1 (the board writes that one); what remains unless
// the step leaves 0; and the answer, which a single-step question does not ask for.
int numbersTyped(const Question& question, const std::vector<int>& chunks) {
    int typed = 0;
    int remaining = question.dividend;
    for (const int multiple : chunks) {
        const int product = multiple * question.divisor;
        typed += 1 + (multiple != 1 ? 1 : 0) + (remaining != product ? 1 : 0);
        remaining -= product;
    }
    return typed + (chunks.size() > 1 ? 1 : 0);
}

bool insideCreateQuestionLimits(const Question& question) {
    return question.dividend < dividendLimit && question.divisor >= smallestDivisor &&
           question.divisor <= largestDivisor && question.dividend > question.divisor;
}

Curve measure(const LevelTable& levels, int level, int draws) {
    Curve curve;
    std::set<std::pair<int, int>> seen;
    long long quotients = 0;
    long long steps = 0;
    long long typed = 0;
    int singleSteps = 0;
    for (int draw = 0; draw < draws; ++draw) {
        const Question question = questionFor(levels, level);
        const std::vector<int> chunks = placeValueChunks(question.dividend / question.divisor);
        quotients += question.dividend / question.divisor;
        steps += static_cast<long long>(chunks.size());
        typed += numbersTyped(question, chunks);
        singleSteps += chunks.size() == 1 ? 1 : 0;
        seen.insert({question.dividend, question.divisor});
        curve.insideLimits = curve.insideLimits && insideCreateQuestionLimits(question);
    }
    const double count = static_cast<double>(draws);
    curve.meanQuotient = static_cast<double>(quotients) / count;
    curve.meanSteps = static_cast<double>(steps) / count;
    curve.meanTyped = static_cast<double>(typed) / count;
    curve.distinct = seen.size();
    curve.singleStepShare = static_cast<double>(singleSteps) / count;
    return curve;
}

int digits(std::int32_t value) {
    return static_cast<int>(
        std::to_string(value < 0 ? -static_cast<std::int64_t>(value) : value).size());
}

// Digit counts of a level's four bounds, which must never fall from one level to the next.
std::array<int, 4> boundDigits(const LevelRecord& level) {
    return {digits(level.divisorMin), digits(level.divisorMax), digits(level.dividendMin),
            digits(level.dividendMax)};
}

// The failed conditions of a trustworthy curve, as lines; none when it holds.
std::vector<std::string> curveFaults(const LevelTable& levels, const std::vector<Curve>& curves) {
    std::vector<std::string> faults;
    for (std::size_t level = 0; level < curves.size(); ++level) {
        const std::string name = levelNames[level];
        const Curve& curve = curves[level];
        if (curve.distinct < fewestDistinct) {
            faults.push_back(name + ": fewer than " + std::to_string(fewestDistinct) +
                             " distinct questions");
        }
        if (level >= firstLevelAboveNovice && curve.singleStepShare > mostSingleSteps) {
            faults.push_back(name + ": more than 3% single-step questions");
        }
        if (!curve.insideLimits) {
            faults.push_back(name + ": a question outside the Create Question limits");
        }
        if (level == 0) {
            continue;
        }
        const Curve& before = curves[level - 1];
        const std::string than = " than " + std::string(levelNames[level - 1]);
        if (curve.meanSteps <= before.meanSteps) {
            faults.push_back(name + ": no more steps" + than);
        }
        if (curve.meanTyped <= before.meanTyped) {
            faults.push_back(name + ": no more numbers typed" + than);
        }
        const std::array<int, 4> now = boundDigits(levels[level]);
        const std::array<int, 4> earlier = boundDigits(levels[level - 1]);
        for (std::size_t bound = 0; bound < now.size(); ++bound) {
            if (now[bound] < earlier[bound]) {
                faults.push_back(name + ": fewer digits in its ranges" + than);
                break;
            }
        }
    }
    return faults;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--check") {
            options.check = true;
        } else if ((argument == "--seed" || argument == "--draws") && i + 1 < argc) {
            const long value = std::strtol(argv[++i], nullptr, 10);
            if (argument == "--seed") {
                options.seed = static_cast<unsigned>(value);
            } else {
                options.draws = static_cast<int>(value);
            }
        } else if (!argument.empty() && argument[0] != '-') {
            options.file = argument;
        } else {
            return false;
        }
    }
    return options.draws > 0;
}

void printTable(const LevelTable& levels, const std::vector<Curve>& curves) {
    std::printf(
        "| Level | divisors | dividends | mean quotient | mean steps | numbers typed | "
        "distinct questions | single-step |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (std::size_t level = 0; level < curves.size(); ++level) {
        const LevelRecord& record = levels[level];
        const Curve& curve = curves[level];
        std::printf("| %s | %d-%d | %d-%d | %.1f | %.2f | %.2f | %zu | %.1f%% |\n",
                    levelNames[level], record.divisorMin, record.divisorMax, record.dividendMin,
                    record.dividendMax, curve.meanQuotient, curve.meanSteps, curve.meanTyped,
                    curve.distinct, 100.0 * curve.singleStepShare);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: level_curve [--seed N] [--draws N] [--check] [file]\n");
        return 2;
    }
    LevelTable levels;
    const LevelFileReading reading = readLevelFile(options.file, levels);
    const std::vector<std::string> problems = levelFileProblemLines(reading, levels);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "level_curve: %s\n", problem.c_str());
    }
    if (!problems.empty()) {
        return 1;  // a level that gives only the fallback question has no curve
    }
    std::srand(options.seed);
    std::vector<Curve> curves;
    for (std::size_t level = 0; level < usedLevelCount; ++level) {
        curves.push_back(measure(levels, static_cast<int>(level), options.draws));
    }
    std::printf("%s, %d accepted draws per level, seed %u\n\n", options.file.c_str(), options.draws,
                options.seed);
    printTable(levels, curves);
    if (!options.check) {
        return 0;
    }
    const std::vector<std::string> faults = curveFaults(levels, curves);
    for (const std::string& fault : faults) {
        std::printf("not a rising curve: %s\n", fault.c_str());
    }
    if (faults.empty()) {
        std::printf("\nEach level is harder than the one before.\n");
    }
    return faults.empty() ? 0 : 1;
}
