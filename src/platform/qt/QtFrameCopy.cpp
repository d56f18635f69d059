// Row-by-row comparison and copy of a frame into the window's picture. Whole rows are
// compared with the library's comparison, which is the fastest way through the 1.9 MB;
// narrowing each changed row down to its changed columns as well cost more time than
// the smaller repaint saved.
#include "platform/qt/QtFrameCopy.h"

#include <cstring>

QRect copyChangedPixels(const QImage& source, QImage& shown) {
    if (shown.size() != source.size() || shown.format() != source.format() ||
        source.depth() != 32) {
        shown = source.copy();
        return shown.rect();
    }
    const int width = source.width();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(shown.scanLine(y));
        if (std::memcmp(from, to, rowBytes) == 0) {
            continue;
        }
        std::memcpy(to, from, rowBytes);
        top = top < 0 ? y : top;
        bottom = y;
    }
    if (top < 0) {
        return {};
    }
    return QRect(0, top, width, bottom - top + 1);
}
