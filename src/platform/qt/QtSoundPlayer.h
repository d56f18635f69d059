// The cues through Qt Multimedia. Each cue's sound effect is loaded once at start-up,
// so a play starts within a few milliseconds of the key that asked for it.
#pragma once

#include <QSoundEffect>
#include <array>
#include <memory>

#include "platform/SoundPlayer.h"

class QtSoundPlayer : public SoundPlayer {
public:
    void prepare() override;
    void play(Cue cue) override;

private:
    std::array<std::unique_ptr<QSoundEffect>, 3> effects;
};
