// Copying a presented frame into the picture the window keeps, touching only the rows
// that changed: the window then repaints that band alone, and the X server copies the
// balloon's rows instead of the whole window.
#pragma once

#include <QImage>
#include <QRect>

// Makes shown equal to source and returns the band of whole rows from the first to the
// last that changed (empty when none did). shown keeps its memory from one frame to the
// next; it is made anew only when its size or format differs from source's.
QRect copyChangedPixels(const QImage& source, QImage& shown);
