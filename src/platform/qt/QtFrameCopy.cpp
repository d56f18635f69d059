// Row-by-row comparison and copy of a frame into the window's picture.
#include "platform/qt/QtFrameCopy.h"

#include <algorithm>
#include <cstring>

namespace {
// The first and last differing pixel of two rows of 32-bit pixels, when they differ.
bool changedColumns(const QRgb* source, const QRgb* shown, int width, int& first, int& last) {
    int left = 0;
    while (left < width && source[left] == shown[left]) {
        ++left;
    }
    if (left == width) {
        return false;
    }
    int right = width - 1;
    while (source[right] == shown[right]) {
        --right;
    }
    first = left;
    last = right;
    return true;
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
        if (std::memcmp(from, to, rowBytes) == 0 || !changedColumns(from, to, width, first, last)) {
            continue;
        }
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
