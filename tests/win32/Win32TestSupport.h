// Helpers for the Win32 backend's tests: reading back a buffer's device pixels,
// writing PNG files for the image tests, and a scratch folder.
#pragma once

#include "platform/win32/Win32Windows.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Win32Drawing.h"

// A copy of a device context's pixels, as opaque ARGB values.
class Pixels {
public:
    Pixels(HDC source, int width, int height);
    explicit Pixels(const Win32BackBuffer& buffer)
        : Pixels(buffer.deviceContext(), buffer.pixelWidth(), buffer.pixelHeight()) {}
    Colour at(int x, int y) const;
    int width() const { return columns; }
    int height() const { return rows; }
    // The first and last columns in rows [top, bottom) holding a pixel darker than
    // mid-grey, leaving out the buffer's outline; first > last when there is none.
    std::pair<int, int> inkColumns(int top, int bottom) const;
    bool rowIsWhite(int y) const;

private:
    int columns = 0;
    int rows = 0;
    std::vector<std::uint32_t> values;
};

// Writes a PNG of width x height whose pixel colours come from colourAt.
void writePng(const std::filesystem::path& path, int width, int height,
              const std::function<Colour(int, int)>& colourAt);

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::filesystem::path path;
};

// Makes path the working directory for the object's life.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous;
};

// Dispatches the thread's waiting messages until condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& condition, int milliseconds = 3000);
