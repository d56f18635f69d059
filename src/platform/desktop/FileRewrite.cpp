// Rewriting a small file through one temporary name beside it, or in place where a
// replacement would change what the file is or where no temporary file can be made.
#include "platform/desktop/FileRewrite.h"

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

// Follows links to the file they name, as opening for writing does, so that a link
// stays a link and a dangling one leads to the file opening it would create. Nothing
// when the links go round in a circle or too deep.
std::optional<fs::path> followLinks(const fs::path& path) {
    constexpr int deepest = 40;  // the limit Linux itself sets on links in one lookup
    fs::path current = path;
    std::error_code error;
    for (int depth = 0; depth < deepest; ++depth) {
        if (!fs::is_symlink(current, error)) {
            return current;
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            return std::nullopt;
        }
        // A relative target is resolved by the system from the link's own folder.
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return std::nullopt;
}

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

// Puts the old bytes back after a failed overwrite.
void restore(const NativeFile& file, const std::string& old) {
    writeAt(file, 0, old);
    resizeTo(file, old.size());
    syncToDisk(file);
}

// Spaces after the last entry change nothing a reader takes from the file, and every
// file this writes ends with its last entry and no line end. So the file grows by
// spaces first (the disk's room is claimed before anything is overwritten), then the
// new text padded to that length replaces the old in one write of one page, then the
// padding goes: each state between reads as the old settings or the new ones.
bool rewriteInPlace(const fs::path& target, const std::string& bytes) {
    NativeFile file = openToUpdate(target);
    const std::optional<std::uint64_t> size = sizeOf(file);
    if (!file.isOpen() || !isRegularFile(file) || !size || *size > largestInPlaceRewrite ||
        bytes.size() > largestInPlaceRewrite) {
        return false;
    }
    const std::optional<std::string> old = readUpTo(file, static_cast<std::size_t>(*size));
    if (!old || old->size() != *size) {
        return false;
    }
    const std::size_t length = std::max(old->size(), bytes.size());
    if (length > old->size()) {
        const std::string growth(length - old->size(), ' ');
        if (!writeStep(RewriteStep::GrowInPlace, file, old->size(), growth) || !syncToDisk(file)) {
            restore(file, *old);
            return false;
        }
    }
    const std::string padded = bytes + std::string(length - bytes.size(), ' ');
    if (!writeStep(RewriteStep::WriteInPlace, file, 0, padded)) {
        restore(file, *old);
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
    const std::optional<fs::path> target = followLinks(path);
    if (!target) {
        return false;
    }
    std::error_code error;
    const fs::file_status status = fs::status(*target, error);
    const bool replacing = fs::exists(status);
    if (replacing && (!fs::is_regular_file(status) || !mayWriteFile(*target))) {
        return false;  // a folder is no file to write, and a read-only file stays as it is
    }
    const std::string bytes = onDisk(contents);
    // Another name for the same file would keep the old contents after a rename.
    const bool linkedElsewhere = replacing && fs::hard_link_count(*target, error) > 1;
    const Outcome outcome = linkedElsewhere ? Outcome::RewriteInPlace
                                            : replaceThroughTemporary(*target, bytes, replacing);
    if (outcome == Outcome::Replaced) {
        syncFolder(folderOf(*target));
        return true;
    }
    // A file that is not there yet has nothing to rewrite in place.
    return outcome == Outcome::RewriteInPlace && replacing && rewriteInPlace(*target, bytes);
}
