#pragma once
// The piece's harmonic material: chord progressions in A minor and the main motif, which
// returns in most sections (lead, bells, the finale).
#include <array>

namespace music {

struct Chord {
  float root;   // MIDI note of the root in the bass octave
  bool major;
};

using Progression = std::array<Chord, 4>;

// i – VI – III – VII: the piece's main turn.
inline constexpr Progression kMainProgression = {{{45, false}, {41, true}, {48, true}, {43, true}}};
// The face: the minor chord held, then the leading dominant for menace.
inline constexpr Progression kFaceProgression = {{{45, false}, {45, false}, {41, true}, {40, true}}};
// The jellyfish and the soft bodies: brighter, starting away from home; the motif's bars
// still fit their chords (A–C–E over F and A minor, G–C–E over C, D–B over G).
inline constexpr Progression kFloatProgression = {{{41, true}, {45, false}, {48, true}, {43, true}}};

// Chord tones upwards from the root: root, third, fifth, octave, tenth …
inline float ChordTone(const Chord& chord, int degree) {
  const float thirds[] = {0.0f, chord.major ? 4.0f : 3.0f, 7.0f};
  const int octave = degree >= 0 ? degree / 3 : (degree - 2) / 3;
  const int index = degree - octave * 3;
  return chord.root + 12.0f * static_cast<float>(octave) + thirds[index];
}

// The chord's three tones placed inside one octave from `low` upwards: whichever chord comes,
// its voices stay close to the previous ones (smooth voice leading for pads and stabs).
inline std::array<float, 3> CloseVoicing(const Chord& chord, float low) {
  std::array<float, 3> voices{};
  for (int degree = 0; degree < 3; ++degree) {
    float pitch = ChordTone(chord, degree);
    while (pitch < low) pitch += 12.0f;
    while (pitch >= low + 12.0f) pitch -= 12.0f;
    voices[static_cast<std::size_t>(degree)] = pitch;
  }
  return voices;
}

struct MotifNote {
  float beat;    // from the start of the four-bar phrase
  float pitch;   // MIDI
  float beats;   // length
};

// Four bars over the main progression, leading back to A at the end.
inline constexpr std::array<MotifNote, 19> kMotif = {{
    {0.0f, 69, 1.0f},  {1.0f, 72, 0.5f},  {1.5f, 76, 1.0f},  {2.5f, 74, 0.5f},  {3.0f, 72, 1.0f},
    {4.0f, 69, 1.5f},  {5.5f, 72, 0.5f},  {6.0f, 76, 1.0f},  {7.0f, 72, 1.0f},
    {8.0f, 67, 1.0f},  {9.0f, 72, 0.5f},  {9.5f, 76, 1.0f},  {10.5f, 79, 0.5f}, {11.0f, 76, 1.0f},
    {12.0f, 74, 1.5f}, {13.5f, 71, 0.5f}, {14.0f, 74, 1.0f}, {15.0f, 76, 0.5f}, {15.5f, 79, 0.5f},
}};

}  // namespace music
