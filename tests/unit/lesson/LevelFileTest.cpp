// The level table reader on the file shapes it must accept or survive, and the shipped
// Data/levels.txt checked against the limits of a question and the acceptance rule.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/LevelFile.h"
#include "unit/lesson/LevelRows.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

struct ReadResult {
    LevelTable table;
    bool endedAtEnd = false;  // what readLevels returned
};

ReadResult readText(const std::string& text) {
    std::istringstream in(text);
    ReadResult result;
    result.endedAtEnd = readLevels(in, result.table);
    return result;
}

const std::string header = "LEVEL,DIVISOR MIN,DIVISOR MAX,DIVIDEND MIN,DIVIDEND MAX\n";

TEST(LevelFileRecords, ReadInFileOrderWithCommentsIgnored) {
    const ReadResult read = readText(header +
                                     "BEGINNER,2,5,30,99 easy ones, with a comma\n"
                                     "NOVICE,3,9,100,999 \n"
                                     "END,\n");
    EXPECT_TRUE(read.endedAtEnd);
    EXPECT_EQ(rowsOf(read.table), (LevelRows{{2, 5, 30, 99}, {3, 9, 100, 999}}));
}

TEST(LevelFileRecords, HeaderIsSkippedWholeWhateverItHolds) {
    EXPECT_EQ(rowsOf(readText("A,1,2,3,4 looks like a record\nB,5,6,7,8 x\nEND,").table),
              (LevelRows{{5, 6, 7, 8}}));
    // Without a header the first record is taken as one and lost.
    EXPECT_EQ(rowsOf(readText("B,5,6,7,8 x\nC,9,10,11,12 y\nEND,").table),
              (LevelRows{{9, 10, 11, 12}}));
}

TEST(LevelFileRecords, LabelsAreDiscardedWhateverTheyHold) {
    const ReadResult read = readText(header + "VERY FIRST LEVEL,2,3,40,50 x\n" +
                                     " END,4,5,60,70 not the end\n" + "END,");
    EXPECT_TRUE(read.endedAtEnd);
    EXPECT_EQ(rowsOf(read.table), (LevelRows{{2, 3, 40, 50}, {4, 5, 60, 70}}));
}

TEST(LevelFileRecords, EndFirstGivesAnEmptyTable) {
    const ReadResult read = readText(header + "END,\nBEGINNER,2,5,30,99 never read\n");
    EXPECT_TRUE(read.endedAtEnd);
    EXPECT_TRUE(read.table.empty());
}

TEST(LevelFileRecords, EndMayCloseTheInputWithoutItsComma) {
    const ReadResult read = readText(header + "A,1,2,3,4 x\nEND");
    EXPECT_TRUE(read.endedAtEnd);
    EXPECT_EQ(rowsOf(read.table), (LevelRows{{1, 2, 3, 4}}));
}

TEST(LevelFileRecords, CrLfLineEndsReadLikeLf) {
    const ReadResult read = readText("H,E,A,D\r\nA,1,2,3,4 x\r\nB,5,6,7,8 y\r\nEND,\r\n");
    EXPECT_TRUE(read.endedAtEnd);
    EXPECT_EQ(rowsOf(read.table), (LevelRows{{1, 2, 3, 4}, {5, 6, 7, 8}}));
}

TEST(LevelFileRecords, AreAppendedToWhatTheTableHolds) {
    LevelTable table = {{7, 7, 91, 99}};
    std::istringstream in(header + "A,1,2,3,4 x\nEND,");
    EXPECT_TRUE(readLevels(in, table));
    EXPECT_EQ(rowsOf(table), (LevelRows{{7, 7, 91, 99}, {1, 2, 3, 4}}));
}

// However the fourth number ends, the record is kept: by a space and a comment, by a
// tab or by the line end, or by the end of the input with or without "END," after it.
TEST(LevelFileRecords, KeepEveryRecordWhoseFourNumbersWereRead) {
    const std::string first = header + "BEGINNER,2,5,30,99 x\n";
    const std::string expert = "EXPERT,13,99,1000,9999";
    struct Case {
        const char* after;  // what follows the last record's fourth number
        bool endedAtEnd;
    };
    const Case cases[] = {
        {"", false},           {"\t", false},      {"\n", false},          {"\r\n", false},
        {" ", false},          {"\nEND,", true},   {"\r\nEND,\r\n", true}, {" x\nEND", true},
        {"\t# hard\n", false}, {"\nEND,\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("after the fourth number: \"" + std::string(c.after) + "\"");
        const ReadResult read = readText(first + expert + c.after);
        EXPECT_EQ(rowsOf(read.table), (LevelRows{{2, 5, 30, 99}, {13, 99, 1000, 9999}}));
        EXPECT_EQ(read.endedAtEnd, c.endedAtEnd);
    }
}

TEST(LevelFileRecords, ALineEndAfterTheFourthNumberLosesNoRecord) {
    // An editor that strips trailing spaces leaves records with nothing after them.
    const ReadResult read =
        readText(header + "A,1,2,3,4\nB,5,6,7,8 x\nC,9,9,9,9\tno space\n" + "D,1,1,1,1\r\nEND,");
    EXPECT_TRUE(read.endedAtEnd);
    EXPECT_EQ(rowsOf(read.table),
              (LevelRows{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}, {1, 1, 1, 1}}));
}

TEST(LevelFileNumbers, ReadTheWayAtoiDoes) {
    const ReadResult read = readText(header +
                                     "A,  12,\t7,+8,-3 x\n"
                                     "B,12abc,x9,,- y\n"
                                     "C,--4,4-4,0x10,007 z\n"
                                     "END,");
    EXPECT_EQ(rowsOf(read.table), (LevelRows{{12, 7, 8, -3}, {12, 0, 0, 0}, {0, 4, 0, 7}}));
}

// Lists are written with a space after each comma; the fourth number reads like the
// other three, and only a space after it starts the comment.
TEST(LevelFileNumbers, BlanksBeforeTheFourthNumberAreSkipped) {
    struct Case {
        const char* records;  // after the header
        LevelRows expected;
    };
    const Case cases[] = {
        {"BEGINNER, 2, 5, 30, 99\nEND,", {{2, 5, 30, 99}}},
        {"A,2,5,30,   99 a comment\nEND,", {{2, 5, 30, 99}}},
        {"A,2,5,30,\t 99\tcomment, with commas\nEND,", {{2, 5, 30, 99}}},
        {"A, 2, 5, 30, 99\r\nB, 3, 9, 100, 999 x\r\nEND,", {{2, 5, 30, 99}, {3, 9, 100, 999}}},
        {"A, 2, 5, 30, -99", {{2, 5, 30, -99}}},
        {"A,2,5,30,  \nB,3,9,100,999\nEND,", {{2, 5, 30, 0}, {3, 9, 100, 999}}},
        {"A,2,5,30,  99  spaced comment\nB,1,1,1,1\nEND,", {{2, 5, 30, 99}, {1, 1, 1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        EXPECT_EQ(rowsOf(readText(header + c.records).table), c.expected);
    }
}

TEST(LevelFileNumbers, SaturateBeyondThirtyTwoBits) {
    const ReadResult read = readText(header +
                                     "A,2147483647,-2147483648,2147483648,-2147483649 x\n"
                                     "B,99999999999999999999,-99999999999999999999,1,1 y\n"
                                     "END,");
    EXPECT_EQ(rowsOf(read.table),
              (LevelRows{{int32Max, int32Min, int32Max, int32Min}, {int32Max, int32Min, 1, 1}}));
}

TEST(LevelFileWithoutEnd, KeepsTheRecordsReadSoFar) {
    const ReadResult read = readText(header + "A,1,2,3,4 x\nB,5,6,7,8 y\n");
    EXPECT_FALSE(read.endedAtEnd);
    EXPECT_EQ(rowsOf(read.table), (LevelRows{{1, 2, 3, 4}, {5, 6, 7, 8}}));
}

TEST(LevelFileWithoutEnd, NeverAppendsARecordCutOffBeforeItsFourthNumber) {
    EXPECT_EQ(rowsOf(readText(header + "A,1,2,3,4 x\nB,5,6").table), (LevelRows{{1, 2, 3, 4}}));
    EXPECT_EQ(rowsOf(readText(header + "A,1,2,3,4 x\nB,5,6,7").table), (LevelRows{{1, 2, 3, 4}}));
    EXPECT_EQ(rowsOf(readText(header + "A,1,2,3,4 x\nB").table), (LevelRows{{1, 2, 3, 4}}));
    EXPECT_EQ(rowsOf(readText(header + "A,1,2,3,4 x\nEND\n").table), (LevelRows{{1, 2, 3, 4}}));
    EXPECT_FALSE(readText(header + "A,1,2,3,4 x\nEND\n").endedAtEnd);
}

TEST(LevelFileWithoutEnd, EmptyOrHeaderOnlyInputGivesNothing) {
    EXPECT_TRUE(readText("").table.empty());
    EXPECT_FALSE(readText("").endedAtEnd);
    EXPECT_TRUE(readText(header).table.empty());
    EXPECT_TRUE(readText("just a header without a line end").table.empty());
}

// A stream that gives `text` and then fails as a failing disk does: its buffer throws.
class FailingText : public std::streambuf {
public:
    explicit FailingText(std::string text) : text(std::move(text)) {
        setg(this->text.data(), this->text.data(), this->text.data() + this->text.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

private:
    std::string text;
};

TEST(LevelFileReadError, EndsTheInputAndKeepsWhatCameBefore) {
    FailingText text(header + "A,1,2,3,4 x\nB,5,6,7,8 y\nC,9,9");
    std::istream in(&text);
    LevelTable table;
    const LevelFileReading reading = readLevelFile(in, table);
    EXPECT_TRUE(reading.readFailed);
    EXPECT_FALSE(reading.complete);
    EXPECT_EQ(reading.lastLine, 4);
    EXPECT_EQ(rowsOf(table), (LevelRows{{1, 2, 3, 4}, {5, 6, 7, 8}}));
}

// Input that never ends, as a device gives it: once five records are read nothing later
// can change the table, so reading stops there, END or not.
class EndlessText : public std::streambuf {
public:
    EndlessText(std::string head, std::string body)
        : head(std::move(head)), body(std::move(body)) {}
    std::uint64_t given = 0;

protected:
    int_type underflow() override {
        if (given >= giveUpAt) {
            return traits_type::eof();  // a reader that never stops is caught here
        }
        const std::string& next = given == 0 && !head.empty() ? head : body;
        given += next.size();
        setg(const_cast<char*>(next.data()), const_cast<char*>(next.data()),
             const_cast<char*>(next.data() + next.size()));
        return traits_type::to_int_type(next[0]);
    }

private:
    static constexpr std::uint64_t giveUpAt = 16 * 1024 * 1024;
    std::string head;
    std::string body;
};

TEST(LevelFileEndlessInput, StopsOnceTheTableIsFull) {
    std::string noise(4096, '\0');
    std::mt19937 generator(18u);
    for (char& c : noise) {
        c = static_cast<char>(generator());
    }
    struct Case {
        const char* name;
        std::string head;
        std::string body;
    };
    const Case cases[] = {
        {"records without END", header, "LEVEL,7,7,91,99 again\n"},
        {"random bytes", "", noise},
        {"a comment that never ends",
         header + "A,1,2,3,4 x\nB,1,2,3,4 x\nC,1,2,3,4 x\n" + "D,1,2,3,4 x\nE,1,2,3,4 ", "and on "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EndlessText text(c.head, c.body);
        std::istream in(&text);
        LevelTable table;
        EXPECT_TRUE(readLevels(in, table));
        EXPECT_EQ(table.size(), usedLevelCount);
        EXPECT_LT(text.given, 1024u * 1024u);
    }
}

// The header is skipped whatever it holds, but one with a record's shape is noted: the
// teacher most likely left the header out, and every level moved up by one.
TEST(LevelFileHeader, OneShapedLikeARecordIsNoted) {
    struct Case {
        const char* firstLine;
        bool looksLikeRecord;
    };
    const Case cases[] = {
        {"LEVEL,DIVISOR MIN,DIVISOR MAX,DIVIDEND MIN,DIVIDEND MAX COMMENT", false},
        {"BEGINNER,2,5,30,99 one-digit divisors", true},
        {"BEGINNER, 2, 5, 30, 99", true},
        {"BEGINNER,2,5,30,99\r", true},
        {"H,1ST,2ND,3RD,4TH", false},
        {"H,1,2,3", false},
        {"H,1,2,3,", false},
        {"", false},
        {"A,1,2,3,4,5,6", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        std::istringstream in(std::string(c.firstLine) + "\nB,5,6,7,8 x\nEND,");
        LevelTable table;
        const LevelFileReading reading = readLevelFile(in, table);
        EXPECT_EQ(reading.headerLooksLikeRecord, c.looksLikeRecord);
        EXPECT_EQ(rowsOf(table), (LevelRows{{5, 6, 7, 8}}));
        EXPECT_EQ(reading.recordLines[0], 2);
    }
}

// The rule by which questions are drawn from a level: a pair is kept only if the
// quotient is at least 5, the divisor is not 10, the dividend is not ten times the
// divisor, and small divisors (below 13) give a quotient of at least 13.
bool isAcceptable(int dividend, int divisor) {
    const int quotient = dividend / divisor;
    return quotient >= 5 && divisor != 10 && dividend != 10 * divisor &&
           (divisor >= 13 || quotient >= 13);
}

double acceptedShare(const LevelRecord& level) {
    long accepted = 0;
    long total = 0;
    for (int divisor = level.divisorMin; divisor <= level.divisorMax; ++divisor) {
        for (int dividend = level.dividendMin; dividend <= level.dividendMax; ++dividend) {
            ++total;
            accepted += isAcceptable(dividend, divisor) ? 1 : 0;
        }
    }
    return total == 0 ? 0.0 : static_cast<double>(accepted) / static_cast<double>(total);
}

LevelTable shippedLevels() {
    std::ifstream file("Data/levels.txt");
    LevelTable table;
    EXPECT_TRUE(file.is_open()) << "tests run from the repository root";
    EXPECT_TRUE(readLevels(file, table)) << "the shipped file ends with END";
    return table;
}

TEST(ShippedLevels, HoldFiveLevelsWithinTheLimitsOfAQuestion) {
    const LevelTable levels = shippedLevels();
    ASSERT_EQ(levels.size(), 5u);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const LevelRecord& level = levels[i];
        SCOPED_TRACE("level " + std::to_string(i));
        EXPECT_GE(level.divisorMin, 2);
        EXPECT_LE(level.divisorMin, level.divisorMax);
        EXPECT_LE(level.divisorMax, 99);
        EXPECT_GT(level.dividendMin, level.divisorMax);  // every dividend above its divisor
        EXPECT_LE(level.dividendMin, level.dividendMax);
        EXPECT_LE(level.dividendMax, 9999);
    }
}

TEST(ShippedLevels, RiseInDifficulty) {
    const LevelTable levels = shippedLevels();
    ASSERT_EQ(levels.size(), 5u);
    for (std::size_t i = 1; i < levels.size(); ++i) {
        SCOPED_TRACE("level " + std::to_string(i));
        EXPECT_GE(levels[i].divisorMax, levels[i - 1].divisorMax);
        EXPECT_GE(levels[i].dividendMax, levels[i - 1].dividendMax);
        EXPECT_GT(levels[i].dividendMax + levels[i].divisorMax,
                  levels[i - 1].dividendMax + levels[i - 1].divisorMax);
    }
}

TEST(ShippedLevels, AreRichInAcceptablePairs) {
    const LevelTable levels = shippedLevels();
    ASSERT_EQ(levels.size(), 5u);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        SCOPED_TRACE("level " + std::to_string(i));
        EXPECT_GE(acceptedShare(levels[i]), 0.30);
    }
}

TEST(AcceptedShare, MatchesLevelsWhoseShareIsKnown) {
    // Divisor 7, dividends 35 to 99: only 91 to 99 (quotient 13 or 14) are kept.
    EXPECT_DOUBLE_EQ(acceptedShare({7, 7, 35, 99}), 9.0 / 65.0);
    EXPECT_DOUBLE_EQ(acceptedShare({10, 10, 100, 999}), 0.0);
}

class LessonPanelLevels : public ::testing::Test {
protected:
    FakeDrawingServices services;
    LessonPanel panel;  // built in the repository root, so from the shipped files
};

TEST_F(LessonPanelLevels, ConstructionLoadsTheShippedTable) {
    EXPECT_EQ(rowsOf(panel.levels), rowsOf(shippedLevels()));
}

TEST_F(LessonPanelLevels, MissingFileReportsFalseAndLeavesTheTable) {
    const LevelTable before = panel.levels;
    scratch::WorkingFolder scratch;  // its Data folder holds no levels.txt
    EXPECT_FALSE(panel.loadLevels());
    EXPECT_EQ(rowsOf(panel.levels), rowsOf(before));
}

TEST_F(LessonPanelLevels, LoadingAppendsTheRecordsOfTheFile) {
    panel.levels.resize(2);
    LevelTable expected = panel.levels;
    expected.push_back({3, 4, 200, 300});
    scratch::WorkingFolder scratch;  // holds an empty Data folder
    std::ofstream("Data/levels.txt") << header << "ONLY,3,4,200,300 x\n";
    EXPECT_TRUE(panel.loadLevels());  // opened, even though END is missing
    EXPECT_EQ(rowsOf(panel.levels), rowsOf(expected));
}

}  // namespace
