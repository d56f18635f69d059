// The lesson panel: construction and per-frame update, the drawing of the question,
// the answer and the three pictures, mouse presses on the mascot and the logo, and the
// drawing of random questions from the level table.
#include "lesson/LessonPanel.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>

#include "lesson/LevelFileProblems.h"
#include "lesson/Questions.h"
#include "platform/ProblemReport.h"
#include "platform/SettingsStore.h"
#include "text/Stringify.h"
#include "words/Words.h"

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
constexpr float panelFontSize = 30.0f;

void drawHeader(Graphics& graphics, const Font& font, const BoardPalette& palette, int dividend,
                int divisor) {
    const std::u16string header =
        // Translators: the question as pupils write it: the division sign your schools
        // use, "÷" or ":".
        fill(trc("question", "{dividend} \u00F7 {divisor}"),
             {{"dividend", stringify(dividend)}, {"divisor", stringify(divisor)}});
    graphics.drawText(header, font, palette.header, headerPlace);
}

// "= 14", followed by " rem.2" just to its right when something remains (each
// language's own way of writing both: "= 14" and " rest 2" in Dutch).
void drawAnswer(Graphics& graphics, const Font& font, const BoardPalette& palette, int dividend,
                int divisor) {
    const std::u16string quotient =
        // Translators: the answer under the question, "= 14"; then what remains, " rem.2"
        // (a space first, drawn just right of the answer): "R" in the US, " rest 2" in Dutch.
        fill(trc("answer", "= {quotient}"), {{"quotient", stringify(dividend / divisor)}});
    graphics.drawText(quotient, font, palette.quotient, answerPlace);
    const int remainder = dividend % divisor;
    if (remainder > 0) {
        const Rectangle box = graphics.measureText(quotient, font, answerPlace);
        graphics.drawText(
            fill(trc("answer", " rem.{remainder}"), {{"remainder", stringify(remainder)}}), font,
            palette.answerRemainder, {box.x + box.width, answerPlace.y});
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
    board.events = &events;
    std::srand(static_cast<unsigned int>(static_cast<std::uint32_t>(std::time(nullptr))));
    loadLevels();
    reportLevelFileProblems();
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
        drawHeader(*graphics, *font, palette, dividend, divisor);
    }
    // The board makes its own drawing passes; ours is closed meanwhile so that two are
    // never open on the buffer at once.
    board.draw(backBuffer);

    auto graphics = backBuffer.beginDrawing();
    if (lessonState == Answered) {
        drawAnswer(*graphics, *font, palette, dividend, divisor);
    }
    for (const auto& drawInFreeSpace : freeSpaceDrawers) {
        drawInFreeSpace(*graphics);
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

std::optional<Point> LessonPanel::logoPoint() const {
    if (!logoImage || logoImage->width() <= 0 || logoImage->height() <= 0) {
        return std::nullopt;
    }
    return Point{logoPlace.x + static_cast<float>(logoImage->width()) / 2.0f,
                 logoPlace.y + static_cast<float>(logoImage->height()) / 2.0f};
}

void LessonPanel::startQuestion(int newDividend, int newDivisor, bool typedIn) {
    dividend = newDividend;
    divisor = newDivisor;
    questionTypedIn = typedIn;
    lessonState = Working;
    board.setUpQuestion(dividend, divisor);
    tellQuestionStarted(false);
}

void LessonPanel::restartQuestion() {
    leaveQuestion(LeftBy::RestartQuestion);
    lessonState = Working;
    board.restartQuestion();
    tellQuestionStarted(true);
}

void LessonPanel::leaveQuestion(LeftBy by) {
    if (board.state != Finished) {
        events.publish(QuestionLeft{by});
    }
}

void LessonPanel::tellQuestionStarted(bool restarted) const {
    events.publish(QuestionStarted{dividend, divisor, questionTypedIn, difficulty, restarted});
}

void LessonPanel::newRandomQuestion() {
    const Question question = questionFor(levels, difficulty);
    // Records with divisors below 1 are never drawn from, so the divisor is never 0.
    dividend = question.dividend;
    divisor = question.divisor;
}

// A level that can give no question falls back to a fixed one on screen without a
// word, so the level file's problems are written on standard error for whoever started
// the program from a terminal, and kept for the message the shell shows at start-up.
void LessonPanel::reportLevelFileProblems() {
    for (const std::string& line : levelFileProblemLines(levelFileReading, levels)) {
        reportProblem(line);
    }
    levelFileMessage = levelFileMessageFor(levelFileReading, levels);
}

bool LessonPanel::loadLevels() {
    levelFileReading = readLevelFile(levelFilePath(), levels);
    return levelFileReading.access == LevelFileAccess::Read;
}

// The teacher's mistakes are said as the level file's are: lines on standard error and
// a message the shell shows once the window is up.
void LessonPanel::loadSettings() {
    SettingsStore* store = settingsStore();
    if (store == nullptr) {
        return;
    }
    StoredSettings settings = storedSettingsOf(*this);
    if (const std::optional<std::string> teacherText = store->readTeacherFile()) {
        teacher = readTeacherFile(*teacherText);
        for (const std::string& line : teacherFileProblemLines(teacher)) {
            reportProblem(line);
        }
        teacherFileMessage = teacherFileMessageFor(teacher);
        settings = withTeacherValues(teacher, settings, false);
    }
    startingOptions = settings.options;
    if (const std::optional<std::string> text = store->read()) {
        std::istringstream in(settingsTextFrom(*text));
        settings = readStoredSettings(in, settings);
    }
    applyStoredSettings(*this, withTeacherValues(teacher, settings, true));
}

bool LessonPanel::highContrastInForce() const {
    return options.contrastChosen ? options.highContrast : systemHighContrast;
}

void LessonPanel::usePalette() {
    palette = highContrastInForce() ? highContrastPalette : standardPalette;
    board.usePalette(palette);
}

UserSettings settingsOf(const LessonPanel& panel) {
    UserSettings settings;
    settings.displayLotsOf = panel.board.displayLotsOf;
    settings.autoProduct = panel.board.autoProduct;
    settings.autoRemainder = panel.board.autoRemainder;
    settings.difficulty = panel.difficulty;
    return settings;
}

void applySettings(LessonPanel& panel, const UserSettings& settings) {
    panel.board.displayLotsOf = settings.displayLotsOf;
    panel.board.autoProduct = settings.autoProduct;
    panel.board.autoRemainder = settings.autoRemainder;
    panel.difficulty = settings.difficulty;
}

StoredSettings storedSettingsOf(const LessonPanel& panel) {
    return {settingsOf(panel), panel.options};
}

void applyStoredSettings(LessonPanel& panel, const StoredSettings& settings) {
    applySettings(panel, settings.four);
    panel.options = settings.options;
    panel.usePalette();
}
