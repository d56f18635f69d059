// The record store installed for the run, the pupil named, the tests' clock chosen.
#include "platform/desktop/DesktopRecord.h"

#include <cstdlib>

#include "features/record/PracticeRecord.h"

DesktopRecord::DesktopRecord(const std::filesystem::path& perUserFolder,
                             const std::string& accountName)
    : store(DesktopRecordStore::folderBesideSettings(perUserFolder)) {
    installRecordStore(&store);
    // A class list, once chosen from, names the pupil instead.
    setCurrentPupil(accountName.empty() ? "pupil" : accountName);
    if (const char* start = std::getenv("BRICKETING_RECORD_CLOCK")) {
        if (const std::optional<RecordTime> time = parseIsoTime(start)) {
            setRecordClock(steppingClock(*time));
        }
    }
}

DesktopRecord::~DesktopRecord() {
    installRecordStore(nullptr);
}
