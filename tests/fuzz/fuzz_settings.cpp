// Fuzz target: any bytes as a settings file. The reader's result must equal a plain
// second reading of the rules below, written here from scratch; the written form of
// that result must be exactly the four commented lines and read back to the same
// values, both from memory and through a real file.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "lesson/SettingsFile.h"
#include "platform/desktop/FileRewrite.h"

namespace {

constexpr std::array<std::string_view, 5> levelWords = {"BEGINNER", "NOVICE", "INTERMEDIATE",
                                                        "ADVANCED", "EXPERT"};

bool isSpace(char c) {
    return std::string_view(" \t\n\v\f\r").find(c) != std::string_view::npos;
}

// The rules, read straight off a string: a key runs to the next colon, across line
// ends; the value is the next word after white space; later entries win; unknown keys
// do nothing, unknown values give false or 0; an empty key, or no colon left, ends it;
// after each entry the rest of its line is skipped.
UserSettings plainReading(std::string_view text, UserSettings settings) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t colon = text.find(':', at);
        if (colon == std::string_view::npos) {
            return settings;
        }
        const std::string_view key = text.substr(at, colon - at);
        std::size_t start = colon + 1;
        while (start < text.size() && isSpace(text[start])) {
            ++start;
        }
        std::size_t end = start;
        while (end < text.size() && !isSpace(text[end])) {
            ++end;
        }
        const std::string_view value = text.substr(start, end - start);
        if (key == "DISPLAY") {
            settings.displayLotsOf = value == "LOTSOF";
        } else if (key == "AUTOPRODUCT") {
            settings.autoProduct = value == "ON";
        } else if (key == "AUTOREMAINDER") {
            settings.autoRemainder = value == "ON";
        } else if (key == "DIFFICULTY") {
            settings.difficulty = 0;
            for (std::size_t level = 1; level < levelWords.size(); ++level) {
                if (value == levelWords[level]) {
                    settings.difficulty = static_cast<int>(level);
                }
            }
        } else if (key.empty()) {
            return settings;
        }
        const std::size_t lineEnd = text.find('\n', end);
        if (lineEnd == std::string_view::npos) {
            return settings;
        }
        at = lineEnd + 1;
    }
}

// The exact text of a settings file, spelt out line by line.
std::string fourLines(const UserSettings& s) {
    return std::string("DISPLAY:") + (s.displayLotsOf ? "LOTSOF" : "TIMES") +
           " // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in working out\n" +
           "AUTOPRODUCT:" + (s.autoProduct ? "ON" : "OFF") +
           " // ON or OFF; if on, calculates products for each multiple automatically\n" +
           "AUTOREMAINDER:" + (s.autoRemainder ? "ON" : "OFF") +
           " // ON or OFF; if on, calculates the remainder each time automatically\n" +
           "DIFFICULTY:" + std::string(levelWords[static_cast<std::size_t>(s.difficulty)]) +
           " // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT";
}

bool same(const UserSettings& a, const UserSettings& b) {
    return a.displayLotsOf == b.displayLotsOf && a.autoProduct == b.autoProduct &&
           a.autoRemainder == b.autoRemainder && a.difficulty == b.difficulty;
}

void require(bool holds, const char* rule, const UserSettings& got, const UserSettings& wanted) {
    if (!holds) {
        std::fprintf(stderr,
                     "Broken rule: %s\n  got     display %d product %d remainder %d level %d\n"
                     "  wanted  display %d product %d remainder %d level %d\n",
                     rule, got.displayLotsOf, got.autoProduct, got.autoRemainder, got.difficulty,
                     wanted.displayLotsOf, wanted.autoProduct, wanted.autoRemainder,
                     wanted.difficulty);
        std::abort();
    }
}

UserSettings readFrom(const std::string& text, const UserSettings& start) {
    std::istringstream in(text);
    return readSettings(in, start);
}

// Every value differs from the given ones, so a reading that skips an entry shows.
UserSettings opposite(const UserSettings& s) {
    return {!s.displayLotsOf, !s.autoProduct, !s.autoRemainder, (s.difficulty + 1) % 5};
}

// A private folder for the written files, in memory where the system offers one so
// that the writer's syncs cost little. Made afresh for each input and removed after
// it, since libFuzzer may end the process without running exit handlers.
std::filesystem::path makeScratchFolder() {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string name = (base / "bricketing-fuzz-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return name;
}

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte gives the values the reading starts from, the rest is the file.
    const UserSettings start = {(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0,
                                (data[0] >> 3) % 5};
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const UserSettings read = readFrom(text, start);
    const UserSettings wanted = plainReading(text, start);
    require(same(read, wanted), "the reader follows the rules", read, wanted);

    const std::string written = formatSettings(read);
    require(written == fourLines(read), "the written form is the four commented lines", read, read);
    const UserSettings reread = readFrom(written, opposite(read));
    require(same(reread, read), "the written form reads back to the same values", reread, read);

    const std::filesystem::path folder = makeScratchFolder();
    const std::filesystem::path file = folder / "settings.txt";
    require(rewriteFile(file, written), "the settings file can be written", read, read);
    require(contentsOf(file) == written, "the file holds what was formatted", read, read);
    std::ifstream in(file);
    const UserSettings fromFile = readSettings(in, opposite(read));
    in.close();
    require(same(fromFile, read), "the file reads back to the same values", fromFile, read);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
