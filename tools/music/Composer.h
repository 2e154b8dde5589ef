#pragma once
// Writing notes on a section's bar grid: beat 0 is the section's downbeat, a beat is the
// cue sheet's 690 ms; notes falling outside the section are dropped.
#include "Harmony.h"
#include "Score.h"

namespace music {

enum class Groove { None, Pulse, HalfTime, TwoStep, FourFloor };
enum class BassLine { None, Drone, Eighths, Syncopated, Rolling, Driving, Bouncy };

class Composer {
 public:
  Composer(Score& score, double downbeatMs, double startMs, double endMs)
      : m_score(score), m_downbeat(downbeatMs), m_start(startMs), m_end(endMs) {}

  double TimeOf(double beat) const;
  void Add(double beat, Note note);

  void Drums(int bar, Groove groove, float intensity);
  void SnareRoll(int bar, float fromVelocity, float toVelocity);
  void Bass(int bar, BassLine line, const Chord& chord, float brightness, float drive);
  void PadChord(double beat, double beats, const Chord& chord, float brightness, float velocity);
  void Arpeggio(int bar, const Chord& chord, int notesPerBeat, float brightness, float velocity, Voice voice);
  // The motif's four bars from `bar` on, transposed by `semitones`, time-stretched by `stretch`.
  void Motif(int bar, Voice voice, float semitones, float stretch, float brightness, float velocity,
             int firstNote = 0, int lastNote = 1000);

 private:
  Score& m_score;
  double m_downbeat;
  double m_start;
  double m_end;
};

}  // namespace music
