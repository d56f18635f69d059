// Replacing the whole contents of a small text file so that the file stays what it was
// (its links, owner, group and permissions) and a failed or interrupted write never
// leaves it damaged or strands temporary files beside it.
#pragma once

#include <filesystem>
#include <string>

// Writes `contents` (text mode: CR LF line ends on Windows) as the whole of the file at
// `path`, following symbolic links as opening it for writing would. Where it can, the
// new contents go to the one temporary file `<name>.new` beside the real file and
// replace it in a single rename, so that a reader sees the old file or the new one.
// The file is rewritten in place instead when no temporary file can be made beside it
// (a read-only folder), when it has more than one hard link, and when the replacement
// could not keep its owner and group. False when the file cannot be written; a failed
// replacement leaves the old file as it was.
bool rewriteFile(const std::filesystem::path& path, const std::string& contents);

// The temporary name used beside `target`.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target);
