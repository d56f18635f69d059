// A fixture for driving a working-out board the way the pupil does: keys through
// keyPressed and presses through pressAt, with the drawing services installed first.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/WorkingBoard.h"
#include "fakes/FakeDrawing.h"
#include "platform/KeyCodes.h"

// Installs the fake drawing services with the real icon sizes before the board exists.
struct InstalledDrawing {
    InstalledDrawing() { registerProgramImageSizes(services); }
    FakeDrawingServices services;
};

class BoardTest : public ::testing::Test {
protected:
    void key(int code) { board.keyPressed(code); }
    void enter() { key(KeyCode::Enter); }

    // Types the number's digits in the order the row's direction needs, so that the
    // row ends up spelling the number.
    void type(int number) {
        const std::string digits = std::to_string(number);
        if (board.entryRow->rightToLeft == 1) {
            for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
                key(*digit);
            }
        } else {
            for (char digit : digits) {
                key(digit);
            }
        }
    }

    // Types a number and presses Enter.
    void answer(int number) {
        type(number);
        enter();
    }

    // A press on the content point (x, y), wherever the working-out is scrolled to.
    void pressContent(float x, float y) { board.pressAt({x, y + board.glideport.originY}); }

    // Makes the working-out tall and scrolls it, as a long question would.
    void scrollTo(float originY) {
        board.glideport.setContentHeight(5000.0f);
        board.glideport.originY = originY;
    }

    InstalledDrawing drawing;
    WorkingBoard board;
};
