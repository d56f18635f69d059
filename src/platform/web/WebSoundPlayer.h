// The cues in a browser: the WAV files are served beside the page, not packed with the
// program (nothing of the first frame needs them); the page fetches them once and plays
// them through Web Audio (WebSound.js).
#pragma once

#include "platform/SoundPlayer.h"

class WebSoundPlayer : public SoundPlayer {
public:
    WebSoundPlayer();
    void play(Cue cue) override;
};
