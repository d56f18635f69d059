// Rasterised text strings, made once and reused within a byte budget.
#include "platform/qt/QtTextSprites.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <functional>

namespace {
// Room around the ink for antialiasing that spills past the glyphs' bounds.
constexpr int margin = 2;

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

std::size_t bytesOf(const TextSprite& sprite) {
    return static_cast<std::size_t>(sprite.image.sizeInBytes());
}
}  // namespace

std::size_t TextSpriteCache::KeyHash::operator()(const KeyView& key) const {
    return std::hash<std::u16string_view>()(key.text) ^
           (std::size_t{key.colour} * 0x9E3779B97F4A7C15u);
}

TextSpriteCache::TextSpriteCache(std::size_t budgetBytes) : budgetBytes(budgetBytes) {}

const TextSprite& TextSpriteCache::sprite(const QFont& font, const std::u16string& text,
                                          QRgb colour) {
    if (const auto found = sprites.find(KeyView{text, colour}); found != sprites.end()) {
        recentFirst.splice(recentFirst.begin(), recentFirst, found->second.recency);
        return found->second.sprite;
    }
    TextSprite made = render(font, text, colour);
    const std::size_t bytes = bytesOf(made);
    evictFor(bytes);
    const auto [placed, added] = sprites.emplace(Key{text, colour}, Entry{std::move(made), {}});
    recentFirst.push_front(&placed->first);
    placed->second.recency = recentFirst.begin();
    usedBytes += bytes;
    return placed->second.sprite;
}

// Drops the least recently drawn pictures until one of the given size fits. A single
// picture larger than the whole budget is still kept, alone, for as long as it is
// the one being drawn.
void TextSpriteCache::evictFor(std::size_t bytes) {
    while (!recentFirst.empty() && usedBytes + bytes > budgetBytes) {
        const Key* oldest = recentFirst.back();
        recentFirst.pop_back();
        const auto found = sprites.find(KeyView{oldest->text, oldest->colour});
        usedBytes -= bytesOf(found->second.sprite);
        sprites.erase(found);
    }
}

float TextSpriteCache::advance(const QFont& font, const std::u16string& text) {
    if (const auto found = advances.find(text); found != advances.end()) {
        return found->second;
    }
    if (advances.size() >= advanceCapacity) {
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
