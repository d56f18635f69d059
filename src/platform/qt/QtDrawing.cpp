// Fonts, images, drawing passes and the back buffer on Qt's raster engine.
#include "platform/qt/QtDrawing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QWidget>

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
    lineSpacingPerEm =
        static_cast<float>(metrics.lineSpacing()) / static_cast<float>(font.pixelSize());
}

float QtFont::lineHeightAtDpi(float dotsPerInch) const {
    return points * dotsPerInch / 72.0f * lineSpacingPerEm;
}

QtImage::QtImage(const QString& path) : image(path) {
    if (!image.isNull()) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}

QtGraphics::QtGraphics(QImage& target) : painter(&target) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void QtGraphics::fillRectangle(Colour colour, const Rectangle& area) {
    painter.fillRect(toQRect(area), toQColor(colour));
}

void QtGraphics::outlineRectangle(Colour colour, float penWidth, const Rectangle& area) {
    QPen pen(toQColor(colour));
    pen.setWidthF(penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(toQRect(area));
}

void QtGraphics::drawText(const std::u16string& text, const Font& font, Colour colour,
                          Point origin) {
    const QtFont& qtFont = asQt(font);
    const QFontMetricsF metrics(qtFont.font);
    painter.setFont(qtFont.font);
    painter.setPen(toQColor(colour));
    const float padding = qtFont.emPixels * paddingPerEm;
    painter.drawText(QPointF(origin.x + padding, origin.y + metrics.ascent()), toQString(text));
}

void QtGraphics::drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                               const Rectangle& box, TextAlign align) {
    const QtFont& qtFont = asQt(font);
    const QFontMetricsF metrics(qtFont.font);
    const QString qtText = toQString(text);
    const float padding = qtFont.emPixels * paddingPerEm;
    const float advance = static_cast<float>(metrics.horizontalAdvance(qtText));
    float x = box.x + padding;
    if (align == TextAlign::Far) {
        x = box.x + box.width - padding - advance;
    } else if (align == TextAlign::Centre) {
        x = box.x + (box.width - advance) / 2.0f;
    }
    painter.setFont(qtFont.font);
    painter.setPen(toQColor(colour));
    painter.drawText(QPointF(x, box.y + metrics.ascent()), qtText);
}

Rectangle QtGraphics::measureText(const std::u16string& text, const Font& font, Point origin) {
    const QtFont& qtFont = asQt(font);
    const QFontMetricsF metrics(qtFont.font);
    const float advance = static_cast<float>(metrics.horizontalAdvance(toQString(text)));
    const float width = advance + 2.0f * qtFont.emPixels * paddingPerEm;
    return {origin.x, origin.y, width, static_cast<float>(metrics.lineSpacing())};
}

void QtGraphics::drawImage(const Image& image, Point topLeft) {
    const QtImage& qtImage = asQt(image);
    if (!qtImage.image.isNull()) {
        painter.drawImage(QPointF(topLeft.x, topLeft.y), qtImage.image);
    }
}

void QtGraphics::drawImagePart(const Image& image, const Rectangle& destination,
                               const Rectangle& source) {
    const QtImage& qtImage = asQt(image);
    if (!qtImage.image.isNull()) {
        painter.drawImage(toQRect(destination), qtImage.image, toQRect(source));
    }
}

QtBackBuffer::QtBackBuffer(int width, int height) : image(width, height, QImage::Format_RGB32) {
    clear();
}

void QtBackBuffer::clear() {
    // White inside, a 1-pixel black line along every edge, drawn without smoothing so
    // that it lands exactly on the outermost pixels.
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
}

std::unique_ptr<Graphics> QtBackBuffer::beginDrawing() {
    return std::make_unique<QtGraphics>(image);
}

std::unique_ptr<Font> QtDrawingServices::makeFont(float sizeInPoints) {
    return std::make_unique<QtFont>(sizeInPoints);
}

std::unique_ptr<Image> QtDrawingServices::loadImage(const std::string& path) {
    return std::make_unique<QtImage>(QString::fromStdString(path));
}

void QtDrawingServices::showHandCursor() {
    if (cursorWidget != nullptr) {
        cursorWidget->setCursor(Qt::PointingHandCursor);
    }
}
