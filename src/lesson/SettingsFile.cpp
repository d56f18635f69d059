// The settings file: reading it into the lesson panel and its board, forming its four
// lines, and replacing it atomically so that a failed write never damages the old one.
#include "lesson/SettingsFile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string_view>
#include <system_error>

#include "lesson/LessonPanel.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The file word of each difficulty index.
constexpr std::array<std::string_view, 5> difficultyWords = {"BEGINNER", "NOVICE", "INTERMEDIATE",
                                                             "ADVANCED", "EXPERT"};

// White space as the "C" locale sees it, whatever locale the process runs in. CR is
// among it, so a file with CR LF line ends reads as one with LF.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The key is everything up to the next colon, which is consumed. False when the input
// ends before a colon: what was read then is not an entry.
bool readKey(std::istream& in, std::string& key) {
    key.clear();
    std::getline(in, key, ':');
    return !in.fail() && !in.eof();
}

// Skips white space, then takes characters up to the next white space, which is left
// in the stream for the skip to the line end.
std::string readValue(std::istream& in) {
    using Traits = std::istream::traits_type;
    std::string value;
    while (!Traits::eq_int_type(in.peek(), Traits::eof()) &&
           isWhiteSpace(Traits::to_char_type(in.peek()))) {
        in.get();
    }
    while (!Traits::eq_int_type(in.peek(), Traits::eof()) &&
           !isWhiteSpace(Traits::to_char_type(in.peek()))) {
        value.push_back(Traits::to_char_type(in.get()));
    }
    return value;
}

// Any word other than the four higher levels, "BEGINNER" included, gives 0.
int difficultyOf(std::string_view word) {
    for (std::size_t index = 1; index < difficultyWords.size(); ++index) {
        if (word == difficultyWords[index]) {
            return static_cast<int>(index);
        }
    }
    return 0;
}

void applyEntry(std::string_view key, std::string_view value, UserSettings& settings) {
    if (key == "DISPLAY") {
        settings.displayLotsOf = value == "LOTSOF";
    } else if (key == "AUTOPRODUCT") {
        settings.autoProduct = value == "ON";
    } else if (key == "AUTOREMAINDER") {
        settings.autoRemainder = value == "ON";
    } else if (key == "DIFFICULTY") {
        settings.difficulty = difficultyOf(value);
    }
}

// An index outside 0 to 4 is written as the word the reader turns back into 0.
std::string_view difficultyWord(int difficulty) {
    if (difficulty < 0 || difficulty >= static_cast<int>(difficultyWords.size())) {
        return difficultyWords[0];
    }
    return difficultyWords[static_cast<std::size_t>(difficulty)];
}

// A name beside the target that no earlier write of this process has used; the random
// part keeps two processes writing at once apart.
std::string temporaryNameFor(const std::string& target) {
    static std::mt19937 generator{std::random_device{}()};
    return target + ".new-" + std::to_string(generator());
}

// Creates a fresh temporary file beside the target (never opening an existing one);
// null when none can be made, for example because the folder is missing.
std::FILE* createTemporary(const std::string& target, std::string& name) {
    constexpr int attempts = 16;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        name = temporaryNameFor(target);
        errno = 0;
        if (std::FILE* file = std::fopen(name.c_str(), "wx")) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return nullptr;
}

// Pushes the file's contents to the disk, so that the rename never exposes a file
// whose data is still only in memory.
bool syncFile(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself durable. Best effort: the new file is in place already.
void syncFolderOf(const std::string& target) {
#if !defined(_WIN32)
    std::filesystem::path folder = std::filesystem::path(target).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int descriptor = open(folder.c_str(), O_RDONLY);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
#else
    (void)target;
#endif
}

// Whether the process may write into the existing file at path. Writing in place
// would fail on a read-only file, so replacing it must not get round that either.
bool mayWrite(const std::string& path) {
#if defined(_WIN32)
    return _access(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

// Writes all of text, flushed and synced, then closes the file. False on any failure.
bool writeAndClose(std::FILE* file, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                         std::fflush(file) == 0 && syncFile(file);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

UserSettings readSettings(std::istream& in, UserSettings start) {
    UserSettings settings = start;
    std::string key;
    while (readKey(in, key)) {
        const std::string value = readValue(in);
        applyEntry(key, value, settings);
        if (key.empty()) {
            break;  // a line that begins with a colon ends the reading
        }
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return settings;
}

std::string formatSettings(const UserSettings& settings) {
    std::string text;
    text += "DISPLAY:";
    text += settings.displayLotsOf ? "LOTSOF" : "TIMES";
    text += " // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in working out\n";
    text += "AUTOPRODUCT:";
    text += settings.autoProduct ? "ON" : "OFF";
    text += " // ON or OFF; if on, calculates products for each multiple automatically\n";
    text += "AUTOREMAINDER:";
    text += settings.autoRemainder ? "ON" : "OFF";
    text += " // ON or OFF; if on, calculates the remainder each time automatically\n";
    text += "DIFFICULTY:";
    text += difficultyWord(settings.difficulty);
    text += " // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT";
    return text;
}

UserSettings settingsOf(const LessonPanel& panel) {
    UserSettings settings;
    settings.displayLotsOf = panel.board.displayLotsOf;
    settings.autoProduct = panel.board.autoProduct;
    settings.autoRemainder = panel.board.autoRemainder;
    settings.difficulty = panel.difficulty;
    return settings;
}

void applySettings(LessonPanel& panel, const UserSettings& settings) {
    panel.board.displayLotsOf = settings.displayLotsOf;
    panel.board.autoProduct = settings.autoProduct;
    panel.board.autoRemainder = settings.autoRemainder;
    panel.difficulty = settings.difficulty;
}

bool writeSettingsFile(const UserSettings& settings) {
    return writeSettingsFile(settings, settingsFilePath);
}

// The new contents go to a temporary file beside the target, which then replaces the
// target in one rename: a reader sees the old file or the new one, never a part.
// An existing file is replaced only where it could have been rewritten, and the new
// one takes over its permissions, as a file rewritten in place keeps them.
bool writeSettingsFile(const UserSettings& settings, const std::string& linkOrPath) {
    std::error_code error;
    // A settings file that is a link to one kept elsewhere is rewritten where it really
    // lies, so that the link stays a link.
    std::string path = linkOrPath;
    if (std::filesystem::is_symlink(linkOrPath, error)) {
        const auto target = std::filesystem::weakly_canonical(linkOrPath, error);
        if (!error) {
            path = target.string();
        }
    }
    const std::filesystem::file_status old = std::filesystem::status(path, error);
    const bool replacing = std::filesystem::is_regular_file(old);
    if (replacing && !mayWrite(path)) {
        return false;
    }
    std::string temporary;
    std::FILE* file = createTemporary(path, temporary);
    if (file == nullptr) {
        return false;
    }
    if (!writeAndClose(file, formatSettings(settings))) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    if (replacing) {
        // Best effort: the contents matter more than the permissions.
        std::filesystem::permissions(temporary, old.permissions(), error);
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    syncFolderOf(path);
    return true;
}

void LessonPanel::loadSettings() {
    std::ifstream file(settingsFilePath);
    if (!file.is_open()) {
        return;
    }
    applySettings(*this, readSettings(file, settingsOf(*this)));
}
