// Short non-verbal cues, played by the platform: Qt Multimedia on Linux, PlaySound on
// Windows, Web Audio in a browser. Each backend installs its player before the
// application is made; without one (tests, a machine with no sound) nothing plays.
// A cue replaces one still playing, so a step's "right" gives way to "answered".
#pragma once

enum class Cue { LineRight, EntryWrong, QuestionAnswered };

// The file each cue is played from, under the run-time folder.
const char* cueFile(Cue cue);

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Gets the cues ready to play at once; called while sound is on before any cue is
    // wanted, so a player that costs something to start (an audio device opened, and
    // complaints on standard error where there is none) costs nothing while sound is off.
    virtual void prepare() {}
    virtual void play(Cue cue) = 0;
};

// The pointer is not owned; null (the default) means no sound.
void installSoundPlayer(SoundPlayer* player);
SoundPlayer* soundPlayer();
