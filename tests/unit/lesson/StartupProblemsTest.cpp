// What the lesson panel tells a teacher on standard error as it starts: one line for
// each level that can give no question and for each picture that is missing or cannot
// be read, and nothing at all for the shipped files.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
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

// The lines the construction of a lesson panel writes on standard error.
std::vector<std::string> startUpLines(FakeDrawingServices& services) {
    testing::internal::CaptureStderr();
    {
        const LessonPanel panel;
        EXPECT_GT(panel.divisor, 0);
        (void)services;
    }
    return linesOf(testing::internal::GetCapturedStderr());
}

bool mentions(const std::string& line, const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (line.find(word) == std::string::npos) {
            return false;
        }
    }
    return true;
}

TEST(StartupProblems, TheShippedFilesGiveNoLine) {
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    EXPECT_EQ(startUpLines(services), std::vector<std::string>{});
}

struct LevelCase {
    const char* name;
    const char* records;                     // after the header, before END
    std::vector<std::string> expectedWords;  // in the one line for the Expert level
};

TEST(StartupProblems, EachLevelThatCanGiveNoQuestionHasItsLine) {
    const std::string good =
        "B,2,5,30,99 x\nN,2,9,100,999 x\nI,6,12,150,1999 x\nA,11,30,200,2999 x\n";
    const LevelCase cases[] = {
        {"missing", "", {"Expert", "record 5", "no record"}},
        {"divisor 0", "E,0,99,1000,9999 x\n", {"Expert", "divisor below 1"}},
        {"divisors reversed", "E,99,13,1000,9999 x\n", {"Expert", "smallest divisor above"}},
        {"dividends reversed", "E,13,99,9999,1000 x\n", {"Expert", "smallest dividend above"}},
        {"divisors too large", "E,100,200,1000,9999 x\n", {"Expert", "no divisor up to 99"}},
        {"dividends too large", "E,13,99,10000,20000 x\n", {"Expert", "no dividend up to 9999"}},
        {"divisor 10 only", "E,10,10,100,999 x\n", {"Expert", "no pair worth working"}},
        {"quotients too small", "E,50,99,100,200 x\n", {"Expert", "no pair worth working"}},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        scratch::WorkingFolder folder;
        writeFile("Data/levels.txt", "HEADER\n" + good + c.records + "END,");
        FakeDrawingServices services;
        registerProgramImageSizes(services);
        const std::vector<std::string> lines = startUpLines(services);
        ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
        EXPECT_TRUE(mentions(lines[0], c.expectedWords)) << lines[0];
        EXPECT_TRUE(mentions(lines[0], {"bricketing: ", "Data/levels.txt", "100 divided by 7"}))
            << lines[0];
    }
}

TEST(StartupProblems, AMissingLevelFileIsOneLine) {
    scratch::WorkingFolder folder;
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    const std::vector<std::string> lines = startUpLines(services);
    ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
    EXPECT_TRUE(mentions(lines[0], {"Data/levels.txt cannot be read", "100 divided by 7"}));
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
