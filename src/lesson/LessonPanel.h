// The lesson: the current question, whether it is still being worked, the level table
// and difficulty, the working-out board, and the logo, mascot and balloon around it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board/WorkingBoard.h"
#include "lesson/LevelFile.h"
#include "lesson/LevelTable.h"
#include "lesson/PupilOptions.h"
#include "lesson/SettingsFile.h"
#include "lesson/TeacherFile.h"
#include "platform/Drawing.h"
#include "platform/Geometry.h"

enum LessonState : int {
    Answered = 1,  // the board has finished; the answer is shown
    Working = 2,   // keys and right presses reach the board
};

class LessonPanel {
public:
    LessonPanel();
    ~LessonPanel();
    LessonPanel(const LessonPanel&) = delete;
    LessonPanel& operator=(const LessonPanel&) = delete;

    void update(double seconds, Point cursor);
    void draw(BackBuffer& backBuffer);
    void mouseDown(Point point);
    // A point inside the logo, where a press asks for About; none without the picture.
    std::optional<Point> logoPoint() const;
    void newRandomQuestion();
    // The lesson's life cycle as its events tell it: a question set up on the board
    // (typedIn from Create Question), the same one again, and one left unanswered.
    void startQuestion(int newDividend, int newDivisor, bool typedIn);
    void restartQuestion();
    void leaveQuestion(LeftBy by);
    // Tells the stream the question on the board started, for listeners that were not
    // yet listening when the panel set up its first question.
    void tellQuestionStarted(bool restarted) const;
    bool loadLevels();
    void reportLevelFileProblems();
    // Reads the teacher's file and the pupil's settings from the settings store and
    // applies them: the teacher's values first, the pupil's over them, the teacher's
    // locked values last.
    void loadSettings();
    // The board's and the panel's colours for the contrast in force: the pupil's choice,
    // or the system's high-contrast setting while the pupil has not chosen.
    void usePalette();
    bool highContrastInForce() const;

    LessonEvents events;  // before the board, which tells it what happens
    WorkingBoard board;
    bool questionTypedIn = false;  // the question on the board came from Create Question
    int dividend = 0;
    int divisor = 1;  // never 0
    LessonState lessonState = Working;
    LevelTable levels;
    LevelFileReading levelFileReading;  // what loadLevels found besides the records
    // What is wrong with the level file, for the shell to show once the window is up;
    // empty when there is nothing to say.
    std::u16string levelFileMessage;
    int difficulty = 0;    // 0 Beginner to 4 Expert
    PupilOptions options;  // the settings beyond the four, read where they are used
    // What a pupil starts with before choosing: the defaults, or the teacher's values.
    // Options equal to these are not written to the settings file.
    PupilOptions startingOptions;
    TeacherSettings teacher;  // the teacher's file, if any: values, locks, Create Question
    // The teacher's file's mistakes, for the shell to show once the window is up.
    std::u16string teacherFileMessage;
    bool systemHighContrast = false;  // the platform's setting, told by the shell
    BoardPalette palette = standardPalette;
    // What the features draw in the panel's free space (never over what the panel and
    // the board draw), in the order added: after the answer, before the balloon.
    std::vector<std::function<void(Graphics&)>> freeSpaceDrawers;
    std::unique_ptr<Image> logoImage;
    std::unique_ptr<Image> mascotImage;
    std::unique_ptr<Image> balloonImage;  // five 63 x 75 frames side by side
    int balloonStage = 0;                 // 0 none; 1 to 4 frame stage-1 at rest; 5 frame 4 rising
    // The balloon's stage while it rises, the only stage that moves with time alone.
    static constexpr int balloonRising = 5;
    float balloonY = 465.0f;
    double balloonSpeed = 15.0;  // pixels per second while rising
    bool aboutRequested = false;
};

// The four values where they live: the flags in panel.board, the difficulty in panel.
UserSettings settingsOf(const LessonPanel& panel);
// Stores them there.
void applySettings(LessonPanel& panel, const UserSettings& settings);
// The four and the options beyond them.
StoredSettings storedSettingsOf(const LessonPanel& panel);
// Stores them all and takes the colours for the contrast they give.
void applyStoredSettings(LessonPanel& panel, const StoredSettings& settings);
