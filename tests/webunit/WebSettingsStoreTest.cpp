// The settings file mirrored into the browser's storage: brought back before the
// program starts, kept after the program rewrites it, and a refused write keeping what
// storage had. Runs on real files (under Node, the real file system).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "lesson/SettingsFile.h"
#include "platform/web/WebSettingsStore.h"

namespace {

namespace fs = std::filesystem;

class FakeStorage : public SettingsStorage {
public:
    std::optional<std::string> read() override { return stored; }
    bool write(const std::string& text) override {
        ++writes;
        if (refuse) {
            return false;
        }
        stored = text;
        return true;
    }
    std::optional<std::string> stored;
    bool refuse = false;
    int writes = 0;
};

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class WebSettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        root =
            fs::temp_directory_path() /
            ("web-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "Data");
        perUser = root / "home" / "config" / "bricketing" / "settings.txt";
        data = root / "Data" / "settings.txt";
    }
    void TearDown() override { fs::remove_all(root); }

    UserSettings someSettings() const {
        UserSettings settings;
        settings.displayLotsOf = false;
        settings.autoProduct = true;
        settings.difficulty = 3;
        return settings;
    }

    fs::path root;
    fs::path perUser;
    fs::path data;
    FakeStorage storage;
};

TEST_F(WebSettingsStoreTest, NothingStoredLeavesTheFilesAlone) {
    writeFile(data, "DIFFICULTY:EXPERT");
    WebSettingsStore store(storage, {perUser, data});
    store.restore();
    EXPECT_FALSE(fs::exists(perUser));
    EXPECT_TRUE(fs::is_directory(perUser.parent_path()));  // ready for the program's file
    EXPECT_EQ(readFile(data), "DIFFICULTY:EXPERT");
    EXPECT_TRUE(store.keepChanges());
    EXPECT_EQ(storage.writes, 0);
}

TEST_F(WebSettingsStoreTest, StoredTextComesBackIntoEveryFile) {
    storage.stored = formatSettings(someSettings());
    WebSettingsStore store(storage, {perUser, data});
    store.restore();
    EXPECT_EQ(readFile(perUser), storage.stored);
    EXPECT_EQ(readFile(data), storage.stored);
    // Read back by the program's own reader, the settings are the stored ones.
    std::ifstream in(perUser);
    const UserSettings read = readSettings(in, UserSettings{});
    EXPECT_FALSE(read.displayLotsOf);
    EXPECT_TRUE(read.autoProduct);
    EXPECT_FALSE(read.autoRemainder);
    EXPECT_EQ(read.difficulty, 3);
    // Nothing changed since: nothing is written back.
    EXPECT_TRUE(store.keepChanges());
    EXPECT_EQ(storage.writes, 0);
}

TEST_F(WebSettingsStoreTest, AFileTheProgramRewroteIsStored) {
    for (const bool perUserFile : {true, false}) {
        FakeStorage fresh;
        fs::remove(perUser);
        fs::remove(data);
        WebSettingsStore store(fresh, {perUser, data});
        store.restore();
        const fs::path written = perUserFile ? perUser : data;
        ASSERT_TRUE(writeSettingsFile(someSettings(), written.string()));
        EXPECT_TRUE(store.keepChanges());
        EXPECT_EQ(fresh.stored, formatSettings(someSettings())) << perUserFile;
        // A second look with no new write stores nothing more.
        EXPECT_TRUE(store.keepChanges());
        EXPECT_EQ(fresh.writes, 1) << perUserFile;
    }
}

TEST_F(WebSettingsStoreTest, ARefusedWriteKeepsTheOldSettingsAndIsTriedAgain) {
    UserSettings old;
    storage.stored = formatSettings(old);
    WebSettingsStore store(storage, {perUser, data});
    store.restore();
    ASSERT_TRUE(writeSettingsFile(someSettings(), perUser.string()));
    storage.refuse = true;
    EXPECT_FALSE(store.keepChanges());
    EXPECT_EQ(storage.stored, formatSettings(old));
    // Storage has room again at the next Settings: the change is kept then.
    storage.refuse = false;
    EXPECT_TRUE(store.keepChanges());
    EXPECT_EQ(storage.stored, formatSettings(someSettings()));
}

// Several visits in a row: each one's confirmed settings are what the next one starts
// with, whichever of the random settings were chosen.
TEST_F(WebSettingsStoreTest, SettingsLastFromVisitToVisit) {
    for (int visit = 0; visit < 20; ++visit) {
        fs::remove(perUser);
        fs::remove(data);
        WebSettingsStore store(storage, {perUser, data});
        store.restore();
        UserSettings chosen;
        chosen.displayLotsOf = visit % 2 == 0;
        chosen.autoProduct = visit % 3 == 0;
        chosen.autoRemainder = visit % 5 == 0;
        chosen.difficulty = visit % 5;
        ASSERT_TRUE(writeSettingsFile(chosen, perUser.string()));
        ASSERT_TRUE(store.keepChanges());

        fs::remove(perUser);
        WebSettingsStore next(storage, {perUser, data});
        next.restore();
        std::ifstream in(perUser);
        const UserSettings back = readSettings(in, UserSettings{});
        EXPECT_EQ(back.displayLotsOf, chosen.displayLotsOf) << visit;
        EXPECT_EQ(back.autoProduct, chosen.autoProduct) << visit;
        EXPECT_EQ(back.autoRemainder, chosen.autoRemainder) << visit;
        EXPECT_EQ(back.difficulty, chosen.difficulty) << visit;
    }
}

}  // namespace
