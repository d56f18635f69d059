// The wording follows the drawing: "lots of" or "×" as the settings say. Counts of one
// take the singular ("1 lot of 7"), as the language's plural rules say.
#include "features/narration/NarrationWords.h"

#include <memory>
#include <utility>

#include "text/Stringify.h"
#include "words/Words.h"

namespace narration {

namespace {

std::u16string number(int value) {
    return stringify(value);
}

std::u16string typedWords(const WorkingBoard& board) {
    if (!board.entryRow || board.entryRow->text.empty()) {
        return tr("Nothing typed yet.");
    }
    return fill(tr("Typed: {typed}."), {{"typed", board.entryRow->text}});
}

int typedNumber(const WorkingBoard& board) {
    return board.entryRow ? board.entryRow->value : 0;
}

std::u16string answerWords(const WorkingBoard& board) {
    if (board.remaining > 0) {
        return fill(tr("The answer is {answer} remainder {remainder}."),
                    {{"answer", number(board.answer)}, {"remainder", number(board.remaining)}});
    }
    return fill(tr("The answer is {answer}."), {{"answer", number(board.answer)}});
}

// The question the line in progress asks, before anything is typed.
std::u16string askWords(const WorkingBoard& board, const std::u16string& sum) {
    const bool lotsOf = board.displayLotsOf;
    const int count = board.currentMultiple;
    switch (board.state) {
        case EnterMultiple:
            return fill(lotsOf ? tr("How many lots of {divisor} to take from {left}?")
                               : tr("How many \u00D7 {divisor} to take from {left}?"),
                        {{"divisor", number(board.divisor)}, {"left", number(board.remaining)}});
        case EnterProduct:
            return fill(lotsOf ? trn("What is {count} lot of {divisor}?",
                                     "What is {count} lots of {divisor}?", count)
                               : tr("What is {count} \u00D7 {divisor}?"),
                        {{"count", number(count)}, {"divisor", number(board.divisor)}});
        case EnterRemainder:
            return fill(
                tr("What is {left} take away {product}?"),
                {{"left", number(board.remaining)}, {"product", number(board.currentProduct)}});
        default:
            return fill(tr("The answer: what is {sum}?"), {{"sum", sum}});
    }
}

std::u16string wrongWords(const WorkingBoard& board, const std::u16string& sum) {
    const bool lotsOf = board.displayLotsOf;
    const std::u16string typed = number(typedNumber(board));
    std::u16string wrong;
    switch (board.state) {
        case MultipleTooBig: {
            const int count = typedNumber(board);
            wrong =
                fill(lotsOf ? trn("Wrong: {count} lot of {divisor} is more than {left}.",
                                  "Wrong: {count} lots of {divisor} is more than {left}.", count)
                            : tr("Wrong: {count} \u00D7 {divisor} is more than {left}."),
                     {{"count", number(count)},
                      {"divisor", number(board.divisor)},
                      {"left", number(board.remaining)}});
            break;
        }
        case ProductWrong: {
            const int count = board.currentMultiple;
            wrong = fill(
                lotsOf ? trn("Wrong: {count} lot of {divisor} is not {typed}.",
                             "Wrong: {count} lots of {divisor} is not {typed}.", count)
                       : tr("Wrong: {count} \u00D7 {divisor} is not {typed}."),
                {{"count", number(count)}, {"divisor", number(board.divisor)}, {"typed", typed}});
            break;
        }
        case RemainderWrong:
            wrong = fill(tr("Wrong: {left} take away {product} is not {typed}."),
                         {{"left", number(board.remaining)},
                          {"product", number(board.currentProduct)},
                          {"typed", typed}});
            break;
        default:
            wrong = fill(tr("Wrong: {sum} is not {typed}."), {{"sum", sum}, {"typed", typed}});
            break;
    }
    return wrong + u" " + tr("Press any key to try again.");
}

bool isWrong(BoardState state) {
    return state == AnswerWrong || state == MultipleTooBig || state == ProductWrong ||
           state == RemainderWrong;
}

}  // namespace

std::u16string questionWords(int dividend, int divisor) {
    // Translators: the question as a screen reader speaks it. Where your division sign
    // is ":", write it as words ("gedeeld door"), since a reader says ":" as
    // punctuation or not at all.
    return fill(trc("spoken question", "{dividend} \u00F7 {divisor}"),
                {{"dividend", number(dividend)}, {"divisor", number(divisor)}});
}

std::u16string startWords(int dividend) {
    return fill(tr("Start with {dividend}."), {{"dividend", number(dividend)}});
}

std::u16string stepWords(bool lotsOf, int divisor, int multiple, int left) {
    return fill(lotsOf ? trn("{count} lot of {divisor} is {product}; {left} left.",
                             "{count} lots of {divisor} is {product}; {left} left.", multiple)
                       : tr("{count} \u00D7 {divisor} is {product}; {left} left."),
                {{"count", number(multiple)},
                 {"divisor", number(divisor)},
                 {"product", number(multiple * divisor)},
                 {"left", number(left)}});
}

std::u16string repeatWords(bool lotsOf, int divisor, int multiple) {
    return fill(lotsOf ? trn("Repeat: {count} lot of {divisor}.",
                             "Repeat: {count} lots of {divisor}.", multiple)
                       : tr("Repeat: {count} \u00D7 {divisor}."),
                {{"count", number(multiple)}, {"divisor", number(divisor)}});
}

std::u16string currentLineWords(const WorkingBoard& board, const std::u16string& sum) {
    if (board.state == Finished) {
        return answerWords(board);
    }
    if (isWrong(board.state)) {
        return wrongWords(board, sum);
    }
    return askWords(board, sum) + u" " + typedWords(board);
}

AccessibleText describeLesson(const WorkingBoard& board) {
    AccessibleText text;
    text.name = questionWords(board);
    std::u16string sum;
    std::u16string lines = text.name + u"\n" + startWords(board.dividend) + u"\n";
    int left = board.dividend;
    for (int multiple : board.usedMultiples) {
        left -= multiple * board.divisor;
        lines += stepWords(board.displayLotsOf, board.divisor, multiple, left);
        lines += u'\n';
        if (!sum.empty()) {
            sum += u" + ";
        }
        sum += number(multiple);
    }
    text.value = currentLineWords(board, sum);
    text.lines = std::make_shared<const std::u16string>(std::move(lines));
    return text;
}

}  // namespace narration
