// Copying a presented frame into the picture the window keeps, touching only what
// changed: the window then repaints that part alone, and the X server copies a
// balloon's width instead of the whole window.
#pragma once

#include <QImage>
#include <QRect>

// Makes shown equal to source and returns the smallest rectangle holding every pixel
// that changed (empty when none did). shown keeps its memory from one frame to the
// next; it is made anew only when its size or format differs from source's.
QRect copyChangedPixels(const QImage& source, QImage& shown);
