// The working-out in words, read from a table of board states: the worked example of
// 100 ÷ 7 at every stage, each kind of wrong entry, the "×" wording and questions of
// one step; then the notices told from the events as a question is worked, and the
// words kept line by line always the same as the words made at once.
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "features/narration/Narration.h"
#include "features/narration/NarrationWords.h"
#include "unit/board/BoardTestSupport.h"

namespace {

class LessonDescriptionTest : public BoardTest {
protected:
    LessonDescriptionTest() {
        board.events = &events;
        events.listen([this](const LessonEvent& event) { narration.hear(event); });
    }

    void answers(const std::vector<int>& numbers) {
        for (int number : numbers) {
            answer(number);
        }
    }

    // What the lesson panel does: the question set up, then told.
    void startQuestion(int dividend, int divisor) {
        board.setUpQuestion(dividend, divisor);
        events.publish(QuestionStarted{dividend, divisor, true, 0, false});
    }
    void restartQuestion() {
        board.restartQuestion();
        events.publish(QuestionStarted{board.dividend, board.divisor, true, 0, true});
    }

    LessonEvents events;
    Narration narration{board};
};

const std::u16string start = u"100 \u00F7 7\nStart with 100.\n";
const std::u16string firstStep = u"10 lots of 7 is 70; 30 left.\n";
const std::u16string bothSteps = firstStep + u"4 lots of 7 is 28; 2 left.\n";
const std::u16string again = u" Press any key to try again.";

TEST_F(LessonDescriptionTest, EachStateReadsAsItsLinesInWords) {
    struct Case {
        const char* name;
        int dividend;
        bool lotsOf;
        std::function<void()> work;
        std::u16string value;
        std::u16string lines;  // the description without its last line, the value
    };
    const std::vector<Case> cases = {
        {"set up", 100, true, [] {}, u"How many lots of 7 to take from 100? Nothing typed yet.",
         start},
        {"typing", 100, true, [this] { type(1); },
         u"How many lots of 7 to take from 100? Typed: 1.", start},
        {"product asked", 100, true, [this] { answers({10}); },
         u"What is 10 lots of 7? Nothing typed yet.", start},
        {"remainder asked", 100, true,
         [this] {
             answers({10, 70});
         },
         u"What is 100 take away 70? Nothing typed yet.", start},
        {"second multiple", 100, true,
         [this] {
             answers({10, 70, 30});
         },
         u"How many lots of 7 to take from 30? Nothing typed yet.", start + firstStep},
        {"answer asked", 100, true,
         [this] {
             answers({10, 70, 30, 4, 28, 2});
             type(1);
         },
         u"The answer: what is 10 + 4? Typed: 1.", start + bothSteps},
        {"answered", 100, true,
         [this] {
             answers({10, 70, 30, 4, 28, 2, 14});
         },
         u"The answer is 14 remainder 2.", start + bothSteps},
        {"multiple too big", 100, true, [this] { answers({15}); },
         u"Wrong: 15 lots of 7 is more than 100." + again, start},
        {"product wrong", 100, true,
         [this] {
             answers({10, 71});
         },
         u"Wrong: 10 lots of 7 is not 71." + again, start},
        {"remainder wrong", 100, true,
         [this] {
             answers({10, 70, 31});
         },
         u"Wrong: 100 take away 70 is not 31." + again, start},
        {"answer wrong", 100, true,
         [this] {
             answers({10, 70, 30, 4, 28, 2, 13});
         },
         u"Wrong: 10 + 4 is not 13." + again, start + bothSteps},
        {"error cleared", 100, true,
         [this] {
             answers({10, 71, 5});
         },
         u"What is 10 lots of 7? Nothing typed yet.", start},
        {"times sign", 100, false,
         [this] {
             answers({10, 70, 30, 4});
         },
         u"What is 4 \u00D7 7? Nothing typed yet.", start + u"10 \u00D7 7 is 70; 30 left.\n"},
        {"single step", 21, true,
         [this] {
             answers({3, 21});
         },
         u"The answer is 3.", u"21 \u00F7 7\nStart with 21.\n3 lots of 7 is 21; 0 left.\n"},
        {"one lot", 9, true,
         [this] {
             answers({1, 2});
         },
         u"The answer is 1 remainder 2.", u"9 \u00F7 7\nStart with 9.\n1 lot of 7 is 7; 2 left.\n"},
    };
    for (const Case& item : cases) {
        board.displayLotsOf = item.lotsOf;
        board.setUpQuestion(item.dividend, 7);
        item.work();
        const AccessibleText text = describeLesson(board);
        EXPECT_EQ(text.name, questionWords(board)) << item.name;
        EXPECT_EQ(text.value, item.value) << item.name;
        EXPECT_EQ(text.linesText(), item.lines) << item.name;
        EXPECT_EQ(text.description(), item.lines + item.value) << item.name;
    }
}

// Each change is told once, in the order the pupil makes them; typing alone is not.
TEST_F(LessonDescriptionTest, EveryChangeIsToldOnceAsItHappens) {
    struct Step {
        std::function<void()> act;
        std::u16string notice;
    };
    const std::vector<Step> steps = {
        {[this] { startQuestion(100, 7); },
         u"New question: 100 \u00F7 7. How many lots of 7 to take from 100? Nothing typed yet."},
        {[this] { type(10); }, u""},
        {[this] { enter(); }, u"What is 10 lots of 7? Nothing typed yet."},
        {[this] { answer(77); }, u"Wrong: 10 lots of 7 is not 77." + again},
        {[this] { key('7'); }, u"What is 10 lots of 7? Nothing typed yet."},
        {[this] {
             answers({70, 30});
         },
         u"10 lots of 7 is 70; 30 left. How many lots of 7 to take from 30? Nothing typed yet."},
        {[this] { pressContent(15.0f, 60.0f); },
         u"Step taken back. How many lots of 7 to take from 100? Nothing typed yet."},
        {[this] {
             answers({10, 70, 30, 4, 28});
         },
         u"10 lots of 7 is 70; 30 left. What is 30 take away 28? Nothing typed yet."},
        {[this] { answer(2); },
         u"4 lots of 7 is 28; 2 left. The answer: what is 10 + 4? Nothing typed yet."},
        {[this] { answer(14); }, u"The answer is 14 remainder 2."},
        {[this] { restartQuestion(); },
         u"Started again. How many lots of 7 to take from 100? Nothing typed yet."},
        {[this] {
             answers({1, 93});
         },
         u"1 lot of 7 is 7; 93 left. How many lots of 7 to take from 93? Nothing typed yet."},
        {[this] { board.pressAt(*board.repeatIconPoint(1)); },
         u"Repeat: 1 lot of 7. What is 93 take away 7? Nothing typed yet."},
        {[this] { events.publish(TutorSpoke{.words = u"Seven is one lot of 7."}); },
         u"Seven is one lot of 7."},
        {[this] {
             answer(86);
             events.publish(TutorSpoke{.words = u"Well done."});
         },
         u"1 lot of 7 is 7; 86 left. How many lots of 7 to take from 86? Nothing typed yet. "
         u"Well done."},
    };
    startQuestion(50, 6);
    narration.takeNews();  // the first words tell the first question
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(narration.takeNews().notice, step.notice);
    }
}

// A key's cost stays flat however long the working-out: what a digit or a Backspace
// publishes is the name and the line being typed, with the lines above handed on as the
// copy already published; only a completed step makes new lines.
TEST_F(LessonDescriptionTest, AKeyPublishesOnlyTheLineBeingTyped) {
    startQuestion(9999, 2);
    for (int step = 1; step <= 800; ++step) {
        answers({1, 9999 - 2 * step});  // one lot's product is given
    }
    const std::optional<AccessibleText> before = narration.takeNews().text;
    ASSERT_TRUE(before && before->lines);
    ASSERT_GT(before->lines->size(), 20000u);
    for (int code : {int('5'), int(KeyCode::Backspace), int('7'), int('3'), int(KeyCode::Backspace),
                     int(KeyCode::Backspace)}) {
        key(code);
        const std::optional<AccessibleText> text = narration.takeNews().text;
        ASSERT_TRUE(text);
        EXPECT_TRUE(text->lines == before->lines);  // the same copy, not another
        EXPECT_LT(text->name.size() + text->value.size(), 100u) << text->value.size();
    }
    answers({1});
    const std::optional<AccessibleText> stepped = narration.takeNews().text;
    ASSERT_TRUE(stepped);
    EXPECT_TRUE(stepped->lines == before->lines);  // the remainder is asked: no line yet
    answers({9999 - 2 * 801});
    const std::optional<AccessibleText> added = narration.takeNews().text;
    ASSERT_TRUE(added && added->lines);
    EXPECT_TRUE(*added->lines == *before->lines + u"1 lot of 2 is 2; 8397 left.\n");
}

// Random keys, presses and changes of wording: the words kept line by line, published
// only when they change, are always the words made afresh from the board.
TEST_F(LessonDescriptionTest, KeptWordsAreAlwaysTheWholeWordsMadeAfresh) {
    const int keys[] = {'0',
                        '1',
                        '2',
                        '3',
                        '4',
                        '5',
                        '6',
                        '7',
                        '8',
                        '9',
                        KeyCode::Enter,
                        KeyCode::Enter,
                        KeyCode::Enter,
                        KeyCode::Backspace,
                        KeyCode::Space};
    std::srand(28);
    for (int question = 0; question < 40; ++question) {
        startQuestion(50 + std::rand() % 950, 2 + std::rand() % 12);
        AccessibleText published;
        for (int action = 0; action < 150; ++action) {
            const int choice = std::rand() % 40;
            if (choice < 30) {
                key(keys[std::rand() % std::size(keys)]);
            } else if (choice < 33) {
                board.pressAt(board.deleteIconPoint().value_or(Point{0.0f, 0.0f}));
            } else if (choice < 36 && !board.usedMultiples.empty()) {
                const int multiple = board.usedMultiples[std::rand() % board.usedMultiples.size()];
                board.pressAt(board.repeatIconPoint(multiple).value_or(Point{0.0f, 0.0f}));
            } else if (choice == 36) {
                board.displayLotsOf = !board.displayLotsOf;
            } else if (choice == 37) {
                restartQuestion();
            } else {
                answer(board.remaining / board.divisor);
            }
            if (const auto text = narration.takeNews().text) {
                published = *text;
            }
            ASSERT_EQ(published, describeLesson(board)) << question << " " << action;
        }
    }
}

}  // namespace
