// The lesson's sound: a cue for a line right, an entry wrong and a question answered,
// played through the installed sound player while the pupil's sound setting is on.
// Every cue has its picture (the red entry, the new line, the answer) and its words for
// the screen reader already, so sound off loses nothing.
#pragma once

#include <optional>

#include "events/LessonEvents.h"
#include "platform/SoundPlayer.h"

class LessonPanel;

// The cue an event calls for, if any.
std::optional<Cue> cueFor(const LessonEvent& event);

// Listens to the panel's events and plays their cues while panel.options.sound is on.
void listenForSound(LessonPanel& panel);
