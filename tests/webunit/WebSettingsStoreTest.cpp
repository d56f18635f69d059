// The web's settings store over a fake of the browser's storage: what the lesson panel
// reads at start-up, every confirmed save stored (also one equal to what was read, as
// another tab may have stored other settings since), a refused save reported and
// keeping what was stored, and settings that last from visit to visit.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/SettingsFile.h"
#include "platform/web/WebSettingsStore.h"

namespace {

// The page's local storage, shared by every tab of the page.
class FakeStorage : public SettingsStore {
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

// Installs a store for its lifetime.
class Installed {
public:
    explicit Installed(SettingsStore& store) { installSettingsStore(&store); }
    ~Installed() { installSettingsStore(nullptr); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;
};

// One visit (or tab): its store installed before its lesson panel is made.
struct Visit {
    explicit Visit(FakeStorage& storage) : store(storage) {}

    WebSettingsStore store;
    Installed installed{store};
    FakeDrawingServices services;
    LessonPanel panel;
};

const UserSettings expertTimes = {false, true, true, 4};
const UserSettings noviceLotsOf = {true, false, true, 1};

TEST(WebSettingsStore, StartUpReadsWhatIsStoredAndNothingWhenItIsTooLong) {
    FakeStorage storage;
    storage.stored = formatSettings(expertTimes);
    {
        Visit visit(storage);
        EXPECT_EQ(formatSettings(settingsOf(visit.panel)), formatSettings(expertTimes));
    }
    storage.stored = std::string(largestStoredSettings + 1, ' ') + "DIFFICULTY:EXPERT";
    WebSettingsStore store(storage);
    EXPECT_EQ(store.read(), std::nullopt);
    EXPECT_EQ(storage.writes, 0);
}

// Storage full or switched off: the save says so and the stored text stays; with room
// again, the next save is kept.
TEST(WebSettingsStore, ARefusedSaveIsReportedAndKeepsWhatWasStored) {
    FakeStorage storage;
    storage.stored = formatSettings(noviceLotsOf);
    Visit visit(storage);
    storage.refuse = true;
    EXPECT_FALSE(keepSettings(expertTimes));
    EXPECT_EQ(storage.stored, formatSettings(noviceLotsOf));
    storage.refuse = false;
    EXPECT_TRUE(keepSettings(expertTimes));
    EXPECT_EQ(storage.stored, formatSettings(expertTimes));
}

// Two tabs: the second stores its choice, then the first confirms the settings it
// shows, unchanged since it started. The first tab's confirmed choice is the last one
// made, so it is the one kept.
TEST(WebSettingsStore, AConfirmedSaveIsStoredEvenWhenItEqualsWhatWasRead) {
    FakeStorage storage;
    storage.stored = formatSettings(noviceLotsOf);
    Visit first(storage);
    {
        Visit second(storage);
        ASSERT_TRUE(keepSettings(expertTimes));
    }
    installSettingsStore(&first.store);
    ASSERT_TRUE(keepSettings(settingsOf(first.panel)));
    EXPECT_EQ(storage.stored, formatSettings(noviceLotsOf));
    EXPECT_EQ(storage.writes, 2);
}

// Several visits in a row: each one's confirmed settings are what the next one starts
// with.
TEST(WebSettingsStore, SettingsLastFromVisitToVisit) {
    FakeStorage storage;
    for (int visit = 0; visit < 20; ++visit) {
        const UserSettings chosen = {visit % 2 == 0, visit % 3 == 0, visit % 5 == 0, visit % 5};
        {
            Visit now(storage);
            ASSERT_TRUE(keepSettings(chosen));
        }
        Visit next(storage);
        EXPECT_EQ(formatSettings(settingsOf(next.panel)), formatSettings(chosen)) << visit;
    }
}

}  // namespace
