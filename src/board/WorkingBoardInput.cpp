// The pupil's side of the working-out board: key presses and their checking, the
// Repeat, Delete and Up icons, the remembered typing directions and error recovery.
#include <cstdint>
#include <limits>
#include <numeric>

#include "board/BoardLayout.h"
#include "board/WorkingBoard.h"
#include "platform/KeyCodes.h"

namespace {
using BoardLayout::deleteColumn;
using BoardLayout::iconOffset;
using BoardLayout::iconPressSize;
using BoardLayout::repeatColumn;
// The Up icon's press area starts this far down the panel.
constexpr float upIconAreaTop = 3.0f;

// The kind of line an error state belongs to.
LineKind lineKindOf(BoardState state) {
    switch (state) {
        case AnswerWrong:
            return LineKind::Total;
        case ProductWrong:
            return LineKind::Product;
        case RemainderWrong:
            return LineKind::Remainder;
        default:
            return LineKind::Multiple;
    }
}

bool isErrorState(BoardState state) {
    return state == AnswerWrong || state == MultipleTooBig || state == ProductWrong ||
           state == RemainderWrong;
}

// A wrong entry stays in the row, shown in the error colour, until it is cleared.
void markWrong(WorkingBoard& board, BoardState errorState) {
    board.entryRow->colour = board.entryRow->errorColour;
    board.state = errorState;
}

// Once the product is known, the remainder is either written by the board or asked for.
void afterProduct(WorkingBoard& board) {
    if (board.remainderIsGiven()) {
        board.recordStep();
    } else {
        board.enterStage(EnterRemainder);
    }
}

// Tells the stream how an Enter on the line in progress was judged.
void tellChecked(const WorkingBoard& board, LineKind kind, int typed, std::optional<int> expected,
                 bool right) {
    board.tell(EntryChecked{board.currentLine(), kind, typed, expected, right, board.divisor,
                            board.remaining, board.currentMultiple});
}

void checkAnswer(WorkingBoard& board, int typed) {
    board.answer = typed;
    const bool right = typed == board.sumOfMultiples();
    tellChecked(board, LineKind::Total, typed, board.sumOfMultiples(), right);
    if (right) {
        board.state = Finished;
        board.tell(AnswerReached{board.dividend, board.divisor, board.answer, board.remaining,
                                 board.usedMultiples});
        return;
    }
    board.answer = 0;
    markWrong(board, AnswerWrong);
}

// The product of a typed multiple, worked out in 64 bits: a question from an edited level
// file can let the row take more digits than an int product holds. A product beyond int
// is kept as the largest int, which is still too big to be shown.
int productOrLargest(int multiple, int divisor) {
    const std::int64_t product = static_cast<std::int64_t>(multiple) * divisor;
    return product > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                     : static_cast<int>(product);
}

void checkMultiple(WorkingBoard& board, int typed) {
    const std::int64_t product = static_cast<std::int64_t>(typed) * board.divisor;
    tellChecked(board, LineKind::Multiple, typed, std::nullopt, product <= board.remaining);
    if (product > board.remaining) {
        // The rejected product is kept so that it can be shown beside the row.
        board.currentProduct = productOrLargest(typed, board.divisor);
        markWrong(board, MultipleTooBig);
        return;
    }
    board.currentMultiple = typed;
    if (!board.isKnownMultiple(typed)) {
        board.enterStage(EnterProduct);
        return;
    }
    board.currentProduct = typed * board.divisor;
    afterProduct(board);
}

void checkProduct(WorkingBoard& board, int typed) {
    const int expected = board.currentMultiple * board.divisor;
    tellChecked(board, LineKind::Product, typed, expected, typed == expected);
    if (typed != expected) {
        markWrong(board, ProductWrong);
        return;
    }
    board.currentProduct = typed;
    afterProduct(board);
}

void checkRemainder(WorkingBoard& board, int typed) {
    const int expected = board.remaining - board.currentProduct;
    tellChecked(board, LineKind::Remainder, typed, expected, typed == expected);
    if (typed != expected) {
        markWrong(board, RemainderWrong);
        return;
    }
    board.recordStep();
}

// Enter: checks the row's value against the stage. A multiple or product of 0 (an
// empty row) is not an answer yet, so Enter waits for one.
void checkEntry(WorkingBoard& board) {
    const int typed = board.entryRow->value;
    switch (board.state) {
        case EnterAnswer:
            checkAnswer(board, typed);
            return;
        case EnterMultiple:
            if (typed != 0) {
                checkMultiple(board, typed);
            }
            return;
        case EnterProduct:
            if (typed != 0) {
                checkProduct(board, typed);
            }
            return;
        case EnterRemainder:
            checkRemainder(board, typed);
            return;
        default:
            return;  // Finished: Enter means nothing any more.
    }
}

void repeatStep(WorkingBoard& board, int multiple) {
    board.tell(StepRepeated{board.currentLine(), multiple});
    board.currentMultiple = multiple;
    board.currentProduct = multiple * board.divisor;
    // Unlike a typed multiple, a repeated one asks for the remainder even when it is 0.
    if (board.autoRemainder) {
        board.recordStep();
    } else {
        board.enterStage(EnterRemainder);
    }
}

// Completed step i has its line at rowHeight + 2 x rowHeight x i; only the steps that
// still fit into what remains show the icon.
bool pressRepeat(WorkingBoard& board, Point content) {
    float top = 0.0f;
    for (int multiple : board.usedMultiples) {
        const Point iconTopLeft{repeatColumn, top + board.rowHeight + iconOffset};
        if (board.canRepeat(multiple) &&
            pointInRectangle(content, iconTopLeft, iconPressSize, iconPressSize)) {
            repeatStep(board, multiple);
            return true;
        }
        top += 2.0f * board.rowHeight;
    }
    return false;
}

// The Delete icon stands on the line of the step in progress, or, with none in
// progress, on the last completed step's line.
float deleteIconTop(const WorkingBoard& board) {
    const std::size_t steps = board.usedMultiples.size();
    float top = board.rowHeight + iconOffset;
    if (steps > 1) {
        top += board.rowHeight * (2.0f * static_cast<float>(steps) - 2.0f);
    }
    if (board.currentMultiple > 0 && steps > 0) {
        top += 2.0f * board.rowHeight;
    }
    return top;
}

bool pressDelete(WorkingBoard& board, Point content) {
    if (!pointInRectangle(content, {deleteColumn, deleteIconTop(board)}, iconPressSize,
                          iconPressSize)) {
        return false;
    }
    if (board.currentMultiple > 0) {
        board.tell(StepTakenBack{board.currentLine(), board.currentMultiple, false});
        board.currentProduct = 0;
        board.currentMultiple = 0;
        board.enterStage(EnterMultiple);  // The step in progress is abandoned.
        return true;
    }
    if (board.usedMultiples.empty()) {
        return false;
    }
    // The last completed step is taken back and its product restored.
    board.tell(StepTakenBack{board.currentLine() - 1, board.usedMultiples.back(), true});
    board.remaining += board.usedMultiples.back() * board.divisor;
    board.usedMultiples.pop_back();
    board.enterStage(EnterMultiple);
    return true;
}

// The middle of an icon's press area, so that a key's press is taken by that icon alone.
constexpr float pressAreaMiddle = iconPressSize / 2.0f;

bool pressUp(const WorkingBoard& board, Point point) {
    if (!board.upIconShown || !board.upIcon) {
        return false;
    }
    const auto width = static_cast<float>(board.upIcon->width());
    const auto height = static_cast<float>(board.upIcon->height());
    return pointInRectangle(point, {0.0f, upIconAreaTop}, width, height);
}
}  // namespace

void WorkingBoard::keyPressed(int key) {
    if (!entryRow) {
        return;  // No question has been set up yet.
    }
    // Only the low byte of the code counts, as a signed 8-bit number.
    key = static_cast<std::int8_t>(static_cast<std::uint8_t>(key & 0xFF));

    const Rectangle rowBounds = entryRow->bounds();
    const float top = glideport.originY + rowBounds.y;
    if (top < 0.0f || top + rowBounds.height > glideport.viewHeight) {
        glideToBottom();
    }
    if (isErrorState(state)) {
        clearError();  // The key only clears the error; it is not typed.
        return;
    }
    if (key != KeyCode::Enter) {
        entryRow->applyKey(key);
        if (key == KeyCode::Space) {
            rememberDirection();
        }
        return;
    }
    checkEntry(*this);
}

void WorkingBoard::pressAt(Point point) {
    const Point content{point.x, point.y - glideport.getOriginY()};
    if (state == Finished) {
        return;
    }
    if (isErrorState(state)) {
        clearError();  // The press then goes on as usual.
    }
    if (state >= EnterMultiple) {
        if (!usedMultiples.empty() && pressRepeat(*this, content)) {
            return;
        }
        if ((!usedMultiples.empty() || currentMultiple > 0) && pressDelete(*this, content)) {
            return;
        }
    }
    if (pressUp(*this, point)) {
        glideport.scrollToShow({0.0f, 0.0f, 1.0f, 1.0f});  // back to the top
        return;
    }
    glideport.pointerDown(point);
}

void WorkingBoard::rememberDirection() {
    if (!entryRow) {
        return;
    }
    const int direction = entryRow->rightToLeft;
    switch (state) {
        case EnterAnswer:
            answerRightToLeft = direction;
            return;
        case EnterMultiple:
            multipleRightToLeft = direction;
            return;
        case EnterProduct:
            productRightToLeft = direction;
            return;
        case EnterRemainder:
            remainderRightToLeft = direction;
            return;
        default:
            return;  // Error states and Finished keep no direction.
    }
}

bool WorkingBoard::isKnownMultiple(int multiple) const {
    // The product of 1, or of a multiple used before, is written without asking.
    if (autoProduct || multiple == 1) {
        return true;
    }
    for (int used : usedMultiples) {
        if (used == multiple) {
            return true;
        }
    }
    return false;
}

bool WorkingBoard::remainderIsGiven() const {
    // A product equal to what remains leaves 0, which needs no typing.
    return autoRemainder || remaining == currentProduct;
}

int WorkingBoard::sumOfMultiples() const {
    return std::accumulate(usedMultiples.begin(), usedMultiples.end(), 0);
}

void WorkingBoard::clearError() {
    if (!entryRow) {
        return;
    }
    entryRow->colour = entryRow->normalColour;
    entryRow->clear();
    if (isErrorState(state)) {
        tell(WrongEntryCleared{currentLine(), lineKindOf(state)});
    }
    switch (state) {
        case AnswerWrong:
            state = EnterAnswer;
            return;
        case MultipleTooBig:
            currentProduct = 0;
            state = EnterMultiple;
            return;
        case ProductWrong:
            state = EnterProduct;
            return;
        case RemainderWrong:
            state = EnterRemainder;
            return;
        default:
            return;
    }
}

std::optional<Point> WorkingBoard::deleteIconPoint() {
    if (state < EnterMultiple || (usedMultiples.empty() && currentMultiple <= 0)) {
        return std::nullopt;
    }
    return Point{deleteColumn + pressAreaMiddle,
                 deleteIconTop(*this) + pressAreaMiddle + glideport.getOriginY()};
}

bool WorkingBoard::canRepeat(int multiple) const {
    return multiple * divisor <= remaining;
}

std::optional<Point> WorkingBoard::repeatIconPoint(int multiple) {
    if (state < EnterMultiple) {
        return std::nullopt;
    }
    // The first completed step of that multiple; a later one of the same acts alike.
    float top = 0.0f;
    for (int used : usedMultiples) {
        if (used == multiple && canRepeat(used)) {
            return Point{repeatColumn + pressAreaMiddle,
                         top + rowHeight + iconOffset + pressAreaMiddle + glideport.getOriginY()};
        }
        top += 2.0f * rowHeight;
    }
    return std::nullopt;
}

std::optional<Point> WorkingBoard::upIconPoint() const {
    if (state == Finished || !upIconShown || !upIcon) {
        return std::nullopt;
    }
    return Point{static_cast<float>(upIcon->width()) / 2.0f,
                 upIconAreaTop + static_cast<float>(upIcon->height()) / 2.0f};
}
