#include "features/tutor/Tutor.h"

#include <algorithm>

#include "features/tutor/TutorWords.h"
#include "words/Words.h"

Tutor::Tutor(LessonPanel& panel) : panel(panel) {
    panel.events.listen([this](const LessonEvent& event) { hear(event); });
    panel.freeSpaceDrawers.push_back([this](Graphics& graphics) { draw(graphics); });
    // The panel set its first question up before anyone listened.
    questionStarted(QuestionStarted{panel.dividend, panel.divisor, panel.questionTypedIn,
                                    panel.difficulty, false});
}

void Tutor::hear(const LessonEvent& event) {
    if (const auto* question = std::get_if<QuestionStarted>(&event)) {
        questionStarted(*question);
    } else if (const auto* entry = std::get_if<EntryChecked>(&event)) {
        entryChecked(*entry);
    } else if (const auto* answer = std::get_if<AnswerReached>(&event)) {
        answerReached(*answer);
    } else if (std::holds_alternative<StepTakenBack>(event)) {
        tries = 0;
    }
}

void Tutor::say(TutorSays says, std::u16string words, const EntryChecked* about, int shown) {
    sentences.push_back(words);
    TutorSpoke spoke{says, std::move(words), 0, LineKind::Multiple, shown};
    if (about != nullptr) {
        spoke.line = about->line;
        spoke.kind = about->kind;
    }
    panel.events.publish(spoke);
}

void Tutor::questionStarted(const QuestionStarted& question) {
    dividend = question.dividend;
    sentences.clear();
    tries = 0;
    slipsThisQuestion = false;
    keyFacts.setUp(question.dividend, question.divisor);
    if (fillingIn()) {
        const int lots = keyFacts.lots[keyFacts.current];
        say(TutorSays::KeyFacts, tutor::keyFactQuestion(lots, keyFacts.divisor, true));
    }
}

void Tutor::entryChecked(const EntryChecked& entry) {
    sentences.clear();
    if (entry.right) {
        tries = 0;
        return;
    }
    slipsThisQuestion = true;
    if (tries == 0 || entry.line != triesLine || entry.kind != triesKind) {
        triesLine = entry.line;
        triesKind = entry.kind;
        tries = 0;
    }
    ++tries;
    if (!panel.options.hints) {
        return;
    }
    const std::vector<int>& chunks = panel.board.usedMultiples;
    const std::u16string words = tutor::wordsForTry(tries, entry, chunks);
    if (tries == 1) {
        say(TutorSays::Slip, words, &entry);
    } else if (tries == 2) {
        say(TutorSays::Hint, words, &entry);
    } else {
        say(TutorSays::ShownValue, words, &entry, tutor::valueToShow(entry));
    }
}

void Tutor::answerReached(const AnswerReached& answer) {
    sentences.clear();
    say(TutorSays::Praise, tutor::praiseWords(answers++, slipsThisQuestion));
    if (panel.options.hints) {
        if (auto advice = tutor::biggerChunkWords(answer)) {
            say(TutorSays::BiggerChunk, std::move(*advice));
        }
    }
    say(TutorSays::Check, tutor::checkWords(answer));
}

bool Tutor::fillingIn() const {
    const WorkingBoard& board = panel.board;
    return panel.options.keyFacts == KeyFactsMode::FillIn && !keyFacts.complete() &&
           panel.lessonState == Working && board.state == EnterMultiple &&
           board.usedMultiples.empty() && board.currentMultiple == 0;
}

bool Tutor::keyPressed(int key) {
    if (!fillingIn()) {
        return false;
    }
    const int lots = keyFacts.lots[keyFacts.current];
    switch (keyFacts.key(key)) {
        case KeyFactsBox::Outcome::Wrong:
            sentences.clear();
            say(TutorSays::KeyFacts, tutor::keyFactWrong(lots, keyFacts.divisor));
            break;
        case KeyFactsBox::Outcome::Right:
            sentences.clear();
            if (keyFacts.complete()) {
                say(TutorSays::KeyFacts, tutor::keyFactsDone(dividend, keyFacts.divisor));
            } else {
                say(TutorSays::KeyFacts, tutor::keyFactQuestion(keyFacts.lots[keyFacts.current],
                                                                keyFacts.divisor, false));
            }
            break;
        case KeyFactsBox::Outcome::Typed:
        case KeyFactsBox::Outcome::Cleared:
            break;
    }
    return true;
}
