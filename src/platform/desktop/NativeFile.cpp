// The file calls on POSIX descriptors, and on Windows on the C runtime's descriptors
// opened through the wide calls.
#include "platform/desktop/NativeFile.h"

#include <cerrno>
#include <thread>

#if defined(_WIN32)
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds lockRetryPause{10};

#if defined(_WIN32)

int closeDescriptor(int descriptor) {
    return _close(descriptor);
}

// A handle turned into a C runtime descriptor, which then owns it.
NativeFile fromHandle(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (descriptor < 0) {
        CloseHandle(handle);
    }
    return NativeFile(descriptor);
}

HANDLE handleOf(const NativeFile& file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.get()));
}

#else

int closeDescriptor(int descriptor) {
    return ::close(descriptor);
}

bool sameFile(int descriptor, const fs::path& name) {
    struct stat opened {};
    struct stat named {};
    return fstat(descriptor, &opened) == 0 && lstat(name.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// The one write lock on the whole file, waited for at most longestLockWait. A file
// system without locks still gets its save: only two saves at the same moment are then
// not kept apart.
bool lockWithinTheWait(int descriptor) {
    const auto deadline = std::chrono::steady_clock::now() + longestLockWait;
    for (;;) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (fcntl(descriptor, F_SETLK, &lock) == 0) {
            return true;
        }
        if (errno != EACCES && errno != EAGAIN && errno != EINTR) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(lockRetryPause);
    }
}

#endif

}  // namespace

NativeFile::~NativeFile() {
    close();
}

NativeFile::NativeFile(NativeFile&& other) noexcept : descriptor(other.descriptor) {
    other.descriptor = -1;
}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        close();
        descriptor = other.descriptor;
        other.descriptor = -1;
    }
    return *this;
}

void NativeFile::close() {
    if (descriptor >= 0) {
        closeDescriptor(descriptor);
        descriptor = -1;
    }
}

#if defined(_WIN32)

NativeFile openToRead(const fs::path& path) {
    return fromHandle(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

NativeFile openToUpdate(const fs::path& path) {
    return fromHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Opened without sharing: a second save meets a sharing violation until the first has
// closed it.
NativeFile openTemporary(const fs::path& path, bool& busy) {
    busy = false;
    const auto deadline = std::chrono::steady_clock::now() + longestLockWait;
    for (;;) {
        const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return fromHandle(handle);
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) {
            return {};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            busy = true;
            return {};
        }
        std::this_thread::sleep_for(lockRetryPause);
    }
}

NativeFile openToAppend(const fs::path& path) {
    return fromHandle(CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Opened with FILE_APPEND_DATA alone, every write goes to the end.
bool appendAtEnd(const NativeFile& file, std::string_view bytes) {
    DWORD written = 0;
    return WriteFile(handleOf(file), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

std::optional<char> byteAt(const NativeFile& file, std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xffffffffu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    char byte = 0;
    DWORD got = 0;
    if (!ReadFile(handleOf(file), &byte, 1, &got, &at) || got != 1) {
        return std::nullopt;
    }
    return byte;
}

bool isRegularFile(const NativeFile& file) {
    return file.isOpen() && GetFileType(handleOf(file)) == FILE_TYPE_DISK;
}

std::optional<std::uint64_t> sizeOf(const NativeFile& file) {
    LARGE_INTEGER size{};
    if (!file.isOpen() || !GetFileSizeEx(handleOf(file), &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::string> readUpTo(const NativeFile& file, std::size_t limit) {
    std::string bytes(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        DWORD got = 0;
        if (!ReadFile(handleOf(file), bytes.data() + filled, static_cast<DWORD>(limit - filled),
                      &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

bool writeAt(const NativeFile& file, std::uint64_t offset, std::string_view bytes) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xffffffffu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    return WriteFile(handleOf(file), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     &at) &&
           written == bytes.size();
}

bool resizeTo(const NativeFile& file, std::uint64_t size) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handleOf(file), end, nullptr, FILE_BEGIN) &&
           SetEndOfFile(handleOf(file));
}

bool syncToDisk(const NativeFile& file) {
    return FlushFileBuffers(handleOf(file)) != 0;
}

bool replaceFile(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeFile(const fs::path& path) {
    DeleteFileW(path.c_str());
}

void syncFolder(const fs::path&) {}  // MOVEFILE_WRITE_THROUGH has done it

bool takeOverOwnership(const NativeFile&, const fs::path&) {
    return true;
}

bool mayWriteFile(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) == 0 &&
           openToUpdate(path).isOpen();
}

bool mayCreateIn(const fs::path& folder) {
    const fs::path probe = folder / L"settings.txt.bricketing-probe";
    const HANDLE handle =
        CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

#else

NativeFile openToRead(const fs::path& path) {
    return NativeFile(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

NativeFile openToUpdate(const fs::path& path) {
    return NativeFile(open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
}

// Creates the name or takes over what an interrupted save left there. A stray of
// another account, or a link planted under the name, is removed first; one that waited
// for the lock starts again when the save before it has renamed the file away.
NativeFile openTemporary(const fs::path& path, bool& busy) {
    busy = false;
    constexpr int attempts = 8;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // The creation mask applies, as for any new file.
        NativeFile file(open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file.isOpen()) {
            const bool blocked = errno == EACCES || errno == EPERM || errno == ELOOP;
            if (blocked && unlink(path.c_str()) == 0) {
                continue;
            }
            return {};
        }
        if (!lockWithinTheWait(file.get())) {
            busy = true;
            return {};
        }
        if (sameFile(file.get(), path)) {
            return file;
        }
    }
    return {};
}

NativeFile openToAppend(const fs::path& path) {
    return NativeFile(open(
        path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
}

bool appendAtEnd(const NativeFile& file, std::string_view bytes) {
    for (;;) {
        const ssize_t written = write(file.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        return written >= 0 && static_cast<std::size_t>(written) == bytes.size();
    }
}

std::optional<char> byteAt(const NativeFile& file, std::uint64_t offset) {
    char byte = 0;
    if (pread(file.get(), &byte, 1, static_cast<off_t>(offset)) != 1) {
        return std::nullopt;
    }
    return byte;
}

bool isRegularFile(const NativeFile& file) {
    struct stat status {};
    return file.isOpen() && fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<std::uint64_t> sizeOf(const NativeFile& file) {
    struct stat status {};
    if (!file.isOpen() || fstat(file.get(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::string> readUpTo(const NativeFile& file, std::size_t limit) {
    std::string bytes(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        const ssize_t got = read(file.get(), bytes.data() + filled, limit - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

bool writeAt(const NativeFile& file, std::uint64_t offset, std::string_view bytes) {
    const ssize_t written =
        pwrite(file.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    return written >= 0 && static_cast<std::size_t>(written) == bytes.size();
}

bool resizeTo(const NativeFile& file, std::uint64_t size) {
    return ftruncate(file.get(), static_cast<off_t>(size)) == 0;
}

bool syncToDisk(const NativeFile& file) {
    return fsync(file.get()) == 0;
}

bool replaceFile(const fs::path& from, const fs::path& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

void removeFile(const fs::path& path) {
    unlink(path.c_str());
}

void syncFolder(const fs::path& folder) {
    NativeFile opened(open(folder.c_str(), O_RDONLY | O_CLOEXEC));
    if (opened.isOpen()) {
        fsync(opened.get());
    }
}

bool takeOverOwnership(const NativeFile& made, const fs::path& old) {
    struct stat was {};
    struct stat now {};
    if (stat(old.c_str(), &was) != 0 || fstat(made.get(), &now) != 0) {
        return false;
    }
    if ((now.st_uid != was.st_uid || now.st_gid != was.st_gid) &&
        fchown(made.get(), was.st_uid, was.st_gid) != 0) {
        return false;
    }
    fchmod(made.get(), was.st_mode & 07777);  // best effort, as the owner may always
    return true;
}

bool mayWriteFile(const fs::path& path) {
    return access(path.c_str(), W_OK) == 0;
}

bool mayCreateIn(const fs::path& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

#endif
