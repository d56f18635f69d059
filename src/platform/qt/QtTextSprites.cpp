// Rasterised text strings, made once and reused.
#include "platform/qt/QtTextSprites.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {
// Room around the ink for antialiasing that spills past the glyphs' bounds.
constexpr int margin = 2;

std::u16string keyOf(const std::u16string& text, QRgb colour) {
    std::u16string key = text;
    key.push_back(static_cast<char16_t>(colour >> 16));
    key.push_back(static_cast<char16_t>(colour & 0xFFFF));
    return key;
}

TextSprite render(const QFont& font, const std::u16string& text, QRgb colour) {
    const QString string = QString::fromStdU16String(text);
    const QRectF ink = QFontMetricsF(font).boundingRect(string);
    const int left = static_cast<int>(std::floor(ink.left())) - margin;
    const int top = static_cast<int>(std::floor(ink.top())) - margin;
    const int width = static_cast<int>(std::ceil(ink.right())) + margin - left;
    const int height = static_cast<int>(std::ceil(ink.bottom())) + margin - top;

    TextSprite sprite;
    sprite.offset = QPoint(left, top);
    sprite.image =
        QImage(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    sprite.image.fill(Qt::transparent);
    QPainter painter(&sprite.image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(colour));
    painter.drawText(QPointF(-left, -top), string);
    return sprite;
}
}  // namespace

const TextSprite& TextSpriteCache::sprite(const QFont& font, const std::u16string& text,
                                          QRgb colour) {
    const std::u16string key = keyOf(text, colour);
    if (const auto found = sprites.find(key); found != sprites.end()) {
        return found->second;
    }
    if (sprites.size() >= capacity) {
        sprites.clear();
    }
    return sprites.emplace(key, render(font, text, colour)).first->second;
}

float TextSpriteCache::advance(const QFont& font, const std::u16string& text) {
    if (const auto found = advances.find(text); found != advances.end()) {
        return found->second;
    }
    if (advances.size() >= capacity) {
        advances.clear();
    }
    const auto width =
        static_cast<float>(QFontMetricsF(font).horizontalAdvance(QString::fromStdU16String(text)));
    return advances.emplace(text, width).first->second;
}

std::shared_ptr<TextSpriteCache> sharedTextSprites(const QFont& font) {
    // Programs use a handful of fonts, so the caches are simply kept for the run.
    static std::unordered_map<std::u16string, std::shared_ptr<TextSpriteCache>> caches;
    const std::u16string key =
        (font.families().join(QChar(u',')) + QChar(u'@') + QString::number(font.pixelSize()))
            .toStdU16String();
    auto& cache = caches[key];
    if (!cache) {
        cache = std::make_shared<TextSpriteCache>();
    }
    return cache;
}
