// The practice record against the desktop store in a temporary folder: worked examples
// as event sequences and the rows they leave; random practice runs killed part-way; the
// report page's pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "features/record/PracticeRecord.h"
#include "features/record/ReportPage.h"
#include "platform/desktop/DesktopRecordStore.h"
#include "platform/desktop/DesktopReport.h"

namespace fs = std::filesystem;

namespace {

const RecordTime clockStart = *parseIsoTime("2026-01-05T09:00:00+01:00");

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A record folder of its own, the store installed and the pupil named for the test.
class RecordFolder {
public:
    RecordFolder()
        : folder(fs::temp_directory_path() /
                 ("bricketing-record-" + std::to_string(std::random_device()()))),
          store(folder) {
        installRecordStore(&store);
        setDefaultRecordPupil("this device");
    }
    ~RecordFolder() {
        installRecordStore(nullptr);
        std::error_code error;
        fs::remove_all(folder, error);
    }
    std::string text(RecordFile file) { return store.read("this device", file).value_or(""); }
    std::vector<std::vector<std::string>> rows(RecordFile file) {
        const std::optional<CsvTable> table = readCsv(text(file));
        return table ? table->rows : std::vector<std::vector<std::string>>{};
    }

    fs::path folder;
    DesktopRecordStore store;
};

EntryChecked entry(int line, LineKind kind, int typed, std::optional<int> expected, bool right,
                   int left = 100) {
    return EntryChecked{line, kind, typed, expected, right, 7, left, 0};
}

// 100 ÷ 7 by 10 and 4 lots, its events after the given first ones.
std::vector<LessonEvent> workTo14(std::vector<LessonEvent> events, bool wrongProduct) {
    for (const LessonEvent& event : std::vector<LessonEvent>{
             entry(1, LineKind::Multiple, 10, std::nullopt, true),
             entry(1, LineKind::Product, 70, 70, true), entry(1, LineKind::Remainder, 30, 30, true),
             StepCompleted{1, 10, 70, 30}, entry(2, LineKind::Multiple, 4, std::nullopt, true)}) {
        events.push_back(event);
    }
    if (wrongProduct) {
        events.push_back(entry(2, LineKind::Product, 27, 28, false));
        events.push_back(WrongEntryCleared{2, LineKind::Product});
    }
    for (const LessonEvent& event : std::vector<LessonEvent>{
             entry(2, LineKind::Product, 28, 28, true), entry(2, LineKind::Remainder, 2, 2, true),
             StepCompleted{2, 4, 28, 2}, entry(3, LineKind::Total, 14, 14, true),
             AnswerReached{100, 7, 14, 2, {10, 4}}}) {
        events.push_back(event);
    }
    return events;
}

const QuestionStarted ownQuestion{100, 7, true, 0, false};

struct Example {
    const char* name;
    std::vector<LessonEvent> events;
    // Fields of the last question row: ended, left_by, answer, steps, chunks, fewest
    // steps, wrong multiples, products, remainders, totals.
    std::vector<std::string> question;
    // Per entry row: line, kind, typed, expected, result, slip, help.
    std::vector<std::vector<std::string>> entries;
};

std::vector<std::string> pick(const std::vector<std::string>& row, std::vector<int> columns) {
    std::vector<std::string> picked;
    for (int column : columns) {
        picked.push_back(row.at(static_cast<std::size_t>(column)));
    }
    return picked;
}

}  // namespace

TEST(PracticeRecord, WorkedExamplesLeaveTheirRows) {
    const std::vector<Example> examples = {
        {"100 ÷ 7 with a wrong product",
         workTo14({ownQuestion}, true),
         {"answered", "", "14", "2", "10+4", "2", "0", "1", "0", "0"},
         {{"1", "multiple", "10", "", "right", "", ""},
          {"1", "product", "70", "70", "right", "", ""},
          {"1", "remainder", "30", "30", "right", "", ""},
          {"2", "multiple", "4", "", "right", "", ""},
          {"2", "product", "27", "28", "wrong", "not-quite", ""},
          {"2", "product", "28", "28", "right", "", ""},
          {"2", "remainder", "2", "2", "right", "", ""},
          {"3", "total", "14", "14", "right", "", ""}}},
        {"a step deleted: 5 lots taken back, then 10 and 4",
         workTo14({ownQuestion, entry(1, LineKind::Multiple, 5, std::nullopt, true),
                   entry(1, LineKind::Product, 35, 35, true),
                   entry(1, LineKind::Remainder, 65, 65, true), StepCompleted{1, 5, 35, 65},
                   StepTakenBack{1, 5, true}},
                  false),
         {"answered", "", "14", "2", "10+4", "2", "0", "0", "0", "0"},
         {{"1", "multiple", "5", "", "right", "", ""},
          {"1", "product", "35", "35", "right", "", ""},
          {"1", "remainder", "65", "65", "right", "", ""},
          {"1", "multiple", "10", "", "right", "", ""},
          {"1", "product", "70", "70", "right", "", ""},
          {"1", "remainder", "30", "30", "right", "", ""},
          {"2", "multiple", "4", "", "right", "", ""},
          {"2", "product", "28", "28", "right", "", ""},
          {"2", "remainder", "2", "2", "right", "", ""},
          {"3", "total", "14", "14", "right", "", ""}}},
        {"a repeated step: 5, 5 again, then 4, with a wrong remainder and a hint",
         {ownQuestion, entry(1, LineKind::Multiple, 5, std::nullopt, true),
          entry(1, LineKind::Product, 35, 35, true), entry(1, LineKind::Remainder, 65, 65, true),
          StepCompleted{1, 5, 35, 65}, StepRepeated{2, 5},
          entry(2, LineKind::Remainder, 20, 30, false),
          TutorSpoke{2, LineKind::Remainder, TutorHelp::Hint, u"Take 35 from 65."},
          entry(2, LineKind::Remainder, 30, 30, true), StepCompleted{2, 5, 35, 30},
          TutorSpoke{3, LineKind::Multiple, TutorHelp::Praise, u"Well done."},
          entry(3, LineKind::Multiple, 4, std::nullopt, true),
          entry(3, LineKind::Product, 28, 28, true), entry(3, LineKind::Remainder, 2, 2, true),
          StepCompleted{3, 4, 28, 2}, entry(4, LineKind::Total, 15, 14, false),
          entry(4, LineKind::Total, 14, 14, true), AnswerReached{100, 7, 14, 2, {5, 5, 4}}},
         {"answered", "", "14", "3", "5+5+4", "2", "0", "0", "1", "1"},
         {{"1", "multiple", "5", "", "right", "", ""},
          {"1", "product", "35", "35", "right", "", ""},
          {"1", "remainder", "65", "65", "right", "", ""},
          {"2", "remainder", "20", "30", "wrong", "subtraction-slip", ""},
          {"2", "remainder", "30", "30", "right", "", "hint"},
          {"3", "multiple", "4", "", "right", "", ""},
          {"3", "product", "28", "28", "right", "", ""},
          {"3", "remainder", "2", "2", "right", "", ""},
          {"4", "total", "15", "14", "wrong", "addition-slip", ""},
          {"4", "total", "14", "14", "right", "", ""}}},
        {"a question left by New Question after a multiple too big, told twice at the start",
         {QuestionStarted{345, 7, false, 2, false}, QuestionStarted{345, 7, false, 2, false},
          entry(1, LineKind::Multiple, 60, std::nullopt, false, 345),
          entry(1, LineKind::Multiple, 40, std::nullopt, true, 345),
          entry(1, LineKind::Product, 2800, 280, false),
          entry(1, LineKind::Product, 287, 280, false), QuestionLeft{LeftBy::NewQuestion}},
         {"left", "new-question", "", "0", "", "2", "1", "2", "0", "0"},
         {{"1", "multiple", "60", "", "wrong", "more-than-left", ""},
          {"1", "multiple", "40", "", "right", "", ""},
          {"1", "product", "2800", "280", "wrong", "ten-times-too-big", ""},
          {"1", "product", "287", "280", "wrong", "one-lot-too-many", ""}}},
    };
    for (const Example& example : examples) {
        SCOPED_TRACE(example.name);
        RecordFolder folder;
        {
            PracticeRecord record({}, steppingClock(clockStart));
            for (const LessonEvent& event : example.events) {
                record.hear(event);
            }
        }
        const auto questions = folder.rows(RecordFile::Questions);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(pick(questions[0], {10, 11, 12, 14, 15, 16, 17, 18, 19, 20}), example.question);
        const auto entries = folder.rows(RecordFile::Entries);
        ASSERT_EQ(entries.size(), example.entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i][0], questions[0][0]);
            EXPECT_EQ(pick(entries[i], {1, 2, 3, 4, 5, 6, 8}), example.entries[i]) << "entry " << i;
        }
    }
}

// The bytes the web's download and the Qt run are checked against: the first question
// drawn and left by Create Question (its row then deleted with the record), then
// 100 ÷ 7 typed in and worked with one wrong product.
TEST(PracticeRecord, WritesTheSharedExampleByteForByte) {
    RecordFolder folder;
    {
        PracticeRecord record({}, steppingClock(clockStart));
        record.hear(QuestionStarted{345, 7, false, 0, false});
        record.hear(QuestionLeft{LeftBy::CreateQuestion});
        record.hear(ownQuestion);
        ASSERT_TRUE(folder.store.remove("this device"));
        std::vector<LessonEvent> events = workTo14({}, true);
        // The tutor names the slip after the wrong product, as in the running program.
        events.insert(events.begin() + 6,
                      TutorSpoke{2, LineKind::Product, TutorHelp::SlipNamed, u"Not quite."});
        for (const LessonEvent& event : events) {
            record.hear(event);
        }
    }
    EXPECT_EQ(folder.text(RecordFile::Questions), fileText("tests/record/100-by-7-questions.csv"));
    EXPECT_EQ(folder.text(RecordFile::Entries), fileText("tests/record/100-by-7-entries.csv"));
}

// Random practice, killed while a row is written (the file cut anywhere in its last
// append), then started again: both files still read, their header first, and their
// rows are exactly the events' up to the cut and after the restart.
TEST(PracticeRecord, KilledRunsLeaveFilesThatRead) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 30; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        RecordFolder folder;
        std::vector<std::vector<std::string>> expected;  // per entry: line, kind, typed, result
        const RecordFile cutFile = random() % 2 ? RecordFile::Entries : RecordFile::Questions;
        int questionsWritten = 0;
        for (int life = 0; life < 2; ++life) {
            PracticeRecord record({}, steppingClock(clockStart));
            const int entries = static_cast<int>(random() % 30);
            record.hear(QuestionStarted{100 + life, 7, false, 1, false});
            for (int i = 0; i < entries; ++i) {
                const auto kind = static_cast<LineKind>(random() % 4);
                const int typed = static_cast<int>(random() % 1000);
                const bool right = random() % 3 != 0;
                const int line = 1 + i / 3;
                record.hear(entry(line, kind, typed, typed + (right ? 0 : 7), right));
                expected.push_back(
                    {std::to_string(line), "", std::to_string(typed), right ? "right" : "wrong"});
                if (random() % 5 == 0) {
                    record.hear(StepCompleted{line, 3, 21, 79});
                }
            }
            record.hear(QuestionLeft{LeftBy::Exit});
            ++questionsWritten;
            if (life == 0) {
                // Killed in the middle of the file's last append.
                const fs::path cut = folder.store.pathOf("this device", cutFile);
                const std::string before = fileText(cut);
                if (!before.empty()) {
                    // The last append: the last row, or the header with it when it is the
                    // only row. At least its CR LF is lost, so the row is torn.
                    const std::size_t lastRow = before.rfind('\n', before.size() - 2) + 1;
                    const std::size_t lastAppend = before.find('\n') + 1 == lastRow ? 0 : lastRow;
                    fs::resize_file(cut, lastAppend + random() % (before.size() - 1 - lastAppend));
                    if (cutFile == RecordFile::Entries) {
                        expected.pop_back();
                    } else {
                        --questionsWritten;
                    }
                }
            }
        }
        const std::optional<CsvTable> entries = readCsv(folder.text(RecordFile::Entries));
        const std::optional<CsvTable> questions = readCsv(folder.text(RecordFile::Questions));
        ASSERT_TRUE(questions);
        EXPECT_EQ(questions->header,
                  std::vector<std::string>(questionColumns.begin(), questionColumns.end()));
        EXPECT_EQ(static_cast<int>(questions->rows.size()), questionsWritten);
        if (expected.empty()) {
            continue;
        }
        ASSERT_TRUE(entries);
        ASSERT_EQ(entries->rows.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(entries->rows[i][1], expected[i][0]);
            EXPECT_EQ(entries->rows[i][3], expected[i][2]);
            EXPECT_EQ(entries->rows[i][5], expected[i][3]);
        }
    }
}

TEST(PracticeRecord, FullFilesMoveToTheirOlderCopy) {
    RecordFolder folder;
    ASSERT_TRUE(folder.store.append("this device", RecordFile::Entries,
                                    std::string(largestRecordFile - 500, 'y') + "\r\n"));
    {
        PracticeRecord record({}, steppingClock(clockStart));
        record.hear(ownQuestion);
        for (int i = 0; i < 40; ++i) {
            record.hear(entry(1, LineKind::Multiple, 10, std::nullopt, true));
        }
    }
    const std::string older = folder.text(RecordFile::OlderEntries);
    const std::string newer = folder.text(RecordFile::Entries);
    // The full file moved whole, within the bound, before the row that would pass it.
    EXPECT_LE(older.size(), largestRecordFile);
    EXPECT_GT(older.size() + newer.size() - csvStart(entryColumns).size(), largestRecordFile);
    EXPECT_EQ(older.substr(older.size() - 2), "\r\n");
    const auto rowsIn = [](const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    };
    EXPECT_EQ(rowsIn(older) - 1 + static_cast<int>(folder.rows(RecordFile::Entries).size()), 40);
    EXPECT_EQ(folder.rows(RecordFile::Questions).size(), 1u);
}

TEST(PracticeRecord, CsvFieldsTimesAndFolderNames) {
    EXPECT_EQ(csvRow({"a,b", "say \"hi\"", " x", "line\r\nend", "ü"}),
              "\"a,b\",\"say \"\"hi\"\"\",\" x\",line  end,ü\r\n");
    const std::optional<CsvTable> table =
        readCsv(std::string(byteOrderMark) + "a,b\r\n\"1,2\",3\r\ntorn,\r\n4,5\r\n6,");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows,
              (std::vector<std::vector<std::string>>{{"1,2", "3"}, {"torn", ""}, {"4", "5"}}));
    EXPECT_EQ(table->skipped, 1);
    EXPECT_EQ(isoTime({1767600002000, 60}), "2026-01-05T09:00:02+01:00");
    EXPECT_EQ(isoTime({-1000, -330}), "1969-12-31T18:29:59-05:30");
    EXPECT_EQ(parseIsoTime("2026-01-05T08:00:02Z")->unixMilliseconds, 1767600002000);
    EXPECT_FALSE(parseIsoTime("2026-01-05 08:00:02"));
    EXPECT_EQ(DesktopRecordStore::folderName("Zoë: a/b?"), "Zoë_ a_b_");
    EXPECT_EQ(DesktopRecordStore::folderName("con.txt"), "con_.txt");
    EXPECT_EQ(DesktopRecordStore::folderName(".."), "_");
}

TEST(ReportPage, HasEveryTextItsScriptAsksForAndEscapesTheData) {
    const std::string script(reportScript());
    const std::string texts = reportTextsJson();
    const std::regex lookup(R"re(T\(\s*"((?:[^"\\]|\\.)*)")re");
    int asked = 0;
    for (auto it = std::sregex_iterator(script.begin(), script.end(), lookup);
         it != std::sregex_iterator(); ++it, ++asked) {
        std::string english = (*it)[1];
        english = std::regex_replace(english, std::regex("<"), "\\u003c");
        EXPECT_NE(texts.find(jsonString(english) + ": "), std::string::npos) << english;
    }
    EXPECT_GT(asked, 40);
    const std::string page =
        reportPage({{"a/questions.csv", "x</script><b>\r\n"}}, "window.Chart = null;");
    EXPECT_EQ(page.find("</script><b>"), std::string::npos);
    EXPECT_NE(page.find("x\\u003c/script\\u003e\\u003cb\\u003e\\u000d\\u000a"), std::string::npos);
    EXPECT_EQ(page.find("<!--@"), std::string::npos);
    EXPECT_EQ(reportFolders({"--report", "a", "b"}), (std::vector<fs::path>{"a", "b"}));
    EXPECT_FALSE(reportFolders({"a"}));
}
