// The working-out board's life cycle: construction, question set-up and restart, the
// per-frame update, and the stage operations that the step logic builds on.
#include "board/WorkingBoard.h"

namespace {
constexpr float boardFontSize = 30.0f;
// The step in progress and its entry row need room below the completed lines.
constexpr float entryAreaHeight = 50.0f;
}  // namespace

WorkingBoard::WorkingBoard()
    : boardFont(makeFont(boardFontSize)),
      repeatIcon(loadImage("Resources/Repeat icon_25.png")),
      deleteIcon(loadImage("Resources/Delete icon_25.png")),
      upIcon(loadImage("Resources/Up icon_40.png")) {}

WorkingBoard::~WorkingBoard() = default;

void WorkingBoard::setUpQuestion(int newDividend, int newDivisor) {
    dividend = newDividend;
    remaining = newDividend;
    divisor = newDivisor;
    state = EnterMultiple;
    // The new row starts left to right whatever direction was remembered; the
    // remembered one applies from the next stage change.
    entryRow.reset();
    entryRow = std::make_unique<NumericInput>(
        static_cast<unsigned int>(digitCount(newDividend / newDivisor)));
    paintEntryRow();
    requiredHeight = 0.0f;
    usedMultiples.clear();
    currentProduct = 0;
    currentMultiple = 0;
}

void WorkingBoard::usePalette(const BoardPalette& palette) {
    inkColour = palette.ink;
    rejectColour = palette.reject;
    spentColour = palette.spent;
    multipleColour = palette.multiple;
    remainderColour = palette.remainder;
    entryColour = palette.entry;
    entryWrongColour = palette.entryWrong;
    paintEntryRow();
}

// The entry row keeps showing an error as an error in the new colours.
void WorkingBoard::paintEntryRow() {
    if (!entryRow) {
        return;
    }
    const bool wrong = entryRow->colour == entryRow->errorColour;
    entryRow->normalColour = entryColour;
    entryRow->errorColour = entryWrongColour;
    entryRow->colour = wrong ? entryWrongColour : entryColour;
}

void WorkingBoard::restartQuestion() {
    if (!entryRow) {
        return;  // No question has been set up yet.
    }
    usedMultiples.clear();
    remaining = dividend;
    // A restart is the only stage change that also takes back an error's colour.
    entryRow->colour = entryRow->normalColour;
    enterStage(EnterMultiple);
}

void WorkingBoard::frameUpdate(double elapsedSeconds, Point pointer) {
    glideport.update(elapsedSeconds, pointer);
    requiredHeight = 2.0f * rowHeight * static_cast<float>(usedMultiples.size() + 1);
    if (state >= EnterMultiple) {
        requiredHeight += entryAreaHeight;
    }
    glideport.setContentHeight(requiredHeight);
    // The first frame only records the height, so start-up never glides.
    if (!lastRequiredHeight) {
        lastRequiredHeight = requiredHeight;
    }
    if (requiredHeight != *lastRequiredHeight) {
        glideToBottom();
        lastRequiredHeight = requiredHeight;
    }
}

int WorkingBoard::digitCount(int value) {
    int count = 1;
    while (value > 9) {
        value /= 10;
        ++count;
    }
    return count;
}

void WorkingBoard::limitEntryDigits(int value) {
    if (!entryRow) {
        return;  // No question has been set up yet.
    }
    const int count = digitCount(value);
    if (count >= 1 && count <= 4) {
        entryRow->maxDigits = static_cast<unsigned int>(count);
    }
}

void WorkingBoard::glideToBottom() {
    glideport.scrollToShow({glideport.contentWidth, glideport.contentHeight, 1.0f, 1.0f});
}

void WorkingBoard::enterStage(BoardState stage) {
    if (!entryRow) {
        return;  // No question has been set up yet.
    }
    entryRow->clear();
    switch (stage) {
        case EnterAnswer:
            // A question done in one step needs no sum: that step's multiple is the answer.
            if (usedMultiples.size() == 1) {
                answer = usedMultiples.front();
                state = Finished;
                tell(AnswerReached{dividend, divisor, answer, remaining, usedMultiples});
                return;
            }
            limitEntryDigits(dividend / divisor);
            entryRow->rightToLeft = answerRightToLeft;
            currentProduct = 0;
            currentMultiple = 0;
            state = EnterAnswer;
            return;
        case EnterMultiple:
            limitEntryDigits(remaining / divisor);
            entryRow->rightToLeft = multipleRightToLeft;
            currentMultiple = 0;
            currentProduct = 0;
            state = EnterMultiple;
            glideToBottom();
            return;
        case EnterProduct:
            limitEntryDigits(currentMultiple * divisor);
            entryRow->rightToLeft = productRightToLeft;
            state = EnterProduct;
            return;
        case EnterRemainder:
            limitEntryDigits(remaining - currentProduct);
            entryRow->rightToLeft = remainderRightToLeft;
            state = EnterRemainder;
            glideToBottom();
            return;
        default:
            return;  // Only the four entry stages can be entered.
    }
}

void WorkingBoard::startNextStep() {
    if (remaining < divisor) {
        currentProduct = 0;
        currentMultiple = 0;
        enterStage(EnterAnswer);
    } else {
        enterStage(EnterMultiple);
    }
}

void WorkingBoard::tell(const LessonEvent& event) const {
    if (events != nullptr) {
        events->publish(event);
    }
}

void WorkingBoard::recordStep() {
    usedMultiples.push_back(currentMultiple);
    remaining -= divisor * currentMultiple;
    tell(StepCompleted{currentLine() - 1, currentMultiple, divisor * currentMultiple, remaining});
    currentProduct = 0;
    currentMultiple = 0;
    startNextStep();
}
