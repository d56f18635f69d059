// The installed sound player and the cues' files.
#include "platform/SoundPlayer.h"

namespace {
SoundPlayer* installedPlayer = nullptr;
}

const char* cueFile(Cue cue) {
    switch (cue) {
        case Cue::LineRight:
            return "Resources/sounds/right.wav";
        case Cue::EntryWrong:
            return "Resources/sounds/wrong.wav";
        case Cue::QuestionAnswered:
            return "Resources/sounds/answered.wav";
    }
    return "Resources/sounds/right.wav";
}

void installSoundPlayer(SoundPlayer* player) {
    installedPlayer = player;
}

SoundPlayer* soundPlayer() {
    return installedPlayer;
}
