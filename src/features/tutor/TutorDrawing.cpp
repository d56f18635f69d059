// The tutor's words and the key-facts box, drawn in the lesson panel's free space. The
// words are wrapped by measuring them and set at the largest size that lets them fit
// their box, so a longer language or a smaller screen never pushes them onto what the
// panel draws around them.
#include <algorithm>
#include <array>

#include "features/tutor/Tutor.h"
#include "features/tutor/TutorWords.h"
#include "text/Stringify.h"
#include "words/Words.h"

namespace {

constexpr Colour wordsFill = 0xFFF2F6FF;
constexpr Colour wordsOutline = 0xFF8CA0D2;
constexpr Colour wordsInk = 0xFF1E3264;
constexpr Colour factsFill = 0xFFF7F2E0;
constexpr Colour factsOutline = 0xFFC8B98C;
constexpr Colour factsInk = 0xFF1E1E1E;
constexpr Colour typingInk = 0xFF1E1E64;  // the board's entry colour
constexpr Colour wrongInk = 0xFFFA1E1E;   // and its error colour
constexpr float padding = 6.0f;
constexpr std::array<int, 5> wordSizes{12, 11, 10, 9, 8};
constexpr std::array<int, 4> factSizes{10, 9, 8, 7};
constexpr std::size_t factColumns = 3;

float widthOf(Graphics& graphics, const std::u16string& text, const Font& font) {
    return graphics.measureText(text, font, {0.0f, 0.0f}).width;
}

// Each sentence starts a line and breaks between words where the next would not fit.
std::vector<std::u16string> wrapped(Graphics& graphics, const std::vector<std::u16string>& text,
                                    const Font& font, float width, bool& fits) {
    std::vector<std::u16string> result;
    fits = true;
    for (const std::u16string& sentence : text) {
        std::u16string line;
        std::size_t start = 0;
        while (start <= sentence.size()) {
            std::size_t end = sentence.find(u' ', start);
            if (end == std::u16string::npos) {
                end = sentence.size();
            }
            const std::u16string word = sentence.substr(start, end - start);
            start = end + 1;
            if (word.empty()) {
                continue;
            }
            const std::u16string longer = line.empty() ? word : line + u" " + word;
            if (line.empty() || widthOf(graphics, longer, font) <= width) {
                line = longer;
            } else {
                result.push_back(line);
                line = word;
            }
            fits = fits && widthOf(graphics, line, font) <= width;
        }
        if (!line.empty()) {
            result.push_back(line);
        }
    }
    return result;
}

std::u16string factText(int lots, int divisor, const std::u16string& value) {
    return fill(tr("{count} \u00D7 {divisor} = {product}"),
                {{"count", stringify(lots)}, {"divisor", stringify(divisor)}, {"product", value}});
}

}  // namespace

const Font& Tutor::fontOf(int points) {
    std::unique_ptr<Font>& font = fonts[points];
    if (!font) {
        font = makeFont(static_cast<float>(points));
    }
    return *font;
}

void Tutor::draw(Graphics& graphics) {
    if (showsKeyFacts()) {
        drawKeyFacts(graphics);
    }
    drawWords(graphics);
}

bool Tutor::showsKeyFacts() const {
    return panel.options.keyFacts != KeyFactsMode::Off && !keyFacts.lots.empty();
}

void Tutor::drawWords(Graphics& graphics) {
    std::vector<std::u16string> text = sentences;
    if (text.empty() && fillingIn()) {
        // The box was asked for after the question began (from Settings): it asks here.
        text.push_back(tutor::keyFactQuestion(keyFacts.lots[keyFacts.current], keyFacts.divisor,
                                              keyFacts.current == 0));
    }
    if (text.empty()) {
        return;
    }
    const Rectangle area = wordsArea;
    const float width = area.width - 2.0f * padding;
    const float height = area.height - 2.0f * padding;
    if (text != laidOutFor) {
        laidOutFor = text;
        for (int points : wordSizes) {
            const Font& font = fontOf(points);
            bool fits = true;
            lines = wrapped(graphics, text, font, width, fits);
            linesPoints = points;
            linePitch = graphics.measureText(u"Ag", font, {0.0f, 0.0f}).height;
            if (fits && static_cast<float>(lines.size()) * linePitch <= height) {
                break;
            }
        }
    }
    graphics.fillRectangle(wordsFill, area);
    graphics.outlineRectangle(wordsOutline, 1.0f, area);
    const Font& font = fontOf(linesPoints);
    float top = area.y + padding;
    for (const std::u16string& line : lines) {
        if (top + linePitch > area.y + area.height - padding + 0.5f) {
            break;  // only at the smallest size, with more words than ever fit
        }
        graphics.drawText(line, font, wordsInk, {area.x + padding, top});
        top += linePitch;
    }
}

// Three facts a row; the one being filled in is framed, with what is typed in the
// board's entry colour (its error colour once checked wrong), and those still to come
// show a question mark.
void Tutor::drawKeyFacts(Graphics& graphics) {
    const Rectangle area = keyFactsArea;
    const std::size_t rows = (keyFacts.lots.size() + factColumns - 1) / factColumns;
    const float cellWidth = (area.width - 2.0f * padding) / static_cast<float>(factColumns);
    const float cellHeight = (area.height - 2.0f) / static_cast<float>(rows);
    const bool filling = panel.options.keyFacts == KeyFactsMode::FillIn;

    // The largest size at which the widest fact fits its cell.
    const std::u16string widest = factText(keyFacts.lots.back(), keyFacts.divisor,
                                           stringify(keyFacts.valueOf(keyFacts.lots.size() - 1)));
    int points = factSizes.back();
    for (int size : factSizes) {
        const Rectangle box = graphics.measureText(widest, fontOf(size), {0.0f, 0.0f});
        if (box.width <= cellWidth - 2.0f && box.height <= cellHeight) {
            points = size;
            break;
        }
    }
    const Font& font = fontOf(points);

    graphics.fillRectangle(factsFill, area);
    graphics.outlineRectangle(factsOutline, 1.0f, area);
    for (std::size_t fact = 0; fact < keyFacts.lots.size(); ++fact) {
        const Point place{area.x + padding + cellWidth * static_cast<float>(fact % factColumns),
                          area.y + 1.0f + cellHeight * static_cast<float>(fact / factColumns)};
        const int lots = keyFacts.lots[fact];
        if (!filling || fact < keyFacts.current) {
            graphics.drawText(factText(lots, keyFacts.divisor, stringify(keyFacts.valueOf(fact))),
                              font, factsInk, place);
            continue;
        }
        const std::u16string question = factText(lots, keyFacts.divisor, u"");
        graphics.drawText(question, font, factsInk, place);
        const float after = place.x + widthOf(graphics, question, font) - 4.0f;
        if (fact > keyFacts.current) {
            graphics.drawText(u"?", font, factsInk, {after, place.y});
            continue;
        }
        const std::u16string typed = keyFacts.typed.empty() ? u" " : keyFacts.typed;
        const Rectangle typedBox = graphics.measureText(typed, font, {after, place.y});
        graphics.outlineRectangle(
            typingInk, 1.0f,
            {place.x - 2.0f, place.y, after + typedBox.width - place.x + 2.0f, cellHeight - 1.0f});
        graphics.drawText(typed, font, keyFacts.wrong ? wrongInk : typingInk, {after, place.y});
    }
}
