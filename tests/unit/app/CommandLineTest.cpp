// What the program answers on its command line without opening its window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

TEST(CommandLine, VersionAndHelpAreAnsweredAndAnythingElseStartsTheProgram) {
    const struct {
        std::vector<std::string> arguments;
        const char* answerStart;  // nullptr: the program starts
    } cases[] = {
        {{}, nullptr},
        {{"--version"}, "Bricketing " BRICKETING_TEST_VERSION "\n"},
        {{"--help"}, "Usage: bricketing [--help | --version | --report [FOLDER...]]\n"},
        {{"-h"}, "Usage: bricketing"},
        {{"-platform", "offscreen", "--version"}, "Bricketing "},
        {{"--", "--version"}, nullptr},
        {{"-platform", "xcb"}, nullptr},
        {{"--versions"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto answer = commandLineAnswer(c.arguments);
        ASSERT_EQ(answer.has_value(), c.answerStart != nullptr);
        EXPECT_EQ(answersOnCommandLine(c.arguments), answer.has_value());
        if (answer) {
            EXPECT_EQ(answer->text.rfind(c.answerStart, 0), 0u) << answer->text;
            EXPECT_EQ(answer->text.back(), '\n');
            EXPECT_EQ(answer->exitCode, 0);
        }
    }
    EXPECT_EQ(programVersionText(), u"Bricketing " BRICKETING_TEST_VERSION_U);
    const std::string help = commandLineAnswer({"--help"})->text;
    for (const char* word : {"--version", "--help", "Data/levels.txt"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
}

}  // namespace
