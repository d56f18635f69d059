// The lesson's events for worked examples: what the board and the lesson panel tell
// the stream, in order, as a pupil works a question, slips and corrects, takes steps
// back, repeats one, answers or leaves. Each event is written as a short line so that a
// sequence reads like the pupil's working.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "events/Slips.h"
#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "platform/KeyCodes.h"

namespace {

std::string chunks(const std::vector<int>& multiples) {
    std::string text;
    for (int multiple : multiples) {
        text += (text.empty() ? "" : "+") + std::to_string(multiple);
    }
    return text;
}

struct EventLine {
    std::string operator()(const QuestionStarted& e) const {
        return "start " + std::to_string(e.dividend) + "/" + std::to_string(e.divisor) +
               (e.typedIn ? " typed" : " level") + (e.restarted ? " again" : "");
    }
    std::string operator()(const EntryChecked& e) const {
        std::string line = "entry " + std::to_string(e.line) + " " +
                           std::string(lineKindCode(e.kind)) + " " + std::to_string(e.typed);
        if (e.expected) {
            line += " of " + std::to_string(*e.expected);
        }
        line += e.right ? " right" : " wrong " + std::string(slipCode(classifySlip(e)));
        return line;
    }
    std::string operator()(const WrongEntryCleared& e) const {
        return "cleared " + std::to_string(e.line) + " " + std::string(lineKindCode(e.kind));
    }
    std::string operator()(const StepCompleted& e) const {
        return "step " + std::to_string(e.line) + " " + std::to_string(e.multiple) + "=" +
               std::to_string(e.product) + " left " + std::to_string(e.left);
    }
    std::string operator()(const StepRepeated& e) const {
        return "repeat " + std::to_string(e.line) + " " + std::to_string(e.multiple);
    }
    std::string operator()(const StepTakenBack& e) const {
        return "back " + std::to_string(e.line) + " " + std::to_string(e.multiple) +
               (e.completed ? " completed" : " in progress");
    }
    std::string operator()(const AnswerReached& e) const {
        return "answer " + std::to_string(e.answer) + " r" + std::to_string(e.remainder) + " " +
               chunks(e.chunks);
    }
    std::string operator()(const QuestionLeft& e) const {
        return "left " + std::string(leftByCode(e.by));
    }
    std::string operator()(const TutorSpoke&) const { return "tutor"; }
};

struct ServicesWithPictures : FakeDrawingServices {
    ServicesWithPictures() { registerProgramImageSizes(*this); }
};

// The pupil's hand: numbers typed with Enter, any key to clear a wrong one, the icons
// pressed where the keys press them, and the panel's commands.
struct Pupil {
    LessonPanel& panel;
    void enter(int number) {
        for (char digit : std::to_string(number)) {
            panel.board.keyPressed(digit);
        }
        panel.board.keyPressed(KeyCode::Enter);
    }
    void clear() { panel.board.keyPressed('0'); }
    void repeat(int multiple) { panel.board.pressAt(*panel.board.repeatIconPoint(multiple)); }
    void takeBack() { panel.board.pressAt(*panel.board.deleteIconPoint()); }
};

struct Example {
    const char* name;
    int dividend;
    int divisor;
    std::function<void(Pupil&)> work;
    std::vector<std::string> events;
};

const std::vector<Example> examples = {
    {"a wrong product corrected, then the answer",
     100,
     7,
     [](Pupil& p) {
         p.enter(10);
         p.enter(63);
         p.clear();
         p.enter(70);
         p.enter(30);
         p.enter(4);
         p.enter(28);
         p.enter(2);
         p.enter(13);
         p.clear();
         p.enter(14);
     },
     {"start 100/7 typed", "entry 1 multiple 10 right",
      "entry 1 product 63 of 70 wrong one-lot-too-few", "cleared 1 product",
      "entry 1 product 70 of 70 right", "entry 1 remainder 30 of 30 right", "step 1 10=70 left 30",
      "entry 2 multiple 4 right", "entry 2 product 28 of 28 right",
      "entry 2 remainder 2 of 2 right", "step 2 4=28 left 2",
      "entry 3 total 13 of 14 wrong addition-slip", "cleared 3 total",
      "entry 3 total 14 of 14 right", "answer 14 r2 10+4"}},
    {"a repeated step, then both steps taken back",
     100,
     7,
     [](Pupil& p) {
         p.enter(5);
         p.enter(3);
         p.clear();
         p.enter(35);
         p.enter(65);
         p.repeat(5);
         p.enter(31);
         p.clear();
         p.enter(30);
         p.enter(4);
         p.takeBack();
         p.takeBack();
     },
     {"start 100/7 typed", "entry 1 multiple 5 right", "entry 1 product 3 of 35 wrong not-quite",
      "cleared 1 product", "entry 1 product 35 of 35 right", "entry 1 remainder 65 of 65 right",
      "step 1 5=35 left 65", "repeat 2 5", "entry 2 remainder 31 of 30 wrong subtraction-slip",
      "cleared 2 remainder", "entry 2 remainder 30 of 30 right", "step 2 5=35 left 30",
      "entry 3 multiple 4 right", "back 3 4 in progress", "back 2 5 completed"}},
    {"too many lots, then the whole answer in one step",
     100,
     5,
     [](Pupil& p) {
         p.enter(30);
         p.clear();
         p.enter(20);
         p.enter(10);
         p.clear();
         p.enter(100);
     },
     {"start 100/5 typed", "entry 1 multiple 30 wrong more-than-left", "cleared 1 multiple",
      "entry 1 multiple 20 right", "entry 1 product 10 of 100 wrong ten-times-too-small",
      "cleared 1 product", "entry 1 product 100 of 100 right", "step 1 20=100 left 0",
      "answer 20 r0 20"}},
    {"left by Restart and by New Question; an answered question is not left",
     100,
     7,
     [](Pupil& p) {
         p.enter(10);
         p.panel.restartQuestion();
         p.enter(20);
         p.panel.leaveQuestion(LeftBy::NewQuestion);
         p.panel.startQuestion(9, 3, false);
         p.enter(3);
         p.enter(9);
         p.panel.leaveQuestion(LeftBy::Exit);
     },
     {"start 100/7 typed", "entry 1 multiple 10 right", "left restart-question",
      "start 100/7 typed again", "entry 1 multiple 20 wrong more-than-left", "left new-question",
      "start 9/3 level", "entry 1 multiple 3 right", "entry 1 product 9 of 9 right",
      "step 1 3=9 left 0", "answer 3 r0 3"}},
};

TEST(LessonEventsTest, WorkedExamplesTellTheirEventsInOrder) {
    for (const Example& example : examples) {
        SCOPED_TRACE(example.name);
        ServicesWithPictures services;
        LessonPanel panel;
        std::vector<std::string> told;
        panel.events.listen(
            [&](const LessonEvent& event) { told.push_back(std::visit(EventLine{}, event)); });
        panel.startQuestion(example.dividend, example.divisor, true);
        Pupil pupil{panel};
        example.work(pupil);
        EXPECT_EQ(told, example.events);
    }
}

}  // namespace
