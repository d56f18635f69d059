// Random questions: which pairs a level yields, that the shipped levels give questions
// the board and the Create Question dialog can handle, and that a table which cannot
// give a question yields a defined one instead of hanging or reading past its end.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"

namespace {

struct Pair {
    int dividend;
    int divisor;
    bool operator<(const Pair& other) const {
        return dividend != other.dividend ? dividend < other.dividend : divisor < other.divisor;
    }
};

class LessonPanelQuestionTest : public ::testing::Test {
protected:
    LessonPanelQuestionTest() { std::srand(20240607u); }

    // Every distinct pair that many draws from this table and difficulty give.
    std::set<Pair> drawMany(const LevelTable& table, int difficulty, int draws = 1000) {
        panel.levels = table;
        panel.difficulty = difficulty;
        std::set<Pair> seen;
        for (int i = 0; i < draws; ++i) {
            panel.newRandomQuestion();
            seen.insert({panel.dividend, panel.divisor});
        }
        return seen;
    }

    Pair drawOne(const LevelTable& table, int difficulty = 0) {
        panel.levels = table;
        panel.difficulty = difficulty;
        panel.newRandomQuestion();
        return {panel.dividend, panel.divisor};
    }

    static std::set<int> dividendsOf(const std::set<Pair>& pairs) {
        std::set<int> dividends;
        for (const Pair& pair : pairs) {
            dividends.insert(pair.dividend);
        }
        return dividends;
    }

    static std::set<int> range(int first, int last) {
        std::set<int> values;
        for (int value = first; value <= last; ++value) {
            values.insert(value);
        }
        return values;
    }

    FakeDrawingServices services;
    LessonPanel panel;
};

// The fixed question given when a level cannot give one of its own.
void expectFallback(const Pair& pair) {
    EXPECT_EQ(pair.dividend, 100);
    EXPECT_EQ(pair.divisor, 7);
}

TEST_F(LessonPanelQuestionTest, SmallDivisorsNeedAQuotientOfThirteen) {
    const auto pairs = drawMany({{7, 7, 35, 99}}, 0);
    EXPECT_EQ(dividendsOf(pairs), range(91, 99)) << "35 to 90 give quotients below 13";

    EXPECT_EQ(dividendsOf(drawMany({{12, 12, 60, 170}}, 0)), range(156, 170));
}

TEST_F(LessonPanelQuestionTest, LargerDivisorsNeedAQuotientOfFive) {
    EXPECT_EQ(dividendsOf(drawMany({{20, 20, 60, 120}}, 0)), range(100, 120));
}

TEST_F(LessonPanelQuestionTest, TenTimesTheDivisorIsNeverAsked) {
    EXPECT_EQ(dividendsOf(drawMany({{13, 13, 128, 132}}, 0)), (std::set<int>{128, 129, 131, 132}));
    EXPECT_EQ(dividendsOf(drawMany({{2, 2, 20, 30}}, 0)), range(26, 30));
}

TEST_F(LessonPanelQuestionTest, DivisorTenIsNeverDrawn) {
    std::set<int> divisors;
    for (const Pair& pair : drawMany({{9, 11, 143, 200}}, 0)) {
        divisors.insert(pair.divisor);
    }
    EXPECT_EQ(divisors, (std::set<int>{9, 11}));
}

TEST_F(LessonPanelQuestionTest, DrawingLeavesTheLessonAndTheBoardAlone) {
    panel.lessonState = Answered;
    const int boardDividend = panel.board.dividend;
    drawMany({{20, 30, 2000, 3000}}, 0, 10);
    EXPECT_EQ(panel.lessonState, Answered);
    EXPECT_EQ(panel.board.dividend, boardDividend);
}

TEST_F(LessonPanelQuestionTest, ShippedLevelsGiveQuestionsTheDrillCanHandle) {
    // The panel read Data/levels.txt from the repository root while it was made.
    const LevelTable shipped = panel.levels;
    ASSERT_GE(shipped.size(), 5u);
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        SCOPED_TRACE(difficulty);
        const LevelRecord& level = shipped[static_cast<std::size_t>(difficulty)];
        const auto pairs = drawMany(shipped, difficulty);
        EXPECT_GT(pairs.size(), 1u) << "drawn at random, not a fixed question";
        for (const Pair& pair : pairs) {
            const int quotient = pair.dividend / pair.divisor;
            EXPECT_GE(quotient, 5);
            EXPECT_NE(pair.divisor, 10);
            EXPECT_NE(pair.dividend, 10 * pair.divisor);
            EXPECT_TRUE(pair.divisor >= 13 || quotient >= 13);
            EXPECT_LE(pair.dividend, 9999);
            EXPECT_GE(pair.divisor, 2);
            EXPECT_LE(pair.divisor, 99);
            EXPECT_GT(pair.dividend, pair.divisor);
            EXPECT_GE(pair.divisor, level.divisorMin);
            EXPECT_LE(pair.divisor, level.divisorMax);
            EXPECT_GE(pair.dividend, level.dividendMin);
            EXPECT_LE(pair.dividend, level.dividendMax);
        }
    }
}

TEST_F(LessonPanelQuestionTest, MissingRecordGivesTheFixedQuestion) {
    expectFallback(drawOne({}, 0));
    expectFallback(drawOne({{7, 7, 35, 99}, {7, 7, 35, 99}}, 4));
    expectFallback(drawOne({{7, 7, 35, 99}}, -1));
}

TEST_F(LessonPanelQuestionTest, EmptyOrReversedRangesGiveTheFixedQuestion) {
    expectFallback(drawOne({{9, 5, 100, 200}}));
    expectFallback(drawOne({{5, 9, 200, 100}}));
}

TEST_F(LessonPanelQuestionTest, DivisorRangesReachingZeroOrBelowGiveTheFixedQuestion) {
    expectFallback(drawOne({{0, 5, 100, 200}}));
    expectFallback(drawOne({{0, 0, 100, 200}}));
    expectFallback(drawOne({{-3, -1, 100, 200}}));
}

TEST_F(LessonPanelQuestionTest, LevelWithNoAcceptablePairGivesTheFixedQuestion) {
    expectFallback(drawOne({{10, 10, 1, 9999}}));
    expectFallback(drawOne({{7, 7, 35, 90}}));
    expectFallback(drawOne({{50, INT_MAX, 1, 200}}));
}

// The board's arithmetic and layout hold for dividends up to 9,999 and divisors up to
// 99; a level file reaching further must not hand it larger numbers.
TEST_F(LessonPanelQuestionTest, LevelsReachingBeyondTheDrillsLimitsAreCutBackToThem) {
    const auto pairs = drawMany({{50, 5000, 100, 2000000000}}, 0);
    EXPECT_GT(pairs.size(), 1u) << "still drawn at random from what is left";
    for (const Pair& pair : pairs) {
        EXPECT_LE(pair.dividend, 9999);
        EXPECT_GE(pair.divisor, 50);
        EXPECT_LE(pair.divisor, 99);
    }
    expectFallback(drawOne({{100, 200, 20000, 30000}}));
    expectFallback(drawOne({{1, 1, 10000, 2000000000}}));
}

TEST_F(LessonPanelQuestionTest, AQuestionFromAnOverWideLevelNeverTakesMoreThanFourDigits) {
    panel.levels = {{1, 1, 1000000000, 2000000000}};
    panel.difficulty = 0;
    panel.newRandomQuestion();
    panel.board.setUpQuestion(panel.dividend, panel.divisor);
    ASSERT_NE(panel.board.entryRow, nullptr);
    EXPECT_LE(panel.board.entryRow->maxDigits, 4u);
}

TEST_F(LessonPanelQuestionTest, RarePairsAreFoundByWalkingTheLevel) {
    // Only 26 / 2 is acceptable, and random draws over a range this wide miss it.
    const Pair pair = drawOne({{2, 2, INT_MIN, 26}});
    EXPECT_EQ(pair.dividend, 26);
    EXPECT_EQ(pair.divisor, 2);

    // Divisors 1 and 2 among a million; any answer must still come from the level.
    const Pair sparse = drawOne({{1, 1000000, 0, 26}});
    EXPECT_TRUE(sparse.divisor == 1 || sparse.divisor == 2);
    EXPECT_GE(sparse.dividend / sparse.divisor, 13);
    EXPECT_LE(sparse.dividend, 26);

    // The walk's first candidate, 130 / 13, is ten times the divisor and is passed over.
    const Pair walked = drawOne({{13, 2000000000, 130, 131}});
    EXPECT_FALSE(walked.dividend == 130 && walked.divisor == 13);
    EXPECT_GE(walked.dividend / walked.divisor, 5);
    EXPECT_GE(walked.divisor, 13);
}

}  // namespace
