// Where the files a teacher edits live on the desktop. A portable copy (an unpacked
// zip, the source tree, the Windows installer's folder) keeps them in its own Data
// folder. An installed Linux copy keeps them where the system keeps configuration, so
// that an upgrade never replaces them: for the run-time folder <prefix>/share/bricketing
// that is /etc/bricketing when the prefix is /usr (and <root>/etc/bricketing for a
// package unpacked under <root>/usr), <prefix>/etc/bricketing for any other prefix.
// When that folder is missing, the copy's own Data folder is used.
#pragma once

#include <filesystem>

// The rule alone, for a run-time folder (absolute) and whether it is an installed copy
// on a system whose configuration lives under etc.
std::filesystem::path teacherFolderFor(const std::filesystem::path& runtimeFolder,
                                       bool installedUnderEtc);

// For this run: the working directory as the run-time folder (the program has entered
// it), its Data/installed.txt marker, and Linux or not.
std::filesystem::path desktopTeacherFolder();
