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

// Words about no entry (praise, the key facts) name the line the pupil is on.
void Tutor::say(TutorHelp help, std::u16string words, const EntryChecked* about) {
    sentences.push_back(words);
    TutorSpoke spoke;
    spoke.help = help;
    spoke.words = std::move(words);
    spoke.line = about != nullptr ? about->line : panel.board.currentLine();
    spoke.kind = about != nullptr                   ? about->kind
                 : panel.board.state <= AnswerWrong ? LineKind::Total
                                                    : LineKind::Multiple;
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
        say(TutorHelp::KeyFact, tutor::keyFactQuestion(lots, keyFacts.divisor, true));
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
        say(TutorHelp::SlipNamed, words, &entry);
    } else if (tries == 2) {
        say(TutorHelp::Hint, words, &entry);
    } else {
        say(TutorHelp::ValueShown, words, &entry);
    }
}

void Tutor::answerReached(const AnswerReached& answer) {
    sentences.clear();
    say(TutorHelp::Praise, tutor::praiseWords(answers++, slipsThisQuestion));
    if (panel.options.hints) {
        if (auto advice = tutor::biggerChunkWords(answer)) {
            say(TutorHelp::BiggerChunk, std::move(*advice));
        }
    }
    // The check belongs with the praise: it says the answer is right the other way round.
    say(TutorHelp::Praise, tutor::checkWords(answer));
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
            say(TutorHelp::KeyFact, tutor::keyFactWrong(lots, keyFacts.divisor));
            break;
        case KeyFactsBox::Outcome::Right:
            sentences.clear();
            if (keyFacts.complete()) {
                say(TutorHelp::KeyFact, tutor::keyFactsDone(dividend, keyFacts.divisor));
            } else {
                say(TutorHelp::KeyFact, tutor::keyFactQuestion(keyFacts.lots[keyFacts.current],
                                                               keyFacts.divisor, false));
            }
            break;
        case KeyFactsBox::Outcome::Typed:
        case KeyFactsBox::Outcome::Cleared:
            break;
    }
    return true;
}
