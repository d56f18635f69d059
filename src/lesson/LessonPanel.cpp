// The lesson panel: construction and per-frame update, the drawing of the question,
// the answer and the three pictures, mouse presses on the mascot and the logo, and the
// drawing of random questions from the level table.
#include "lesson/LessonPanel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "lesson/Stringify.h"

namespace {

constexpr Point logoPlace{500.0f, 490.0f};
constexpr Point mascotPlace{700.0f, 490.0f};
constexpr Point headerPlace{530.0f, 50.0f};
constexpr Point answerPlace{520.0f, 100.0f};
constexpr float balloonX = 721.0f;
constexpr float balloonFrameWidth = 63.0f;
constexpr float balloonFrameHeight = 75.0f;
constexpr float balloonRestY = 465.0f;
constexpr float balloonGoneY = -75.0f;  // the whole sprite has left the top
constexpr int balloonRising = 5;
constexpr float panelFontSize = 30.0f;

constexpr Colour headerColour = 0xFF6464FF;
constexpr Colour quotientColour = 0xFF963296;
constexpr Colour remainderColour = 0xFF329632;

// Random draws tried before the level is searched in order for an acceptable pair.
constexpr int maxRandomDraws = 10000;

// The working-out is built for the questions Create Question accepts: its columns
// and its entry row hold at most four digits. A level reaching beyond these limits is
// cut back to them rather than handing the board numbers it cannot lay out.
constexpr std::int32_t largestDividend = 9999;
constexpr std::int32_t largestDivisor = 99;

// The question used when the level table cannot give one: no record for the
// difficulty, a record whose ranges are reversed, whose divisors go below 1 or that
// lies wholly beyond the drill's limits, or a level that holds no acceptable pair.
constexpr int fallbackDividend = 100;
constexpr int fallbackDivisor = 7;

struct Question {
    int dividend = 0;
    int divisor = 1;
};

// Questions worth working: enough steps to practise, and none that the ten-times table
// answers at a glance. Small divisors need a larger quotient.
bool isAcceptable(std::int64_t dividend, std::int64_t divisor) {
    const std::int64_t quotient = dividend / divisor;
    return quotient >= 5 && divisor != 10 && dividend != 10 * divisor &&
           (divisor >= 13 || quotient >= 13);
}

// A record can be drawn from only when both ranges hold values and every divisor in
// it is at least 1.
bool isUsable(const LevelRecord& level) {
    return 1 <= level.divisorMin && level.divisorMin <= level.divisorMax &&
           level.dividendMin <= level.dividendMax;
}

// The difficulty's record within the drill's limits, if it has one that can be used.
std::optional<LevelRecord> recordFor(const LevelTable& levels, int difficulty) {
    if (difficulty < 0 || static_cast<std::size_t>(difficulty) >= levels.size()) {
        return std::nullopt;
    }
    LevelRecord level = levels[static_cast<std::size_t>(difficulty)];
    level.divisorMax = std::min(level.divisorMax, largestDivisor);
    level.dividendMax = std::min(level.dividendMax, largestDividend);
    if (!isUsable(level)) {
        return std::nullopt;
    }
    return level;
}

// min + (rand() mod the range's size), in 64 bits so that wide ranges cannot overflow.
std::int64_t drawFrom(std::int32_t min, std::int32_t max) {
    const std::int64_t size = static_cast<std::int64_t>(max) - min + 1;
    return min + static_cast<std::int64_t>(std::rand()) % size;
}

std::optional<Question> drawAtRandom(const LevelRecord& level) {
    for (int draw = 0; draw < maxRandomDraws; ++draw) {
        const std::int64_t divisor = drawFrom(level.divisorMin, level.divisorMax);
        const std::int64_t dividend = drawFrom(level.dividendMin, level.dividendMax);
        if (isAcceptable(dividend, divisor)) {
            return Question{static_cast<int>(dividend), static_cast<int>(divisor)};
        }
    }
    return std::nullopt;
}

// The smallest acceptable dividend of the level for this divisor, if there is one.
std::optional<std::int64_t> smallestDividendFor(const LevelRecord& level, std::int64_t divisor) {
    if (divisor == 10) {
        return std::nullopt;
    }
    const std::int64_t leastQuotient = divisor >= 13 ? 5 : 13;
    std::int64_t dividend = std::max<std::int64_t>(level.dividendMin, divisor * leastQuotient);
    if (dividend == 10 * divisor) {
        ++dividend;
    }
    if (dividend > level.dividendMax) {
        return std::nullopt;
    }
    return dividend;
}

// Walks the divisors upwards for the first acceptable pair. From 13 on a divisor needs
// a dividend of at least five times itself, so once that exceeds the level's largest
// dividend no larger divisor can do better and the walk stops.
std::optional<Question> searchInOrder(const LevelRecord& level) {
    for (std::int64_t divisor = level.divisorMin; divisor <= level.divisorMax; ++divisor) {
        if (const auto dividend = smallestDividendFor(level, divisor)) {
            return Question{static_cast<int>(*dividend), static_cast<int>(divisor)};
        }
        if (divisor >= 13 && divisor * 5 > level.dividendMax) {
            break;
        }
    }
    return std::nullopt;
}

Question questionFor(const LevelTable& levels, int difficulty) {
    const std::optional<LevelRecord> level = recordFor(levels, difficulty);
    if (!level) {
        return {fallbackDividend, fallbackDivisor};
    }
    if (const auto drawn = drawAtRandom(*level)) {
        return *drawn;
    }
    if (const auto found = searchInOrder(*level)) {
        return *found;
    }
    return {fallbackDividend, fallbackDivisor};
}

void drawHeader(Graphics& graphics, const Font& font, int dividend, int divisor) {
    const std::u16string header = stringify(dividend) + u" \u00F7 " + stringify(divisor);
    graphics.drawText(header, font, headerColour, headerPlace);
}

// "= 14", followed by " rem.2" just to its right when something remains.
void drawAnswer(Graphics& graphics, const Font& font, int dividend, int divisor) {
    const std::u16string quotient = u"= " + stringify(dividend / divisor);
    graphics.drawText(quotient, font, quotientColour, answerPlace);
    const int remainder = dividend % divisor;
    if (remainder > 0) {
        const Rectangle box = graphics.measureText(quotient, font, answerPlace);
        graphics.drawText(u" rem." + stringify(remainder), font, remainderColour,
                          {box.x + box.width, answerPlace.y});
    }
}

// Stages 1 to 4 show frames 0 to 3 at rest; stage 5 shows frame 4 on its way up.
void drawBalloon(Graphics& graphics, const Image& strip, int stage, float top) {
    const float frameX = balloonFrameWidth * static_cast<float>(stage - 1);
    graphics.drawImagePart(strip, {balloonX, top, balloonFrameWidth, balloonFrameHeight},
                           {frameX, 0.0f, balloonFrameWidth, balloonFrameHeight});
}

void drawIfLoaded(Graphics& graphics, const Image* image, Point topLeft) {
    if (image != nullptr) {
        graphics.drawImage(*image, topLeft);
    }
}

// Sizes are asked of the image at every press: a picture whose file was missing is
// 0 x 0, and one that could not be made at all is never hit.
bool pressedOn(const Image* image, Point place, Point press) {
    if (image == nullptr) {
        return false;
    }
    return pointInRectangle(press, place, static_cast<float>(image->width()),
                            static_cast<float>(image->height()));
}

}  // namespace

// The board, the question fields and the empty level table are made by their
// initialisers; the rest follows in the order that lets the settings override what the
// board starts with and the first question use the settings' difficulty.
LessonPanel::LessonPanel() {
    std::srand(static_cast<unsigned int>(static_cast<std::uint32_t>(std::time(nullptr))));
    loadLevels();
    loadSettings();
    logoImage = loadImage("Resources/Quillmoor_200.png");
    mascotImage = loadImage("Resources/Mox_73.png");
    balloonImage = loadImage("Resources/balloon.png");
    balloonY = balloonRestY;
    balloonStage = 0;
    balloonSpeed = 15.0;
    aboutRequested = false;
    newRandomQuestion();
    lessonState = Working;
    board.setUpQuestion(dividend, divisor);
}

LessonPanel::~LessonPanel() {
    logoImage.reset();
    mascotImage.reset();
    balloonImage.reset();
    levels.clear();
}

void LessonPanel::update(double seconds, Point cursor) {
    board.frameUpdate(seconds, cursor);
    if (lessonState == Working && board.state == Finished) {
        lessonState = Answered;
    }
    if (balloonStage == balloonRising) {
        balloonY = static_cast<float>(balloonY - balloonSpeed * seconds);
        if (balloonY < balloonGoneY) {
            balloonStage = 0;
            balloonY = balloonRestY;
        }
    }
}

void LessonPanel::draw(BackBuffer& backBuffer) {
    const auto font = makeFont(panelFontSize);
    {
        auto graphics = backBuffer.beginDrawing();
        drawIfLoaded(*graphics, logoImage.get(), logoPlace);
        drawIfLoaded(*graphics, mascotImage.get(), mascotPlace);
        drawHeader(*graphics, *font, dividend, divisor);
    }
    // The board makes its own drawing passes; ours is closed meanwhile so that two are
    // never open on the buffer at once.
    board.draw(backBuffer);

    auto graphics = backBuffer.beginDrawing();
    if (lessonState == Answered) {
        drawAnswer(*graphics, *font, dividend, divisor);
    }
    if (balloonStage > 0 && balloonImage) {
        drawBalloon(*graphics, *balloonImage, balloonStage, balloonY);
    }
}

void LessonPanel::mouseDown(Point point) {
    board.pressAt(point);
    if (pressedOn(mascotImage.get(), mascotPlace, point) && balloonStage < balloonRising) {
        ++balloonStage;
    }
    aboutRequested = pressedOn(logoImage.get(), logoPlace, point);
}

void LessonPanel::newRandomQuestion() {
    const Question question = questionFor(levels, difficulty);
    // Records with divisors below 1 are never drawn from, so the divisor is never 0.
    dividend = question.dividend;
    divisor = question.divisor;
}
