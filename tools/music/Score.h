#pragma once
// The score: every note and hit of the piece with its time in show milliseconds.
#include <cstdint>
#include <vector>

namespace music {

enum class Voice : std::uint8_t {
  // drums
  Kick, Snare, Clap, HatClosed, HatOpen, Crash, Tom,
  // accents and effects
  Impact, Tick, Riser, Whoosh, ReverseSwell,
  // tonal
  Bass, Pad, Pluck, Lead, Stab, Bell,
};

// Where a voice is mixed.
enum class Bus : std::uint8_t { Drums, Bass, Pads, Leads, Plucks, Accents, Effects, Count };

Bus BusOf(Voice voice);

struct Note {
  double timeMs;
  Voice voice;
  float pitch;       // MIDI note number (drums: a tuning offset in semitones)
  float velocity;    // 0…1
  double lengthMs;   // held length; percussive voices ring out by themselves
  float pan = 0.0f;  // -1 left … +1 right
  float brightness = 0.5f;  // filter opening, 0…1
  float color = 0.0f;       // voice-specific character (drive, chord quality, …)
  bool fromPattern = false; // a groove note that an accent on the same spot replaces
};

using Score = std::vector<Note>;

}  // namespace music
