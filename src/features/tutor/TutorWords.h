// What the tutor says: the words for a wrong entry at each try (the slip named, a key
// fact that leads to the entry, the value to type), the words after the answer, and
// the sums they rest on. Every sentence is looked up whole, numbers filled in by name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "events/LessonEvents.h"
#include "events/Slips.h"

namespace tutor {

// The number of lots the fewest steps take by place value: one step per non-zero
// digit of the quotient (14 lots of 7: 10 lots, then 4).
int fewestSteps(int quotient);
// The first of those steps: the quotient's leading digit at its place (49 gives 40).
int leadingChunk(int quotient);
// The key facts' numbers of lots for a divisor: 1, 2, 5, 10 and 100, and 1000 when
// the dividend holds 1000 lots of it.
std::vector<int> keyFactLots(int dividend, int divisor);

// The value a wrong entry's box is shown at the third try: for a multiple, the
// biggest place-value chunk that fits into what is left.
int valueToShow(const EntryChecked& entry);

// The words for a wrong entry at a try on the same box (1: the slip, 2: a hint, 3 and
// on: the value). chunks are the multiples taken so far, for a wrong total.
std::u16string wordsForTry(int tryNumber, const EntryChecked& entry,
                           const std::vector<int>& chunks);
std::u16string slipWords(const EntryChecked& entry, SlipKind kind);
std::u16string hintWords(const EntryChecked& entry, const std::vector<int>& chunks);
std::u16string shownValueWords(const EntryChecked& entry);

// Praise for the effort, never for being clever; `turn` picks one of several so that
// the next answer hears another.
std::u16string praiseWords(int turn, bool slipsPutRight);
// "Next time try 10 lots of 7 first.", when the steps taken were more than two beyond
// the fewest; nothing otherwise.
std::optional<std::u16string> biggerChunkWords(const AnswerReached& answer);
// "Check: 14 × 7 + 2 = 100."
std::u16string checkWords(const AnswerReached& answer);

// The key-facts box's questions: "What are 5 lots of 7?"; first: the box's opening one.
std::u16string keyFactQuestion(int lots, int divisor, bool first);
std::u16string keyFactWrong(int lots, int divisor);
std::u16string keyFactsDone(int dividend, int divisor);

}  // namespace tutor
