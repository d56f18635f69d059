// The lesson the frame benchmarks drive, on the Qt backend (FrameBench.cpp) and in the
// browser (WebFrameBench.cpp): a question started as the program starts one, single
// lots taken to make a long working-out, and frames run until it has glided to its end.
#pragma once

#include <cstddef>

#include "lesson/LessonPanel.h"
#include "platform/KeyCodes.h"

namespace bench {

inline constexpr double frameSeconds = 0.02;
inline constexpr Point pointer{600.0f, 300.0f};  // beside the board, on nothing

inline void startQuestion(LessonPanel& panel, int dividend, int divisor) {
    panel.dividend = dividend;
    panel.divisor = divisor;
    panel.lessonState = Working;
    panel.board.setUpQuestion(dividend, divisor);
}

// Takes one lot at a time, at most `steps` times or until less than the divisor
// remains. With the remainder given, each step is one digit and Enter. True when all
// `steps` were taken.
inline bool takeSingleLots(WorkingBoard& board, int steps) {
    board.autoRemainder = true;
    for (int step = 0; step < steps && board.state == EnterMultiple; ++step) {
        board.keyPressed(KeyCode::Digit0 + 1);
        board.keyPressed(KeyCode::Enter);
    }
    return board.usedMultiples.size() == static_cast<std::size_t>(steps);
}

// Runs frames until the working-out has glided to its bottom and stopped there.
inline bool glideToEnd(LessonPanel& panel) {
    Glideport& view = panel.board.glideport;
    for (int frame = 0; frame < 10000; ++frame) {
        panel.update(frameSeconds, pointer);
        if (view.originY <= view.viewHeight - view.contentHeight && view.velocity == 0.0) {
            return true;
        }
    }
    return false;
}

}  // namespace bench
