// The screen reader's listener: it hears the lesson's events as they come, keeps the
// working-out's words up to date line by line, and once per frame (or batch of
// messages) says what the window should tell the reader: its words when they changed,
// and one notice of what happened since the last time.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board/WorkingBoard.h"
#include "events/LessonEvents.h"
#include "platform/Host.h"

class Narration {
public:
    explicit Narration(const WorkingBoard& board);

    // Called with every event of the stream, in order.
    void hear(const LessonEvent& event);

    // What to tell the reader now. text: the window's words when they changed since
    // the last ones given (always on the first call); notice: the events heard since the
    // last call, as one utterance, or empty. The events heard before the first call
    // are told by the first words themselves, not as a notice.
    struct News {
        std::optional<AccessibleText> text;
        std::u16string notice;
    };
    News takeNews();

private:
    // Text that grows and shrinks a piece at a time at its end.
    struct Pieces {
        std::u16string text;
        std::vector<std::size_t> ends;
        void push(const std::u16string& piece);
        void pop();
        void clear();
    };

    void rebuildLines();
    void addStep(int multiple, int left);

    const WorkingBoard& board;
    // The working-out so far: the question, "Start with" and each completed step, each
    // line ending in a line break; and the multiples as the total line reads them.
    Pieces lines;
    Pieces sum;
    // What the lines were worded with; other words (the settings or the language
    // changed) word them again.
    bool linesLotsOf = true;
    std::string linesLanguage;
    bool linesChanged = true;

    // The notice being gathered, and whether it ends with the current line.
    std::u16string notice;
    bool noticeAsksLine = false;
    std::vector<std::u16string> spoken;  // what the tutor said in this batch

    bool published = false;
    std::u16string lastValue;
    // The lines as last published, shared with the window until they change.
    std::shared_ptr<const std::u16string> publishedLines;
};
