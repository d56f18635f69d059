// Fuzz target: a working-out board fed a stream of the pupil's actions decoded from the
// input (keys, right answers, presses on and off the icons, drags, wheel turns, frames
// of any length, direction flips, restarts), with its rules checked after every action
// and the scroll origin's bounds after every frame.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "BoardChecks.h"
#include "fakes/FakeDrawing.h"
#include "platform/KeyCodes.h"

namespace {

// Enough for several questions worked through; the board is drawn at every frame, and a
// long working-out makes each drawing long.
constexpr int largestActionCount = 600;

enum Action : int {
    Digit,
    EnterKey,
    AnyKey,
    RightEntry,
    PressAnywhere,
    PressIcon,
    Drag,
    Wheel,
    Frame,
    FlipDirection,
    Restart,
    NewQuestion,
    LastAction = NewQuestion,
};

// The keys the board sees: a key code's low byte read as a signed 8-bit number.
int boardKey(std::uint8_t code) {
    return static_cast<std::int8_t>(code);
}

void newQuestion(WorkingBoard& board, FuzzedDataProvider& input) {
    const int divisor = input.ConsumeIntegralInRange(1, 99);
    const int dividend = input.ConsumeIntegralInRange(1, 9999);
    board.setUpQuestion(dividend, divisor);
}

// Frame lengths from none at all to a machine waking up after a long sleep.
double frameSeconds(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            return 0.0;
        case 1:
            return 0.02;
        case 2:
            return input.ConsumeFloatingPointInRange(0.0, 0.5);
        case 3:
            return input.ConsumeFloatingPointInRange(0.0, 3600.0);
        default:
            return input.ConsumeFloatingPoint<double>();
    }
}

Point anyPoint(FuzzedDataProvider& input) {
    return {input.ConsumeFloatingPointInRange(-50.0f, 850.0f),
            input.ConsumeFloatingPointInRange(-50.0f, 650.0f)};
}

// A press on one of the icons' press areas: a completed step's Repeat icon, the Delete
// icon at any of its places, or the Up icon.
Point iconPoint(const WorkingBoard& board, FuzzedDataProvider& input) {
    const float origin = board.glideport.originY;
    const int line =
        input.ConsumeIntegralInRange(0, static_cast<int>(board.usedMultiples.size()) + 1);
    const float top = board.rowHeight + 12.0f + 2.0f * board.rowHeight * static_cast<float>(line);
    const float inside = input.ConsumeFloatingPointInRange(0.0f, 25.0f);
    switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return {25.0f + inside, top + inside + origin};
        case 1:
            return {3.0f + inside, top + inside + origin};
        default:
            return {inside, 3.0f + inside};
    }
}

void frame(WorkingBoard& board, FakeBackBuffer& buffer, double seconds, Point pointer) {
    board.frameUpdate(seconds, pointer);
    requireScrollInBounds(board.glideport);
    buffer.clear();
    board.draw(buffer);
}

void act(WorkingBoard& board, FakeBackBuffer& buffer, FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, static_cast<int>(LastAction))) {
        case Digit:
            board.keyPressed('0' + input.ConsumeIntegralInRange(0, 9));
            break;
        case EnterKey:
            board.keyPressed(KeyCode::Enter);
            break;
        case AnyKey:
            board.keyPressed(boardKey(input.ConsumeIntegral<std::uint8_t>()));
            break;
        case RightEntry:
            typeNumber(board, rightEntry(board));
            board.keyPressed(KeyCode::Enter);
            break;
        case PressAnywhere:
            board.pressAt(anyPoint(input));
            break;
        case PressIcon:
            board.pressAt(iconPoint(board, input));
            break;
        case Drag: {
            const Point from = anyPoint(input);
            board.pressAt(from);
            const Point to = anyPoint(input);
            frame(board, buffer, frameSeconds(input), to);
            board.glideport.pointerUp();
            break;
        }
        case Wheel:
            board.glideport.wheel(input.ConsumeIntegral<int>(), anyPoint(input));
            break;
        case Frame:
            frame(board, buffer, frameSeconds(input), anyPoint(input));
            break;
        case FlipDirection:
            board.entryRow->rightToLeft = board.entryRow->rightToLeft == 0 ? 1 : 0;
            board.rememberDirection();
            break;
        case Restart:
            board.restartQuestion();
            break;
        default:
            newQuestion(board, input);
            break;
    }
}

void runActions(FuzzedDataProvider& input) {
    WorkingBoard board;
    board.autoProduct = input.ConsumeBool();
    board.autoRemainder = input.ConsumeBool();
    board.displayLotsOf = input.ConsumeBool();
    newQuestion(board, input);
    FakeBackBuffer buffer;
    requireBoardInvariants(board);
    for (int count = 0; count < largestActionCount && input.remaining_bytes() > 0; ++count) {
        act(board, buffer, input);
        requireBoardInvariants(board);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FakeDrawingServices* services = [] {
        auto* made = new FakeDrawingServices;
        registerProgramImageSizes(*made);
        return made;
    }();
    FuzzedDataProvider input(data, size);
    runActions(input);
    // The stand-in lists every picture loaded; emptied here so that an input frees
    // what it allocated, and libFuzzer's leak check (run after any input that does
    // not) stays quiet.
    services->loadedPaths.clear();
    return 0;
}
