// Hands each cue's file to the page at start-up; the page decodes them once the pupil
// has first touched or typed, as browsers require.
#include "platform/web/WebSoundPlayer.h"

#include <fstream>
#include <iterator>
#include <string>

#include "platform/web/WebBridge.h"

WebSoundPlayer::WebSoundPlayer() {
    for (Cue cue : {Cue::LineRight, Cue::EntryWrong, Cue::QuestionAnswered}) {
        std::ifstream file(cueFile(cue), std::ios::binary);
        const std::string wave{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
        if (!wave.empty()) {
            web_load_cue(static_cast<int>(cue), wave.data(), static_cast<int>(wave.size()));
        }
    }
}

void WebSoundPlayer::play(Cue cue) {
    web_play_cue(static_cast<int>(cue));
}
