// What the working-out draws for each board state, where and in which colour, checked
// call by call through the recording back buffer; and that a long working-out draws
// only the lines that reach the buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "board/WorkingBoard.h"
#include "fakes/FakeDrawing.h"

namespace {

constexpr Colour ink = 0xFF1E1E1E;
constexpr Colour spent = 0xFFB4B4B4;
constexpr Colour purple = 0xFF963296;
constexpr Colour green = 0xFF329632;
constexpr Colour reject = 0xFFFA3232;
constexpr Colour viewBackground = 0xFFEEE2B7;
const std::string repeatPath = "Resources/Repeat icon_25.png";
const std::string deletePath = "Resources/Delete icon_25.png";
const std::string upPath = "Resources/Up icon_40.png";
const std::string times7 = "\u00D7 7";

const Rectangle numberBox = fakeMeasure(u"0000", 30.0f, {0.0f, 0.0f});

// One expected draw call: a number in its box, words at their top-left, a rule, or an
// icon.
struct Expected {
    DrawKind kind;
    std::string text;
    float x;
    float y;
    Colour colour;
};

Expected number(const std::string& text, float x, float y, Colour colour) {
    return {DrawKind::TextInBox, text, x, y, colour};
}
Expected words(const std::string& text, float x, float y, Colour colour) {
    return {DrawKind::Text, text, x, y, colour};
}
Expected rule(float x, float lineTop, Colour colour) {
    return {DrawKind::FillRectangle, "", x, lineTop, colour};
}
Expected icon(const std::string& path, float x, float y) {
    return {DrawKind::Image, path, x, y, 0};
}

void expectCall(const DrawCall& call, const Expected& expected) {
    ASSERT_EQ(call.kind, expected.kind);
    switch (expected.kind) {
        case DrawKind::TextInBox:
            EXPECT_EQ(narrow(call.text), expected.text);
            EXPECT_EQ(call.colour, expected.colour);
            EXPECT_EQ(call.align, TextAlign::Far);
            EXPECT_FLOAT_EQ(call.area.x, expected.x);
            EXPECT_FLOAT_EQ(call.area.y, expected.y);
            EXPECT_FLOAT_EQ(call.area.width, numberBox.width);
            EXPECT_FLOAT_EQ(call.area.height, numberBox.height);
            EXPECT_EQ(call.fontSize, 30.0f);
            break;
        case DrawKind::Text:
            EXPECT_EQ(narrow(call.text), expected.text);
            EXPECT_EQ(call.colour, expected.colour);
            EXPECT_FLOAT_EQ(call.origin.x, expected.x);
            EXPECT_FLOAT_EQ(call.origin.y, expected.y);
            EXPECT_EQ(call.fontSize, 30.0f);
            break;
        case DrawKind::FillRectangle:
            EXPECT_EQ(call.colour, expected.colour);
            EXPECT_FLOAT_EQ(call.area.x, expected.x);
            EXPECT_FLOAT_EQ(call.area.y, expected.y + 38.0f);
            EXPECT_FLOAT_EQ(call.area.width, numberBox.width);
            EXPECT_FLOAT_EQ(call.area.height, 5.0f);
            break;
        default:
            EXPECT_EQ(call.imagePath, expected.text);
            EXPECT_FLOAT_EQ(call.origin.x, expected.x);
            EXPECT_FLOAT_EQ(call.origin.y, expected.y);
            break;
    }
}

void expectCalls(const std::vector<DrawCall>& actual, const std::vector<Expected>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        expectCall(actual[i], expected[i]);
    }
}

// The board's icons must have their real sizes before the board loads them.
struct ServicesWithPictures : FakeDrawingServices {
    ServicesWithPictures() { registerProgramImageSizes(*this); }
};

class WorkingBoardDrawingTest : public ::testing::Test {
protected:
    WorkingBoardDrawingTest() { board.displayLotsOf = true; }

    // A question with these completed steps, keeping remaining consistent with them.
    void setSteps(int dividend, int divisor, std::vector<int> multiples, BoardState state) {
        board.setUpQuestion(dividend, divisor);
        board.remaining =
            dividend - divisor * std::accumulate(multiples.begin(), multiples.end(), 0);
        board.usedMultiples = std::move(multiples);
        board.state = state;
    }

    void draw(float originY = 0.0f) {
        buffer.calls.clear();
        board.glideport.originY = originY;
        board.draw(buffer);
    }

    bool isEntryRowCall(const DrawCall& call) const {
        return (call.kind == DrawKind::TextInBox || call.kind == DrawKind::OutlineRectangle) &&
               (call.colour == board.entryRow->normalColour ||
                call.colour == board.entryRow->errorColour);
    }

    bool isGlideportCall(const DrawCall& call) const {
        return call.kind == DrawKind::OutlineRectangle ||
               (call.kind == DrawKind::FillRectangle && call.colour == viewBackground);
    }

    // What the board itself drew: without the view's background and the entry row.
    std::vector<DrawCall> boardCalls() const {
        std::vector<DrawCall> own;
        for (const DrawCall& call : buffer.calls) {
            if (!isGlideportCall(call) && !isEntryRowCall(call)) {
                own.push_back(call);
            }
        }
        return own;
    }

    std::vector<DrawCall> images(const std::string& path) const {
        std::vector<DrawCall> found;
        for (const DrawCall& call : buffer.calls) {
            if (call.kind == DrawKind::Image && call.imagePath == path) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::optional<DrawCall> textAt(const std::string& text, float x, float y) const {
        for (const DrawCall& call : boardCalls()) {
            const bool isText = call.kind == DrawKind::Text || call.kind == DrawKind::TextInBox;
            if (isText && narrow(call.text) == text && call.origin.x == x && call.origin.y == y) {
                return call;
            }
        }
        return std::nullopt;
    }

    // The entry row's digits, as drawn (position plus origin).
    std::optional<DrawCall> entryRowText() const {
        for (const DrawCall& call : buffer.calls) {
            if (call.kind == DrawKind::TextInBox && isEntryRowCall(call)) {
                return call;
            }
        }
        return std::nullopt;
    }

    ServicesWithPictures services;
    WorkingBoard board;
    FakeBackBuffer buffer;
};

TEST_F(WorkingBoardDrawingTest, WorkedExampleIsDrawnCallByCall) {
    setSteps(100, 7, {10, 4}, Finished);
    board.answer = 14;
    draw();

    expectCalls(boardCalls(), {
                                  number("100", 340, 0, spent),
                                  number("10", 35, 40, purple),
                                  words("lots of 7", 140, 40, spent),
                                  words("=", 310, 40, spent),
                                  number("70", 340, 40, spent),
                                  words("-", 440, 40, spent),
                                  rule(340, 40, spent),
                                  number("30", 340, 80, spent),
                                  number("4", 35, 120, purple),
                                  words("lots of 7", 140, 120, spent),
                                  words("=", 310, 120, spent),
                                  number("28", 340, 120, spent),
                                  words("-", 440, 120, spent),
                                  rule(340, 120, spent),
                                  number("2", 340, 160, green),
                                  rule(35, 120, ink),
                                  words("+", 15, 120, ink),
                                  number("14", 35, 160, purple),
                              });
    EXPECT_FALSE(board.upIconShown);
    EXPECT_FALSE(entryRowText()) << "a finished board shows no entry row";
}

TEST_F(WorkingBoardDrawingTest, FreshQuestionShowsDividendWordingAndEntryRowOnly) {
    setSteps(100, 7, {}, EnterMultiple);
    draw();

    expectCalls(boardCalls(), {
                                  number("100", 340, 0, ink),
                                  words("lots of 7", 140, 40, ink),
                              });
    EXPECT_FLOAT_EQ(board.entryRow->position.x, 35.0f);
    EXPECT_FLOAT_EQ(board.entryRow->position.y, 40.0f);
    EXPECT_FLOAT_EQ(board.entryRowPosition.x, 35.0f);
    EXPECT_FLOAT_EQ(board.entryRowPosition.y, 40.0f);
    const auto row = entryRowText();
    ASSERT_TRUE(row);
    EXPECT_FLOAT_EQ(row->area.x, 35.0f);
    EXPECT_FLOAT_EQ(row->area.y, 40.0f);
}

TEST_F(WorkingBoardDrawingTest, EnterMultipleAfterAStepPutsDeleteBesideTheLastStep) {
    setSteps(100, 7, {10}, EnterMultiple);
    draw();

    const auto own = boardCalls();
    ASSERT_EQ(own.size(), 10u);
    expectCall(own[0], number("100", 340, 0, spent));
    expectCall(own[7], number("30", 340, 80, ink));
    expectCall(own[8], icon(deletePath, 3, 52));
    expectCall(own[9], words("lots of 7", 140, 120, ink));
    EXPECT_FLOAT_EQ(board.entryRowPosition.x, 35.0f);
    EXPECT_FLOAT_EQ(board.entryRowPosition.y, 120.0f);
}

TEST_F(WorkingBoardDrawingTest, EnterProductAndProductWrongPutTheRowInTheAmountsColumn) {
    for (BoardState state : {EnterProduct, ProductWrong}) {
        SCOPED_TRACE(state);
        setSteps(100, 7, {10}, state);
        board.currentMultiple = 4;
        draw();

        const auto own = boardCalls();
        ASSERT_EQ(own.size(), 12u);
        expectCall(own[7], number("30", 340, 80, ink));
        expectCall(own[8], icon(deletePath, 3, 132));
        expectCall(own[9], words("lots of 7", 140, 120, ink));
        expectCall(own[10], number("4", 35, 120, ink));
        expectCall(own[11], words("=", 310, 120, ink));
        EXPECT_FLOAT_EQ(board.entryRowPosition.x, 340.0f);
        EXPECT_FLOAT_EQ(board.entryRowPosition.y, 120.0f);
        EXPECT_FLOAT_EQ(board.entryRow->position.y, 120.0f);
    }
}

TEST_F(WorkingBoardDrawingTest, EnterRemainderAndRemainderWrongGreyTheChosenMultiple) {
    for (BoardState state : {EnterRemainder, RemainderWrong}) {
        SCOPED_TRACE(state);
        setSteps(100, 7, {10}, state);
        board.currentMultiple = 4;
        board.currentProduct = 28;
        draw();

        const auto own = boardCalls();
        ASSERT_EQ(own.size(), 15u);
        expectCall(own[8], icon(deletePath, 3, 132));
        expectCall(own[9], words("lots of 7", 140, 120, spent));
        expectCall(own[10], number("4", 35, 120, spent));
        expectCall(own[11], words("=", 310, 120, spent));
        expectCall(own[12], number("28", 340, 120, ink));
        expectCall(own[13], words("-", 440, 120, ink));
        expectCall(own[14], rule(340, 120, ink));
        EXPECT_FLOAT_EQ(board.entryRowPosition.x, 340.0f);
        EXPECT_FLOAT_EQ(board.entryRowPosition.y, 160.0f);
    }
}

TEST_F(WorkingBoardDrawingTest, MultipleTooBigShowsTheRejectedProductInRed) {
    setSteps(100, 7, {10}, MultipleTooBig);
    board.currentProduct = 35;
    draw();

    const auto own = boardCalls();
    ASSERT_EQ(own.size(), 12u);
    expectCall(own[8], icon(deletePath, 3, 52));
    expectCall(own[9], words("lots of 7", 140, 120, ink));
    expectCall(own[10], words("=", 310, 120, ink));
    expectCall(own[11], number("35", 340, 120, reject));
    EXPECT_FLOAT_EQ(board.entryRowPosition.x, 35.0f);
    EXPECT_FLOAT_EQ(board.entryRowPosition.y, 120.0f);
}

TEST_F(WorkingBoardDrawingTest, RejectedProductAboveFourDigitsIsNotDrawn) {
    setSteps(5000, 99, {}, MultipleTooBig);
    board.currentProduct = 9999;
    draw();
    EXPECT_TRUE(textAt("=", 310, 40));
    EXPECT_TRUE(textAt("9999", 340, 40));

    board.currentProduct = 10098;
    draw();
    EXPECT_FALSE(textAt("=", 310, 40));
    EXPECT_FALSE(textAt("10098", 340, 40));
    EXPECT_FLOAT_EQ(board.entryRowPosition.x, 35.0f) << "the row still waits for a multiple";
}

TEST_F(WorkingBoardDrawingTest, EnterAnswerPutsTheRowWhereTheAnswerGoes) {
    for (BoardState state : {EnterAnswer, AnswerWrong}) {
        SCOPED_TRACE(state);
        setSteps(100, 7, {10, 4}, state);
        board.entryRowPosition = {1.0f, 2.0f};
        draw();

        const auto own = boardCalls();
        ASSERT_EQ(own.size(), 17u) << "as finished, without the answer";
        expectCall(own[14], number("2", 340, 160, green));
        expectCall(own[15], rule(35, 120, ink));
        expectCall(own[16], words("+", 15, 120, ink));
        EXPECT_FLOAT_EQ(board.entryRow->position.x, 35.0f);
        EXPECT_FLOAT_EQ(board.entryRow->position.y, 160.0f);
        EXPECT_FLOAT_EQ(board.entryRowPosition.x, 1.0f) << "left alone in the closing sum";
        EXPECT_FLOAT_EQ(board.entryRowPosition.y, 2.0f);
        ASSERT_TRUE(entryRowText());
    }
}

TEST_F(WorkingBoardDrawingTest, LastRemainingAmountTurnsGreenOnlyForTheClosingSum) {
    const std::vector<std::pair<BoardState, Colour>> expected = {
        {Finished, green},     {EnterAnswer, green}, {AnswerWrong, green},
        {EnterMultiple, ink},  {EnterProduct, ink},  {EnterRemainder, ink},
        {MultipleTooBig, ink}, {ProductWrong, ink},  {RemainderWrong, ink},
    };
    for (const auto& [state, colour] : expected) {
        SCOPED_TRACE(state);
        setSteps(100, 7, {10, 4}, state);
        draw();
        const auto last = textAt("2", 340, 160);
        ASSERT_TRUE(last);
        EXPECT_EQ(last->colour, colour);
        const auto earlier = textAt("30", 340, 80);
        ASSERT_TRUE(earlier);
        EXPECT_EQ(earlier->colour, spent);
    }
}

TEST_F(WorkingBoardDrawingTest, CompletedSingleLotIsSingularWhileTheLineInProgressIsPlural) {
    setSteps(100, 7, {1}, EnterRemainder);
    board.currentMultiple = 1;
    board.currentProduct = 7;
    draw();
    EXPECT_TRUE(textAt("lot of 7", 140, 40));
    EXPECT_TRUE(textAt("lots of 7", 140, 120));
    EXPECT_FALSE(textAt("lot of 7", 140, 120));
}

TEST_F(WorkingBoardDrawingTest, TimesSignReplacesTheWordsWhenLotsOfIsOff) {
    board.displayLotsOf = false;
    setSteps(100, 7, {1, 4}, EnterMultiple);
    draw();
    EXPECT_TRUE(textAt(times7, 140, 40));
    EXPECT_TRUE(textAt(times7, 140, 120));
    EXPECT_TRUE(textAt(times7, 140, 200));
    for (const DrawCall& call : boardCalls()) {
        EXPECT_EQ(narrow(call.text).find("lot"), std::string::npos);
    }
}

TEST_F(WorkingBoardDrawingTest, RepeatIconStandsOnlyWhereTheProductStillFits) {
    setSteps(100, 7, {2}, EnterMultiple);
    draw();
    auto repeats = images(repeatPath);
    ASSERT_EQ(repeats.size(), 1u);
    expectCall(repeats[0], icon(repeatPath, 25, 52));

    setSteps(100, 7, {10}, EnterMultiple);
    draw();
    EXPECT_TRUE(images(repeatPath).empty()) << "70 does not fit into 30";

    setSteps(100, 7, {10, 2}, EnterMultiple);
    draw();
    repeats = images(repeatPath);
    ASSERT_EQ(repeats.size(), 1u);
    expectCall(repeats[0], icon(repeatPath, 25, 132));
}

TEST_F(WorkingBoardDrawingTest, SingleStepFinishHasNoPlusAndTheAnswerUnderTheRule) {
    setSteps(84, 12, {7}, Finished);
    board.answer = 7;
    draw();

    const auto own = boardCalls();
    ASSERT_EQ(own.size(), 10u);
    expectCall(own[7], number("0", 340, 80, green));
    expectCall(own[8], rule(35, 40, ink));
    expectCall(own[9], number("7", 35, 80, purple));
}

TEST_F(WorkingBoardDrawingTest, PlusStandsOnlyBeforeTheLastOfSeveralMultiples) {
    setSteps(100, 7, {10, 2, 2}, Finished);
    board.answer = 14;
    draw();

    std::vector<DrawCall> pluses;
    for (const DrawCall& call : boardCalls()) {
        if (narrow(call.text) == "+") {
            pluses.push_back(call);
        }
    }
    ASSERT_EQ(pluses.size(), 1u);
    expectCall(pluses[0], words("+", 15, 200, ink));
    EXPECT_TRUE(textAt("14", 35, 240));
}

TEST_F(WorkingBoardDrawingTest, UpIconNeedsMoreThanSeventyPixelsOfScroll) {
    setSteps(100, 7, {10, 4}, Finished);
    board.answer = 14;
    draw(-70.0f);
    EXPECT_TRUE(images(upPath).empty());
    EXPECT_FALSE(board.upIconShown);

    draw(-70.5f);
    const auto ups = images(upPath);
    ASSERT_EQ(ups.size(), 1u);
    expectCall(ups[0], icon(upPath, 3, 0));
    EXPECT_TRUE(board.upIconShown);
    EXPECT_TRUE(textAt("14", 35, 160 - 70.5f)) << "the content scrolls, the icon does not";

    draw(-300.0f);
    ASSERT_EQ(images(upPath).size(), 1u);
    expectCall(images(upPath)[0], icon(upPath, 3, 0));
}

TEST_F(WorkingBoardDrawingTest, StepStatesNeverShowTheUpIcon) {
    for (BoardState state : {EnterMultiple, EnterProduct, EnterRemainder, MultipleTooBig,
                             ProductWrong, RemainderWrong}) {
        SCOPED_TRACE(state);
        setSteps(100, 7, {2, 2, 2}, state);
        board.currentMultiple = state == MultipleTooBig ? 0 : 2;
        board.currentProduct = 14;
        board.upIconShown = true;
        draw(-200.0f);
        EXPECT_FALSE(board.upIconShown);
        EXPECT_TRUE(images(upPath).empty());
    }
}

TEST_F(WorkingBoardDrawingTest, EntryRowComesAfterTheLinesAndOnlyTheUpIconAfterIt) {
    setSteps(100, 7, {2, 2, 2, 2, 2}, EnterAnswer);
    draw(-100.0f);

    const auto& calls = buffer.calls;
    const auto isUp = [](const DrawCall& call) { return call.imagePath == upPath; };
    const auto up = std::find_if(calls.begin(), calls.end(), isUp);
    ASSERT_NE(up, calls.end());
    EXPECT_EQ(up + 1, calls.end()) << "the Up icon is drawn last";
    const auto rowStart = std::find_if(calls.begin(), calls.end(),
                                       [&](const DrawCall& call) { return isEntryRowCall(call); });
    ASSERT_NE(rowStart, calls.end());
    for (auto call = rowStart; call != up; ++call) {
        EXPECT_TRUE(isEntryRowCall(*call)) << "nothing of the board after the entry row";
    }
    const auto row = entryRowText();
    ASSERT_TRUE(row);
    EXPECT_FLOAT_EQ(row->area.y, 400.0f - 100.0f) << "content position plus origin";
    EXPECT_FLOAT_EQ(board.entryRow->position.y, 400.0f);
}

TEST_F(WorkingBoardDrawingTest, NumbersOfAnyLengthEndAtTheColumnsRightEdge) {
    setSteps(9999, 3, {1000, 100, 10, 1}, EnterMultiple);
    draw();

    std::set<float> multipleEdges;
    std::set<float> amountEdges;
    std::set<std::size_t> multipleLengths;
    std::set<std::size_t> amountLengths;
    for (const DrawCall& call : boardCalls()) {
        if (call.kind != DrawKind::TextInBox) {
            continue;
        }
        EXPECT_EQ(call.align, TextAlign::Far);
        const float edge = call.area.x + call.area.width;
        if (call.area.x == 35.0f) {
            multipleEdges.insert(edge);
            multipleLengths.insert(call.text.size());
        } else {
            EXPECT_FLOAT_EQ(call.area.x, 340.0f);
            amountEdges.insert(edge);
            amountLengths.insert(call.text.size());
        }
    }
    EXPECT_EQ(multipleLengths, (std::set<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(amountLengths, (std::set<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(multipleEdges, (std::set<float>{35.0f + numberBox.width}));
    EXPECT_EQ(amountEdges, (std::set<float>{340.0f + numberBox.width}));
}

// Long working-outs: 9999 / 2 taken away one lot at a time.
class LongWorkingOutTest : public WorkingBoardDrawingTest {
protected:
    LongWorkingOutTest() {
        setSteps(9999, 2, std::vector<int>(4999, 1), Finished);
        board.answer = 4999;
    }

    // Every call's line top, worked back from where each kind of call sits on its line.
    static float lineTopOf(const DrawCall& call) {
        switch (call.kind) {
            case DrawKind::FillRectangle:
                return call.area.y - 38.0f;
            case DrawKind::Image:
                return call.origin.y - 12.0f;
            default:
                return call.origin.y;
        }
    }
};

TEST_F(LongWorkingOutTest, OnlyLinesReachingTheBufferAreDrawn) {
    draw(-4000.0f);  // line k has its top at 40k - 4000
    const auto own = boardCalls();
    ASSERT_FALSE(own.empty());
    for (const DrawCall& call : own) {
        const float top = lineTopOf(call);
        EXPECT_GT(top + numberBox.height, 0.0f);
        EXPECT_LT(top, 600.0f);
    }
    // Line 99 (top -40) still shows its lower part; line 98 (top -80) cannot.
    EXPECT_TRUE(textAt("1", 35, -40));
    EXPECT_TRUE(textAt("9899", 340, 0)) << "what remained after 50 steps";
    EXPECT_TRUE(textAt("9885", 340, 560)) << "what remained after 57 steps";
    EXPECT_FALSE(textAt("9901", 340, -80));
    EXPECT_FALSE(textAt("1", 35, 600)) << "line 115 starts at the buffer's bottom";
    EXPECT_LT(own.size(), 80u);
}

TEST_F(LongWorkingOutTest, ScrolledToTheEndShowsTheClosingSum) {
    const float end = 600.0f - 2.0f * 40.0f * 5000.0f;
    draw(end);
    const float answerTop = end + 40.0f * 9998.0f;
    EXPECT_TRUE(textAt("4999", 35, answerTop));
    const auto remainder = textAt("1", 340, answerTop);
    ASSERT_TRUE(remainder);
    EXPECT_EQ(remainder->colour, green);
    EXPECT_TRUE(textAt("+", 15, answerTop - 40.0f));
    EXPECT_TRUE(textAt("3", 340, answerTop - 80.0f)) << "after 4,998 steps";
    EXPECT_TRUE(textAt("13", 340, answerTop - 80.0f * 6)) << "after 4,993 steps";
    EXPECT_LT(boardCalls().size(), 80u);
    EXPECT_EQ(images(upPath).size(), 1u);
}

TEST_F(LongWorkingOutTest, NothingOfTheContentIsDrawnWhenItIsFarOutOfView) {
    draw(-1.0e6f);
    const auto own = boardCalls();
    ASSERT_EQ(own.size(), 1u) << "only the Up icon, which does not scroll";
    expectCall(own[0], icon(upPath, 3, 0));
}

TEST_F(WorkingBoardDrawingTest, RunningAmountsAreRightWhereverTheViewIs) {
    // Mixed multiples so that every remaining amount differs.
    std::vector<int> multiples;
    for (int i = 0; i < 600; ++i) {
        multiples.push_back(1 + i % 4);
    }
    setSteps(9999, 6, multiples, EnterMultiple);
    std::vector<int> runningAfter{9999};
    for (int m : multiples) {
        runningAfter.push_back(runningAfter.back() - 6 * m);
    }
    for (float originY : {0.0f, -12000.0f, -23970.0f, -24000.0f, -36000.0f, -47530.0f}) {
        SCOPED_TRACE(originY);
        draw(originY);
        int checked = 0;
        for (std::size_t step = 1; step < runningAfter.size(); ++step) {
            const float top = originY + 80.0f * static_cast<float>(step);
            if (top + numberBox.height > 0.0f && top < 600.0f) {
                const auto shown = textAt(std::to_string(runningAfter[step]), 340, top);
                EXPECT_TRUE(shown) << "after step " << step;
                ++checked;
            }
        }
        EXPECT_GE(checked, 7);
    }
}

}  // namespace
