// The board under load: the longest question the drill can set, worked to the end,
// and a long run of random keys, presses and frames that must keep the model whole.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "BoardTestSupport.h"

namespace {

using WorkingBoardLongRunTest = BoardTest;

TEST_F(WorkingBoardLongRunTest, LongestQuestionFinishesWithinASecond) {
    const auto start = std::chrono::steady_clock::now();
    board.setUpQuestion(9999, 2);
    for (int step = 0; step < 4999; ++step) {
        ASSERT_EQ(board.state, EnterMultiple) << "step " << step;
        answer(1);
        ASSERT_EQ(board.state, EnterRemainder) << "step " << step;
        answer(board.remaining - 2);
        board.frameUpdate(0.02, {200.0f, 300.0f});
    }
    ASSERT_EQ(board.state, EnterAnswer);
    EXPECT_EQ(board.remaining, 1);
    EXPECT_EQ(board.usedMultiples.size(), 4999u);
    answer(4999);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(board.state, Finished);
    EXPECT_EQ(board.answer, 4999);
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}

// Drives a board with random input and checks its invariants after every event.
class RandomSession {
public:
    RandomSession(WorkingBoard& board, unsigned seed) : board(board), random(seed) {}

    void run(int events) {
        while (eventCount < events) {
            startQuestion();
            const int length = pick(20, 400);
            for (int i = 0; i < length && eventCount < events; ++i) {
                oneEvent();
                if (::testing::Test::HasFatalFailure()) {
                    return;  // the first broken invariant is the one worth reading
                }
                if (board.state == Finished && chance(30)) {
                    break;
                }
            }
        }
    }

    int eventCount = 0;
    int finishedCount = 0;
    int stepCount = 0;
    std::array<int, 9> eventsInState{};  // how often each state followed an event

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    float pickFloat(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    void startQuestion() {
        const int divisor = pick(2, 99);
        board.setUpQuestion(pick(divisor + 1, 9999), divisor);
        board.autoProduct = chance(50);
        board.autoRemainder = chance(50);
        afterEvent();
    }

    void oneEvent() {
        const int kind = pick(0, 99);
        if (kind < 25) {
            typeUsefulNumber();
        } else if (kind < 55) {
            pressKey(randomKey());
        } else if (kind < 70) {
            pressIcon();
        } else if (kind < 80) {
            press({pickFloat(-10.0f, 810.0f), pickFloat(-10.0f, 610.0f)});
        } else if (kind < 95) {
            frame();
        } else if (kind < 98) {
            board.glideport.pointerUp();
            afterEvent();
        } else {
            board.restartQuestion();
            afterEvent();
        }
    }

    int randomKey() {
        switch (pick(0, 6)) {
            case 0:
                return KeyCode::Digit0 + pick(0, 9);
            case 1:
                return KeyCode::Numpad0 + pick(0, 9);
            case 2:
                return KeyCode::Enter;
            case 3:
                return KeyCode::Space;
            case 4:
                return KeyCode::Backspace;
            case 5:
                return pick(-128, -1);
            default:
                return pick(0, 0x1FF);
        }
    }

    // What a pupil who knows the answer types (or, now and then, a multiple too big),
    // so that questions get finished and every state is reached.
    void typeUsefulNumber() {
        int number = 0;
        switch (board.state) {
            case EnterMultiple: {
                const int most = board.remaining / board.divisor;
                number = chance(10) ? most + 1 : pick(1, most);
                break;
            }
            case EnterProduct:
                number = board.currentMultiple * board.divisor;
                break;
            case EnterRemainder:
                number = board.remaining - board.currentProduct;
                break;
            case EnterAnswer:
                number = board.sumOfMultiples() + (chance(10) ? 1 : 0);
                break;
            default:
                pressKey(KeyCode::Backspace);  // clears an error; nothing in Finished
                return;
        }
        while (!board.entryRow->text.empty()) {
            pressKey(KeyCode::Backspace);
        }
        const std::string digits = std::to_string(number);
        if (board.entryRow->rightToLeft == 1) {
            for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
                pressKey(*digit);
            }
        } else {
            for (char digit : digits) {
                pressKey(digit);
            }
        }
        pressKey(KeyCode::Enter);
    }

    // A press on a Repeat, Delete or Up icon's area, in back-buffer coordinates.
    void pressIcon() {
        const float originY = board.glideport.originY;
        const auto steps = static_cast<int>(board.usedMultiples.size());
        const int which = pick(0, 2);
        if (which == 0 && steps > 0) {
            const float top = 52.0f + 80.0f * static_cast<float>(pick(0, steps - 1));
            press({pickFloat(25.0f, 50.0f), originY + top + pickFloat(0.0f, 25.0f)});
        } else if (which == 1) {
            float top = 52.0f + (steps > 1 ? 80.0f * static_cast<float>(steps - 1) : 0.0f);
            if (board.currentMultiple > 0 && steps > 0) {
                top += 80.0f;
            }
            press({pickFloat(3.0f, 28.0f), originY + top + pickFloat(0.0f, 25.0f)});
        } else {
            press({pickFloat(0.0f, 40.0f), pickFloat(3.0f, 43.0f)});
        }
    }

    void pressKey(int code) {
        board.keyPressed(code);
        afterEvent();
    }

    void press(Point point) {
        board.pressAt(point);
        afterEvent();
    }

    void frame() {
        board.frameUpdate(0.02, {pickFloat(0.0f, 800.0f), pickFloat(0.0f, 600.0f)});
        // Drawing decides whether the Up icon shows; it does so from these facts.
        board.upIconShown = board.state <= AnswerWrong && board.glideport.originY < -70.0f;
        afterEvent();
        const Glideport& panel = board.glideport;
        ASSERT_LE(panel.originY, 0.0f) << where();
        ASSERT_GE(panel.originY, panel.viewHeight - panel.contentHeight) << where();
        ASSERT_GE(panel.contentHeight, panel.viewHeight) << where();
    }

    void afterEvent() {
        ++eventCount;
        if (board.state == Finished && lastState != Finished) {
            ++finishedCount;
        }
        if (board.usedMultiples.size() > lastSteps) {
            ++stepCount;
        }
        if (board.state >= Finished && board.state <= RemainderWrong) {
            ++eventsInState[static_cast<std::size_t>(board.state)];
        }
        lastState = board.state;
        lastSteps = board.usedMultiples.size();
        checkInvariants();
    }

    // Where the run stands, for failure messages only (they are built on failure).
    std::string where() const {
        return "after event " + std::to_string(eventCount) + ", question " +
               std::to_string(board.dividend) + " / " + std::to_string(board.divisor) + ", state " +
               std::to_string(board.state);
    }

    void checkInvariants() const {
        const int sum = board.sumOfMultiples();
        ASSERT_EQ(board.remaining, board.dividend - board.divisor * sum) << where();
        ASSERT_GE(board.remaining, 0) << where();
        ASSERT_LE(board.remaining, board.dividend) << where();
        ASSERT_GE(board.state, Finished) << where();
        ASSERT_LE(board.state, RemainderWrong) << where();
        // Steps go on while a divisor still fits; the closing sum comes after.
        ASSERT_EQ(board.state >= EnterMultiple, board.remaining >= board.divisor) << where();
        if (board.state == Finished) {
            ASSERT_EQ(board.answer, sum) << where();
        }
        const bool errorState = board.state == AnswerWrong || board.state == MultipleTooBig ||
                                board.state == ProductWrong || board.state == RemainderWrong;
        ASSERT_EQ(board.entryRow->colour == board.entryRow->errorColour, errorState) << where();
        checkEntryRow();
    }

    void checkEntryRow() const {
        const NumericInput& row = *board.entryRow;
        ASSERT_LE(row.text.size(), row.maxDigits) << where();
        ASSERT_GE(row.maxDigits, 1u) << where();
        ASSERT_LE(row.maxDigits, 4u) << where();
        int spelled = 0;
        for (char16_t character : row.text) {
            ASSERT_TRUE(character >= u'0' && character <= u'9') << where();
            spelled = spelled * 10 + (character - u'0');
        }
        ASSERT_EQ(row.value, spelled) << narrow(row.text) << ", " << where();
    }

    WorkingBoard& board;
    std::mt19937 random;
    BoardState lastState = EnterMultiple;
    std::size_t lastSteps = 0;
};

TEST_F(WorkingBoardLongRunTest, RandomInputKeepsTheModelWhole) {
    RandomSession session(board, 20240517u);
    session.run(150000);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GE(session.eventCount, 150000);
    // The run must have exercised whole questions, not only noise.
    EXPECT_GT(session.finishedCount, 100);
    EXPECT_GT(session.stepCount, 1000);
    for (std::size_t state = 0; state < session.eventsInState.size(); ++state) {
        EXPECT_GT(session.eventsInState[state], 0) << "state " << state << " never reached";
    }
    std::printf("%d events, %d questions finished, %d steps\n", session.eventCount,
                session.finishedCount, session.stepCount);
}

}  // namespace
