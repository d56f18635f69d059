// Appending whole rows to the record's files, and finding the files a teacher gathered.
#include "platform/desktop/DesktopRecordStore.h"

#include <algorithm>
#include <system_error>

#include "platform/Pupil.h"
#include "platform/desktop/NativeFile.h"
#include "platform/desktop/SettingsLocation.h"
#include "words/Words.h"

namespace fs = std::filesystem;

namespace {

// More than a record file grows to (it is moved aside at 16 MB) and little enough that
// a stray huge file cannot fill the memory.
constexpr std::size_t largestRecordRead = 64u * 1024u * 1024u;

std::optional<std::string> readWhole(const fs::path& path) {
    const NativeFile file = openToRead(path);
    if (!isRegularFile(file)) {
        return std::nullopt;
    }
    return readUpTo(file, largestRecordRead);
}

RecordFile olderOf(RecordFile file) {
    return file == RecordFile::Entries ? RecordFile::OlderEntries : RecordFile::OlderQuestions;
}

}  // namespace

DesktopRecordStore::DesktopRecordStore(fs::path recordFolder)
    : recordFolder(std::move(recordFolder)) {}

fs::path DesktopRecordStore::folderBesideSettings(const fs::path& perUserFolder) {
    const fs::path settings = settingsFilesFor(findSettingsPlaces(perUserFolder)).toWrite;
    if (settings.empty()) {
        return {};
    }
    return (settings.has_parent_path() ? settings.parent_path() : fs::path(".")) / "record";
}

std::string DesktopRecordStore::folderName(const std::string& pupil) {
    return pupilFileName(words::fromUtf8(pupil));
}

fs::path DesktopRecordStore::pathOf(const std::string& pupil, RecordFile file) const {
    const std::string name = folderName(pupil);
    return recordFolder / fs::path(std::u8string(name.begin(), name.end())) / recordFileName(file);
}

bool DesktopRecordStore::append(const std::string& pupil, RecordFile file,
                                const std::string& bytes) {
    if (recordFolder.empty()) {
        return false;
    }
    const fs::path path = pathOf(pupil, file);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    const NativeFile opened = openToAppend(path);
    if (!isRegularFile(opened)) {
        return false;
    }
    return appendAtEnd(opened, bytes);
}

std::uint64_t DesktopRecordStore::size(const std::string& pupil, RecordFile file) {
    if (recordFolder.empty()) {
        return 0;
    }
    const NativeFile opened = openToRead(pathOf(pupil, file));
    return isRegularFile(opened) ? sizeOf(opened).value_or(0) : 0;
}

std::string DesktopRecordStore::tail(const std::string& pupil, RecordFile file, std::size_t count) {
    if (recordFolder.empty()) {
        return {};
    }
    const NativeFile opened = openToRead(pathOf(pupil, file));
    const std::uint64_t size = isRegularFile(opened) ? sizeOf(opened).value_or(0) : 0;
    std::string bytes;
    for (std::uint64_t at = size - std::min<std::uint64_t>(size, count); at < size; ++at) {
        const std::optional<char> byte = byteAt(opened, at);
        if (!byte) {
            return {};
        }
        bytes += *byte;
    }
    return bytes;
}

std::optional<std::string> DesktopRecordStore::read(const std::string& pupil, RecordFile file) {
    if (recordFolder.empty()) {
        return std::nullopt;
    }
    return readWhole(pathOf(pupil, file));
}

bool DesktopRecordStore::rotate(const std::string& pupil, RecordFile file) {
    return !recordFolder.empty() && replaceFile(pathOf(pupil, file), pathOf(pupil, olderOf(file)));
}

bool DesktopRecordStore::remove(const std::string& pupil) {
    if (recordFolder.empty()) {
        return false;
    }
    for (RecordFile file : {RecordFile::Questions, RecordFile::Entries, RecordFile::OlderQuestions,
                            RecordFile::OlderEntries}) {
        removeFile(pathOf(pupil, file));
    }
    std::error_code error;
    fs::remove(pathOf(pupil, RecordFile::Questions).parent_path(), error);  // when empty
    return !fs::exists(pathOf(pupil, RecordFile::Questions), error);
}

std::vector<FoundRecordFile> findRecordFiles(const std::vector<fs::path>& folders) {
    std::vector<FoundRecordFile> found;
    for (const fs::path& folder : folders) {
        std::error_code error;
        fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied,
                                              error);
        std::vector<fs::path> paths;
        for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
            const fs::directory_entry& entry = *walk;
            std::error_code statusError;
            if (entry.is_regular_file(statusError) && !entry.is_symlink(statusError) &&
                entry.path().extension() == ".csv") {
                paths.push_back(entry.path());
            }
        }
        std::sort(paths.begin(), paths.end());
        for (const fs::path& path : paths) {
            if (std::optional<std::string> text = readWhole(path)) {
                found.push_back({path, std::move(*text)});
            }
        }
    }
    return found;
}
