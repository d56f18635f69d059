// Rewriting a small file through one fixed temporary name beside it, or in place where a
// replacement would change what the file is or where no temporary file can be made.
#include "lesson/FileRewrite.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

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

// Pushes the file's contents to the disk, so that the rename never exposes a file
// whose data is still only in memory.
bool syncFile(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself durable. Best effort: the new file is in place already.
void syncFolderOf(const fs::path& target) {
#if !defined(_WIN32)
    const int descriptor = open(folderOf(target).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
#else
    (void)target;
#endif
}

// Whether the process may write into the existing file. Replacing a file that could not
// be written in place must not get round its permissions.
bool mayWrite(const fs::path& path) {
#if defined(_WIN32)
    return _access(path.string().c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

bool writeAndFlush(std::FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
           std::fflush(file) == 0 && syncFile(file);
}

// As the file would be written were there no safer way: emptied, then written.
bool writeInPlace(const fs::path& path, const std::string& contents) {
    std::FILE* file = std::fopen(path.string().c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    const bool written = writeAndFlush(file, contents);
    return std::fclose(file) == 0 && written;
}

// Earlier versions wrote under a fresh name each time, "<name>.new-<digits>", and a save
// cut short left that file behind for good.
bool isOldTemporaryName(std::string_view entry, std::string_view prefix) {
    if (entry.size() <= prefix.size() || entry.substr(0, prefix.size()) != prefix) {
        return false;
    }
    for (char c : entry.substr(prefix.size())) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

void removeOldTemporaries(const fs::path& target) {
    const std::string prefix = target.filename().string() + ".new-";
    std::vector<fs::path> strays;
    std::error_code error;
    for (fs::directory_iterator entry(folderOf(target), error), end; !error && entry != end;
         entry.increment(error)) {
        if (isOldTemporaryName(entry->path().filename().string(), prefix)) {
            strays.push_back(entry->path());
        }
    }
    for (const fs::path& stray : strays) {
        fs::remove(stray, error);
    }
}

#if defined(_WIN32)

Outcome replaceThroughTemporary(const fs::path& target, const std::string& contents, bool) {
    const fs::path temporary = temporaryPathFor(target);
    std::FILE* file = std::fopen(temporary.string().c_str(), "w");  // truncates a stray
    if (file == nullptr) {
        return Outcome::RewriteInPlace;
    }
    const bool written = writeAndFlush(file, contents);
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (written && closed) {
        fs::rename(temporary, target, error);  // replaces the target in one step
        if (!error) {
            return Outcome::Replaced;
        }
    }
    fs::remove(temporary, error);
    return Outcome::Failed;
}

void removeOwnTemporary(const fs::path& target) {
    std::error_code ignored;
    fs::remove(temporaryPathFor(target), ignored);
}

#else

bool sameFile(int descriptor, const fs::path& name) {
    struct stat opened {};
    struct stat named {};
    return fstat(descriptor, &opened) == 0 && lstat(name.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Waits for the one write lock on the whole file. Best effort: a file system without
// locks still gets its save, only two saves at the same moment are then not kept apart.
void lockWhole(int descriptor) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    while (fcntl(descriptor, F_SETLKW, &lock) != 0 && errno == EINTR) {
    }
}

// Opens the temporary name, creating it or taking over what an interrupted save left
// there, and holds its lock: saves write it one at a time, and one that waited starts
// again when the save before it has renamed the file away. A stray of another account,
// or a link planted under the name, is removed first. -1 when none can be made.
int openTemporary(const fs::path& name) {
    constexpr int attempts = 8;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                                    0666);  // the creation mask applies, as for any new file
        if (descriptor < 0) {
            const bool blocked = errno == EACCES || errno == EPERM || errno == ELOOP;
            if (blocked && unlink(name.c_str()) == 0) {
                continue;
            }
            return -1;
        }
        lockWhole(descriptor);
        if (sameFile(descriptor, name)) {
            return descriptor;
        }
        close(descriptor);
    }
    return -1;
}

// Gives the new file the old one's owner, group and permissions. False when it may not
// have that owner and group, so that replacing would hand the file to someone else.
bool takeOver(int descriptor, const struct stat& old) {
    struct stat made {};
    if (fstat(descriptor, &made) != 0) {
        return false;
    }
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    fchmod(descriptor, old.st_mode & 07777);  // best effort, as the owner may always
    return true;
}

Outcome replaceThroughTemporary(const fs::path& target, const std::string& contents,
                                bool replacing) {
    struct stat old {};
    if (replacing && stat(target.c_str(), &old) != 0) {
        return Outcome::Failed;
    }
    const fs::path temporary = temporaryPathFor(target);
    const int descriptor = openTemporary(temporary);
    if (descriptor < 0) {
        return Outcome::RewriteInPlace;
    }
    std::FILE* file = fdopen(descriptor, "w");
    if (file == nullptr) {
        unlink(temporary.c_str());
        close(descriptor);
        return Outcome::Failed;
    }
    Outcome outcome = Outcome::Failed;
    if (ftruncate(descriptor, 0) != 0) {
        outcome = Outcome::Failed;
    } else if (replacing && !takeOver(descriptor, old)) {
        outcome = Outcome::RewriteInPlace;
    } else if (writeAndFlush(file, contents) && rename(temporary.c_str(), target.c_str()) == 0) {
        outcome = Outcome::Replaced;
    }
    // Removed while still locked, so that a save waiting for the lock starts afresh.
    if (outcome != Outcome::Replaced) {
        unlink(temporary.c_str());
    }
    std::fclose(file);  // also releases the lock
    return outcome;
}

// A temporary file left by an interrupted save, removed once the file has been written
// in place; one that another save is writing right now is waited for and left alone.
void removeOwnTemporary(const fs::path& target) {
    const fs::path temporary = temporaryPathFor(target);
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno != ENOENT) {
            unlink(temporary.c_str());
        }
        return;
    }
    lockWhole(descriptor);
    if (sameFile(descriptor, temporary)) {
        unlink(temporary.c_str());
    }
    close(descriptor);
}

#endif

}  // namespace

fs::path temporaryPathFor(const fs::path& target) {
    fs::path temporary = target;
    temporary += ".new";
    return temporary;
}

bool rewriteFile(const fs::path& path, const std::string& contents) {
    const std::optional<fs::path> target = followLinks(path);
    if (!target) {
        return false;
    }
    std::error_code error;
    const fs::file_status status = fs::status(*target, error);
    const bool replacing = fs::exists(status);
    if (replacing && (!fs::is_regular_file(status) || !mayWrite(*target))) {
        return false;  // a folder is no file to write, and a read-only file stays as it is
    }
    // Another name for the same file would keep the old contents after a rename.
    const bool linkedElsewhere = replacing && fs::hard_link_count(*target, error) > 1;
    const Outcome outcome = linkedElsewhere ? Outcome::RewriteInPlace
                                            : replaceThroughTemporary(*target, contents, replacing);
    if (outcome == Outcome::Failed) {
        return false;
    }
    if (outcome == Outcome::RewriteInPlace) {
        if (!writeInPlace(*target, contents)) {
            return false;
        }
        removeOwnTemporary(*target);
    } else {
        syncFolderOf(*target);
    }
    removeOldTemporaries(*target);
    return true;
}
