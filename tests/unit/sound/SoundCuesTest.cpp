// The cues a pupil's work plays: one per completed line, one per wrong entry, one for
// the answer; none at all with sound off or with no player installed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeDrawing.h"
#include "features/sound/SoundCues.h"
#include "lesson/LessonPanel.h"
#include "platform/KeyCodes.h"

namespace {

struct RecordingPlayer : SoundPlayer {
    void play(Cue cue) override { played.push_back(cue); }
    std::vector<Cue> played;
};

struct ServicesWithPictures : FakeDrawingServices {
    ServicesWithPictures() { registerProgramImageSizes(*this); }
};

void enter(LessonPanel& panel, int number) {
    for (char digit : std::to_string(number)) {
        panel.board.keyPressed(digit);
    }
    panel.board.keyPressed(KeyCode::Enter);
}

// 100 ÷ 7: 10 lots (a wrong product first), then 4 lots, then the total 14.
std::vector<Cue> cuesFor100By7(bool soundOn, bool playerInstalled) {
    ServicesWithPictures services;
    RecordingPlayer player;
    installSoundPlayer(playerInstalled ? &player : nullptr);
    LessonPanel panel;
    panel.options.sound = soundOn;
    listenForSound(panel);
    panel.startQuestion(100, 7, true);
    for (int number : {10, 60}) {
        enter(panel, number);
    }
    panel.board.keyPressed('0');  // clears the wrong product
    for (int number : {70, 30, 4, 28, 2, 14}) {
        enter(panel, number);
    }
    installSoundPlayer(nullptr);
    return player.played;
}

TEST(SoundCuesTest, EachLineWrongEntryAndAnswerHasOneCueOnlyWhileSoundIsOn) {
    const std::vector<Cue> expected{Cue::EntryWrong, Cue::LineRight, Cue::LineRight,
                                    Cue::QuestionAnswered};
    EXPECT_EQ(cuesFor100By7(true, true), expected);
    EXPECT_TRUE(cuesFor100By7(false, true).empty());
    EXPECT_TRUE(cuesFor100By7(true, false).empty());
}

}  // namespace
