// What happens in a lesson, told as it happens. The board and the lesson panel emit
// these where the pupil's work changes; the narration, the practice record, the tutor
// and the sound listen. Nothing that emits knows who listens, and a listener never
// changes the board: it reads the event (and may read the board) and does its own work.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The four kinds of line the pupil types. A step's line holds its multiple, its product
// and what remains after it; the total is the sum of the multiples, typed at the end.
enum class LineKind { Multiple, Product, Remainder, Total };

// Why a question was left before its answer.
enum class LeftBy { NewQuestion, RestartQuestion, CreateQuestion, Exit };

// A question set up on the board: drawn from a level, typed into Create Question, or
// the same question again after Restart Question.
struct QuestionStarted {
    int dividend = 0;
    int divisor = 1;
    bool typedIn = false;  // true: Create Question; false: drawn from the level
    int level = 0;         // the difficulty it was drawn from (0 Beginner to 4 Expert)
    bool restarted = false;
};

// One Enter on a typed number, checked. Line numbers count the steps from 1; the total
// has the number after the last step.
struct EntryChecked {
    int line = 1;
    LineKind kind = LineKind::Multiple;
    int typed = 0;
    // The one right value, where there is one: a multiple has many right values (any
    // that fits into what is left), so it has none.
    std::optional<int> expected;
    bool right = false;
    int divisor = 1;
    int left = 0;      // what remained before this line's step
    int multiple = 0;  // the step's multiple once accepted (Product and Remainder lines)
};

// A wrong entry was cleared by a key or a press, and the same line is asked again.
struct WrongEntryCleared {
    int line = 1;
    LineKind kind = LineKind::Multiple;
};

// A step's line is complete: its multiple taken away, product and remainder written.
struct StepCompleted {
    int line = 1;
    int multiple = 0;
    int product = 0;
    int left = 0;  // what remains after the step
};

// A completed step's multiple taken again through its Repeat icon (or key).
struct StepRepeated {
    int line = 1;  // the new step's line
    int multiple = 0;
};

// Delete: the step in progress abandoned, or with none in progress the last completed
// step taken back and its product given back to what remains.
struct StepTakenBack {
    int line = 1;
    int multiple = 0;
    bool completed = false;  // true: a completed step; false: the step in progress
};

// The question is done: its answer accepted, or its only step was the whole answer.
struct AnswerReached {
    int dividend = 0;
    int divisor = 1;
    int answer = 0;
    int remainder = 0;
    std::vector<int> chunks;  // the multiples taken, oldest first
};

// A question left before its answer.
struct QuestionLeft {
    LeftBy by = LeftBy::NewQuestion;
};

// What the tutor said to the pupil: a slip named, a hint, the value shown, praise or a
// key fact. The tutor publishes it on the same stream so that the record keeps it and
// the narration speaks it.
enum class TutorHelp { SlipNamed, Hint, ValueShown, Praise, BiggerChunk, KeyFact };
struct TutorSpoke {
    int line = 1;
    LineKind kind = LineKind::Multiple;
    TutorHelp help = TutorHelp::SlipNamed;
    std::u16string words;
};

using LessonEvent =
    std::variant<QuestionStarted, EntryChecked, WrongEntryCleared, StepCompleted, StepRepeated,
                 StepTakenBack, AnswerReached, QuestionLeft, TutorSpoke>;

// The stream: listeners are called in the order they were added, each with every event.
// An event a listener publishes (the tutor's words about an entry) waits until the one
// being told has reached every listener, so all of them hear events in the same order.
class LessonEvents {
public:
    using Listener = std::function<void(const LessonEvent&)>;
    void listen(Listener listener) { listeners.push_back(std::move(listener)); }
    void publish(const LessonEvent& event) const {
        waiting.push_back(event);
        if (telling) {
            return;
        }
        telling = true;
        struct Done {
            bool& telling;
            std::deque<LessonEvent>& waiting;
            ~Done() {
                telling = false;
                waiting.clear();
            }
        } done{telling, waiting};
        while (!waiting.empty()) {
            const LessonEvent next = std::move(waiting.front());
            waiting.pop_front();
            for (const Listener& listener : listeners) {
                listener(next);
            }
        }
    }

private:
    std::vector<Listener> listeners;
    mutable std::deque<LessonEvent> waiting;
    mutable bool telling = false;
};
