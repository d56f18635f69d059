// The lesson's colours against what they are drawn on, by the WCAG 2 contrast ratio:
// the high-contrast palette gives every ink at least 4.5 : 1, and the standard palette
// stays the one the program always had (whose finished lines are far fainter).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "board/BoardPalette.h"
#include "board/WorkingBoard.h"
#include "fakes/FakeDrawing.h"

namespace {

// WCAG 2's relative luminance of an sRGB colour, 0 for black to 1 for white.
double luminance(Colour colour) {
    auto channel = [colour](int shift) {
        const double c = static_cast<double>((colour >> shift) & 0xFFu) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(16) + 0.7152 * channel(8) + 0.0722 * channel(0);
}

double contrastRatio(Colour a, Colour b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Ink {
    const char* name;
    Colour BoardPalette::*colour;
    Colour background;
    double standardRatio;  // the standard palette's, to two decimals
};

const Ink inks[] = {
    {"ink", &BoardPalette::ink, boardPaper, 12.86},
    {"reject", &BoardPalette::reject, boardPaper, 2.91},
    {"finished lines", &BoardPalette::spent, boardPaper, 1.60},
    {"multiple", &BoardPalette::multiple, boardPaper, 5.07},
    {"remainder", &BoardPalette::remainder, boardPaper, 2.92},
    {"entry", &BoardPalette::entry, boardPaper, 11.37},
    {"wrong entry", &BoardPalette::entryWrong, boardPaper, 3.07},
    {"question", &BoardPalette::header, windowWhite, 4.37},
    {"quotient", &BoardPalette::quotient, windowWhite, 6.58},
    {"answer's remainder", &BoardPalette::answerRemainder, windowWhite, 3.79},
};

TEST(PaletteContrast, HighContrastMeetsFourAndAHalfToOneEverywhere) {
    for (const Ink& ink : inks) {
        const double high = contrastRatio(highContrastPalette.*ink.colour, ink.background);
        const double standard = contrastRatio(standardPalette.*ink.colour, ink.background);
        EXPECT_GE(high, 4.5) << ink.name;
        EXPECT_NEAR(standard, ink.standardRatio, 0.01) << ink.name;
        EXPECT_GE(high, standard) << ink.name << " got fainter";
    }
    // Finished lines stay apart from the lines in progress, and a wrong entry from a
    // right one, by lightness as well as hue.
    EXPECT_GE(contrastRatio(highContrastPalette.ink, highContrastPalette.spent), 1.5);
    EXPECT_GE(contrastRatio(highContrastPalette.entry, highContrastPalette.entryWrong), 1.5);
}

TEST(PaletteContrast, TheBoardTakesThePaletteAndKeepsAWrongEntryWrong) {
    FakeDrawingServices services;
    WorkingBoard board;
    EXPECT_EQ(board.spentColour, standardPalette.spent);
    board.setUpQuestion(100, 7);
    board.entryRow->colour = board.entryRow->errorColour;
    board.usePalette(highContrastPalette);
    EXPECT_EQ(board.spentColour, highContrastPalette.spent);
    EXPECT_EQ(board.remainderColour, highContrastPalette.remainder);
    EXPECT_EQ(board.entryRow->colour, highContrastPalette.entryWrong);
    board.setUpQuestion(345, 7);
    EXPECT_EQ(board.entryRow->colour, highContrastPalette.entry);
    EXPECT_EQ(board.entryRow->errorColour, highContrastPalette.entryWrong);
}

}  // namespace
