// The installed drawing services and the free functions that forward to them.
#include "platform/Drawing.h"

#include <cassert>
#include <filesystem>
#include <system_error>

#include "platform/ProblemReport.h"

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

// A picture that gives a 0 x 0 image draws nothing; the screen shows no sign of it, so
// the cause is reported once, as the picture is loaded at start-up.
std::unique_ptr<Image> loadImage(const std::string& path) {
    std::unique_ptr<Image> image = drawingServices().loadImage(path);
    if (image != nullptr && (image->width() <= 0 || image->height() <= 0)) {
        std::error_code error;
        const bool present = std::filesystem::is_regular_file(path, error);
        reportProblem("picture " + path +
                      (present ? " cannot be read as a PNG picture" : " is missing") +
                      "; nothing is drawn in its place");
    }
    return image;
}
