// The rows of the practice record, built from the lesson's events.
#include "features/record/PracticeRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "events/Slips.h"
#include "platform/ProblemReport.h"

namespace {

const char* const levelNames[] = {"beginner", "novice", "intermediate", "advanced", "expert"};

std::string levelName(int difficulty) {
    return difficulty >= 0 && difficulty < 5 ? levelNames[difficulty] : std::to_string(difficulty);
}

// The tutor's words that help the pupil type a line's value, weakest first; praise, a
// bigger chunk suggested and key facts are not help with one entry.
bool helpsTyping(TutorHelp help) {
    return help == TutorHelp::SlipNamed || help == TutorHelp::Hint || help == TutorHelp::ValueShown;
}

const char* helpName(TutorHelp help) {
    switch (help) {
        case TutorHelp::SlipNamed:
            return "slip-named";
        case TutorHelp::Hint:
            return "hint";
        case TutorHelp::ValueShown:
            return "shown";
        default:
            return "";
    }
}

// Whole seconds from one moment to a later one, rounded.
std::string secondsBetween(RecordTime from, RecordTime to) {
    const std::int64_t milliseconds = to.unixMilliseconds - from.unixMilliseconds;
    return std::to_string(milliseconds <= 0 ? 0 : (milliseconds + 500) / 1000);
}

// The steps the place-value chunks take: one per non-zero digit of the quotient.
int fewestSteps(int dividend, int divisor) {
    int quotient = divisor > 0 ? dividend / divisor : 0;
    int steps = 0;
    for (; quotient > 0; quotient /= 10) {
        steps += quotient % 10 != 0 ? 1 : 0;
    }
    return steps;
}

std::string joined(const std::vector<int>& chunks) {
    std::string text;
    for (int chunk : chunks) {
        if (!text.empty()) {
            text += '+';
        }
        text += std::to_string(chunk);
    }
    return text;
}

}  // namespace

namespace {
RecordClock& clockInUse() {
    static RecordClock clock = systemRecordTime;
    return clock;
}
}  // namespace

void setRecordClock(RecordClock clock) {
    clockInUse() = std::move(clock);
}

RecordClock recordClock() {
    return clockInUse();
}

RecordClock steppingClock(RecordTime start) {
    return [start]() mutable {
        const RecordTime now = start;
        start.unixMilliseconds += 1000;
        return now;
    };
}

PracticeRecord::PracticeRecord(std::function<RecordSettings()> settings, RecordClock clock)
    : settings(std::move(settings)), clock(std::move(clock)) {}

PracticeRecord::~PracticeRecord() {
    if (question) {
        finish(std::nullopt, LeftBy::Exit);
    }
}

void PracticeRecord::hear(const LessonEvent& event) {
    if (const auto* started = std::get_if<QuestionStarted>(&event)) {
        // The board says it leaves a question before it starts another, so a start during
        // a question is the panel telling a listener that came late what is on the board.
        if (question && question->event.dividend == started->dividend &&
            question->event.divisor == started->divisor) {
            return;
        }
        if (question) {
            finish(std::nullopt, std::nullopt);  // a different one: the first was left
        }
        start(*started);
    } else if (!question) {
        return;  // nothing is recorded before a question starts
    } else if (const auto* checked = std::get_if<EntryChecked>(&event)) {
        entry(*checked);
    } else if (const auto* completed = std::get_if<StepCompleted>(&event)) {
        question->chunks.push_back(completed->multiple);
    } else if (const auto* takenBack = std::get_if<StepTakenBack>(&event)) {
        if (takenBack->completed && !question->chunks.empty()) {
            question->chunks.pop_back();
        }
        // Help given on the taken-back line no longer stands beside what is typed there.
        std::erase_if(question->help,
                      [&](const auto& item) { return item.first.first >= takenBack->line; });
    } else if (const auto* spoke = std::get_if<TutorSpoke>(&event);
               spoke && helpsTyping(spoke->help)) {
        const auto key = std::make_pair(spoke->line, spoke->kind);
        const auto found = question->help.find(key);
        if (found == question->help.end() || found->second < spoke->help) {
            question->help[key] = spoke->help;
        }
    } else if (const auto* answer = std::get_if<AnswerReached>(&event)) {
        finish(*answer, std::nullopt);
    } else if (const auto* left = std::get_if<QuestionLeft>(&event)) {
        finish(std::nullopt, left->by);
    }
}

void PracticeRecord::start(const QuestionStarted& event) {
    Question next;
    next.started = clock();
    // An id per question, unique for the pupil: the start in milliseconds, made later
    // than the one before should two starts fall within a millisecond.
    lastId = std::max(lastId + 1, next.started.unixMilliseconds);
    next.id = std::to_string(lastId);
    next.pupil = recordPupil();
    next.event = event;
    next.settings = settings ? settings() : RecordSettings{};
    next.lastEntry = next.started;
    question = std::move(next);
}

void PracticeRecord::entry(const EntryChecked& event) {
    const RecordTime now = clock();
    Question& q = *question;
    if (!event.right) {
        ++q.wrong[static_cast<std::size_t>(event.kind)];
    }
    const auto help = q.help.find({event.line, event.kind});
    write(q.pupil, RecordFile::Entries,
          csvRow({q.id, std::to_string(event.line), std::string(lineKindCode(event.kind)),
                  std::to_string(event.typed),
                  event.expected ? std::to_string(*event.expected) : std::string(),
                  event.right ? "right" : "wrong", std::string(slipCode(classifySlip(event))),
                  secondsBetween(q.lastEntry, now),
                  help == q.help.end() ? "" : helpName(help->second)}));
    q.lastEntry = now;
}

void PracticeRecord::finish(const std::optional<AnswerReached>& answer, std::optional<LeftBy> by) {
    const RecordTime now = clock();
    const Question q = std::move(*question);
    question.reset();
    const QuestionStarted& event = q.event;
    const std::vector<int>& chunks = answer ? answer->chunks : q.chunks;
    auto flag = [](bool on) { return std::string(on ? "on" : "off"); };
    write(q.pupil, RecordFile::Questions,
          csvRow({q.id,
                  isoTime(q.started),
                  q.pupil,
                  event.typedIn ? "own question" : levelName(event.level),
                  q.settings.lotsOf ? "lots of" : "times",
                  flag(q.settings.autoProduct),
                  flag(q.settings.autoRemainder),
                  levelName(q.settings.difficulty),
                  std::to_string(event.dividend),
                  std::to_string(event.divisor),
                  answer ? "answered" : "left",
                  by ? std::string(leftByCode(*by)) : "",
                  answer ? std::to_string(answer->answer) : "",
                  answer ? std::to_string(answer->remainder) : "",
                  std::to_string(chunks.size()),
                  joined(chunks),
                  std::to_string(fewestSteps(event.dividend, event.divisor)),
                  std::to_string(q.wrong[0]),
                  std::to_string(q.wrong[1]),
                  std::to_string(q.wrong[2]),
                  std::to_string(q.wrong[3]),
                  secondsBetween(q.started, now)}));
}

void PracticeRecord::write(const std::string& pupil, RecordFile file, const std::string& row) {
    RecordStore* store = recordStore();
    if (store == nullptr || pupil.empty()) {
        return;
    }
    std::uint64_t size = store->size(pupil, file);
    if (size > 0 && size + row.size() > largestRecordFile) {
        store->rotate(pupil, file);
        size = store->size(pupil, file);
    }
    const std::string start =
        csvStart(file == RecordFile::Questions ? questionColumns : entryColumns);
    std::string bytes;
    if (size == 0) {
        bytes = start + row;
    } else if (size < start.size() && start.starts_with(store->tail(pupil, file, start.size()))) {
        bytes = start.substr(size) + row;  // a header torn by a crash, finished
    } else if (store->tail(pupil, file, 1) != "\n") {
        // A row torn by a crash is ended with a bare LF: it stays a line of its own,
        // which reading skips as it does not end in CR LF, and this row starts a line.
        bytes = "\n" + row;
    } else {
        bytes = row;
    }
    if (store->append(pupil, file, bytes)) {
        failing = false;
        return;
    }
    if (!failing) {
        // Once until a row is written again: the pupil works on undisturbed.
        reportProblem(std::string("the practice record cannot be written (") +
                      recordFileName(file) + " of " + pupil + "); the drill goes on without it");
    }
    failing = true;
}
