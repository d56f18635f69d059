// Names each cue's file to the page at start-up; the page fetches them beside itself
// and decodes them once the pupil has first touched or typed, as browsers require.
#include "platform/web/WebSoundPlayer.h"

#include <initializer_list>

#include "platform/web/WebBridge.h"

WebSoundPlayer::WebSoundPlayer() {
    for (Cue cue : {Cue::LineRight, Cue::EntryWrong, Cue::QuestionAnswered}) {
        web_load_cue(static_cast<int>(cue), cueFile(cue));
    }
}

void WebSoundPlayer::play(Cue cue) {
    web_play_cue(static_cast<int>(cue));
}
