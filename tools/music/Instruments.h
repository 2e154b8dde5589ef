#pragma once
// The synthesiser voices: each renders one note of the score and adds it into a buffer.
#include "AudioBuffer.h"
#include "Score.h"

namespace music {

void RenderNote(const Note& note, StereoBuffer& out);

}  // namespace music
