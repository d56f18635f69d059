// The working-out in words, for the pupils who hear it rather than see it: the
// question, every line written so far, the line being typed and what it asks for. Read
// from the same fields the drawing reads; nothing in the board is changed. Every
// sentence is one message of the words lookup, so a language words it its own way.
#pragma once

#include <string>

#include "board/WorkingBoard.h"
#include "platform/Host.h"

namespace narration {

// The question as the header shows it, "100 ÷ 7".
std::u16string questionWords(int dividend, int divisor);
inline std::u16string questionWords(const WorkingBoard& board) {
    return questionWords(board.dividend, board.divisor);
}

// The first line of the working-out: "Start with 100."
std::u16string startWords(int dividend);

// A completed step: "10 lots of 7 is 70; 30 left." ("1 lot of 7", "10 × 7").
std::u16string stepWords(bool lotsOf, int divisor, int multiple, int left);

// The line being typed and what it asks for, a wrong entry, or the answer. sum is the
// multiples taken so far as the total line shows them, "10 + 4".
std::u16string currentLineWords(const WorkingBoard& board, const std::u16string& sum);

// A repeated step's notice: "Repeat: 10 lots of 7."
std::u16string repeatWords(bool lotsOf, int divisor, int multiple);

// The whole of it at once: name the question; value the current line; lines the
// question, "Start with" and every step, one line of words each.
AccessibleText describeLesson(const WorkingBoard& board);

}  // namespace narration

using narration::describeLesson;
using narration::questionWords;
