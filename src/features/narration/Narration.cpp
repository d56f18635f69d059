// Lines are added and taken back as steps are completed and taken back, so a key costs
// the same on a working-out of 5,000 steps as on one of two: only the current line is
// worded again, and the lines above it are handed on as the copy already published,
// made anew only when a line was added or taken back.
#include "features/narration/Narration.h"

#include <type_traits>

#include "features/narration/NarrationWords.h"
#include "text/Stringify.h"
#include "words/Words.h"

namespace {

// Adds a whole sentence (or several) to what is said, after a space.
void addSentence(std::u16string& said, const std::u16string& sentence) {
    if (!said.empty()) {
        said += u' ';
    }
    said += sentence;
}

}  // namespace

void Narration::Pieces::push(const std::u16string& piece) {
    text += piece;
    ends.push_back(text.size());
}

void Narration::Pieces::pop() {
    if (ends.empty()) {
        return;
    }
    ends.pop_back();
    text.resize(ends.empty() ? 0 : ends.back());
}

void Narration::Pieces::clear() {
    text.clear();
    ends.clear();
}

Narration::Narration(const WorkingBoard& board) : board(board) {
    rebuildLines();
}

void Narration::rebuildLines() {
    lines.clear();
    sum.clear();
    linesLotsOf = board.displayLotsOf;
    linesLanguage = words::currentLanguage();
    lines.push(questionWords(board) + u"\n" + narration::startWords(board.dividend) + u"\n");
    int left = board.dividend;
    for (int multiple : board.usedMultiples) {
        left -= multiple * board.divisor;
        addStep(multiple, left);
    }
    linesChanged = true;
}

void Narration::addStep(int multiple, int left) {
    lines.push(narration::stepWords(linesLotsOf, board.divisor, multiple, left) + u"\n");
    std::u16string term = sum.ends.empty() ? std::u16string() : std::u16string(u" + ");
    term += stringify(multiple);
    sum.push(term);
    linesChanged = true;
}

void Narration::hear(const LessonEvent& event) {
    std::visit(
        [this](const auto& happened) {
            using Kind = std::decay_t<decltype(happened)>;
            if constexpr (std::is_same_v<Kind, QuestionStarted>) {
                // What was gathered belonged to the question that was left.
                rebuildLines();
                notice =
                    happened.restarted
                        ? tr("Started again.")
                        : fill(tr("New question: {question}."),
                               {{"question", questionWords(happened.dividend, happened.divisor)}});
                // The tutor's words stay: they may already be about this question.
                noticeAsksLine = true;
            } else if constexpr (std::is_same_v<Kind, StepCompleted>) {
                addStep(happened.multiple, happened.left);
                addSentence(notice, narration::stepWords(linesLotsOf, board.divisor,
                                                         happened.multiple, happened.left));
                noticeAsksLine = true;
            } else if constexpr (std::is_same_v<Kind, StepTakenBack>) {
                if (happened.completed) {
                    lines.pop();
                    sum.pop();
                    linesChanged = true;
                }
                addSentence(notice, tr("Step taken back."));
                noticeAsksLine = true;
            } else if constexpr (std::is_same_v<Kind, StepRepeated>) {
                addSentence(notice, narration::repeatWords(board.displayLotsOf, board.divisor,
                                                           happened.multiple));
                noticeAsksLine = true;
            } else if constexpr (std::is_same_v<Kind, TutorSpoke>) {
                spoken.push_back(happened.words);
            } else if constexpr (std::is_same_v<Kind, QuestionLeft>) {
                // Told by what follows: a new question, the same one again, or the end.
            } else {
                // An entry checked, a wrong entry cleared, the answer: the current line
                // says what they lead to.
                noticeAsksLine = true;
            }
        },
        event);
}

Narration::News Narration::takeNews() {
    News news;
    if (board.displayLotsOf != linesLotsOf || words::currentLanguage() != linesLanguage) {
        rebuildLines();
    }
    const std::u16string value = narration::currentLineWords(board, sum.text);
    if (!published || linesChanged || value != lastValue) {
        if (linesChanged || !publishedLines) {
            publishedLines = std::make_shared<const std::u16string>(lines.text);
            linesChanged = false;
        }
        news.text = AccessibleText{questionWords(board), value, publishedLines};
        lastValue = value;
    }
    if (published) {
        news.notice = notice;
        if (noticeAsksLine) {
            addSentence(news.notice, value);
        }
        for (const std::u16string& words : spoken) {
            addSentence(news.notice, words);
        }
    }
    published = true;
    notice.clear();
    noticeAsksLine = false;
    spoken.clear();
    return news;
}
