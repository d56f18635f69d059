// Typing into the number row: digits in both directions, Backspace, the digit limit,
// and the agreement of text and value.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "fakes/FakeDrawing.h"
#include "platform/KeyCodes.h"
#include "widgets/NumericInput.h"

namespace {

int digitKey(int digit) {
    return KeyCode::Digit0 + digit;
}
int keypadKey(int digit) {
    return KeyCode::Numpad0 + digit;
}

class NumericInputTest : public ::testing::Test {
protected:
    static void typeDigits(NumericInput& row, std::initializer_list<int> digits) {
        for (int digit : digits) {
            row.applyKey(digitKey(digit));
        }
    }

    FakeDrawingServices services;
};

TEST_F(NumericInputTest, StartsEmptyLeftToRightInItsNormalColour) {
    NumericInput row(3);
    EXPECT_EQ(row.value, 0);
    EXPECT_TRUE(row.text.empty());
    EXPECT_EQ(row.rightToLeft, 0);
    EXPECT_EQ(row.colour, 0xFF1E1E64u);
    EXPECT_EQ(row.font->sizeInPoints(), 30.0f);
}

TEST_F(NumericInputTest, LeftToRightRefusesALeadingZeroAndExtraDigits) {
    NumericInput row(2);
    typeDigits(row, {0});
    EXPECT_TRUE(row.text.empty());
    typeDigits(row, {4, 0, 7});
    EXPECT_EQ(row.text, u"40");
    EXPECT_EQ(row.value, 40);
}

TEST_F(NumericInputTest, RightToLeftPutsUnitsFirstAndAcceptsZeros) {
    NumericInput row(3);
    row.rightToLeft = 1;
    typeDigits(row, {0, 5});
    EXPECT_EQ(row.text, u"50");
    EXPECT_EQ(row.value, 50);
    row.applyKey(KeyCode::Backspace);
    EXPECT_EQ(row.text, u"0");
    EXPECT_EQ(row.value, 0);
}

TEST_F(NumericInputTest, RightToLeftBackspaceTakesTheLeadingDigitsShare) {
    NumericInput row(3);
    row.rightToLeft = 1;
    typeDigits(row, {5, 0, 3});
    ASSERT_EQ(row.text, u"305");
    ASSERT_EQ(row.value, 305);
    row.applyKey(KeyCode::Backspace);
    EXPECT_EQ(row.text, u"05");
    EXPECT_EQ(row.value, 5);
    row.applyKey(KeyCode::Backspace);
    EXPECT_EQ(row.text, u"5");
    EXPECT_EQ(row.value, 5);
    row.applyKey(KeyCode::Backspace);
    EXPECT_TRUE(row.text.empty());
    EXPECT_EQ(row.value, 0);
}

TEST_F(NumericInputTest, LeftToRightBackspaceTakesTheLastDigit) {
    NumericInput row(4);
    typeDigits(row, {9, 0, 2});
    row.applyKey(KeyCode::Backspace);
    EXPECT_EQ(row.text, u"90");
    EXPECT_EQ(row.value, 90);
}

TEST_F(NumericInputTest, BackspaceOnAnEmptyRowDoesNothingInEitherDirection) {
    for (int direction : {0, 1}) {
        NumericInput row(3);
        row.rightToLeft = direction;
        row.applyKey(KeyCode::Backspace);
        EXPECT_TRUE(row.text.empty()) << "direction " << direction;
        EXPECT_EQ(row.value, 0) << "direction " << direction;
        EXPECT_EQ(row.rightToLeft, direction);
    }
}

TEST_F(NumericInputTest, MixedDirectionsKeepTextAndValueInAgreement) {
    NumericInput row(4);
    typeDigits(row, {1, 2});
    row.applyKey(KeyCode::Space);
    EXPECT_EQ(row.rightToLeft, 1);
    EXPECT_EQ(row.text, u"12") << "Space changes only the direction";
    typeDigits(row, {3});
    EXPECT_EQ(row.text, u"312");
    EXPECT_EQ(row.value, 312);
    row.applyKey(KeyCode::Space);
    EXPECT_EQ(row.rightToLeft, 0);
}

TEST_F(NumericInputTest, ALeadingZeroTypedRightToLeftCarriesOnLeftToRight) {
    NumericInput row(3);
    row.rightToLeft = 1;
    typeDigits(row, {0});
    row.rightToLeft = 0;
    typeDigits(row, {7});
    EXPECT_EQ(row.text, u"07");
    EXPECT_EQ(row.value, 7);
    row.applyKey(KeyCode::Backspace);
    EXPECT_EQ(row.text, u"0");
    EXPECT_EQ(row.value, 0);
}

TEST_F(NumericInputTest, KeypadDigitsBehaveLikeMainDigits) {
    for (int direction : {0, 1}) {
        NumericInput main(4);
        NumericInput keypad(4);
        main.rightToLeft = keypad.rightToLeft = direction;
        for (int digit : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
            main.applyKey(digitKey(digit));
            keypad.applyKey(keypadKey(digit));
            EXPECT_EQ(main.text, keypad.text) << "digit " << digit;
            EXPECT_EQ(main.value, keypad.value) << "digit " << digit;
        }
        EXPECT_EQ(keypad.text.size(), 4u);
    }
}

TEST_F(NumericInputTest, OtherKeysAreIgnored) {
    NumericInput row(4);
    typeDigits(row, {6});
    for (int key : {KeyCode::Enter, KeyCode::Escape, KeyCode::LetterA, 47, 58, 95, 106, 0, -1, -48,
                    -128, 127}) {
        row.applyKey(key);
    }
    EXPECT_EQ(row.text, u"6");
    EXPECT_EQ(row.value, 6);
    EXPECT_EQ(row.rightToLeft, 0);
}

TEST_F(NumericInputTest, AFullRightToLeftRowRefusesMoreDigits) {
    NumericInput row(2);
    row.rightToLeft = 1;
    typeDigits(row, {1, 2, 3});
    EXPECT_EQ(row.text, u"21");
    EXPECT_EQ(row.value, 21);
}

TEST_F(NumericInputTest, ARowOverItsLimitTakesNoMoreDigitsButStillDeletes) {
    NumericInput row(4);
    typeDigits(row, {1, 2, 3, 4});
    row.maxDigits = 2;
    typeDigits(row, {5});
    EXPECT_EQ(row.text, u"1234");
    row.applyKey(KeyCode::Backspace);
    EXPECT_EQ(row.value, 123);
}

TEST_F(NumericInputTest, NoMoreThanNineDigitsWhateverTheLimit) {
    for (int direction : {0, 1}) {
        NumericInput row(12);
        row.rightToLeft = direction;
        for (int i = 0; i < 12; ++i) {
            typeDigits(row, {9});
        }
        EXPECT_EQ(row.text, u"999999999");
        EXPECT_EQ(row.value, 999999999);
    }
}

TEST_F(NumericInputTest, ClearEmptiesTextAndValueOnly) {
    NumericInput row(3);
    row.rightToLeft = 1;
    row.colour = row.errorColour;
    typeDigits(row, {4, 2});
    row.clear();
    EXPECT_TRUE(row.text.empty());
    EXPECT_EQ(row.value, 0);
    EXPECT_EQ(row.rightToLeft, 1);
    EXPECT_EQ(row.colour, row.errorColour);
    EXPECT_EQ(row.maxDigits, 3u);
}

TEST_F(NumericInputTest, BoundsAreThreeLineHeightsTallAtThePosition) {
    NumericInput row(2);
    row.position = {340.0f, 120.0f};
    const Rectangle bounds = row.bounds();
    EXPECT_EQ(bounds.x, 340.0f);
    EXPECT_EQ(bounds.y, 120.0f);
    EXPECT_EQ(bounds.width, 1.0f);
    // The fake's line height at 30 dpi for a 30-point font: 30 x 30 / 72 x 1.15.
    EXPECT_NEAR(bounds.height, 3.0f * 30.0f * 30.0f / 72.0f * 1.15f, 1e-4);
}

}  // namespace
