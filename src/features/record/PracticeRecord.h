// The practice record: a listener on the lesson's events that appends one row to the
// pupil's entries file for every Enter on the board, and one row to the questions file
// for every question once it ends (answered, or left by New Question, Restart
// Question, Create Question or exit). A question still in progress has no row yet: a
// crash loses that one question's row, while its entries, written as they come, stay.
// Rows go through the installed record store (platform/RecordStore.h), to the pupil
// practising when the question started.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "events/LessonEvents.h"
#include "features/record/RecordCsv.h"
#include "platform/RecordStore.h"

// The four settings a question was worked with.
struct RecordSettings {
    bool lotsOf = true;  // "lots of"; false: the times sign
    bool autoProduct = false;
    bool autoRemainder = false;
    int difficulty = 0;  // 0 Beginner to 4 Expert
};

using RecordClock = std::function<RecordTime()>;

// A clock for tests: start, then one second later at each reading.
RecordClock steppingClock(RecordTime start);

// The clock a record made now reads: the system's, unless a test set a stepping one
// (BRICKETING_RECORD_CLOCK on the desktop, record-clock= in the web page's address).
void setRecordClock(RecordClock clock);
RecordClock recordClock();

// When a file is this big, its next row moves it to the older copy and starts it anew:
// a school year of daily practice (40 questions a day: about 2 MB of questions and 8 MB
// of entries) fits in one file, and a pupil's record never takes more than 64 MB.
inline constexpr std::uint64_t largestRecordFile = 16u * 1024u * 1024u;

class PracticeRecord {
public:
    explicit PracticeRecord(std::function<RecordSettings()> settings,
                            RecordClock clock = systemRecordTime);
    // A question still in progress is written as left by exit.
    ~PracticeRecord();
    PracticeRecord(const PracticeRecord&) = delete;
    PracticeRecord& operator=(const PracticeRecord&) = delete;

    void hear(const LessonEvent& event);

private:
    struct Question {
        std::string id;
        std::string pupil;
        RecordTime started;
        QuestionStarted event;
        RecordSettings settings;
        std::vector<int> chunks;
        std::array<int, 4> wrong{};  // per LineKind
        RecordTime lastEntry;
        // The strongest help the tutor gave on each line and kind so far.
        std::map<std::pair<int, LineKind>, TutorHelp> help;
    };

    void start(const QuestionStarted& event);
    void entry(const EntryChecked& event);
    void finish(const std::optional<AnswerReached>& answer, std::optional<LeftBy> by);
    void write(const std::string& pupil, RecordFile file, const std::string& row);

    std::function<RecordSettings()> settings;
    RecordClock clock;
    std::optional<Question> question;
    std::int64_t lastId = 0;
    bool failing = false;  // the latest write failed and was reported
};
