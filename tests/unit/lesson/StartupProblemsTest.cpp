// What the lesson panel tells a teacher as it starts: on standard error one line for
// each problem of the level file and for each picture that is missing or cannot be
// read; in the start-up message, the level file's problems when the file is there;
// and nothing at all for the shipped files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/Questions.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

using scratch::writeFile;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// What the construction of a lesson panel tells a teacher: its lines on standard error
// and the message it leaves for the shell to show at start-up.
struct StartUp {
    std::vector<std::string> lines;
    std::string message;  // in 8 bits, "÷" as "/", for matching words
    Question question;
};

std::string narrowed(const std::u16string& text) {
    std::string narrow;
    for (const char16_t c : text) {
        narrow += c == u'\u00F7' ? '/' : static_cast<char>(c);
    }
    return narrow;
}

// Builds the panel on a thread of its own, so that a level file that makes the reading
// hang fails the test instead of stopping the run.
StartUp startUp(FakeDrawingServices& services) {
    (void)services;
    testing::internal::CaptureStderr();
    std::packaged_task<StartUp()> construction([] {
        const LessonPanel panel;
        return StartUp{{}, narrowed(panel.levelFileMessage), {panel.dividend, panel.divisor}};
    });
    std::future<StartUp> made = construction.get_future();
    std::thread(std::move(construction)).detach();
    if (made.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        std::fprintf(stderr, "The lesson panel did not start within 20 seconds\n");
        std::abort();
    }
    StartUp result;
    try {
        result = made.get();
    } catch (...) {
        testing::internal::GetCapturedStderr();
        throw;
    }
    result.lines = linesOf(testing::internal::GetCapturedStderr());
    EXPECT_GT(result.question.divisor, 0);
    return result;
}

std::vector<std::string> startUpLines(FakeDrawingServices& services) {
    return startUp(services).lines;
}

bool mentions(const std::string& line, const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (line.find(word) == std::string::npos) {
            return false;
        }
    }
    return true;
}

TEST(StartupProblems, TheShippedFilesGiveNoLineAndNoMessage) {
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    const StartUp made = startUp(services);
    EXPECT_EQ(made.lines, std::vector<std::string>{});
    EXPECT_EQ(made.message, "");
}

struct LevelCase {
    const char* name;
    const char* records;                     // after the header, before END
    std::vector<std::string> expectedWords;  // in the one line for the Expert level
    const char* expertLine;                  // how the message names the Expert level's line
};

TEST(StartupProblems, EachLevelThatCanGiveNoQuestionHasItsLine) {
    const std::string good =
        "B,2,5,30,99 x\nN,2,9,100,999 x\nI,6,12,150,1999 x\nA,11,30,200,2999 x\n";
    const LevelCase cases[] = {
        {"missing", "", {"Expert", "record 5", "no record"}, "(record 5 after the header)"},
        {"divisor 0", "E,0,99,1000,9999 x\n", {"Expert", "divisor below 1"}, "(line 6,"},
        {"divisors reversed",
         "E,99,13,1000,9999 x\n",
         {"Expert", "smallest divisor above"},
         "(line 6,"},
        {"dividends reversed",
         "E,13,99,9999,1000 x\n",
         {"Expert", "smallest dividend above"},
         "(line 6,"},
        {"divisor 1 only", "E,1,1,100,999 x\n", {"Expert", "no divisor of 2 or more"}, "(line 6,"},
        {"divisors too large",
         "E,100,200,1000,9999 x\n",
         {"Expert", "no divisor up to 99"},
         "(line 6,"},
        {"dividends too large",
         "E,13,99,10000,20000 x\n",
         {"Expert", "no dividend up to 9999"},
         "(line 6,"},
        {"divisor 10 only", "E,10,10,100,999 x\n", {"Expert", "no pair worth working"}, "(line 6,"},
        {"quotients too small",
         "E,50,99,100,200 x\n",
         {"Expert", "no pair worth working"},
         "(line 6,"},
        {"spaces after the commas", "E, 13, 99, 1000, 9999 x\n", {}, nullptr},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        scratch::WorkingFolder folder;
        writeFile("Data/levels.txt", "HEADER\n" + good + c.records + "END,");
        FakeDrawingServices services;
        registerProgramImageSizes(services);
        const StartUp made = startUp(services);
        if (c.expertLine == nullptr) {
            EXPECT_EQ(made.lines, std::vector<std::string>{});
            EXPECT_EQ(made.message, "");
            continue;
        }
        ASSERT_EQ(made.lines.size(), 1u) << testing::PrintToString(made.lines);
        EXPECT_TRUE(mentions(made.lines[0], c.expectedWords)) << made.lines[0];
        EXPECT_TRUE(
            mentions(made.lines[0], {"bricketing: ", "Data/levels.txt", "100 divided by 7"}))
            << made.lines[0];
        std::vector<std::string> messageWords = c.expectedWords;
        messageWords.insert(messageWords.end(), {"Data/levels.txt needs mending",
                                                 std::string("The Expert level ") + c.expertLine,
                                                 "At that level New Question gives 100 / 7"});
        EXPECT_TRUE(mentions(made.message, messageWords)) << made.message;
    }
}

// A level that gives questions but reaches beyond what Create Question accepts is said
// once, and only the questions within those limits are drawn from it.
TEST(StartupProblems, ALevelBeyondCreateQuestionIsSaidAndCutBack) {
    const std::string good =
        "B,2,5,30,99 x\nN,2,9,100,999 x\nI,6,12,150,1999 x\nA,11,30,200,2999 x\n";
    const struct {
        const char* name;
        const char* expert;
    } cases[] = {
        {"divisor 1", "E,1,20,1000,9999 x\n"},
        {"divisors beyond 99", "E,50,150,1000,9999 x\n"},
        {"dividends beyond 9999", "E,13,99,1000,20000 x\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch::WorkingFolder folder;
        writeFile("Data/levels.txt", "HEADER\n" + good + c.expert + "END,");
        FakeDrawingServices services;
        registerProgramImageSizes(services);
        const StartUp made = startUp(services);
        ASSERT_EQ(made.lines.size(), 1u) << testing::PrintToString(made.lines);
        EXPECT_TRUE(mentions(made.lines[0],
                             {"Data/levels.txt: the Expert level (line 6,", "Create Question",
                              "divisors 2 to 99", "dividends up to 9999"}))
            << made.lines[0];
        EXPECT_TRUE(mentions(made.message, {"Data/levels.txt needs mending", "The Expert level",
                                            "Create Question accepts"}))
            << made.message;
        std::istringstream in("HEADER\n" + good + c.expert + "END,");
        LevelTable table;
        ASSERT_TRUE(readLevels(in, table));
        for (int draw = 0; draw < 300; ++draw) {
            const Question question = questionFor(table, 4);
            ASSERT_GE(question.divisor, 2);
            ASSERT_LE(question.divisor, 99);
            ASSERT_LE(question.dividend, 9999);
        }
    }
}

TEST(StartupProblems, AMissingLevelFileIsOneLineAndNoMessage) {
    scratch::WorkingFolder folder;
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    const StartUp made = startUp(services);
    ASSERT_EQ(made.lines.size(), 1u) << testing::PrintToString(made.lines);
    EXPECT_TRUE(mentions(made.lines[0], {"Data/levels.txt cannot be read", "100 divided by 7"}));
    EXPECT_EQ(made.message, "");
}

// Without its header the first level is skipped as the header: the table still gives
// questions, but each level gets the numbers meant for the one after it.
TEST(StartupProblems, AFirstLineShapedLikeALevelIsSaidOnce) {
    scratch::WorkingFolder folder;
    writeFile("Data/levels.txt",
              "BEGINNER,2,5,30,199 x\nNOVICE,2,9,100,999 x\nINTERMEDIATE,6,12,600,2999 x\n"
              "ADVANCED,13,29,2000,6999 x\nEXPERT,21,59,6000,9999 x\nEXTRA,21,59,6000,9999 x\n"
              "END,");
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    const StartUp made = startUp(services);
    ASSERT_EQ(made.lines.size(), 1u) << testing::PrintToString(made.lines);
    EXPECT_TRUE(mentions(made.lines[0], {"Data/levels.txt: line 1 looks like a level"}));
    EXPECT_TRUE(mentions(made.message, {"Line 1 looks like a level, not a header",
                                        "Beginner takes line 2", "Put a header line"}))
        << made.message;
}

// Whatever stands where the level file should be, the program starts, gives the fallback
// question at every level it cannot read, and says why once.
TEST(StartupProblems, SpecialFilesStartTheProgramAndAreSaid) {
    struct Case {
        const char* name;
        std::function<void()> make;  // puts it at Data/levels.txt
        std::vector<std::string> messageWords;
    };
    std::vector<Case> cases = {
        {"a folder",
         [] { std::filesystem::create_directory("Data/levels.txt"); },
         {"Data/levels.txt is a folder, not a file", "at every level New Question gives 100 / 7"}},
    };
#ifndef _WIN32
    const auto linkTo = [](const char* target) {
        return [target] { std::filesystem::create_symlink(target, "Data/levels.txt"); };
    };
    cases.push_back({"a pipe",
                     [] { ASSERT_EQ(mkfifo("Data/levels.txt", 0600), 0); },
                     {"is not an ordinary file", "at every level New Question gives 100 / 7"}});
    cases.push_back({"/dev/zero", linkTo("/dev/zero"), {"is not an ordinary file"}});
    cases.push_back({"/dev/urandom", linkTo("/dev/urandom"), {"is not an ordinary file"}});
    // 8 GiB without a line end, so that reading it all would take half a minute or more.
    cases.push_back({"a huge file",
                     [] {
                         writeFile("Data/levels.txt", "HEADER");
                         std::filesystem::resize_file("Data/levels.txt", std::uint64_t{8} << 30);
                     },
                     {"The file is longer than 1048576 bytes; only its start is read",
                      "Beginner level", "no record"}});
    // Reading this process's memory at offset 0 fails at once, as a failing disk does.
    cases.push_back({"a read error",
                     linkTo("/proc/self/mem"),
                     {"A read error on line 1 ended the reading", "Beginner level", "no record",
                      "At those levels New Question gives 100 / 7"}});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scratch::WorkingFolder folder;
        c.make();
        FakeDrawingServices services;
        registerProgramImageSizes(services);
        const StartUp made = startUp(services);
        EXPECT_EQ(made.question.dividend, 100);
        EXPECT_EQ(made.question.divisor, 7);
        ASSERT_FALSE(made.lines.empty());
        EXPECT_TRUE(mentions(made.lines[0], {"bricketing: Data/levels.txt"})) << made.lines[0];
        EXPECT_TRUE(mentions(made.message, c.messageWords)) << made.message;
    }
}

// The fake draws a picture whose size it was not given as 0 x 0, as a backend does
// for a file it cannot read; whether the file is there tells the two causes apart.
TEST(StartupProblems, EachPictureThatDrawsNothingHasItsLine) {
    for (const bool inRepository : {true, false}) {
        SCOPED_TRACE(inRepository ? "files present but unreadable" : "files missing");
        const std::filesystem::path repository = std::filesystem::current_path();
        std::unique_ptr<scratch::WorkingFolder> folder;
        if (!inRepository) {
            folder = std::make_unique<scratch::WorkingFolder>();
            std::filesystem::copy_file(repository / "Data/levels.txt", "Data/levels.txt");
        }
        FakeDrawingServices services;
        registerProgramImageSizes(services);
        services.imageSizes.erase("Resources/Mox_73.png");
        services.imageSizes.erase("Resources/Up icon_40.png");
        const std::vector<std::string> lines = startUpLines(services);
        const std::string cause = inRepository ? "cannot be read as a PNG picture" : "is missing";
        ASSERT_EQ(lines.size(), 2u) << testing::PrintToString(lines);
        EXPECT_TRUE(mentions(lines[0], {"bricketing: picture Resources/Up icon_40.png", cause}))
            << lines[0];
        EXPECT_TRUE(mentions(lines[1], {"bricketing: picture Resources/Mox_73.png", cause}))
            << lines[1];
    }
}

}  // namespace
