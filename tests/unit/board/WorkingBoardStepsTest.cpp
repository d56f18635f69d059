// Whole questions worked through keys alone: the checking of multiples, products,
// remainders and answers, the two automatic settings, errors and their recovery, and
// the remembered typing directions.
#include <gtest/gtest.h>

#include "BoardTestSupport.h"

namespace {

using WorkingBoardStepsTest = BoardTest;

TEST_F(WorkingBoardStepsTest, HundredBySevenWithEverythingTyped) {
    board.setUpQuestion(100, 7);
    answer(10);
    EXPECT_EQ(board.state, EnterProduct);
    EXPECT_EQ(board.currentMultiple, 10);
    answer(70);
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.currentProduct, 70);
    answer(30);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.usedMultiples, std::vector<int>{10});
    EXPECT_EQ(board.remaining, 30);
    EXPECT_EQ(board.entryRow->maxDigits, 1u);

    answer(4);
    answer(28);
    answer(2);
    EXPECT_EQ(board.state, EnterAnswer);
    EXPECT_EQ(board.remaining, 2);
    EXPECT_EQ(board.entryRow->maxDigits, 2u);

    answer(13);
    EXPECT_EQ(board.state, AnswerWrong);
    EXPECT_EQ(board.answer, 0);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->errorColour);
    EXPECT_EQ(board.entryRow->text, u"13") << "the wrong answer stays visible";

    key(KeyCode::Digit0 + 1);
    EXPECT_EQ(board.state, EnterAnswer);
    EXPECT_TRUE(board.entryRow->text.empty()) << "the key only cleared the error";
    EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);

    answer(14);
    EXPECT_EQ(board.state, Finished);
    EXPECT_EQ(board.answer, 14);
    EXPECT_EQ(board.sumOfMultiples(), 14);
}

TEST_F(WorkingBoardStepsTest, WrongProductAndRemainderAreRetried) {
    board.setUpQuestion(100, 7);
    answer(10);
    answer(71);
    EXPECT_EQ(board.state, ProductWrong);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->errorColour);
    EXPECT_EQ(board.currentProduct, 0);
    enter();
    EXPECT_EQ(board.state, EnterProduct);
    EXPECT_EQ(board.currentMultiple, 10);
    answer(70);
    answer(31);
    EXPECT_EQ(board.state, RemainderWrong);
    key(KeyCode::Backspace);
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);
    answer(30);
    EXPECT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.remaining, 30);
}

TEST_F(WorkingBoardStepsTest, OneStepQuestionFinishesWithoutAnAnswerLine) {
    board.setUpQuestion(84, 12);
    answer(7);
    EXPECT_EQ(board.state, EnterProduct);
    answer(84);
    EXPECT_EQ(board.state, Finished);
    EXPECT_EQ(board.answer, 7);
    EXPECT_EQ(board.remaining, 0);
}

// What each combination of the two automatic settings leaves the pupil to type for
// 100 / 7 in steps of 10 and 4: the states seen after each accepted number.
struct AutoCase {
    bool autoProduct;
    bool autoRemainder;
    std::vector<int> typed;
    std::vector<BoardState> after;
};

TEST_F(WorkingBoardStepsTest, AutomaticSettingsInEveryCombination) {
    const std::vector<AutoCase> cases = {
        {false,
         false,
         {10, 70, 30, 4, 28, 2},
         {EnterProduct, EnterRemainder, EnterMultiple, EnterProduct, EnterRemainder, EnterAnswer}},
        {true, false, {10, 30, 4, 2}, {EnterRemainder, EnterMultiple, EnterRemainder, EnterAnswer}},
        {false, true, {10, 70, 4, 28}, {EnterProduct, EnterMultiple, EnterProduct, EnterAnswer}},
        {true, true, {10, 4}, {EnterMultiple, EnterAnswer}},
    };
    for (const AutoCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "autoProduct " << c.autoProduct << ", autoRemainder " << c.autoRemainder);
        board.setUpQuestion(100, 7);
        board.autoProduct = c.autoProduct;
        board.autoRemainder = c.autoRemainder;
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            answer(c.typed[i]);
            EXPECT_EQ(board.state, c.after[i]) << "after typing " << c.typed[i];
        }
        EXPECT_EQ(board.usedMultiples, (std::vector<int>{10, 4}));
        EXPECT_EQ(board.remaining, 2);
        answer(14);
        EXPECT_EQ(board.state, Finished);
    }
}

TEST_F(WorkingBoardStepsTest, KnownMultiplesNeverAskForTheirProduct) {
    board.setUpQuestion(100, 7);
    answer(1);
    EXPECT_EQ(board.state, EnterRemainder) << "the product of 1 is written by the board";
    EXPECT_EQ(board.currentProduct, 7);
    answer(93);
    answer(3);
    answer(21);
    answer(72);
    answer(3);
    EXPECT_EQ(board.state, EnterRemainder) << "3 was used before";
    EXPECT_EQ(board.currentProduct, 21);
    EXPECT_TRUE(board.isKnownMultiple(3));
    EXPECT_FALSE(board.isKnownMultiple(4));
    board.autoProduct = true;
    EXPECT_TRUE(board.isKnownMultiple(4));
}

TEST_F(WorkingBoardStepsTest, AProductEqualToWhatRemainsCompletesTheStep) {
    board.setUpQuestion(56, 7);
    answer(4);
    answer(28);
    answer(28);
    answer(4);
    EXPECT_EQ(board.state, EnterAnswer) << "4 is known and 28 - 28 leaves nothing to type";
    EXPECT_EQ(board.remaining, 0);
    answer(8);
    EXPECT_EQ(board.state, Finished);
}

TEST_F(WorkingBoardStepsTest, EnterWithZeroWaitsForAMultipleOrProduct) {
    board.setUpQuestion(100, 7);
    enter();
    EXPECT_EQ(board.state, EnterMultiple);
    board.entryRow->rightToLeft = 1;
    key(KeyCode::Digit0);
    key(KeyCode::Digit0);
    ASSERT_EQ(board.entryRow->text, u"00");
    enter();
    EXPECT_EQ(board.state, EnterMultiple) << "a row of zeros is worth 0";
    EXPECT_EQ(board.entryRow->text, u"00");

    key(KeyCode::Backspace);
    key(KeyCode::Backspace);
    board.entryRow->rightToLeft = 0;
    answer(10);
    enter();
    EXPECT_EQ(board.state, EnterProduct);
}

TEST_F(WorkingBoardStepsTest, EnterWithZeroChecksARemainderAndAnAnswer) {
    board.setUpQuestion(100, 7);
    answer(10);
    answer(70);
    enter();
    EXPECT_EQ(board.state, RemainderWrong);

    board.setUpQuestion(100, 7);
    board.autoProduct = board.autoRemainder = true;
    answer(10);
    answer(4);
    enter();
    EXPECT_EQ(board.state, AnswerWrong);
}

TEST_F(WorkingBoardStepsTest, AMultipleTooBigIsShownThenClearedByAnyKeyOrPress) {
    for (int recovery = 0; recovery < 3; ++recovery) {
        SCOPED_TRACE(recovery);
        board.setUpQuestion(50, 7);
        answer(9);
        EXPECT_EQ(board.state, MultipleTooBig);
        EXPECT_EQ(board.currentProduct, 63);
        EXPECT_EQ(board.currentMultiple, 0);
        EXPECT_EQ(board.entryRow->colour, board.entryRow->errorColour);
        EXPECT_EQ(board.entryRow->text, u"9");

        if (recovery == 0) {
            enter();
        } else if (recovery == 1) {
            key(KeyCode::Digit0 + 7);
        } else {
            board.pressAt({300.0f, 300.0f});
        }
        EXPECT_EQ(board.state, EnterMultiple);
        EXPECT_EQ(board.currentProduct, 0);
        EXPECT_TRUE(board.entryRow->text.empty()) << "the key is not typed";
        EXPECT_EQ(board.entryRow->colour, board.entryRow->normalColour);
        EXPECT_EQ(board.entryRow->maxDigits, 1u) << "the digit limit is kept";
    }
}

TEST_F(WorkingBoardStepsTest, AMultipleThatJustFitsIsAccepted) {
    board.setUpQuestion(49, 7);
    answer(7);
    EXPECT_EQ(board.state, EnterProduct);
}

// An edited level file can set questions far beyond four digits; a typed multiple whose
// product does not fit in an int must still be refused, not wrapped round and accepted.
TEST_F(WorkingBoardStepsTest, AHugeMultipleIsRefusedWithoutOverflow) {
    board.setUpQuestion(2000000000, 99);
    board.autoProduct = board.autoRemainder = true;
    ASSERT_EQ(board.entryRow->maxDigits, 8u);
    answer(99999999);  // 99 x 99,999,999 is nearly 10 billion
    EXPECT_EQ(board.state, MultipleTooBig);
    EXPECT_TRUE(board.usedMultiples.empty());
    EXPECT_EQ(board.remaining, 2000000000);
    EXPECT_GT(board.currentProduct, 9999) << "too large to be shown beside the row";

    enter();
    answer(20202021);  // 2,000,000,079: just too big
    EXPECT_EQ(board.state, MultipleTooBig);
    enter();
    answer(20202020);  // 1,999,999,980: just fits
    EXPECT_EQ(board.usedMultiples, std::vector<int>{20202020});
    EXPECT_EQ(board.remaining, 20);
}

TEST_F(WorkingBoardStepsTest, HighKeyCodesOnlyClearErrors) {
    board.setUpQuestion(100, 7);
    type(5);
    for (int code : {-128, -56, -1, 0x80 - 256, 200}) {
        key(code);
    }
    EXPECT_EQ(board.entryRow->text, u"5");
    EXPECT_EQ(board.state, EnterMultiple);

    answer(0);  // the 5 is already there: 50 lots of 7 is too big
    ASSERT_EQ(board.state, MultipleTooBig);
    key(-56);
    EXPECT_EQ(board.state, EnterMultiple);
}

TEST_F(WorkingBoardStepsTest, OnlyTheLowByteOfAKeyCodeCounts) {
    board.setUpQuestion(100, 7);
    key(0x100 + KeyCode::Digit0 + 2);
    EXPECT_EQ(board.entryRow->text, u"2");
    key(0x300 + KeyCode::Enter);
    EXPECT_EQ(board.state, EnterProduct);
}

TEST_F(WorkingBoardStepsTest, FinishedIgnoresFurtherKeys) {
    board.setUpQuestion(84, 12);
    answer(7);
    answer(84);
    ASSERT_EQ(board.state, Finished);
    answer(3);
    EXPECT_EQ(board.state, Finished);
    EXPECT_EQ(board.answer, 7);
}

TEST_F(WorkingBoardStepsTest, KeysKeepTheEntryRowInView) {
    board.setUpQuestion(100, 7);
    board.entryRow->position = {35.0f, 100.0f};
    key(KeyCode::Digit0 + 1);
    EXPECT_EQ(board.glideport.velocity, 0.0) << "a row in view does not glide";

    board.entryRow->position = {35.0f, 540.0f};  // 540 + 43 > 574
    key(KeyCode::Digit0 + 1);
    EXPECT_NE(board.glideport.velocity, 0.0) << "a row reaching below the view glides";

    scrollTo(-200.0f);
    board.glideport.velocity = 0.0;
    board.entryRow->position = {35.0f, 100.0f};
    key(KeyCode::Backspace);
    // A row above the view also glides to the bottom, which lies 5000 - 200 + 1 - 574
    // pixels below the view.
    EXPECT_EQ(board.glideport.velocity, -(2.0 * 4227.0 + 200.0));
}

TEST_F(WorkingBoardStepsTest, SpaceInAStageIsRememberedForLaterQuestions) {
    board.setUpQuestion(100, 7);
    answer(10);
    ASSERT_EQ(board.state, EnterProduct);
    key(KeyCode::Space);
    EXPECT_EQ(board.entryRow->rightToLeft, 1);
    EXPECT_EQ(board.productRightToLeft, 1);
    EXPECT_EQ(board.multipleRightToLeft, 0);
    answer(70);  // typed units first
    EXPECT_EQ(board.state, EnterRemainder);
    EXPECT_EQ(board.entryRow->rightToLeft, 0);
    answer(30);

    board.setUpQuestion(200, 9);
    EXPECT_EQ(board.productRightToLeft, 1);
    answer(20);
    ASSERT_EQ(board.state, EnterProduct);
    EXPECT_EQ(board.entryRow->rightToLeft, 1);
}

TEST_F(WorkingBoardStepsTest, RememberDirectionStoresTheRowsDirectionForTheStage) {
    board.setUpQuestion(100, 7);
    board.entryRow->rightToLeft = 1;  // as the right button flips it
    board.rememberDirection();
    EXPECT_EQ(board.multipleRightToLeft, 1);

    answer(10);
    answer(70);
    ASSERT_EQ(board.state, EnterRemainder);
    board.entryRow->rightToLeft = 1;
    board.rememberDirection();
    EXPECT_EQ(board.remainderRightToLeft, 1);

    answer(31);
    ASSERT_EQ(board.state, RemainderWrong);
    board.entryRow->rightToLeft = 0;
    board.rememberDirection();
    EXPECT_EQ(board.remainderRightToLeft, 1) << "error states keep no direction";
}

TEST_F(WorkingBoardStepsTest, SpaceInAnErrorStateOnlyClearsTheError) {
    board.setUpQuestion(100, 7);
    answer(10);
    answer(71);
    ASSERT_EQ(board.state, ProductWrong);
    key(KeyCode::Space);
    EXPECT_EQ(board.state, EnterProduct);
    EXPECT_EQ(board.entryRow->rightToLeft, 0);
    EXPECT_EQ(board.productRightToLeft, 0);
}

TEST_F(WorkingBoardStepsTest, TheFirstMultipleIsLeftToRightThenTheRememberedDirection) {
    board.multipleRightToLeft = 1;
    board.setUpQuestion(100, 7);
    EXPECT_EQ(board.entryRow->rightToLeft, 0);
    answer(10);
    answer(70);
    answer(30);
    ASSERT_EQ(board.state, EnterMultiple);
    EXPECT_EQ(board.entryRow->rightToLeft, 1);
}

TEST_F(WorkingBoardStepsTest, TheAnswerRowTakesItsRememberedDirection) {
    board.answerRightToLeft = 1;
    board.setUpQuestion(100, 7);
    board.autoProduct = board.autoRemainder = true;
    answer(10);
    answer(4);
    ASSERT_EQ(board.state, EnterAnswer);
    EXPECT_EQ(board.entryRow->rightToLeft, 1);
    key(KeyCode::Digit0 + 4);
    key(KeyCode::Digit0 + 1);
    enter();
    EXPECT_EQ(board.state, Finished);
    EXPECT_EQ(board.answer, 14);
}

}  // namespace
