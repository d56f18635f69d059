// The folder of the files a teacher edits: the levels, the settings every pupil starts
// with, and whatever else a class is set up with. The backend says where it is when it
// starts (on the desktop, platform/desktop/TeacherFolder.h works it out); the core asks
// here for a file's place and knows nothing of installed copies or /etc.
#pragma once

#include <filesystem>
#include <string_view>

// The folder's path, absolute or relative to the working directory. "Data" until a
// backend installs another.
void installTeacherFolder(std::filesystem::path folder);
const std::filesystem::path& teacherFolder();

// A file in that folder, e.g. teacherFile("levels.txt").
std::filesystem::path teacherFile(std::string_view name);
