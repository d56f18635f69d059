// A step's line is "right" when it is complete (its last number accepted), not at each
// number on the way, so a pupil hears one cue per line. A wrong entry of any kind gets
// its cue at once. The answer's cue follows its last line's within the same key press
// and replaces it.
#include "features/sound/SoundCues.h"

#include "lesson/LessonPanel.h"

std::optional<Cue> cueFor(const LessonEvent& event) {
    if (std::holds_alternative<StepCompleted>(event)) {
        return Cue::LineRight;
    }
    if (const auto* entry = std::get_if<EntryChecked>(&event); entry && !entry->right) {
        return Cue::EntryWrong;
    }
    if (std::holds_alternative<AnswerReached>(event)) {
        return Cue::QuestionAnswered;
    }
    return std::nullopt;
}

void listenForSound(LessonPanel& panel) {
    panel.events.listen([&panel](const LessonEvent& event) {
        SoundPlayer* player = soundPlayer();
        if (!panel.options.sound || player == nullptr) {
            return;
        }
        if (std::holds_alternative<QuestionStarted>(event)) {
            player->prepare();
        }
        if (const std::optional<Cue> cue = cueFor(event)) {
            player->play(*cue);
        }
    });
}
