// Random bytes fed to the two file readers: whatever a damaged file holds, reading it
// ends, in bounded time, without a crash or a sanitizer report, and within the limits
// the input allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include "lesson/LevelFile.h"
#include "lesson/SettingsFile.h"

namespace {

constexpr int inputCount = 4000;
constexpr int longestInput = 4096;
constexpr auto timeAllowed = std::chrono::seconds(60);

// Pieces that make the readers take their interesting paths far more often than
// uniformly random bytes would.
constexpr std::array<std::string_view, 22> pieces = {
    ",",          ",",          ":",           ":",       " ",           "\n",
    "\r\n",       "\t",         "-",           "+",       "END",         "END,",
    "12",         "2147483648", "99999999999", "DISPLAY", "AUTOPRODUCT", "AUTOREMAINDER",
    "DIFFICULTY", "EXPERT",     "ON",          "LOTSOF"};

// One random input: a mix of the pieces above, single digits and arbitrary bytes.
std::string randomInput(std::mt19937& generator) {
    std::uniform_int_distribution<int> lengthOf(0, longestInput);
    std::uniform_int_distribution<int> kindOf(0, 9);
    std::uniform_int_distribution<std::size_t> pieceOf(0, pieces.size() - 1);
    std::uniform_int_distribution<int> byteOf(0, 255);
    std::uniform_int_distribution<int> digitOf('0', '9');
    const std::size_t length = static_cast<std::size_t>(lengthOf(generator));
    std::string input;
    while (input.size() < length) {
        const int kind = kindOf(generator);
        if (kind < 5) {
            input += pieces[pieceOf(generator)];
        } else if (kind < 8) {
            input += static_cast<char>(digitOf(generator));
        } else {
            input += static_cast<char>(byteOf(generator));
        }
    }
    return input;
}

TEST(FileReaderFuzz, LevelReaderStopsWithinWhatTheInputHolds) {
    std::mt19937 generator(20240611u);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < inputCount; ++i) {
        const std::string input = randomInput(generator);
        std::istringstream in(input);
        LevelTable table;
        readLevels(in, table);
        // Every record takes a label comma, three number commas and a space.
        const auto commas = std::count(input.begin(), input.end(), ',');
        ASSERT_LE(static_cast<long>(table.size()) * 4, static_cast<long>(commas)) << "input " << i;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, timeAllowed);
}

TEST(FileReaderFuzz, SettingsReaderKeepsEveryValueInRange) {
    std::mt19937 generator(77031u);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < inputCount; ++i) {
        const std::string input = randomInput(generator);
        std::istringstream in(input);
        const UserSettings settings = readSettings(in, UserSettings{});
        ASSERT_GE(settings.difficulty, 0) << "input " << i;
        ASSERT_LE(settings.difficulty, 4) << "input " << i;
        // A difficulty other than the starting one can only come from an entry.
        if (settings.difficulty != 0) {
            ASSERT_NE(input.find("DIFFICULTY"), std::string::npos) << "input " << i;
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, timeAllowed);
}

TEST(FileReaderFuzz, ReadersSurviveInputsWithoutAnyDelimiter) {
    // The longest runs a reader scans in one go: nothing it waits for ever comes.
    const std::string noComma(1 << 16, '7');
    std::istringstream levelsIn("header\n" + noComma);
    LevelTable table;
    EXPECT_FALSE(readLevels(levelsIn, table));
    EXPECT_TRUE(table.empty());

    std::istringstream settingsIn(std::string(1 << 16, '\n') + "DISPLAY");
    const UserSettings start = {false, true, true, 3};
    const UserSettings read = readSettings(settingsIn, start);
    EXPECT_EQ(read.displayLotsOf, start.displayLotsOf);
    EXPECT_EQ(read.difficulty, start.difficulty);
}

}  // namespace
