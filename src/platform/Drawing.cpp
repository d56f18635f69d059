// The installed drawing services and the free functions that forward to them.
#include "platform/Drawing.h"

#include <cassert>

namespace {
DrawingServices* installedServices = nullptr;
}

void installDrawingServices(DrawingServices* services) {
    installedServices = services;
}

DrawingServices& drawingServices() {
    assert(installedServices != nullptr && "Drawing services must be installed before use");
    return *installedServices;
}

std::unique_ptr<Font> makeFont(float sizeInPoints) {
    return drawingServices().makeFont(sizeInPoints);
}

std::unique_ptr<Image> loadImage(const std::string& path) {
    return drawingServices().loadImage(path);
}
