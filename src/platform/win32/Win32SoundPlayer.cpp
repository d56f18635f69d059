// PlaySound plays one sound at a time per process: an asynchronous play stops the one
// before, which is the rule the cues want. The memory must stay valid while a sound
// plays, so the files are read once and kept until the player goes, which stops any
// sound still playing first.
#include "platform/win32/Win32SoundPlayer.h"

#include "platform/win32/Win32Windows.h"

#include <mmsystem.h>

#include <fstream>
#include <iterator>

namespace {
std::string wholeFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
}  // namespace

Win32SoundPlayer::Win32SoundPlayer() {
    waves[0] = wholeFile(cueFile(Cue::LineRight));
    waves[1] = wholeFile(cueFile(Cue::EntryWrong));
    waves[2] = wholeFile(cueFile(Cue::QuestionAnswered));
}

Win32SoundPlayer::~Win32SoundPlayer() {
    PlaySoundW(nullptr, nullptr, 0);
}

void Win32SoundPlayer::play(Cue cue) {
    const std::string& wave = waves[static_cast<std::size_t>(cue)];
    if (wave.empty()) {
        return;
    }
    PlaySoundW(reinterpret_cast<LPCWSTR>(wave.data()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}
