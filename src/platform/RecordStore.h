// Where each pupil's practice record is kept is the platform's business: two files in
// the pupil's own folder beside the settings on the desktop, the browser's storage on
// the web. The record (features/record) appends whole rows through this one service and
// knows nothing of files; each backend installs its store at start-up, tests a fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The record's two files of one pupil, and the older copy each is moved to when full.
enum class RecordFile { Questions, Entries, OlderQuestions, OlderEntries };

// The file's name: "questions.csv", "entries.csv", "questions-older.csv", ...
const char* recordFileName(RecordFile file);

class RecordStore {
public:
    virtual ~RecordStore() = default;
    // Adds bytes at the end of the pupil's file, made with its folder when missing, in
    // one write, so that a crash leaves at most that write torn. False when not written.
    virtual bool append(const std::string& pupil, RecordFile file, const std::string& bytes) = 0;
    // The file's size in bytes; 0 when there is none.
    virtual std::uint64_t size(const std::string& pupil, RecordFile file) = 0;
    // The file's last bytes, at most count of them; empty when there is no file.
    virtual std::string tail(const std::string& pupil, RecordFile file, std::size_t count) = 0;
    // The whole file; nothing when there is none or it cannot be read.
    virtual std::optional<std::string> read(const std::string& pupil, RecordFile file) = 0;
    // Moves a full file to its older copy (Questions to OlderQuestions, Entries to
    // OlderEntries), replacing the older one, so that the next append starts it anew.
    virtual bool rotate(const std::string& pupil, RecordFile file) = 0;
    // Deletes the pupil's record, all four files.
    virtual bool remove(const std::string& pupil) = 0;
};

// The pointer is not owned; null (the default) means no record is kept.
void installRecordStore(RecordStore* store);
RecordStore* recordStore();

// The pupil practising now, whose record the rows go to: the account's user name on the
// desktop, "this device" on the web, set by the backend at start-up. A class list sets
// it when a pupil picks their name. UTF-8.
void setCurrentPupil(std::string pupil);
const std::string& currentPupil();
