// The program's run from start to exit on a given host, and the search for its
// run-time folders.
#pragma once

#include <filesystem>

#include "platform/Host.h"

// Makes the application, its window, and runs the frame loop; returns the exit code.
// When the working directory holds none of the run-time folders, says so once in a
// message box before the first frame. The drawing services must be installed.
int runProgram(Host& host);

// Makes the working directory the one that holds the Data, Resources and Help
// folders: an installed copy's share/bricketing beside the program's folder (marked by
// its Data/installed.txt) always; otherwise the current one if it has them, else the
// program's folder, its parent, or an unmarked share/bricketing beside it. False when none has them
// (the program then runs without its files).
bool enterRuntimeFolder(const std::filesystem::path& programFolder);
