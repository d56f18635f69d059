// Row-by-row comparison and copy of a frame into the window's picture.
#include "platform/qt/QtFrameCopy.h"

#include <algorithm>
#include <cstring>

namespace {
// Pixels compared at once while looking for a change: a fixed-size comparison the
// compiler turns into a few wide loads instead of a pixel-by-pixel loop.
constexpr int groupPixels = 8;

bool groupDiffers(const QRgb* source, const QRgb* shown, int at) {
    return std::memcmp(source + at, shown + at, groupPixels * sizeof(QRgb)) != 0;
}

// The first and last differing pixel of two rows of 32-bit pixels that differ.
void changedColumns(const QRgb* source, const QRgb* shown, int width, int& first, int& last) {
    const int wholeGroups = width / groupPixels * groupPixels;
    int left = 0;
    while (left < wholeGroups && !groupDiffers(source, shown, left)) {
        left += groupPixels;
    }
    while (source[left] == shown[left]) {
        ++left;
    }
    int right = width - 1;
    while (right >= wholeGroups && source[right] == shown[right]) {
        --right;
    }
    if (right < wholeGroups) {
        int group = wholeGroups - groupPixels;
        while (group > left && !groupDiffers(source, shown, group)) {
            group -= groupPixels;
        }
        right = std::min(right, group + groupPixels - 1);
        while (source[right] == shown[right]) {
            --right;
        }
    }
    first = left;
    last = right;
}
}  // namespace

QRect copyChangedPixels(const QImage& source, QImage& shown) {
    if (shown.size() != source.size() || shown.format() != source.format() ||
        source.depth() != 32) {
        shown = source.copy();
        return shown.rect();
    }
    const int width = source.width();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(shown.scanLine(y));
        int first = 0;
        int last = 0;
        // Most rows are unchanged; the library's comparison finds that fastest.
        if (std::memcmp(from, to, rowBytes) == 0) {
            continue;
        }
        changedColumns(from, to, width, first, last);
        std::memcpy(to, from, rowBytes);
        left = std::min(left, first);
        right = std::max(right, last);
        top = top < 0 ? y : top;
        bottom = y;
    }
    if (top < 0) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
