// The tutor as the pupil meets it: a wrong entry of each slip kind typed three times
// on a real board, and the words said at each try; the words after the answer; the
// key-facts box filled in; and, for random questions and words, every mark the tutor
// draws kept inside the free space it was given.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "events/Slips.h"
#include "fakes/FakeDrawing.h"
#include "features/tutor/Tutor.h"
#include "features/tutor/TutorWords.h"
#include "platform/KeyCodes.h"

namespace {

struct ServicesWithPictures : FakeDrawingServices {
    ServicesWithPictures() { registerProgramImageSizes(*this); }
};

// A lesson panel with a tutor listening, a note of what the tutor told the stream, and
// the pupil's keys: through the tutor first, as the shell routes them.
struct Lesson {
    explicit Lesson(int dividend, int divisor, PupilOptions options = {}) {
        panel.options = options;
        panel.events.listen([this](const LessonEvent& event) {
            if (const auto* spoke = std::get_if<TutorSpoke>(&event)) {
                told.push_back(*spoke);
            } else if (const auto* entry = std::get_if<EntryChecked>(&event)) {
                lastEntry = *entry;
            }
        });
        panel.startQuestion(dividend, divisor, true);
    }
    void key(int code) {
        if (!tutor.keyPressed(code)) {
            panel.board.keyPressed(code);
        }
    }
    void enter(int number) {
        for (char digit : std::to_string(number)) {
            key(digit);
        }
        key(KeyCode::Enter);
    }
    void enterAll(const std::vector<int>& numbers) {
        for (int number : numbers) {
            enter(number);
        }
    }
    std::string said() const {
        std::string text;
        for (const std::u16string& sentence : tutor.sentences) {
            text += (text.empty() ? "" : " ") + narrow(sentence);
        }
        return text;
    }

    ServicesWithPictures services;
    LessonPanel panel;
    Tutor tutor{panel};
    std::vector<TutorSpoke> told;
    EntryChecked lastEntry;
};

struct SlipCase {
    int dividend;
    int divisor;
    std::vector<int> before;  // right entries that reach the line
    int typed;
    const char* slip;
    const char* first;
    const char* second;
    const char* third;
};

// clang-format off
const std::vector<SlipCase> slipCases = {
    {100, 7, {}, 20, "more-than-left", "20 lots of 7 is more than the 100 left.",
     "10 lots of 7 is 70, which fits into the 100 left.",
     "10 lots of 7 is 70, which fits into 100. Type 10."},
    {100, 7, {10}, 7, "ten-times-too-small", "That is ten times too small: count the zeros again.",
     "5 lots of 7 is 35, so 10 lots is double that.", "10 lots of 7 is 70. Type 70."},
    {345, 7, {40}, 28, "ten-times-too-small", "That is ten times too small: count the zeros again.",
     "10 lots of 7 is 70, so 40 lots is 4 times that.", "40 lots of 7 is 280. Type 280."},
    {100, 7, {10}, 77, "one-lot-too-many", "That is one lot of 7 too many.",
     "5 lots of 7 is 35, so 10 lots is double that.", "10 lots of 7 is 70. Type 70."},
    {345, 7, {40}, 273, "one-lot-too-few", "That is one lot of 7 too few.",
     "10 lots of 7 is 70, so 40 lots is 4 times that.", "40 lots of 7 is 280. Type 280."},
    {345, 7, {40, 280}, 75, "subtraction-slip", "A subtraction slip: take 280 away from 345 again.",
     "345 take away 200 is 145; now take away the other 80.", "345 take away 280 leaves 65. Type 65."},
    {100, 7, {10, 70}, 40, "subtraction-slip", "A subtraction slip: take 70 away from 100 again.",
     "Count on from 70 to 100: how far is it?", "100 take away 70 leaves 30. Type 30."},
    {100, 7, {10, 70, 30, 4, 28, 2}, 15, "addition-slip",
     "An addition slip: add up the lots you took away again.", "Start from 10 and count on 4.",
     "The lots you took away add up to 14. Type 14."},
    {100, 7, {5, 35, 65, 5, 30, 4, 28, 2}, 15, "addition-slip",
     "An addition slip: add up the lots you took away again.",
     "5 and 5 make 10; now add the other lots to that.", "The lots you took away add up to 14. Type 14."},
    {100, 7, {10}, 60, "not-quite", "Not quite. What are 10 lots of 7?",
     "5 lots of 7 is 35, so 10 lots is double that.", "10 lots of 7 is 70. Type 70."},
    {345, 7, {40, 280, 65, 9}, 64, "not-quite", "Not quite. What are 9 lots of 7?",
     "5 lots of 7 is 35; add 4 more lots of 7 to that.", "9 lots of 7 is 63. Type 63."},
    {3000, 3, {1000}, 300, "ten-times-too-small", "That is ten times too small: count the zeros again.",
     "100 lots of 3 is 300, so 1000 lots is 10 times that.", "1000 lots of 3 is 3000. Type 3000."},
};
// clang-format on

TEST(TutorTest, EachSlipGetsItsNameThenAHintThenTheValue) {
    for (const SlipCase& row : slipCases) {
        SCOPED_TRACE(std::to_string(row.dividend) + " / " + std::to_string(row.divisor) +
                     ", typed " + std::to_string(row.typed));
        Lesson lesson(row.dividend, row.divisor);
        lesson.enterAll(row.before);
        const std::vector<std::string> expected{row.first, row.second, row.third};
        const std::vector<TutorHelp> helps{TutorHelp::SlipNamed, TutorHelp::Hint,
                                           TutorHelp::ValueShown};
        for (std::size_t attempt = 0; attempt < 3; ++attempt) {
            lesson.told.clear();
            lesson.enter(row.typed);
            EXPECT_EQ(slipCode(classifySlip(lesson.lastEntry)), row.slip);
            EXPECT_EQ(lesson.said(), expected[attempt]) << "try " << attempt + 1;
            ASSERT_EQ(lesson.told.size(), 1u);
            EXPECT_EQ(lesson.told[0].help, helps[attempt]);
            EXPECT_EQ(lesson.told[0].line, lesson.lastEntry.line);
            EXPECT_EQ(lesson.told[0].kind, lesson.lastEntry.kind);
            // Before the value is shown, the words never hold the number asked for.
            if (attempt < 2 && lesson.lastEntry.expected) {
                const std::string value = " " + std::to_string(*lesson.lastEntry.expected);
                EXPECT_EQ((" " + lesson.said() + " ").find(value + " "), std::string::npos);
                EXPECT_EQ((" " + lesson.said()).find(value + "."), std::string::npos);
            }
            lesson.key('0');  // clears the wrong entry, as on the board
        }
        // A right entry ends the help (a right total brings the praise instead).
        lesson.told.clear();
        lesson.enter(static_cast<int>(row.typed == 20 ? 10 : *lesson.lastEntry.expected));
        EXPECT_TRUE(lesson.told.empty() || lesson.told[0].help == TutorHelp::Praise);
        EXPECT_EQ(lesson.said().find(row.third), std::string::npos);
    }
    // The board takes no more digits than the right product has, so a product ten times
    // too big only comes from elsewhere; its words are the same three.
    const EntryChecked tooBig{1, LineKind::Product, 700, 70, false, 7, 100, 10};
    EXPECT_EQ(slipCode(classifySlip(tooBig)), "ten-times-too-big");
    EXPECT_EQ(narrow(tutor::wordsForTry(1, tooBig, {})),
              "That is ten times too big: count the zeros again.");
    EXPECT_EQ(narrow(tutor::wordsForTry(2, tooBig, {})),
              "5 lots of 7 is 35, so 10 lots is double that.");
    EXPECT_EQ(narrow(tutor::wordsForTry(3, tooBig, {})), "10 lots of 7 is 70. Type 70.");
}

TEST(TutorTest, HintsOffSaysNothingAboutWrongEntries) {
    PupilOptions quiet;
    quiet.hints = false;
    Lesson lesson(100, 7, quiet);
    lesson.enterAll({10, 700});
    lesson.key('0');
    lesson.enter(77);
    EXPECT_TRUE(lesson.told.empty());
    EXPECT_EQ(lesson.said(), "");
}

struct AnswerCase {
    int dividend;
    int divisor;
    std::vector<int> work;
    const char* words;
};

TEST(TutorTest, AfterTheAnswerPraiseAChunkToTryAndTheCheck) {
    // clang-format off
    const std::vector<AnswerCase> cases = {
        {100, 7, {10, 70, 30, 4, 28, 2, 14},
         "Careful work, step by step. Well done. Check: 14 × 7 + 2 = 100."},
        {98, 7, {2, 14, 84, 2, 70, 2, 56, 2, 42, 2, 28, 2, 14, 2, 14},
         "Careful work, step by step. Well done. Next time try 10 lots of 7 first. "
         "Check: 14 × 7 = 98."},
        {345, 7, {40, 280, 65, 2, 14, 51, 2, 37, 2, 23, 2, 9, 1, 2, 49},
         "Careful work, step by step. Well done. Next time try 9 lots of 7 when 65 is left. "
         "Check: 49 × 7 + 2 = 345."},
    };
    // clang-format on
    for (const AnswerCase& row : cases) {
        Lesson lesson(row.dividend, row.divisor);
        lesson.enterAll(row.work);
        EXPECT_EQ(lesson.said(), row.words);
        EXPECT_EQ(lesson.told.front().help, TutorHelp::Praise);
    }
    // Slips put right earn other praise, and the next answer hears something new.
    Lesson lesson(100, 7);
    lesson.enterAll({10, 77});
    lesson.key('0');
    lesson.enterAll({70, 30, 4, 28, 2, 14});
    const std::string first = lesson.said();
    EXPECT_EQ(first.rfind("You spotted your slips and put them right.", 0), 0u) << first;
    lesson.panel.startQuestion(100, 7, true);
    lesson.enterAll({10, 70, 30, 4, 28, 2, 14});
    lesson.panel.startQuestion(100, 7, true);
    lesson.enterAll({10, 70, 30, 4, 28, 2, 14});
    EXPECT_NE(lesson.said(), "Careful work, step by step. Well done. Check: 14 × 7 + 2 = 100.");
    for (const std::u16string& sentence : lesson.tutor.sentences) {
        EXPECT_EQ(narrow(sentence).find("clever"), std::string::npos);
    }
}

TEST(TutorTest, KeyFactsAreFilledInBeforeTheFirstStep) {
    PupilOptions options;
    options.keyFacts = KeyFactsMode::FillIn;
    Lesson lesson(1500, 7, options);
    EXPECT_EQ(lesson.tutor.keyFacts.lots, (std::vector<int>{1, 2, 5, 10, 100}));
    EXPECT_EQ(lesson.said(), "Fill in the key facts first. What is 1 lot of 7?");
    lesson.enterAll({7, 14, 36});
    EXPECT_TRUE(lesson.tutor.keyFacts.wrong);
    EXPECT_EQ(lesson.said(), "Not quite. What are 5 lots of 7?");
    lesson.key('3');  // only clears, as after a wrong line
    EXPECT_EQ(lesson.tutor.keyFacts.typed, u"");
    lesson.enterAll({35, 70});
    EXPECT_TRUE(lesson.tutor.fillingIn());
    EXPECT_EQ(lesson.panel.board.entryRow->value, 0);  // nothing reached the board
    lesson.enter(700);
    EXPECT_FALSE(lesson.tutor.fillingIn());
    EXPECT_EQ(lesson.said(), "Key facts done. Now take lots of 7 away from 1500.");
    lesson.enter(200);
    EXPECT_EQ(lesson.panel.board.state, EnterProduct);
    // Restarted, the facts stay filled in; a divisor that needs 1000 lots asks again.
    lesson.panel.restartQuestion();
    EXPECT_FALSE(lesson.tutor.fillingIn());
    lesson.panel.startQuestion(7500, 7, true);
    EXPECT_EQ(lesson.tutor.keyFacts.lots.back(), 1000);
    EXPECT_TRUE(lesson.tutor.fillingIn());
}

bool inside(const Rectangle& inner, const Rectangle& outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width + 0.01f &&
           inner.y + inner.height <= outer.y + outer.height + 0.01f;
}

bool overlaps(const Rectangle& a, const Rectangle& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(TutorTest, WhatTheTutorDrawsStaysInItsFreeSpace) {
    // The panel's own places: the board, header, answer, buttons, captions and pictures.
    const std::vector<Rectangle> taken = {{0, 0, 481, 575},    {525, 45, 275, 53},
                                          {515, 98, 285, 50},  {525, 250, 231, 153},
                                          {525, 410, 250, 50}, {500, 490, 273, 80}};
    for (const Rectangle& area : {Tutor::wordsArea, Tutor::keyFactsArea}) {
        EXPECT_TRUE(inside(area, {0, 0, 800, 600}));
        for (const Rectangle& place : taken) {
            EXPECT_FALSE(overlaps(area, place));
        }
    }
    std::mt19937 random(25);
    const std::vector<std::u16string> pieces = {
        u"lots", u"of",  u"7",   u"is",    u"more",
        u"than", u"the", u"100", u"left.", u"Ausgesprochen-langes-Wort"};
    for (int run = 0; run < 200; ++run) {
        PupilOptions options;
        options.keyFacts = run % 2 == 0 ? KeyFactsMode::Shown : KeyFactsMode::FillIn;
        const int divisor = 2 + static_cast<int>(random() % 98);
        Lesson lesson(divisor * (5 + static_cast<int>(random() % 2000)) % 10000 + divisor, divisor,
                      options);
        lesson.tutor.sentences.clear();
        for (int sentence = 0, count = 1 + static_cast<int>(random() % 4); sentence < count;
             ++sentence) {
            std::u16string text;
            for (int word = 0, words = 1 + static_cast<int>(random() % 30); word < words; ++word) {
                text += (text.empty() ? u"" : u" ") + pieces[random() % pieces.size()];
            }
            lesson.tutor.sentences.push_back(text);
        }
        lesson.tutor.keyFacts.typed = u"123";
        std::vector<DrawCall> calls;
        RecordingGraphics graphics(calls);
        lesson.tutor.draw(graphics);
        ASSERT_FALSE(calls.empty());
        for (const DrawCall& call : calls) {
            Rectangle box = call.area;
            if (call.kind == DrawKind::Text) {
                box = fakeMeasure(call.text, call.fontSize, call.origin);
            }
            EXPECT_TRUE(inside(box, Tutor::wordsArea) || inside(box, Tutor::keyFactsArea))
                << "run " << run << ": \"" << narrow(call.text) << "\" at " << box.x << ", "
                << box.y << " (" << box.width << " x " << box.height << ")";
        }
    }
}

}  // namespace
