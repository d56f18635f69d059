// Rewriting a small file through one temporary name beside it, or in place where a
// replacement would change what the file is or where no temporary file can be made.
#include "platform/desktop/FileRewrite.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/desktop/NativeFile.h"

namespace fs = std::filesystem;

namespace {

std::function<bool(RewriteStep)> stepCheck;

bool stepAllowed(RewriteStep step) {
    return !stepCheck || stepCheck(step);
}

// A write as a step: refused, it keeps half of its bytes, as a disk that fills up would.
bool writeStep(RewriteStep step, const NativeFile& file, std::uint64_t offset,
               std::string_view bytes) {
    if (!stepAllowed(step)) {
        writeAt(file, offset, bytes.substr(0, bytes.size() / 2));
        return false;
    }
    return writeAt(file, offset, bytes);
}

enum class Outcome {
    Replaced,        // the temporary file now stands under the file's name
    Failed,          // nothing changed, and writing in place would not do better
    RewriteInPlace,  // no temporary file could be made, or it could not keep the owner
};

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

std::string onDisk(const std::string& text) {
#if defined(_WIN32)
    std::string written;
    for (char c : text) {
        written += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return written;
#else
    return text;
#endif
}

// Writes the temporary file whole and renames it over the target. A save cut short
// leaves at most the temporary file, which the next save takes over.
Outcome replaceThroughTemporary(const fs::path& target, const std::string& bytes, bool replacing) {
    const fs::path temporary = temporaryPathFor(target);
    bool busy = false;
    NativeFile file =
        stepAllowed(RewriteStep::MakeTemporary) ? openTemporary(temporary, busy) : NativeFile();
    if (!file.isOpen()) {
        return busy ? Outcome::Failed : Outcome::RewriteInPlace;
    }
    if (!resizeTo(file, 0)) {
        removeFile(temporary);
        return Outcome::Failed;
    }
    if (replacing && !takeOverOwnership(file, target)) {
        removeFile(temporary);
        return Outcome::RewriteInPlace;
    }
    bool written = writeStep(RewriteStep::WriteTemporary, file, 0, bytes) &&
                   stepAllowed(RewriteStep::SyncTemporary) && syncToDisk(file);
#if defined(_WIN32)
    file.close();  // Windows renames only a closed file
#endif
    written = written && stepAllowed(RewriteStep::Replace) && replaceFile(temporary, target);
    if (!written) {
        // Removed while still held, so that a save waiting for it starts afresh.
        removeFile(temporary);
        return Outcome::Failed;
    }
    return Outcome::Replaced;
}

// Puts back the old start of the file and its old length after a failed overwrite.
void restore(const NativeFile& file, const std::string& oldStart, std::uint64_t oldSize) {
    writeAt(file, 0, oldStart);
    resizeTo(file, oldSize);
    syncToDisk(file);
}

// A line that begins with a colon ends the settings reader, so what stands after the new
// text and that line is never read, however much of the old file it is. The file grows
// by spaces first where it is shorter than that (the disk's room is claimed before
// anything is overwritten; spaces after the last entry change nothing read), then the
// new text and the line that ends the reading replace its start in one write within
// one page, then the file is cut to the new text: each state between reads as the old
// settings or the new ones, whatever the old file's size.
bool rewriteInPlace(const fs::path& target, const std::string& bytes) {
    const std::string start = bytes + "\n:";
    NativeFile file = openToUpdate(target);
    const std::optional<std::uint64_t> size = sizeOf(file);
    if (!file.isOpen() || !isRegularFile(file) || !size || start.size() > largestInPlaceRewrite) {
        return false;
    }
    const std::size_t replaced =
        static_cast<std::size_t>(std::min<std::uint64_t>(*size, start.size()));
    const std::optional<std::string> old = readUpTo(file, replaced);
    if (!old || old->size() != replaced) {
        return false;
    }
    if (*size < start.size()) {
        const std::string growth(start.size() - *size, ' ');
        if (!writeStep(RewriteStep::GrowInPlace, file, *size, growth) || !syncToDisk(file)) {
            restore(file, *old, *size);
            return false;
        }
    }
    if (!writeStep(RewriteStep::WriteInPlace, file, 0, start)) {
        restore(file, *old, *size);
        return false;
    }
    return stepAllowed(RewriteStep::CutInPlace) && resizeTo(file, bytes.size()) &&
           stepAllowed(RewriteStep::SyncInPlace) && syncToDisk(file);
}

}  // namespace

fs::path temporaryPathFor(const fs::path& target) {
    fs::path temporary = target;
    temporary += ".bricketing-save";
    return temporary;
}

void setRewriteStepCheck(std::function<bool(RewriteStep)> check) {
    stepCheck = std::move(check);
}

bool rewriteFile(const fs::path& path, const std::string& contents) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    const std::string bytes = onDisk(contents);
    // A symbolic link is replaced by the file, never written through: the file it names
    // may be anyone's.
    if (fs::is_symlink(status)) {
        if (replaceThroughTemporary(path, bytes, false) != Outcome::Replaced) {
            return false;
        }
        syncFolder(folderOf(path));
        return true;
    }
    const bool replacing = fs::exists(status);
    if (replacing && (!fs::is_regular_file(status) || !mayWriteFile(path))) {
        return false;  // a folder is no file to write, and a read-only file stays as it is
    }
    // Another name for the same file would keep the old contents after a rename.
    const bool linkedElsewhere = replacing && linkCountOf(path) > 1;
    const Outcome outcome =
        linkedElsewhere ? Outcome::RewriteInPlace : replaceThroughTemporary(path, bytes, replacing);
    if (outcome == Outcome::Replaced) {
        syncFolder(folderOf(path));
        return true;
    }
    // A file that is not there yet has nothing to rewrite in place.
    return outcome == Outcome::RewriteInPlace && replacing && rewriteInPlace(path, bytes);
}
