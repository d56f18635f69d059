// Qt Multimedia's sound effects, loaded from the run-time folder. A missing file or no
// audio device leaves an effect that plays nothing, which is what sound off sounds like.
#include "platform/qt/QtSoundPlayer.h"

#include <QUrl>

namespace {
constexpr std::array<Cue, 3> cues{Cue::LineRight, Cue::EntryWrong, Cue::QuestionAnswered};
}

void QtSoundPlayer::prepare() {
    if (effects[0]) {
        return;
    }
    for (std::size_t index = 0; index < cues.size(); ++index) {
        effects[index] = std::make_unique<QSoundEffect>();
        effects[index]->setSource(QUrl::fromLocalFile(QString::fromUtf8(cueFile(cues[index]))));
    }
}

void QtSoundPlayer::play(Cue cue) {
    prepare();
    for (auto& effect : effects) {
        effect->stop();  // one cue at a time: the newer replaces the older
    }
    effects[static_cast<std::size_t>(cue)]->play();
}
