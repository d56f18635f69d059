// The cues in a browser: the WAV files are read from the packed run-time files once and
// handed to the page, which plays them through Web Audio (WebSound.js).
#pragma once

#include "platform/SoundPlayer.h"

class WebSoundPlayer : public SoundPlayer {
public:
    WebSoundPlayer();
    void play(Cue cue) override;
};
