// The few file calls the desktop settings store makes, on open descriptors, with one
// meaning on Linux and on Windows. Paths stay std::filesystem paths all the way to the
// system: wide calls on Windows, so a folder or account named in any script works.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// An open file, closed when it goes.
class NativeFile {
public:
    NativeFile() = default;
    explicit NativeFile(int descriptor) : descriptor(descriptor) {}
    ~NativeFile();
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    bool isOpen() const { return descriptor >= 0; }
    int get() const { return descriptor; }
    void close();

private:
    int descriptor = -1;
};

// How long a save waits for another one writing the same temporary file.
inline constexpr std::chrono::milliseconds longestLockWait{1000};

// Opens for reading without waiting: a FIFO nobody writes to does not block.
NativeFile openToRead(const std::filesystem::path& path);
// Opens an existing file for reading and writing, neither creating nor emptying it.
NativeFile openToUpdate(const std::filesystem::path& path);
// Opens or creates the temporary file at path for writing and holds it for this save
// alone, waiting at most longestLockWait for a save that holds it. busy tells a wait
// that ran out from a file that cannot be made at all.
NativeFile openTemporary(const std::filesystem::path& path, bool& busy);

// Opens or creates a file for reading and for writes that always land at its end (the
// practice record's rows), neither emptying it nor following a link at its own name.
NativeFile openToAppend(const std::filesystem::path& path);
// Writes all of bytes at the file's end in one call; false when not all were written.
bool appendAtEnd(const NativeFile& file, std::string_view bytes);
// The byte at offset; nothing when it cannot be read.
std::optional<char> byteAt(const NativeFile& file, std::uint64_t offset);

bool isRegularFile(const NativeFile& file);
std::optional<std::uint64_t> sizeOf(const NativeFile& file);
// Reads from the start, at most limit bytes.
std::optional<std::string> readUpTo(const NativeFile& file, std::size_t limit);
// Writes all of bytes at offset in one call; false when not all were written.
bool writeAt(const NativeFile& file, std::uint64_t offset, std::string_view bytes);
bool resizeTo(const NativeFile& file, std::uint64_t size);
// Pushes the file's data to the disk.
bool syncToDisk(const NativeFile& file);

// Puts the file at from under the name to, replacing what is there in one step. On
// Windows the file must be closed first.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);
void removeFile(const std::filesystem::path& path);
// Makes a rename into the folder durable. Best effort.
void syncFolder(const std::filesystem::path& folder);

// Gives the newly made file the owner, group and permissions of the file at old. False
// when it may not have that owner and group, so that replacing would hand the file to
// someone else. On Windows a replacement keeps what a pupil's file needs: true.
bool takeOverOwnership(const NativeFile& made, const std::filesystem::path& old);

// Whether the process may write into the existing file at path.
bool mayWriteFile(const std::filesystem::path& path);
// Whether a new file can be made in folder (tried with a file that is gone at once).
bool mayCreateIn(const std::filesystem::path& folder);
