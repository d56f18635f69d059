// The installed record store and the pupil practising now.
#include "platform/RecordStore.h"

#include <utility>

namespace {
RecordStore* installedStore = nullptr;

std::string& pupilNow() {
    static std::string pupil;
    return pupil;
}
}  // namespace

const char* recordFileName(RecordFile file) {
    switch (file) {
        case RecordFile::Questions:
            return "questions.csv";
        case RecordFile::Entries:
            return "entries.csv";
        case RecordFile::OlderQuestions:
            return "questions-older.csv";
        case RecordFile::OlderEntries:
            return "entries-older.csv";
    }
    return "questions.csv";
}

void installRecordStore(RecordStore* store) {
    installedStore = store;
}

RecordStore* recordStore() {
    return installedStore;
}

void setCurrentPupil(std::string pupil) {
    pupilNow() = std::move(pupil);
}

const std::string& currentPupil() {
    return pupilNow();
}
