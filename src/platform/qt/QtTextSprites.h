// Pictures and widths of text strings, kept between frames. The working-out draws the same
// numbers and words every frame; shaping and rasterising each of them every time
// costs several times more than copying a finished picture, and that cost would grow
// with every line in view.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <memory>
#include <string>
#include <unordered_map>

class QFont;

struct TextSprite {
    QImage image;   // the string's ink and a small margin, on transparent pixels
    QPoint offset;  // from the glyph origin (left end of the baseline) to the image
};

class TextSpriteCache {
public:
    // The picture of text in font and colour, made on first use.
    const TextSprite& sprite(const QFont& font, const std::u16string& text, QRgb colour);
    // The width text advances in font, measured once.
    float advance(const QFont& font, const std::u16string& text);
    std::size_t size() const { return sprites.size(); }

    // Beyond this many pictures the cache starts again, so a long run of different
    // strings cannot grow it without bound.
    static constexpr std::size_t capacity = 1024;

private:
    std::unordered_map<std::u16string, TextSprite> sprites;
    std::unordered_map<std::u16string, float> advances;
};

// The one cache for every font of the same family and pixel size. Some fonts are made
// afresh for each frame; sharing keeps their pictures from one frame to the next.
std::shared_ptr<TextSpriteCache> sharedTextSprites(const QFont& font);
