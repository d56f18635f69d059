// Board checks shared by the fuzz targets. Each rule is computed from the board's
// public fields in 64-bit arithmetic, independently of the board's own bookkeeping.
#include "BoardChecks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>

#include "platform/KeyCodes.h"

namespace {

std::int64_t sumOf(const std::vector<int>& multiples) {
    return std::accumulate(multiples.begin(), multiples.end(), std::int64_t{0});
}

int digitsOf(std::int64_t value) {
    int count = 1;
    for (; value > 9; value /= 10) {
        ++count;
    }
    return count;
}

// The number the row's text spells, as the board will take it.
std::int64_t valueSpelledBy(const std::u16string& text) {
    std::int64_t value = 0;
    for (char16_t digit : text) {
        value = value * 10 + (digit - u'0');
    }
    return value;
}

// The largest value the current stage can rightly ask for; -1 when it asks for none.
std::int64_t largestRightEntry(const WorkingBoard& board) {
    switch (board.state) {
        case EnterMultiple:
        case MultipleTooBig:
            return board.remaining / board.divisor;
        case EnterProduct:
        case ProductWrong:
            return std::int64_t{board.currentMultiple} * board.divisor;
        case EnterRemainder:
        case RemainderWrong:
            return std::int64_t{board.remaining} - board.currentProduct;
        case EnterAnswer:
        case AnswerWrong:
            return board.dividend / board.divisor;
        default:
            return -1;
    }
}

void requireEntryRow(const WorkingBoard& board) {
    const NumericInput& row = *board.entryRow;
    requireOnBoard(row.maxDigits >= 1 && row.maxDigits <= 4, "the entry row takes 1 to 4 digits",
                   board);
    requireOnBoard(row.text.size() <= row.maxDigits, "the entry row holds at most maxDigits",
                   board);
    bool digitsOnly = true;
    for (char16_t c : row.text) {
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    }
    requireOnBoard(digitsOnly, "the entry row holds digits only", board);
    requireOnBoard(row.value == valueSpelledBy(row.text), "the entry row's value is its text",
                   board);
    requireOnBoard(row.rightToLeft == 0 || row.rightToLeft == 1, "the direction is 0 or 1", board);
    const std::int64_t largest = largestRightEntry(board);
    if (largest >= 0) {
        requireOnBoard(digitsOf(largest) <= static_cast<int>(row.maxDigits),
                       "the entry row can hold the right entry", board);
    }
}

}  // namespace

void requireOnBoard(bool holds, const char* rule, const WorkingBoard& board) {
    if (holds) {
        return;
    }
    std::string multiples;
    for (int m : board.usedMultiples) {
        multiples += std::to_string(m) + " ";
    }
    std::fprintf(stderr,
                 "Broken rule: %s\n  %d / %d, state %d, remaining %d, multiples [ %s], current %d "
                 "x -> %d, answer %d, row \"%zu digits\" max %u\n",
                 rule, board.dividend, board.divisor, static_cast<int>(board.state),
                 board.remaining, multiples.c_str(), board.currentMultiple, board.currentProduct,
                 board.answer, board.entryRow ? board.entryRow->text.size() : 0,
                 board.entryRow ? board.entryRow->maxDigits : 0u);
    std::abort();
}

void requireBoardInvariants(const WorkingBoard& board) {
    requireOnBoard(board.entryRow != nullptr, "a set-up board has an entry row", board);
    requireOnBoard(board.state >= Finished && board.state <= RemainderWrong,
                   "the state is one of the nine", board);
    const std::int64_t expected =
        std::int64_t{board.dividend} - std::int64_t{board.divisor} * sumOf(board.usedMultiples);
    requireOnBoard(board.remaining == expected, "remaining = dividend - divisor x sum", board);
    requireOnBoard(board.remaining >= 0, "remaining is never negative", board);
    for (int m : board.usedMultiples) {
        requireOnBoard(m > 0, "every completed step took a positive multiple", board);
    }
    requireOnBoard(board.currentMultiple >= 0, "the multiple in progress is not negative", board);
    if (board.state == Finished) {
        requireOnBoard(board.answer == board.dividend / board.divisor,
                       "a finished answer is dividend / divisor", board);
        requireOnBoard(board.remaining == board.dividend % board.divisor,
                       "a finished remainder is dividend mod divisor", board);
    }
    requireEntryRow(board);
}

void requireScrollInBounds(const Glideport& glideport) {
    // The lower bound is stated as the view does: the content's bottom edge never
    // rises above the view's. (Stated as originY >= view - content, a clamp that lands
    // a few billionths of a pixel below 0 on content exactly as tall as the view fails,
    // although in float arithmetic its bottom edge sits exactly on the view's.)
    const float lowest = glideport.viewHeight - glideport.contentHeight;
    const bool inside = std::isfinite(glideport.originY) && std::isfinite(glideport.velocity) &&
                        glideport.originY <= 0.0f &&
                        glideport.originY + glideport.contentHeight >= glideport.viewHeight;
    if (!inside) {
        std::fprintf(stderr, "Broken rule: the scroll origin %g lies outside [%g, 0] (speed %g)\n",
                     static_cast<double>(glideport.originY), static_cast<double>(lowest),
                     glideport.velocity);
        std::abort();
    }
}

int rightEntry(const WorkingBoard& board) {
    const std::int64_t largest = largestRightEntry(board);
    return largest < 0 ? 0 : static_cast<int>(largest);
}

void typeNumber(WorkingBoard& board, int number) {
    const std::string digits = std::to_string(number);
    if (board.entryRow->rightToLeft == 1) {
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            board.keyPressed(*digit);
        }
    } else {
        for (char digit : digits) {
            board.keyPressed(digit);
        }
    }
}

void solveOnBoard(WorkingBoard& board, std::uint32_t seed) {
    // Each Enter either completes a stage or the whole question; the bound only stops
    // a board that would go round in circles.
    const int enterLimit = 4 * board.dividend + 16;
    for (int enters = 0; board.state != Finished; ++enters) {
        requireOnBoard(enters < enterLimit, "a correct working-out comes to an end", board);
        int entry = rightEntry(board);
        if (board.state == EnterMultiple && entry > 1) {
            // Half the time the largest multiple, else any that fits.
            seed = seed * 1664525u + 1013904223u;
            if ((seed >> 31) != 0u) {
                entry = 1 + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(entry));
            }
        }
        requireOnBoard(board.state <= EnterRemainder && board.state != AnswerWrong,
                       "a correct entry never leads to an error state", board);
        requireOnBoard(entry > 0 || board.state == EnterRemainder || board.state == EnterAnswer,
                       "a question that is not finished asks for a number", board);
        typeNumber(board, entry);
        board.keyPressed(KeyCode::Enter);
        requireBoardInvariants(board);
    }
}
