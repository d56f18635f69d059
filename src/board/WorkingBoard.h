// The working-out of one division question: the model of its steps, the checking of
// every typed number, and its drawing. One board lives for the whole run; each new
// question is set up on it.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "board/BoardPalette.h"
#include "board/BoardState.h"
#include "events/LessonEvents.h"
#include "platform/Drawing.h"
#include "platform/Geometry.h"
#include "widgets/Glideport.h"
#include "widgets/NumericInput.h"

class WorkingBoard {
public:
    WorkingBoard();
    ~WorkingBoard();
    WorkingBoard(const WorkingBoard&) = delete;
    WorkingBoard& operator=(const WorkingBoard&) = delete;

    // Question life cycle (WorkingBoard.cpp).
    void setUpQuestion(int dividend, int divisor);
    void restartQuestion();
    void frameUpdate(double elapsedSeconds, Point pointer);

    // The pupil's side (WorkingBoardInput.cpp).
    void keyPressed(int key);
    void pressAt(Point point);
    void rememberDirection();
    bool isKnownMultiple(int multiple) const;
    bool remainderIsGiven() const;
    int sumOfMultiples() const;
    // True when a completed step of this multiple still fits into what remains, so its
    // Repeat icon is shown and a press on it repeats the step.
    bool canRepeat(int multiple) const;
    void clearError();

    // Where a press on each icon lands, in back-buffer pixels, while that press would
    // act; nothing otherwise. The keys that stand for the icons press there.
    std::optional<Point> deleteIconPoint();
    std::optional<Point> repeatIconPoint(int multiple);
    std::optional<Point> upIconPoint() const;

    // Drawing (WorkingBoardDrawing.cpp). Writes the entry row's position,
    // entryRowPosition and upIconShown, which only drawing can settle.
    void draw(BackBuffer& backBuffer);

    // Stage operations shared by set-up and step entry.
    static int digitCount(int value);
    void limitEntryDigits(int value);
    void glideToBottom();
    void enterStage(BoardState stage);
    void startNextStep();
    void recordStep();

    // Where the board tells what happens (entries checked, steps, the answer); none in
    // tests that do not listen. The lesson panel points it at its own stream.
    LessonEvents* events = nullptr;
    void tell(const LessonEvent& event) const;
    // The line the step in progress (or the total) is written on, counted from 1.
    int currentLine() const { return static_cast<int>(usedMultiples.size()) + 1; }

    std::vector<int> usedMultiples;  // multiple of each completed step, oldest first
    int dividend = 0;
    int remaining = 0;  // dividend - divisor x (sum of usedMultiples)
    int divisor = 1;
    int currentMultiple = 0;  // the step in progress; 0 while none is accepted
    int currentProduct = 0;   // in MultipleTooBig: the rejected multiple x divisor
    int answer = 0;
    std::unique_ptr<NumericInput> entryRow;  // absent until the first set-up
    Glideport glideport{0.0, 800.0, 0.0f, 0.0f, 480.0f, 574.0f, 480.0f, 574.0f};

    Colour inkColour = 0xFF1E1E1E;
    Colour rejectColour = 0xFFFA3232;
    Colour spentColour = 0xFFB4B4B4;
    Colour multipleColour = 0xFF963296;
    Colour remainderColour = 0xFF329632;
    Colour entryColour = 0xFF1E1E64;  // the entry row's ink, and when wrong
    Colour entryWrongColour = 0xFFFA1E1E;
    // Takes the palette's board inks, also for the entry row on the board now.
    void usePalette(const BoardPalette& palette);
    void paintEntryRow();

    std::unique_ptr<Font> boardFont;
    Point entryRowPosition;  // content coordinates of the entry row, written by draw
    std::unique_ptr<Image> repeatIcon;
    std::unique_ptr<Image> deleteIcon;
    std::unique_ptr<Image> upIcon;
    bool upIconShown = false;  // draw showed the Up icon this frame
    BoardState state = EnterMultiple;

    // The three settings held here. These starting values apply until the settings
    // file is read, and stay when it lacks an entry.
    bool autoProduct = false;
    bool autoRemainder = false;
    bool displayLotsOf = true;

    // The typing direction the pupil last chose in each entry stage (0 or 1); kept
    // across questions.
    int multipleRightToLeft = 0;
    int productRightToLeft = 0;
    int remainderRightToLeft = 0;
    int answerRightToLeft = 0;

    float rowHeight = 40.0f;
    float requiredHeight = 0.0f;  // content height the working-out needs this frame
    // The previous frame's requiredHeight; unset until the first frame, which never
    // glides.
    std::optional<float> lastRequiredHeight;
};
