#include "Oscillator.h"

#include <cmath>


namespace music {
float MidiToFrequency(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }

}  // namespace music
