// The Create Question dialog against a scripted dialog: Enter in the dividend field,
// the three checks in their order with their messages, what an accepted question
// starts, and typed numbers far beyond the int range.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/Dialogs.h"
#include "fakes/FakeDialogHost.h"
#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"

namespace {

constexpr int ok = 1;
constexpr int cancel = 2;
constexpr int dividendField = 1015;
constexpr int divisorField = 1016;

const std::u16string dividendMessage =
    u"The dividend (number being divided) must be less than 10,000.";
const std::u16string divisorMessage = u"The divisor (number dividing by) must be between 2 and 99.";
const std::u16string orderMessage =
    u"The dividend (number being divided) must be larger than the divisor (number dividing by).";

class CreateQuestionDialogTest : public ::testing::Test {
protected:
    CreateQuestionDialogTest() {
        panel.dividend = 200;
        panel.divisor = 9;
        panel.board.setUpQuestion(200, 9);
        panel.lessonState = Answered;
        dialog.open(procedure);
    }

    // Types both numbers and presses the OK button, which takes the focus.
    void submit(const std::u16string& dividend, const std::u16string& divisor) {
        dialog.typeInto(dividendField, dividend);
        dialog.typeInto(divisorField, divisor);
        dialog.setFocus(ok);
        EXPECT_TRUE(dialog.command(procedure, ok));
    }

    void expectOneError(const std::u16string& message) {
        ASSERT_EQ(dialog.messageBoxes.size(), 1u);
        EXPECT_EQ(dialog.messageBoxes[0].text, message);
        EXPECT_EQ(dialog.messageBoxes[0].caption, u"Error");
        EXPECT_EQ(dialog.messageBoxes[0].buttons, MessageBoxButtons::Ok);
    }

    void expectLessonUnchanged() {
        EXPECT_FALSE(dialog.ended);
        EXPECT_EQ(panel.dividend, 200);
        EXPECT_EQ(panel.divisor, 9);
        EXPECT_EQ(panel.lessonState, Answered);
        EXPECT_EQ(panel.board.dividend, 200);
    }

    FakeDrawingServices services;
    LessonPanel panel;
    CreateQuestionDialog procedure{panel};
    FakeDialogHost dialog{{ok, cancel, dividendField, divisorField}};
};

TEST_F(CreateQuestionDialogTest, OpensWithTheFocusInTheDividendField) {
    EXPECT_EQ(dialog.focus, dividendField);
}

TEST_F(CreateQuestionDialogTest, EnterOnATooLargeDividendRefusesItAtOnce) {
    dialog.typeInto(dividendField, u"12345");
    EXPECT_TRUE(dialog.command(procedure, ok));
    expectOneError(dividendMessage);
    EXPECT_EQ(dialog.controlText(dividendField), u"");
    EXPECT_EQ(dialog.focus, dividendField);
    expectLessonUnchanged();
}

TEST_F(CreateQuestionDialogTest, TypingBothNumbersWithEnterStartsTheQuestion) {
    dialog.typeInto(dividendField, u"345");
    EXPECT_TRUE(dialog.command(procedure, ok));
    EXPECT_TRUE(dialog.messageBoxes.empty());
    EXPECT_FALSE(dialog.ended);
    EXPECT_EQ(dialog.focus, divisorField);

    dialog.typeInto(divisorField, u"7");
    EXPECT_TRUE(dialog.command(procedure, ok));
    EXPECT_TRUE(dialog.messageBoxes.empty());
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.endResult, 0);
    EXPECT_EQ(panel.dividend, 345);
    EXPECT_EQ(panel.divisor, 7);
    EXPECT_EQ(panel.lessonState, Working);
    EXPECT_EQ(panel.board.dividend, 345);
    EXPECT_EQ(panel.board.divisor, 7);
    EXPECT_EQ(panel.board.remaining, 345);
    EXPECT_EQ(panel.board.state, EnterMultiple);
}

TEST_F(CreateQuestionDialogTest, TheLargestQuestionIsAccepted) {
    submit(u"9999", u"99");
    EXPECT_TRUE(dialog.messageBoxes.empty());
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(panel.dividend, 9999);
    EXPECT_EQ(panel.divisor, 99);
}

struct Refusal {
    const char16_t* dividend;
    const char16_t* divisor;
    const std::u16string* message;
    const char16_t* dividendAfter;
    const char16_t* divisorAfter;
    int focusAfter;
};

class CreateQuestionRefusalTest : public CreateQuestionDialogTest,
                                  public ::testing::WithParamInterface<Refusal> {};

TEST_P(CreateQuestionRefusalTest, ShowsOnlyTheFirstFailingCheckAndKeepsTheDialogOpen) {
    const Refusal& refusal = GetParam();
    submit(refusal.dividend, refusal.divisor);
    expectOneError(*refusal.message);
    EXPECT_EQ(dialog.controlText(dividendField), refusal.dividendAfter);
    EXPECT_EQ(dialog.controlText(divisorField), refusal.divisorAfter);
    EXPECT_EQ(dialog.focus, refusal.focusAfter);
    expectLessonUnchanged();
}

INSTANTIATE_TEST_SUITE_P(
    Checks, CreateQuestionRefusalTest,
    ::testing::Values(Refusal{u"10000", u"5", &dividendMessage, u"", u"5", dividendField},
                      Refusal{u"500", u"1", &divisorMessage, u"500", u"", divisorField},
                      Refusal{u"500", u"100", &divisorMessage, u"500", u"", divisorField},
                      Refusal{u"50", u"50", &orderMessage, u"50", u"50", dividendField},
                      Refusal{u"49", u"50", &orderMessage, u"49", u"50", dividendField},
                      Refusal{u"10000", u"1", &dividendMessage, u"", u"1", dividendField},
                      Refusal{u"", u"7", &orderMessage, u"", u"7", dividendField},
                      Refusal{u"", u"", &divisorMessage, u"", u"", divisorField},
                      Refusal{u"50", u"", &divisorMessage, u"50", u"", divisorField}));

TEST_F(CreateQuestionDialogTest, CancelClosesWithTheLessonUnchanged) {
    dialog.typeInto(dividendField, u"345");
    dialog.typeInto(divisorField, u"7");
    EXPECT_TRUE(dialog.command(procedure, cancel));
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.endResult, 0);
    EXPECT_TRUE(dialog.messageBoxes.empty());
    EXPECT_EQ(panel.dividend, 200);
    EXPECT_EQ(panel.divisor, 9);
    EXPECT_EQ(panel.lessonState, Answered);
}

TEST_F(CreateQuestionDialogTest, HugeDigitStringsAreRefusedNotWrappedRound) {
    // 2^32 + 500 would read as 500 if the conversion wrapped at 32 bits.
    dialog.typeInto(dividendField, u"4294967796");
    EXPECT_TRUE(dialog.command(procedure, ok));
    expectOneError(dividendMessage);

    dialog.messageBoxes.clear();
    // 2^32 + 7 would read as 7.
    submit(u"345", u"4294967303");
    expectOneError(divisorMessage);

    dialog.messageBoxes.clear();
    submit(std::u16string(300, u'9'), u"7");
    expectOneError(dividendMessage);
    expectLessonUnchanged();
}

TEST(WideTextToIntTest, ReadsLikeTheRuntimesWideAtoi) {
    EXPECT_EQ(wideTextToInt(u"345"), 345);
    EXPECT_EQ(wideTextToInt(u"  \t42"), 42);
    EXPECT_EQ(wideTextToInt(u"0099"), 99);
    EXPECT_EQ(wideTextToInt(u"12ab34"), 12);
    EXPECT_EQ(wideTextToInt(u"-17"), -17);
    EXPECT_EQ(wideTextToInt(u"+8"), 8);
    EXPECT_EQ(wideTextToInt(u""), 0);
    EXPECT_EQ(wideTextToInt(u"abc"), 0);
    EXPECT_EQ(wideTextToInt(u"- 5"), 0);
    EXPECT_EQ(wideTextToInt(u"\u0663"), 0);  // an Arabic-Indic three is not a digit here
}

TEST(WideTextToIntTest, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(wideTextToInt(u"2147483647"), INT_MAX);
    EXPECT_EQ(wideTextToInt(u"2147483648"), INT_MAX);
    EXPECT_EQ(wideTextToInt(u"-2147483648"), INT_MIN);
    EXPECT_EQ(wideTextToInt(u"-2147483649"), INT_MIN);
    EXPECT_EQ(wideTextToInt(std::u16string(1000, u'9')), INT_MAX);
    EXPECT_EQ(wideTextToInt(u"-" + std::u16string(1000, u'9')), INT_MIN);
}

}  // namespace
