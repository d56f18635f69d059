// The tutor: listens to the lesson and answers a wrong entry with words (the slip at the
// first try on a line, a hint at the second, the value from the third), praises the
// effort after the answer, and keeps the key-facts box. What it says is drawn in the
// lesson panel's free space right of the board and told on the lesson's stream as
// TutorSpoke, for the narration and the record. It never changes the board.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "events/LessonEvents.h"
#include "features/tutor/KeyFactsBox.h"
#include "lesson/LessonPanel.h"
#include "platform/Drawing.h"

class Tutor {
public:
    // Listens to the panel's stream and draws in its free space from now on, starting
    // with the question already on the board.
    explicit Tutor(LessonPanel& panel);
    Tutor(const Tutor&) = delete;
    Tutor& operator=(const Tutor&) = delete;

    // True while the key-facts box is being filled in: keys go to it, not the board.
    bool fillingIn() const;
    // A key in the board's numbering; true when the key-facts box took it.
    bool keyPressed(int key);
    void draw(Graphics& graphics);

    // What the tutor says now, one sentence a line; empty when it says nothing.
    std::vector<std::u16string> sentences;
    KeyFactsBox keyFacts;

    // Where the words and the box stand: the panel's free space right of the board,
    // between the answer and the buttons, and above the header.
    static constexpr Rectangle wordsArea{486.0f, 150.0f, 310.0f, 96.0f};
    static constexpr Rectangle keyFactsArea{486.0f, 3.0f, 310.0f, 41.0f};

private:
    void hear(const LessonEvent& event);
    void questionStarted(const QuestionStarted& question);
    void entryChecked(const EntryChecked& entry);
    void answerReached(const AnswerReached& answer);
    void say(TutorHelp help, std::u16string words, const EntryChecked* about = nullptr);
    bool showsKeyFacts() const;
    const Font& fontOf(int points);
    void drawWords(Graphics& graphics);
    void drawKeyFacts(Graphics& graphics);

    LessonPanel& panel;
    int dividend = 0;
    // The line and kind of the box the wrong tries were on, and how many.
    int triesLine = 0;
    LineKind triesKind = LineKind::Multiple;
    int tries = 0;
    bool slipsThisQuestion = false;
    int answers = 0;  // answers praised so far, so the praise varies

    std::map<int, std::unique_ptr<Font>> fonts;
    // The words wrapped into lines at a size that fits, made again when they change.
    std::vector<std::u16string> laidOutFor;
    std::vector<std::u16string> lines;
    int linesPoints = 0;
    float linePitch = 0.0f;
};
