// The cues through PlaySound, from copies of the sound files held in memory, so that a
// play needs no disk access and starts at once.
#pragma once

#include <array>
#include <string>

#include "platform/SoundPlayer.h"

class Win32SoundPlayer : public SoundPlayer {
public:
    Win32SoundPlayer();
    ~Win32SoundPlayer() override;
    Win32SoundPlayer(const Win32SoundPlayer&) = delete;
    Win32SoundPlayer& operator=(const Win32SoundPlayer&) = delete;
    void play(Cue cue) override;

private:
    std::array<std::string, 3> waves;  // each cue's whole WAV file; empty when unreadable
};
