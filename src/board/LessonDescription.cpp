// The working-out in words. The wording follows the drawing: "lots of" or "×" as the
// settings say, the singular "lot of" only on a completed step of one lot.
#include "board/LessonDescription.h"

#include <algorithm>
#include <numeric>

#include "text/Stringify.h"

namespace {

const std::u16string tryAgain = u" Press any key to try again.";

// "10 lots of 7" or "10 × 7"; completed steps of one lot are "1 lot of 7".
std::u16string lotsWords(const WorkingBoard& board, int multiple, bool completed) {
    if (!board.displayLotsOf) {
        return stringify(multiple) + u" \u00D7 " + stringify(board.divisor);
    }
    const bool single = completed && multiple == 1;
    return stringify(multiple) + (single ? u" lot of " : u" lots of ") + stringify(board.divisor);
}

// "lots of 7" or "× 7", what the line in progress asks how many of.
std::u16string divisorWords(const WorkingBoard& board) {
    return (board.displayLotsOf ? u"lots of " : u"\u00D7 ") + stringify(board.divisor);
}

// "10 lots of 7 is 70; 30 left".
std::u16string stepWords(const WorkingBoard& board, int multiple, int left) {
    return lotsWords(board, multiple, true) + u" is " + stringify(multiple * board.divisor) +
           u"; " + stringify(left) + u" left";
}

// What remained before the step in progress: the last completed line's amount.
std::u16string takeAwayWords(const WorkingBoard& board) {
    return stringify(board.remaining) + u" take away " + stringify(board.currentProduct);
}

std::u16string sumWords(const WorkingBoard& board) {
    std::u16string sum;
    for (int multiple : board.usedMultiples) {
        sum += (sum.empty() ? u"" : u" + ") + stringify(multiple);
    }
    return sum;
}

std::u16string typedWords(const WorkingBoard& board) {
    if (!board.entryRow || board.entryRow->text.empty()) {
        return u" Nothing typed yet.";
    }
    return u" Typed: " + board.entryRow->text + u".";
}

std::u16string typedNumber(const WorkingBoard& board) {
    return board.entryRow ? stringify(board.entryRow->value) : u"0";
}

std::u16string answerWords(const WorkingBoard& board) {
    std::u16string words = u"The answer is " + stringify(board.answer);
    if (board.remaining > 0) {
        words += u" remainder " + stringify(board.remaining);
    }
    return words + u".";
}

// The question the line in progress asks, before anything is typed.
std::u16string askWords(const WorkingBoard& board) {
    switch (board.state) {
        case EnterMultiple:
            return u"How many " + divisorWords(board) + u" to take from " +
                   stringify(board.remaining) + u"?";
        case EnterProduct:
            return u"What is " + lotsWords(board, board.currentMultiple, false) + u"?";
        case EnterRemainder:
            return u"What is " + takeAwayWords(board) + u"?";
        default:
            return u"The answer: what is " + sumWords(board) + u"?";
    }
}

std::u16string wrongWords(const WorkingBoard& board) {
    switch (board.state) {
        case MultipleTooBig:
            return u"Wrong: " +
                   lotsWords(board, board.entryRow ? board.entryRow->value : 0, false) +
                   u" is more than " + stringify(board.remaining) + u"." + tryAgain;
        case ProductWrong:
            return u"Wrong: " + lotsWords(board, board.currentMultiple, false) + u" is not " +
                   typedNumber(board) + u"." + tryAgain;
        case RemainderWrong:
            return u"Wrong: " + takeAwayWords(board) + u" is not " + typedNumber(board) + u"." +
                   tryAgain;
        default:
            return u"Wrong: " + sumWords(board) + u" is not " + typedNumber(board) + u"." +
                   tryAgain;
    }
}

bool isWrong(BoardState state) {
    return state == AnswerWrong || state == MultipleTooBig || state == ProductWrong ||
           state == RemainderWrong;
}

// The line being typed and what it asks for, a wrong entry, or the answer.
std::u16string currentLineWords(const WorkingBoard& board) {
    if (board.state == Finished) {
        return answerWords(board);
    }
    if (isWrong(board.state)) {
        return wrongWords(board);
    }
    return askWords(board) + typedWords(board);
}

// The completed steps' lines, oldest first.
std::vector<std::u16string> stepLines(const WorkingBoard& board) {
    std::vector<std::u16string> lines;
    int left = board.dividend;
    for (int multiple : board.usedMultiples) {
        left -= multiple * board.divisor;
        lines.push_back(stepWords(board, multiple, left));
    }
    return lines;
}

bool startsWith(const std::vector<int>& longer, const std::vector<int>& shorter) {
    return longer.size() >= shorter.size() &&
           std::equal(shorter.begin(), shorter.end(), longer.begin());
}

}  // namespace

std::u16string questionWords(const WorkingBoard& board) {
    return stringify(board.dividend) + u" \u00F7 " + stringify(board.divisor);
}

AccessibleText describeLesson(const WorkingBoard& board) {
    AccessibleText text;
    text.name = questionWords(board);
    text.value = currentLineWords(board);
    text.description = text.name + u"\nStart with " + stringify(board.dividend) + u".";
    for (const std::u16string& line : stepLines(board)) {
        text.description += u"\n" + line + u".";
    }
    text.description += u"\n" + text.value;
    return text;
}

LessonMoment momentOf(const WorkingBoard& board) {
    LessonMoment moment;
    moment.dividend = board.dividend;
    moment.divisor = board.divisor;
    moment.state = board.state;
    moment.usedMultiples = board.usedMultiples;
    moment.currentMultiple = board.currentMultiple;
    moment.currentProduct = board.currentProduct;
    moment.typed = board.entryRow ? board.entryRow->text : std::u16string();
    moment.displayLotsOf = board.displayLotsOf;
    return moment;
}

std::u16string announcementOf(const LessonMoment& before, const WorkingBoard& board) {
    const std::vector<int>& steps = board.usedMultiples;
    const std::u16string line = currentLineWords(board);
    if (before.dividend != board.dividend || before.divisor != board.divisor) {
        return u"New question: " + questionWords(board) + u". " + line;
    }
    if (steps.size() == before.usedMultiples.size() + 1 &&
        startsWith(steps, before.usedMultiples)) {
        return stepLines(board).back() + u". " + line;
    }
    if (steps.size() + 1 == before.usedMultiples.size() &&
        startsWith(before.usedMultiples, steps)) {
        return u"Step taken back. " + line;
    }
    if (steps != before.usedMultiples) {
        return u"Started again. " + line;
    }
    const bool sameLine = before.state == board.state &&
                          before.currentMultiple == board.currentMultiple &&
                          before.currentProduct == board.currentProduct;
    return sameLine ? std::u16string() : line;
}
