// The rewrite on every platform: saves cut off at each of their steps, by a kill or a
// full disk, leave the old settings or the new ones; and a save touches no file beside
// the settings but its own temporary one.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lesson/SettingsFile.h"
#include "platform/desktop/FileRewrite.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

namespace fs = std::filesystem;
using scratch::contentsOf;
using scratch::writeFile;

// Thrown from a step to stop the save there, as a kill would: nothing after it runs.
struct Killed {};

// Installs a step check for the length of a test.
class StepCheck {
public:
    explicit StepCheck(std::function<bool(RewriteStep)> check) {
        setRewriteStepCheck(std::move(check));
    }
    ~StepCheck() { setRewriteStepCheck({}); }
    StepCheck(const StepCheck&) = delete;
    StepCheck& operator=(const StepCheck&) = delete;
};

std::string readingOf(const std::string& text) {
    std::istringstream in(text);
    // Every value the opposite of the defaults, so an entry that is missing shows.
    return formatSettings(readSettings(in, {false, true, true, 3}));
}

UserSettings randomSettings(std::mt19937& random) {
    return {random() % 2 == 0, random() % 2 == 0, random() % 2 == 0,
            static_cast<int>(random() % 5)};
}

// The old file: as the program writes it, or as a teacher might, shorter or longer,
// up to several pages.
std::string randomOldText(std::mt19937& random) {
    const std::string written = formatSettings(randomSettings(random));
    switch (random() % 4) {
        case 0:
            return written;
        case 1:
            return "DIFFICULTY:NOVICE\r\n";
        case 2:
            return written + "\n" + std::string(random() % 900, '#') + "\nDISPLAY:TIMES";
        default:  // longer than the one page a write in place changes at once
            return written + "\n" + std::string(4096 + random() % 9000, '#') + "\nDISPLAY:TIMES";
    }
}

// Random saves, each cut off at a random step by a kill or a full disk, with or without
// room for a temporary file (without it the file is rewritten in place): the file
// always reads as the old settings or the new ones, a save that reports success leaves
// exactly the new bytes, and the next whole save leaves only the file.
TEST(FileRewriteFaults, ACutOffSaveLeavesTheOldSettingsOrTheNew) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    std::mt19937 random(20261207u);
    constexpr int saves = 400;
    constexpr int steps = static_cast<int>(RewriteStep::SyncInPlace) + 1;
    int keptOld = 0;
    int keptNew = 0;
    for (int save = 0; save < saves; ++save) {
        const std::string old = randomOldText(random);
        writeFile(path, old);
        const std::string wanted = formatSettings(randomSettings(random));
        const auto cutAt = static_cast<RewriteStep>(random() % steps);
        const bool kill = random() % 2 == 0;
        const bool noTemporary = random() % 2 == 0;
        std::ostringstream trace;
        trace << "save " << save << ": step " << static_cast<int>(cutAt)
              << (kill ? " killed" : " disk full") << (noTemporary ? ", in place" : "");
        SCOPED_TRACE(trace.str());
        bool saved = false;
        {
            const StepCheck check([&](RewriteStep step) {
                if (noTemporary && step == RewriteStep::MakeTemporary) {
                    return false;
                }
                if (step != cutAt) {
                    return true;
                }
                if (kill) {
                    throw Killed{};
                }
                return false;
            });
            try {
                saved = rewriteFile(path, wanted);
            } catch (const Killed&) {
                saved = false;
            }
        }
        const std::string now = contentsOf(path);
        const bool readsOld = readingOf(now) == readingOf(old);
        const bool readsNew = readingOf(now) == readingOf(wanted);
        ASSERT_TRUE(readsOld || readsNew) << "the file holds: " << now;
        if (saved) {
            ASSERT_EQ(now, scratch::asWritten(wanted));
        }
        keptOld += readsOld && !readsNew ? 1 : 0;
        keptNew += readsNew ? 1 : 0;
        ASSERT_TRUE(rewriteFile(path, wanted));
        ASSERT_EQ(contentsOf(path), scratch::asWritten(wanted));
        ASSERT_EQ(scratch::namesIn(folder.path), std::vector<std::string>{"settings.txt"});
    }
    // Both outcomes happen, so the cases reach before and after the switch.
    EXPECT_GT(keptOld, saves / 10);
    EXPECT_GT(keptNew, saves / 10);
}

// A file with a second name (a teacher's hard link) is rewritten in place, whatever its
// old size, so that both names read the new settings: on Windows too, where the link
// count comes from the file system itself.
TEST(FileRewriteLinks, AHardLinkedFileOfAnySizeIsRewrittenForEveryName) {
    for (const std::size_t size : {std::size_t{20}, std::size_t{5000}, std::size_t{200000}}) {
        SCOPED_TRACE(size);
        scratch::Folder folder;
        const fs::path path = folder.path / "settings.txt";
        const fs::path otherName = folder.path / "teacher-copy.txt";
        writeFile(path, ("DIFFICULTY:NOVICE\n" + std::string(size, '#')).substr(0, size));
        fs::create_hard_link(path, otherName);
        const std::string wanted = formatSettings({false, true, true, 4});
        ASSERT_TRUE(rewriteFile(path, wanted));
        EXPECT_EQ(contentsOf(path), scratch::asWritten(wanted));
        EXPECT_EQ(contentsOf(otherName), scratch::asWritten(wanted));
        EXPECT_EQ(scratch::namesIn(folder.path),
                  (std::vector<std::string>{"settings.txt", "teacher-copy.txt"}));
    }
}

// Names beside the settings file that this program never makes stay as they are: a
// user's own "settings.txt.new" and numbered copies. Its own temporary file, left by a
// save cut short, is taken over and gone afterwards.
TEST(FileRewriteNames, OnlyItsOwnTemporaryFileIsTouched) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    writeFile(path, "DIFFICULTY:NOVICE");
    const std::vector<std::string> others = {"settings.txt.new", "settings.txt.new-1",
                                             "settings.txt.new-3870142263", "other.txt.new-12"};
    for (const std::string& name : others) {
        writeFile(folder.path / name, "a teacher's file " + name);
    }
    writeFile(temporaryPathFor(path), "DISPLAY:LOT");  // cut off mid-write
    const std::string wanted = formatSettings({false, true, true, 4});
    ASSERT_TRUE(rewriteFile(path, wanted));
    EXPECT_EQ(contentsOf(path), scratch::asWritten(wanted));
    for (const std::string& name : others) {
        EXPECT_EQ(contentsOf(folder.path / name), "a teacher's file " + name) << name;
    }
    EXPECT_FALSE(fs::exists(temporaryPathFor(path)));
    EXPECT_EQ(scratch::namesIn(folder.path).size(), others.size() + 1);
}

}  // namespace
