// The working-out in words, read from a table of board states: the worked example of
// 100 ÷ 7 at every stage, each kind of wrong entry, the "×" wording and questions of
// one step; then the notices told as a question is worked.
#include <functional>
#include <string>
#include <vector>

#include "BoardTestSupport.h"
#include "board/LessonDescription.h"

namespace {

class LessonDescriptionTest : public BoardTest {
protected:
    void answers(const std::vector<int>& numbers) {
        for (int number : numbers) {
            answer(number);
        }
    }
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
        EXPECT_EQ(text.description, item.lines + item.value) << item.name;
    }
}

// Each change is told once, in the order the pupil makes them; typing alone is not.
TEST_F(LessonDescriptionTest, EveryChangeIsToldOnceAsItHappens) {
    struct Step {
        std::function<void()> act;
        std::u16string notice;
    };
    const std::vector<Step> steps = {
        {[this] { board.setUpQuestion(100, 7); },
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
        {[this] { board.restartQuestion(); },
         u"Started again. How many lots of 7 to take from 100? Nothing typed yet."},
    };
    board.setUpQuestion(50, 6);
    for (const Step& step : steps) {
        const LessonMoment before = momentOf(board);
        step.act();
        EXPECT_EQ(announcementOf(before, board), step.notice);
    }
}

}  // namespace
