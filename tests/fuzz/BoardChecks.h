// What the fuzz targets check on a working-out board after every action, and the
// pupil's side of a correct working-out, typed key by key through the board's input.
#pragma once

#include <cstdint>

#include "board/WorkingBoard.h"

// Stops the run with a report of the board when `holds` is false; libFuzzer then keeps
// the input that led here.
void requireOnBoard(bool holds, const char* rule, const WorkingBoard& board);

// The model's rules: what remains is the dividend less the divisor times the sum of
// the multiples and never negative; a finished board holds the quotient and the
// remainder; the entry row agrees with itself and can hold the right entry.
void requireBoardInvariants(const WorkingBoard& board);

// The scroll origin is a finite number between the content's lowest origin and 0.
void requireScrollInBounds(const Glideport& glideport);

// The value the current entry stage accepts (for a multiple: the largest that fits),
// or 0 when the board waits for no number.
int rightEntry(const WorkingBoard& board);

// Types the number's digits in the order the row's direction needs.
void typeNumber(WorkingBoard& board, int number);

// Works the board's question through to the end with multiples drawn from `seed`,
// checking the model after every Enter. The board must be in a fresh question.
void solveOnBoard(WorkingBoard& board, std::uint32_t seed);
