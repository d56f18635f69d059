// The practice record on the desktop: a folder per pupil under record/ beside the
// settings file (the portable copy's Data/record/, or record/ in the per-user folder of
// an installed copy), holding questions.csv and entries.csv.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/RecordStore.h"

class DesktopRecordStore : public RecordStore {
public:
    // recordFolder: the folder that holds a folder per pupil (empty: nowhere to keep it).
    explicit DesktopRecordStore(std::filesystem::path recordFolder);

    // The record folder for this run: record/ in the folder the settings are saved to.
    static std::filesystem::path folderBesideSettings(const std::filesystem::path& perUserFolder);
    // A pupil's name (UTF-8) as a folder name on every system, as their settings'
    // folder is named (pupilFileName).
    static std::string folderName(const std::string& pupil);

    bool append(const std::string& pupil, RecordFile file, const std::string& bytes) override;
    std::uint64_t size(const std::string& pupil, RecordFile file) override;
    std::string tail(const std::string& pupil, RecordFile file, std::size_t count) override;
    std::optional<std::string> read(const std::string& pupil, RecordFile file) override;
    bool rotate(const std::string& pupil, RecordFile file) override;
    bool remove(const std::string& pupil) override;

    const std::filesystem::path& folder() const { return recordFolder; }
    std::filesystem::path pathOf(const std::string& pupil, RecordFile file) const;

private:
    std::filesystem::path recordFolder;
};

// One record file found for the report, with its whole text.
struct FoundRecordFile {
    std::filesystem::path path;
    std::string text;
};
// Every regular file named *.csv in the folders and their sub-folders (links not
// followed), read whole up to the largest a record file grows to. The report tells the
// questions from the entries by their header rows.
std::vector<FoundRecordFile> findRecordFiles(const std::vector<std::filesystem::path>& folders);
