// The board's model: construction, question set-up and restart, the per-frame content
// height and its glides, and the stage operations.
#include <gtest/gtest.h>

#include "BoardTestSupport.h"

namespace {

using WorkingBoardModelTest = BoardTest;

TEST_F(WorkingBoardModelTest, ConstructionLoadsTheFontAndTheThreeIcons) {
    ASSERT_NE(board.boardFont, nullptr);
    EXPECT_EQ(board.boardFont->sizeInPoints(), 30.0f);
    EXPECT_EQ(
        drawing.services.loadedPaths,
        (std::vector<std::string>{"Resources/Repeat icon_25.png", "Resources/Delete icon_25.png",
                                  "Resources/Up icon_40.png"}));
    EXPECT_EQ(board.upIcon->width(), 40);
    EXPECT_EQ(board.entryRow, nullptr);
    EXPECT_TRUE(board.usedMultiples.empty());
    EXPECT_EQ(board.glideport.contentHeight, 574.0f);
    EXPECT_EQ(board.glideport.deceleration, 800.0);
    EXPECT_FALSE(board.upIconShown);
    EXPECT_TRUE(board.displayLotsOf);
    EXPECT_FALSE(board.autoProduct);
    EXPECT_FALSE(board.autoRemainder);
}

TEST_F(WorkingBoardModelTest, InputBeforeAnyQuestionIsIgnored) {
    board.keyPressed(KeyCode::Digit0 + 5);
    board.keyPressed(KeyCode::Enter);
    board.rememberDirection();
    board.restartQuestion();
    board.clearError();
    board.limitEntryDigits(42);
    board.enterStage(EnterProduct);
    board.startNextStep();
    EXPECT_EQ(board.entryRow, nullptr);
    EXPECT_TRUE(board.usedMultiples.empty());
    EXPECT_EQ(board.state, EnterMultiple);
}

TEST_F(WorkingBoardModelTest, SetUpStartsAnEmptyQuestion) {
    board.setUpQuestion(100, 7);
    EXPECT_EQ(board.dividend, 100);
    EXPECT_EQ(board.remaining, 100);
    EXPECT_EQ(board.divisor, 7);
    EXPECT_EQ(board.state, EnterMultiple);
    ASSERT_NE(board.entryRow, nullptr);
    EXPECT_EQ(board.entryRow->maxDigits, 2u);
    EXPECT_TRUE(board.entryRow->text.empty());
    EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);
    EXPECT_EQ(board.currentMultiple, 0);
    EXPECT_EQ(board.currentProduct, 0);
}

TEST_F(WorkingBoardModelTest, EntryRowDigitsFollowTheQuotient) {
    board.setUpQuestion(96, 12);
    EXPECT_EQ(board.entryRow->maxDigits, 1u);
    board.setUpQuestion(9999, 2);
    EXPECT_EQ(board.entryRow->maxDigits, 4u);
    board.setUpQuestion(999, 9);
    EXPECT_EQ(board.entryRow->maxDigits, 3u);
}

TEST_F(WorkingBoardModelTest, SetUpReplacesTheRowAndClearsTheOldQuestion) {
    board.setUpQuestion(100, 7);
    answer(10);
    answer(70);
    answer(30);
    board.entryRow->colour = board.entryRow->errorColour;
    board.answer = 99;

    board.setUpQuestion(50, 3);
    EXPECT_TRUE(board.usedMultiples.empty());
    EXPECT_EQ(board.remaining, 50);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);
    EXPECT_EQ(board.requiredHeight, 0.0f);
    EXPECT_TRUE(board.entryRow->text.empty());
    EXPECT_EQ(board.entryRow->maxDigits, 2u);
    EXPECT_EQ(board.answer, 99) << "the answer is not reset by set-up";
}

TEST_F(WorkingBoardModelTest, SetUpKeepsScrollPositionAndRememberedDirections) {
    board.setUpQuestion(100, 7);
    board.multipleRightToLeft = 1;
    board.answerRightToLeft = 1;
    scrollTo(-300.0f);
    board.glideport.velocity = 55.0;
    board.setUpQuestion(200, 9);
    EXPECT_EQ(board.multipleRightToLeft, 1);
    EXPECT_EQ(board.answerRightToLeft, 1);
    EXPECT_EQ(board.glideport.originY, -300.0f);
    EXPECT_EQ(board.glideport.velocity, 55.0);
    EXPECT_EQ(board.entryRow->rightToLeft, 0) << "the first multiple is typed left to right";
}

TEST_F(WorkingBoardModelTest, RestartAfterStepsStartsOverAndGlidesToTheBottom) {
    board.setUpQuestion(100, 7);
    board.multipleRightToLeft = 1;
    answer(10);
    answer(70);
    answer(30);
    answer(3);
    type(2);
    ASSERT_EQ(board.state, EnterProduct);
    ASSERT_EQ(board.entryRow->rightToLeft, 0) << "products keep their own direction";
    ASSERT_EQ(board.usedMultiples.size(), 1u);
    board.glideport.velocity = 0.0;

    board.restartQuestion();
    EXPECT_TRUE(board.usedMultiples.empty());
    EXPECT_EQ(board.remaining, 100);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_TRUE(board.entryRow->text.empty());
    EXPECT_EQ(board.entryRow->value, 0);
    EXPECT_EQ(board.entryRow->rightToLeft, 1);
    EXPECT_EQ(board.entryRow->maxDigits, 2u);
    // The bottom of content as tall as the view lies one pixel past the view.
    EXPECT_EQ(board.glideport.velocity, -202.0);
}

TEST_F(WorkingBoardModelTest, RestartFromAnErrorRestoresTheNormalColour) {
    board.setUpQuestion(50, 7);
    answer(9);
    ASSERT_EQ(board.state, MultipleTooBig);
    board.restartQuestion();
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);
    EXPECT_EQ(board.currentProduct, 0);
}

TEST_F(WorkingBoardModelTest, RequiredHeightCountsStepsAndTheEntryArea) {
    board.setUpQuestion(1000, 7);
    board.frameUpdate(0.02, {});
    EXPECT_EQ(board.requiredHeight, 130.0f);

    board.autoProduct = board.autoRemainder = true;
    answer(10);
    answer(10);
    answer(10);
    board.frameUpdate(0.02, {});
    EXPECT_EQ(board.requiredHeight, 370.0f);

    board.setUpQuestion(100, 7);
    answer(10);
    answer(2);
    answer(2);
    ASSERT_EQ(board.state, EnterAnswer);
    board.frameUpdate(0.02, {});
    EXPECT_EQ(board.requiredHeight, 320.0f);
}

TEST_F(WorkingBoardModelTest, FirstFrameDoesNotGlideButLaterHeightChangesDo) {
    board.setUpQuestion(100, 7);
    board.frameUpdate(0.02, {});
    EXPECT_EQ(board.glideport.velocity, 0.0);
    board.frameUpdate(0.02, {});
    EXPECT_EQ(board.glideport.velocity, 0.0) << "an unchanged height does not glide";

    board.autoProduct = board.autoRemainder = true;
    answer(2);
    board.glideport.velocity = 0.0;  // leave only the frame's own glide to observe
    board.frameUpdate(0.02, {});
    EXPECT_EQ(board.requiredHeight, 210.0f);
    EXPECT_EQ(board.glideport.velocity, -202.0);
    EXPECT_EQ(board.lastRequiredHeight, 210.0f);
}

TEST_F(WorkingBoardModelTest, CrossingIntoTheClosingSumGlides) {
    board.setUpQuestion(20, 7);
    board.autoProduct = board.autoRemainder = true;
    answer(1);
    board.frameUpdate(0.02, {});
    answer(1);
    ASSERT_EQ(board.state, EnterAnswer);
    board.glideport.velocity = 0.0;
    board.frameUpdate(0.02, {});
    // From 2 x 40 x 2 + 50 = 210 with the step in progress to 2 x 40 x 3 = 240.
    EXPECT_EQ(board.requiredHeight, 240.0f);
    EXPECT_NE(board.glideport.velocity, 0.0);
}

TEST_F(WorkingBoardModelTest, TallWorkingOutStaysClampedEveryFrame) {
    board.setUpQuestion(9999, 2);
    board.autoProduct = board.autoRemainder = true;
    for (int step = 0; step < 40; ++step) {
        answer(1);
        for (int frame = 0; frame < 5; ++frame) {
            board.frameUpdate(0.02, {});
            const Glideport& panel = board.glideport;
            ASSERT_LE(panel.originY, 0.0f);
            ASSERT_GE(panel.originY, panel.viewHeight - panel.contentHeight);
        }
    }
    EXPECT_EQ(board.glideport.contentHeight, 2.0f * 40.0f * 41.0f + 50.0f);
    EXPECT_LT(board.glideport.originY, -2000.0f) << "the glides followed the bottom down";
}

TEST_F(WorkingBoardModelTest, DigitCountOfValues) {
    EXPECT_EQ(WorkingBoard::digitCount(0), 1);
    EXPECT_EQ(WorkingBoard::digitCount(9), 1);
    EXPECT_EQ(WorkingBoard::digitCount(10), 2);
    EXPECT_EQ(WorkingBoard::digitCount(99), 2);
    EXPECT_EQ(WorkingBoard::digitCount(100), 3);
    EXPECT_EQ(WorkingBoard::digitCount(9999), 4);
    EXPECT_EQ(WorkingBoard::digitCount(10000), 5);
    EXPECT_EQ(WorkingBoard::digitCount(-42), 1);
}

TEST_F(WorkingBoardModelTest, LimitEntryDigitsKeepsOneToFour) {
    board.setUpQuestion(100, 7);
    board.limitEntryDigits(123);
    EXPECT_EQ(board.entryRow->maxDigits, 3u);
    board.limitEntryDigits(12345);
    EXPECT_EQ(board.entryRow->maxDigits, 3u) << "five digits leave the limit as it was";
    board.limitEntryDigits(0);
    EXPECT_EQ(board.entryRow->maxDigits, 1u);
}

TEST_F(WorkingBoardModelTest, RecordStepSubtractsAndMovesOn) {
    board.setUpQuestion(100, 7);
    board.currentMultiple = 10;
    board.currentProduct = 70;
    board.recordStep();
    EXPECT_EQ(board.usedMultiples, std::vector<int>{10});
    EXPECT_EQ(board.remaining, 30);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.currentMultiple, 0);
    EXPECT_EQ(board.currentProduct, 0);
    EXPECT_EQ(board.entryRow->maxDigits, 1u) << "30 / 7 is 4";
}

TEST_F(WorkingBoardModelTest, StartNextStepFinishesAOneStepQuestionAtOnce) {
    board.setUpQuestion(84, 12);
    board.usedMultiples = {7};
    board.remaining = 0;
    board.answer = 0;
    board.startNextStep();
    EXPECT_EQ(board.state, Finished);
    EXPECT_EQ(board.answer, 7);
}

TEST_F(WorkingBoardModelTest, EnterStageAppliesTheRememberedDirections) {
    board.setUpQuestion(100, 7);
    board.productRightToLeft = 1;
    board.currentMultiple = 10;
    board.enterStage(EnterProduct);
    EXPECT_EQ(board.state, EnterProduct);
    EXPECT_EQ(board.entryRow->rightToLeft, 1);
    EXPECT_EQ(board.entryRow->maxDigits, 2u);

    board.currentProduct = 70;
    board.enterStage(EnterRemainder);
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.entryRow->rightToLeft, 0);
    EXPECT_EQ(board.currentMultiple, 10) << "the step in progress is kept";
}

TEST_F(WorkingBoardModelTest, EnterStageNeverChangesTheRowColour) {
    board.setUpQuestion(100, 7);
    board.entryRow->colour = board.entryRow->errorColour;
    board.enterStage(EnterMultiple);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->errorColour);
}

}  // namespace
