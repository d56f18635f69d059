// Fonts, images, drawing passes and the back buffer on Qt's raster engine.
#include "platform/qt/QtDrawing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/desktop/NativeFile.h"

namespace {
constexpr float pixelsPerPoint = 96.0f / 72.0f;
// GDI+ pads a measured or drawn string by this share of the em on each side.
constexpr float paddingPerEm = 1.0f / 6.0f;

const QtFont& asQt(const Font& font) {
    return static_cast<const QtFont&>(font);
}
const QtImage& asQt(const Image& image) {
    return static_cast<const QtImage&>(image);
}

QRectF toQRect(const Rectangle& area) {
    return {area.x, area.y, area.width, area.height};
}
}  // namespace

QColor toQColor(Colour colour) {
    return QColor::fromRgba(static_cast<QRgb>(colour));
}

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

QtFont::QtFont(float sizeInPoints, const QString& family)
    : points(sizeInPoints), emPixels(sizeInPoints * pixelsPerPoint) {
    // The font system resolves Arial to a metric-compatible face where one is
    // installed; the second family catches the case where nothing matches at all.
    font.setFamilies({family, QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(emPixels));
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    const QFontMetricsF metrics(font);
    lineSpacing = static_cast<float>(metrics.lineSpacing());
    lineSpacingPerEm = lineSpacing / static_cast<float>(font.pixelSize());
    ascent = static_cast<float>(metrics.ascent());
    sprites = sharedTextSprites(font);
}

float QtFont::lineHeightAtDpi(float dotsPerInch) const {
    return points * dotsPerInch / 72.0f * lineSpacingPerEm;
}

QString doubledPicturePath(const QString& path) {
    const QFileInfo file(path);
    return file.dir().filePath(QStringLiteral("2x/") + file.fileName());
}

namespace {

// The picture in the regular file at path, read without waiting: a FIFO or a device
// under a picture's name gives no picture instead of holding up the start.
QImage pictureAt(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const std::optional<std::string> bytes =
        readRegularFile(std::filesystem::path(name.toStdString()), largestPictureFile);
    if (!bytes) {
        return {};
    }
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes->data()),
                            static_cast<int>(bytes->size()));
}

}  // namespace

QtImage::QtImage(const QString& path) : image(pictureAt(path)) {
    if (image.isNull()) {
        return;
    }
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // A 2x file of any other size would put the picture out of its box; it is ignored.
    QImage fine = pictureAt(doubledPicturePath(path));
    if (!fine.isNull() && fine.size() == image.size() * 2) {
        doubled = fine.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}

QtGraphics::QtGraphics(QImage& target) : painter(&target) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtGraphics::fillRectangle(Colour colour, const Rectangle& area) {
    painter.fillRect(toQRect(area), toQColor(colour));
}

// The outline is filled as the bands a mitred pen of that width paints, cut to the
// surface: stroking the whole of the working-out's outline, which can be hundreds of
// thousands of pixels tall, every frame would cost far more than the part that shows.
void QtGraphics::outlineRectangle(Colour colour, float penWidth, const Rectangle& area) {
    const auto surfaceWidth = static_cast<float>(painter.device()->width());
    const auto surfaceHeight = static_cast<float>(painter.device()->height());
    for (const Rectangle& band : outlineBands(area, penWidth, surfaceWidth, surfaceHeight)) {
        if (band.width > 0.0f && band.height > 0.0f) {
            painter.fillRect(toQRect(band), toQColor(colour));
        }
    }
}

void QtGraphics::drawAtBaseline(const QtFont& font, const std::u16string& text, Colour colour,
                                float x, float baselineY) {
    if (text.empty()) {
        return;
    }
    const QPoint glyphOrigin(qRound(x), qRound(baselineY));
    // The kept pictures have one pixel per layout pixel; a finer surface gets its
    // glyphs drawn at its own resolution instead.
    if (painter.device()->devicePixelRatio() > 1.0) {
        painter.setFont(font.font);
        painter.setPen(toQColor(colour));
        painter.drawText(glyphOrigin, QString::fromStdU16String(text));
        return;
    }
    const TextSprite& sprite = font.sprites->sprite(font.font, text, static_cast<QRgb>(colour));
    painter.drawImage(glyphOrigin + sprite.offset, sprite.image);
}

void QtGraphics::drawText(const std::u16string& text, const Font& font, Colour colour,
                          Point origin) {
    const QtFont& qtFont = asQt(font);
    const float padding = qtFont.emPixels * paddingPerEm;
    drawAtBaseline(qtFont, text, colour, origin.x + padding, origin.y + qtFont.ascent);
}

void QtGraphics::drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                               const Rectangle& box, TextAlign align) {
    const QtFont& qtFont = asQt(font);
    const float padding = qtFont.emPixels * paddingPerEm;
    const float advance = qtFont.sprites->advance(qtFont.font, text);
    float x = box.x + padding;
    if (align == TextAlign::Far) {
        x = box.x + box.width - padding - advance;
    } else if (align == TextAlign::Centre) {
        x = box.x + (box.width - advance) / 2.0f;
    }
    drawAtBaseline(qtFont, text, colour, x, box.y + qtFont.ascent);
}

Rectangle QtGraphics::measureText(const std::u16string& text, const Font& font, Point origin) {
    const QtFont& qtFont = asQt(font);
    const float advance = qtFont.sprites->advance(qtFont.font, text);
    const float width = advance + 2.0f * qtFont.emPixels * paddingPerEm;
    return {origin.x, origin.y, width, qtFont.lineSpacing};
}

std::pair<const QImage*, qreal> QtGraphics::pictureFor(const QtImage& image) const {
    if (!image.doubled.isNull() && painter.device()->devicePixelRatio() > 1.0) {
        return {&image.doubled, 2.0};
    }
    return {&image.image, 1.0};
}

void QtGraphics::drawImage(const Image& image, Point topLeft) {
    const QtImage& qtImage = asQt(image);
    if (qtImage.image.isNull()) {
        return;
    }
    const auto [picture, factor] = pictureFor(qtImage);
    if (factor == 1.0) {
        painter.drawImage(QPointF(topLeft.x, topLeft.y), *picture);
        return;
    }
    // The fine picture's pixels fall one to one on the surface's.
    const QRectF box(topLeft.x, topLeft.y, qtImage.width(), qtImage.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(box, *picture, QRectF(picture->rect()));
}

void QtGraphics::drawImagePart(const Image& image, const Rectangle& destination,
                               const Rectangle& source) {
    const QtImage& qtImage = asQt(image);
    if (qtImage.image.isNull()) {
        return;
    }
    const auto [picture, factor] = pictureFor(qtImage);
    // Smoothing only matters when the picture is scaled; left on, it would also send
    // unscaled pictures down Qt's slow general path.
    const bool scaled = destination.width != source.width || destination.height != source.height;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scaled);
    const QRectF from(source.x * factor, source.y * factor, source.width * factor,
                      source.height * factor);
    painter.drawImage(toQRect(destination), *picture, from);
}

QtBackBuffer::QtBackBuffer(int width, int height, qreal devicePixelRatio)
    : image(qRound(width * devicePixelRatio), qRound(height * devicePixelRatio),
            QImage::Format_RGB32),
      layoutWidth(width),
      layoutHeight(height) {
    image.setDevicePixelRatio(devicePixelRatio);
    clear();
}

// White inside, a black line one layout pixel wide along every edge, written straight
// into the pixels: the buffer is cleared before every frame that is drawn.
void QtBackBuffer::clear() {
    image.fill(Qt::white);
    const int width = image.width();
    const int height = image.height();
    if (width == 0 || height == 0) {
        return;
    }
    // The line is one layout pixel wide, so as many whole device pixels as the buffer
    // has to a layout pixel, landing exactly on the outermost ones.
    const int thickness = std::clamp(qRound(image.devicePixelRatio()), 1, std::min(width, height));
    constexpr QRgb black = 0xFF000000;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (y < thickness || y >= height - thickness) {
            std::fill(row, row + width, black);
        } else {
            std::fill(row, row + thickness, black);
            std::fill(row + width - thickness, row + width, black);
        }
    }
}

std::unique_ptr<Graphics> QtBackBuffer::beginDrawing() {
    return std::make_unique<QtGraphics>(image);
}

// Panels make fonts as they draw. Looking up a font's face and metrics each time
// would cost more than the rest of a frame at rest, so each size is worked out once
// and copied after that.
std::unique_ptr<Font> QtDrawingServices::makeFont(float sizeInPoints) {
    for (const auto& made : madeFonts) {
        if (made->points == sizeInPoints) {
            return std::make_unique<QtFont>(*made);
        }
    }
    madeFonts.push_back(std::make_unique<QtFont>(sizeInPoints));
    return std::make_unique<QtFont>(*madeFonts.back());
}

std::unique_ptr<Image> QtDrawingServices::loadImage(const std::string& path) {
    return std::make_unique<QtImage>(QString::fromStdString(path));
}

void QtDrawingServices::showHandCursor() {
    if (cursorWidget != nullptr) {
        cursorWidget->setCursor(Qt::PointingHandCursor);
    }
}
