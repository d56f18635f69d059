// Drawing of the working-out: the dividend, two lines per completed step, then either
// the step in progress with the entry row or the closing sum with the answer. Only the
// lines that reach into the back buffer are drawn, so a long working-out costs no more
// per frame than a short one.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "board/BoardLayout.h"
#include "board/WorkingBoard.h"
#include "text/Stringify.h"
#include "words/Words.h"

namespace {

using namespace BoardLayout;

constexpr float ruleOffset = 38.0f;  // a rule starts this far below its line's top
constexpr float ruleThickness = 5.0f;
constexpr float upIconThreshold = -70.0f;
constexpr int largestShownProduct = 9999;

// One drawing pass of the working-out: where the content sits, which lines reach the
// back buffer, and the few shapes every line is made of.
struct BoardPainter {
    BoardPainter(Graphics& graphics, const Font& font) : graphics(graphics), font(font) {}

    Graphics& graphics;
    const Font& font;
    float ox = 0.0f;
    float oy = 0.0f;
    float rowHeight = 40.0f;
    Rectangle numberBox;     // "0000" measured at (0, 0); moved to each number's place
    float lineReach = 0.0f;  // how far below its top anything on a line can reach
    float bufferHeight = 0.0f;

    float lineTop(long long line) const { return oy + static_cast<float>(line) * rowHeight; }

    // A line wholly above the buffer or wholly below it would only draw outside it.
    bool lineVisible(float top) const { return top + lineReach > 0.0f && top < bufferHeight; }

    void number(int value, float column, float top, Colour colour) {
        const Rectangle box{numberBox.x + ox + column, numberBox.y + top, numberBox.width,
                            numberBox.height};
        graphics.drawTextInBox(stringify(value), font, colour, box, TextAlign::Far);
    }

    void words(const std::u16string& text, float column, float top, Colour colour) {
        graphics.drawText(text, font, colour, {ox + column, top});
    }

    void rule(float column, float top, Colour colour) {
        graphics.fillRectangle(colour,
                               {ox + column, top + ruleOffset, numberBox.width, ruleThickness});
    }

    void icon(const Image* image, float column, float top) {
        if (image != nullptr) {
            graphics.drawImage(*image, {ox + column, top + iconOffset});
        }
    }
};

float imageHeight(const Image* image) {
    return image != nullptr ? static_cast<float>(image->height()) : 0.0f;
}

// "lot of 7", "lots of 7" or "× 7", in the pupil's language. Completed steps of one lot
// take the singular; the step in progress always says "lots of". The count chooses the
// plural form in languages with more than two.
std::u16string wording(bool lotsOf, bool singular, int divisor) {
    const std::u16string number = stringify(divisor);
    if (!lotsOf) {
        // Translators: a multiple's wording with the times sign, drawn after the multiple.
        return fill(trc("times sign", "\u00D7 {divisor}"), {{"divisor", number}});
    }
    // Translators: drawn after the multiple, "10 | lots of 7": how many times the divisor is
    // taken, in your schools' words (short: the column holds about 9 letters).
    return fill(trn("lot of {divisor}", "lots of {divisor}", singular ? 1 : 2),
                {{"divisor", number}});
}

bool showsClosingSum(BoardState state) {
    return state == Finished || state == EnterAnswer || state == AnswerWrong;
}

// Completed steps 1..n whose two lines might reach the buffer, widened by one on each
// side so that rounding never loses a line; each line is still tested on its own.
struct StepRange {
    std::size_t first = 1;
    std::size_t last = 0;
};

StepRange visibleSteps(const BoardPainter& painter, std::size_t stepCount) {
    if (stepCount == 0) {
        return {1, 0};
    }
    if (!(painter.rowHeight > 0.0f)) {
        return {1, stepCount};
    }
    // Step i has its lines at 2i - 1 and 2i. The lower one reaches the buffer when
    // oy + 2i·h + reach > 0; the upper one starts inside it when oy + (2i - 1)·h < height.
    const double h = painter.rowHeight;
    const double firstReal = (-painter.oy - painter.lineReach) / (2.0 * h);
    const double lastReal = (painter.bufferHeight - painter.oy + h) / (2.0 * h);
    if (!std::isfinite(firstReal) || !std::isfinite(lastReal)) {
        return {1, 0};
    }
    const double maxStep = static_cast<double>(stepCount);
    const double first = std::clamp(std::floor(firstReal), 1.0, maxStep + 1.0);
    const double last = std::clamp(std::ceil(lastReal), 0.0, maxStep);
    return {static_cast<std::size_t>(first), static_cast<std::size_t>(last)};
}

// What remained after the first `steps` completed steps. Summed from whichever end of
// the list is nearer, using remaining = dividend - divisor x (sum of all multiples), so
// the work stays small wherever the view is.
int runningAfter(const WorkingBoard& board, std::size_t steps) {
    const std::vector<int>& multiples = board.usedMultiples;
    if (steps <= multiples.size() / 2) {
        long long taken = 0;
        for (std::size_t i = 0; i < steps; ++i) {
            taken += multiples[i];
        }
        return static_cast<int>(board.dividend - board.divisor * taken);
    }
    long long givenBack = 0;
    for (std::size_t i = steps; i < multiples.size(); ++i) {
        givenBack += multiples[i];
    }
    return static_cast<int>(board.remaining + board.divisor * givenBack);
}

Colour lastRemainingColour(const WorkingBoard& board) {
    return showsClosingSum(board.state) ? board.remainderColour : board.inkColour;
}

// Step `step` (from 1) of multiple m: its step line and the amount left beneath it.
void drawCompletedStep(BoardPainter& painter, const WorkingBoard& board, std::size_t step,
                       int running) {
    const int multiple = board.usedMultiples[step - 1];
    const int product = multiple * board.divisor;
    const float top = painter.lineTop(2 * static_cast<long long>(step) - 1);
    const Colour spent = board.spentColour;
    if (painter.lineVisible(top)) {
        if (board.canRepeat(multiple)) {
            painter.icon(board.repeatIcon.get(), repeatColumn, top);
        }
        painter.number(multiple, multipleColumn, top, board.multipleColour);
        painter.words(wording(board.displayLotsOf, multiple == 1, board.divisor), wordingColumn,
                      top, spent);
        painter.words(u"=", equalsColumn, top, spent);
        painter.number(product, amountColumn, top, spent);
        painter.words(u"-", minusColumn, top, spent);
        painter.rule(amountColumn, top, spent);
    }
    const float belowTop = top + painter.rowHeight;
    if (painter.lineVisible(belowTop)) {
        const bool last = step == board.usedMultiples.size();
        painter.number(running, amountColumn, belowTop, last ? lastRemainingColour(board) : spent);
    }
}

void drawCompletedSteps(BoardPainter& painter, const WorkingBoard& board) {
    const StepRange range = visibleSteps(painter, board.usedMultiples.size());
    if (range.first > range.last) {
        return;
    }
    int running = runningAfter(board, range.first - 1);
    for (std::size_t step = range.first; step <= range.last; ++step) {
        running -= board.usedMultiples[step - 1] * board.divisor;
        drawCompletedStep(painter, board, step, running);
    }
}

// States Finished, EnterAnswer and AnswerWrong: the rule under the last multiple, "+"
// before it when there were several, and the answer or the entry row beneath.
// Returns where the entry row belongs, when it is shown.
std::optional<Point> drawClosingSum(BoardPainter& painter, const WorkingBoard& board) {
    const long long steps = static_cast<long long>(board.usedMultiples.size());
    const float lastStepTop = painter.lineTop(2 * steps - 1);
    if (painter.lineVisible(lastStepTop)) {
        painter.rule(multipleColumn, lastStepTop, board.inkColour);
        if (steps > 1) {
            painter.words(u"+", plusColumn, lastStepTop, board.inkColour);
        }
    }
    const float answerTop = lastStepTop + painter.rowHeight;
    if (board.state != Finished) {
        return Point{multipleColumn, answerTop - painter.oy};
    }
    if (painter.lineVisible(answerTop)) {
        painter.number(board.answer, multipleColumn, answerTop, board.multipleColour);
    }
    return std::nullopt;
}

bool showsSpentMultiple(BoardState state) {
    return state == EnterRemainder || state == RemainderWrong;
}

// States EnterMultiple to RemainderWrong: the line of the step in progress. Returns the
// entry row's place in content coordinates.
Point drawStepInProgress(BoardPainter& painter, const WorkingBoard& board, float top) {
    const bool steps = !board.usedMultiples.empty();
    const bool chosen = board.currentMultiple > 0;
    const Colour ink = board.inkColour;
    if (steps || chosen) {
        const float deleteTop = chosen ? top : top - 2.0f * painter.rowHeight;
        if (painter.lineVisible(deleteTop)) {
            painter.icon(board.deleteIcon.get(), deleteColumn, deleteTop);
        }
    }
    const bool visible = painter.lineVisible(top);
    const Colour lineColour = showsSpentMultiple(board.state) ? board.spentColour : ink;
    if (visible) {
        painter.words(wording(board.displayLotsOf, false, board.divisor), wordingColumn, top,
                      lineColour);
    }
    if (chosen) {
        if (visible) {
            painter.number(board.currentMultiple, multipleColumn, top, lineColour);
            painter.words(u"=", equalsColumn, top, lineColour);
        }
        if (board.currentProduct > 0) {
            if (visible) {
                painter.number(board.currentProduct, amountColumn, top, ink);
                painter.words(u"-", minusColumn, top, ink);
                painter.rule(amountColumn, top, ink);
            }
            return {amountColumn, top + painter.rowHeight - painter.oy};
        }
        return {amountColumn, top - painter.oy};
    }
    const bool rejectedShown =
        board.currentProduct > 0 && board.currentProduct <= largestShownProduct;
    if (visible && rejectedShown) {
        painter.words(u"=", equalsColumn, top, ink);
        painter.number(board.currentProduct, amountColumn, top, board.rejectColour);
    }
    return {multipleColumn, top - painter.oy};
}

BoardPainter startPainting(Graphics& graphics, const WorkingBoard& board, Point origin,
                           int bufferHeight) {
    BoardPainter painter{graphics, *board.boardFont};
    painter.ox = origin.x;
    painter.oy = origin.y;
    painter.rowHeight = board.rowHeight;
    painter.numberBox = graphics.measureText(u"0000", *board.boardFont, {0.0f, 0.0f});
    painter.lineReach =
        std::max({board.rowHeight, painter.numberBox.height, ruleOffset + ruleThickness,
                  iconOffset + imageHeight(board.repeatIcon.get()),
                  iconOffset + imageHeight(board.deleteIcon.get())});
    painter.bufferHeight = static_cast<float>(bufferHeight);
    return painter;
}

// Every line of the working-out that reaches the buffer. Returns where the entry row
// belongs, in content coordinates, when the state shows it.
std::optional<Point> drawLines(BoardPainter& painter, const WorkingBoard& board) {
    const float dividendTop = painter.lineTop(0);
    if (painter.lineVisible(dividendTop)) {
        painter.number(board.dividend, amountColumn, dividendTop,
                       board.usedMultiples.empty() ? board.inkColour : board.spentColour);
    }
    drawCompletedSteps(painter, board);
    if (showsClosingSum(board.state)) {
        return drawClosingSum(painter, board);
    }
    const long long steps = static_cast<long long>(board.usedMultiples.size());
    return drawStepInProgress(painter, board, painter.lineTop(2 * steps + 1));
}

}  // namespace

void WorkingBoard::draw(BackBuffer& backBuffer) {
    glideport.draw(backBuffer);
    Point origin;
    glideport.getOrigin(origin.x, origin.y);
    const bool stepInProgress = !showsClosingSum(state);

    std::optional<Point> entryPlace;
    {
        auto graphics = backBuffer.beginDrawing();
        BoardPainter painter = startPainting(*graphics, *this, origin, backBuffer.height());
        entryPlace = drawLines(painter, *this);
    }

    // The entry row makes its own drawing pass; the board's pass has ended by now so
    // that two passes are never open on the buffer at once.
    if (entryPlace && entryRow) {
        if (stepInProgress) {
            entryRowPosition = *entryPlace;
        }
        entryRow->position = *entryPlace;
        entryRow->draw(backBuffer, origin);
    }

    // The Up icon belongs to the closing sum and stays put while the content scrolls.
    upIconShown = !stepInProgress && origin.y < upIconThreshold;
    if (upIconShown && upIcon) {
        auto graphics = backBuffer.beginDrawing();
        graphics->drawImage(*upIcon, {3.0f, 0.0f});
    }
}
