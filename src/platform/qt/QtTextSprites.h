// Pictures and widths of text strings, kept between frames. The working-out draws the same
// numbers and words every frame; shaping and rasterising each of them every time
// costs several times more than copying a finished picture, and that cost would grow
// with every line in view. The pictures are kept within a fixed number of bytes, the
// least recently drawn going first, so memory levels off however long the program runs.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class QFont;

struct TextSprite {
    QImage image;   // the string's ink and a small margin, on transparent pixels
    QPoint offset;  // from the glyph origin (left end of the baseline) to the image
};

class TextSpriteCache {
public:
    // Bytes of pictures one cache keeps: about four times what a screenful of text
    // needs (some 250 kB for a full working-out), so a glide renders only new lines.
    static constexpr std::size_t defaultBudgetBytes = 1024u * 1024u;
    // Widths are a few bytes each; beyond this many the widths start again.
    static constexpr std::size_t advanceCapacity = 1024;

    explicit TextSpriteCache(std::size_t budgetBytes = defaultBudgetBytes);

    // The picture of text in font and colour, made on first use. The reference holds
    // until the next call.
    const TextSprite& sprite(const QFont& font, const std::u16string& text, QRgb colour);
    // The width text advances in font, measured once.
    float advance(const QFont& font, const std::u16string& text);

    std::size_t size() const { return sprites.size(); }
    std::size_t bytes() const { return usedBytes; }
    std::size_t budget() const { return budgetBytes; }

private:
    struct Key {
        std::u16string text;
        QRgb colour = 0;
    };
    // A key to look up without copying the text.
    struct KeyView {
        std::u16string_view text;
        QRgb colour = 0;
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& key) const;
        std::size_t operator()(const Key& key) const {
            return (*this)(KeyView{key.text, key.colour});
        }
    };
    struct KeyEqual {
        using is_transparent = void;
        static KeyView view(const Key& key) { return {key.text, key.colour}; }
        static KeyView view(const KeyView& key) { return key; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return view(a).colour == view(b).colour && view(a).text == view(b).text;
        }
    };
    struct Entry {
        TextSprite sprite;
        std::list<const Key*>::iterator recency;  // this entry's place in the use order
    };
    void evictFor(std::size_t bytes);

    std::size_t budgetBytes;
    std::size_t usedBytes = 0;
    std::unordered_map<Key, Entry, KeyHash, KeyEqual> sprites;
    std::list<const Key*> recentFirst;  // keys, the most recently drawn first
    std::unordered_map<std::u16string, float> advances;
};

// The one cache for every font of the same family and pixel size. Some fonts are made
// afresh for each frame; sharing keeps their pictures from one frame to the next.
std::shared_ptr<TextSpriteCache> sharedTextSprites(const QFont& font);
