// Pixel read-back, PNG writing and scratch folders for the backend's tests.
#include "Win32TestSupport.h"

#include <random>

namespace {
CLSID pngEncoder() {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<unsigned char> storage(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return encoders[i].Clsid;
        }
    }
    return CLSID{};
}
}  // namespace

Pixels::Pixels(HDC source, int width, int height)
    : columns(width), rows(height), values(static_cast<std::size_t>(width) * height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copyDC = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(copyDC, copy);
    BitBlt(copyDC, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = data[i] | 0xFF000000u;
    }
    SelectObject(copyDC, previous);
    DeleteDC(copyDC);
    DeleteObject(copy);
}

Colour Pixels::at(int x, int y) const {
    return values[static_cast<std::size_t>(y) * columns + x];
}

std::pair<int, int> Pixels::inkColumns(int top, int bottom) const {
    int first = columns;
    int last = -1;
    for (int y = top; y < bottom; ++y) {
        for (int x = 1; x < columns - 1; ++x) {
            const Colour c = at(x, y);
            const int grey = (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3;
            if (grey < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

bool Pixels::rowIsWhite(int y) const {
    for (int x = 1; x < columns - 1; ++x) {
        if (at(x, y) != 0xFFFFFFFF) {
            return false;
        }
    }
    return true;
}

void writePng(const std::filesystem::path& path, int width, int height,
              const std::function<Colour(int, int)>& colourAt) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, toGdiColor(colourAt(x, y)));
        }
    }
    const CLSID encoder = pngEncoder();
    bitmap.Save(path.wstring().c_str(), &encoder, nullptr);
}

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    path = std::filesystem::temp_directory_path() /
           ("bricketing-win32-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& path)
    : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code error;
    std::filesystem::current_path(previous, error);
}

bool pumpUntil(const std::function<bool()>& condition, int milliseconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    return true;
}
