// The working-out in words, for the pupils who hear it rather than see it: the
// question, every line written so far, the line being typed and what it asks for, and
// a short notice of each change. Read from the same fields the drawing reads; nothing
// in the board is changed.
#pragma once

#include <string>
#include <vector>

#include "board/WorkingBoard.h"
#include "platform/Host.h"

// The question as the header shows it, "100 ÷ 7".
std::u16string questionWords(const WorkingBoard& board);

// name: the question; value: the line being typed and what it asks for, a wrong entry,
// or the answer; description: the question and every line, one line of words each.
AccessibleText describeLesson(const WorkingBoard& board);

// What a notice of change compares: everything the description is made from.
struct LessonMoment {
    int dividend = 0;
    int divisor = 0;
    BoardState state = EnterMultiple;
    std::vector<int> usedMultiples;
    int currentMultiple = 0;
    int currentProduct = 0;
    std::u16string typed;
    bool displayLotsOf = true;
    bool operator==(const LessonMoment&) const = default;
};

LessonMoment momentOf(const WorkingBoard& board);

// A short notice of what changed since before, to be spoken once: a new question, a
// completed line, a step taken back, an accepted or a wrong entry, the answer. Empty
// when only the typing changed, or nothing did.
std::u16string announcementOf(const LessonMoment& before, const WorkingBoard& board);
