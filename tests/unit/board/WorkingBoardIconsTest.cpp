// Presses on the working-out: the Repeat, Delete and Up icons hit at their pixels, also
// while the working-out is scrolled, and presses that fall through to a drag.
#include <gtest/gtest.h>

#include "BoardTestSupport.h"

namespace {

class WorkingBoardIconsTest : public BoardTest {
protected:
    // 100 / 7 after the given steps, with products and remainders given by the board.
    void stepsOfHundredBySeven(std::initializer_list<int> multiples) {
        board.setUpQuestion(100, 7);
        board.autoProduct = board.autoRemainder = true;
        for (int multiple : multiples) {
            answer(multiple);
        }
        board.autoProduct = board.autoRemainder = false;
    }

    // The centre of the Repeat icon of completed step i, in content coordinates.
    static Point repeatIconCentre(int step) { return {37.0f, 64.0f + 80.0f * step}; }
};

TEST_F(WorkingBoardIconsTest, RepeatWhileScrolledAsksForTheRemainder) {
    stepsOfHundredBySeven({2, 2, 2});
    ASSERT_EQ(board.remaining, 58);
    scrollTo(-40.0f);
    // Step 2's icon covers content y 212 to 237, back-buffer y 172 to 197.
    board.pressAt({30.0f, 180.0f});
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.currentMultiple, 2);
    EXPECT_EQ(board.currentProduct, 14);
    EXPECT_EQ(board.entryRow->maxDigits, 2u);
    EXPECT_FALSE(board.glideport.dragging);
    answer(44);
    EXPECT_EQ(board.usedMultiples, (std::vector<int>{2, 2, 2, 2}));
}

TEST_F(WorkingBoardIconsTest, RepeatAreaEdgesAreInclusive) {
    stepsOfHundredBySeven({2, 2});
    scrollTo(-300.0f);
    board.autoRemainder = true;
    pressContent(25.0f, 132.0f);
    pressContent(50.0f, 77.0f);
    EXPECT_EQ(board.usedMultiples, (std::vector<int>{2, 2, 2, 2}));
    pressContent(51.0f, 64.0f);
    pressContent(37.0f, 78.0f);
    EXPECT_EQ(board.usedMultiples.size(), 4u);
}

TEST_F(WorkingBoardIconsTest, RepeatWithAutoRemainderCompletesTheStep) {
    stepsOfHundredBySeven({3});
    board.autoRemainder = true;
    const Point icon = repeatIconCentre(0);
    pressContent(icon.x, icon.y);
    EXPECT_EQ(board.usedMultiples, (std::vector<int>{3, 3}));
    EXPECT_EQ(board.remaining, 58);
    EXPECT_EQ(board.state, EnterMultiple);
}

TEST_F(WorkingBoardIconsTest, RepeatAsksForARemainderOfZero) {
    board.setUpQuestion(56, 7);
    answer(4);
    answer(28);
    answer(28);
    const Point icon = repeatIconCentre(0);
    pressContent(icon.x, icon.y);
    EXPECT_EQ(board.state, EnterRemainder) << "unlike a typed multiple, 0 is still asked for";
    enter();  // an empty row counts as 0
    EXPECT_EQ(board.state, EnterAnswer);
    EXPECT_EQ(board.remaining, 0);
}

TEST_F(WorkingBoardIconsTest, RepeatReplacesTheStepInProgress) {
    stepsOfHundredBySeven({2});
    answer(5);
    ASSERT_EQ(board.state, EnterProduct);
    const Point icon = repeatIconCentre(0);
    pressContent(icon.x, icon.y);
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.currentMultiple, 2);
    EXPECT_EQ(board.currentProduct, 14);

    answer(8);  // wrong
    ASSERT_EQ(board.state, RemainderWrong);
    pressContent(icon.x, icon.y);  // clears the error, then repeats
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);
}

TEST_F(WorkingBoardIconsTest, AStepThatNoLongerFitsHasNoRepeatArea) {
    board.setUpQuestion(100, 7);
    board.autoProduct = board.autoRemainder = true;
    answer(10);
    answer(2);
    ASSERT_EQ(board.remaining, 16);
    pressContent(37.0f, 64.0f);  // step 0 took 70 > 16
    EXPECT_EQ(board.usedMultiples.size(), 2u);
    EXPECT_TRUE(board.glideport.dragging) << "the press fell through to a drag";

    board.glideport.pointerUp();
    const Point icon = repeatIconCentre(1);
    pressContent(icon.x, icon.y);
    EXPECT_EQ(board.usedMultiples, (std::vector<int>{10, 2, 2}));
}

TEST_F(WorkingBoardIconsTest, RepeatWinsWhereItOverlapsDelete) {
    stepsOfHundredBySeven({2, 2});
    board.autoRemainder = true;
    // x 26 lies in both areas on the last step's line (content y 132 to 157).
    pressContent(26.0f, 140.0f);
    EXPECT_EQ(board.usedMultiples, (std::vector<int>{2, 2, 2}));
}

TEST_F(WorkingBoardIconsTest, DeleteTakesBackTheLastStepWhileScrolled) {
    stepsOfHundredBySeven({10, 2});
    ASSERT_EQ(board.remaining, 16);
    scrollTo(-100.0f);
    // Two steps and none in progress: the icon is on step 1's line, content y 132.
    board.pressAt({10.0f, 140.0f - 100.0f});
    EXPECT_EQ(board.usedMultiples, std::vector<int>{10});
    EXPECT_EQ(board.remaining, 30);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.entryRow->maxDigits, 1u);

    pressContent(3.0f, 52.0f);
    EXPECT_TRUE(board.usedMultiples.empty());
    EXPECT_EQ(board.remaining, 100);
    EXPECT_EQ(board.entryRow->maxDigits, 2u);
}

TEST_F(WorkingBoardIconsTest, DeleteAbandonsTheStepInProgress) {
    board.setUpQuestion(100, 7);
    answer(10);
    ASSERT_EQ(board.state, EnterProduct);
    pressContent(28.0f, 77.0f);  // no step completed: the icon is on line 1
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.currentMultiple, 0);
    EXPECT_EQ(board.remaining, 100);

    stepsOfHundredBySeven({2, 2});
    answer(3);
    answer(21);
    ASSERT_EQ(board.state, EnterRemainder);
    pressContent(10.0f, 212.0f + 10.0f);  // on the line of the step in progress
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.currentProduct, 0);
    EXPECT_EQ(board.usedMultiples.size(), 2u);
}

TEST_F(WorkingBoardIconsTest, DeleteAfterOneStepWithAStepInProgress) {
    stepsOfHundredBySeven({2});
    answer(3);
    ASSERT_EQ(board.state, EnterProduct);
    pressContent(10.0f, 64.0f);  // the completed step's line no longer has the icon
    EXPECT_EQ(board.state, EnterProduct);
    board.glideport.pointerUp();
    pressContent(10.0f, 140.0f);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.usedMultiples.size(), 1u);
}

TEST_F(WorkingBoardIconsTest, NoDeleteBeforeAnything) {
    board.setUpQuestion(100, 7);
    pressContent(10.0f, 60.0f);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_TRUE(board.glideport.dragging);
}

TEST_F(WorkingBoardIconsTest, DeleteDoesNothingOnceEverythingIsSubtracted) {
    stepsOfHundredBySeven({10, 2, 2});
    ASSERT_EQ(board.state, EnterAnswer);
    pressContent(10.0f, 212.0f + 5.0f);  // where the last step's Delete icon would be
    EXPECT_EQ(board.state, EnterAnswer);
    EXPECT_EQ(board.usedMultiples, (std::vector<int>{10, 2, 2}));
    EXPECT_EQ(board.remaining, 2);
}

TEST_F(WorkingBoardIconsTest, UpIconGlidesToTheTopOnlyWhileShown) {
    stepsOfHundredBySeven({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    ASSERT_EQ(board.state, EnterAnswer);
    scrollTo(-500.0f);

    board.upIconShown = false;
    board.pressAt({20.0f, 20.0f});
    EXPECT_TRUE(board.glideport.dragging);
    board.glideport.pointerUp();

    board.upIconShown = true;  // as drawing sets it when scrolled past 70 pixels
    board.glideport.velocity = 0.0;
    board.pressAt({40.0f, 43.0f});
    EXPECT_EQ(board.glideport.velocity, 2000.0);
    EXPECT_FALSE(board.glideport.dragging);

    board.glideport.velocity = 0.0;
    board.pressAt({20.0f, 2.0f});  // above the press area, which starts at y 3
    EXPECT_EQ(board.glideport.velocity, 0.0);
    EXPECT_TRUE(board.glideport.dragging);
}

TEST_F(WorkingBoardIconsTest, UpIconActsAfterAWrongAnswer) {
    stepsOfHundredBySeven({10, 4});
    answer(13);
    ASSERT_EQ(board.state, AnswerWrong);
    scrollTo(-500.0f);
    board.upIconShown = true;
    board.pressAt({20.0f, 20.0f});
    EXPECT_EQ(board.state, EnterAnswer);
    EXPECT_EQ(board.glideport.velocity, 2000.0);
}

TEST_F(WorkingBoardIconsTest, FinishedIgnoresEveryPress) {
    stepsOfHundredBySeven({10, 4});
    answer(14);
    ASSERT_EQ(board.state, Finished);
    scrollTo(-500.0f);
    board.glideport.velocity = 0.0;
    board.upIconShown = true;
    board.pressAt({20.0f, 20.0f});
    board.pressAt({300.0f, 300.0f});
    EXPECT_EQ(board.glideport.velocity, 0.0);
    EXPECT_FALSE(board.glideport.dragging);
    EXPECT_EQ(drawing.services.handCursorCount, 0);
}

TEST_F(WorkingBoardIconsTest, APressOffTheIconsStartsADrag) {
    stepsOfHundredBySeven({2});
    board.pressAt({300.0f, 300.0f});
    EXPECT_TRUE(board.glideport.dragging);
    EXPECT_EQ(drawing.services.handCursorCount, 1);
    EXPECT_EQ(board.state, EnterMultiple);
}

}  // namespace
