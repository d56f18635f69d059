// Replacing the whole contents of a small text file so that the file stays what it was
// (its links, owner, group and permissions) and a failed or interrupted write leaves
// the old contents or the new ones, never anything else.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

// The most a rewrite in place writes at once: the new contents and the line that ends
// the reading after them must fit in the one page a single write changes whole. The old
// file may be of any size.
inline constexpr std::size_t largestInPlaceRewrite = 4096;

// Writes contents (LF line ends; CR LF on Windows, as a text-mode write would) as the
// whole of the file at path. A symbolic link at path is replaced by the new file, never
// written through. Where it can, the new contents go to the one temporary file
// temporaryPathFor(path) and replace the file in a single rename. Where that would
// change what the file is (more than one hard link, an owner the process may not give
// it) or no temporary file can be made (a read-only folder), an existing file is
// rewritten in place: grown with trailing spaces where it is shorter, its start then
// overwritten in one write by the new contents and a line beginning with a colon (which
// ends the settings reader), then cut to the new contents, so that every state in
// between reads as the old settings or the new ones.
// Waits at most a second for another save of the same file. False when the file
// cannot be written; the old file is then as it was.
bool rewriteFile(const std::filesystem::path& path, const std::string& contents);

// The temporary name used beside target; no other name beside it is touched.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target);

// The steps of a rewrite that change a file, in the order a save may take them.
enum class RewriteStep {
    MakeTemporary,
    WriteTemporary,
    SyncTemporary,
    Replace,
    GrowInPlace,
    WriteInPlace,
    CutInPlace,
    SyncInPlace,
};

// For tests: asked before each step; false makes that step fail as on a full disk (a
// write then keeps only half of its bytes). An empty check lets every step go ahead.
void setRewriteStepCheck(std::function<bool(RewriteStep)> check);
