#include "Composer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "demo/CueSheet.h"

namespace music {
namespace {

constexpr double kBeat = static_cast<double>(cue::kBeat);

Note Hit(Voice voice, float velocity, float pan = 0.0f) {
  Note note{};
  note.voice = voice;
  note.velocity = velocity;
  note.lengthMs = 100.0;
  note.pan = pan;
  note.fromPattern = true;
  return note;
}

}  // namespace

double Composer::TimeOf(double beat) const { return m_downbeat + beat * kBeat; }

void Composer::Add(double beat, Note note) {
  note.timeMs = TimeOf(beat);
  if (note.timeMs < m_start || note.timeMs >= m_end) return;
  m_score.push_back(note);
}

void Composer::Drums(int bar, Groove groove, float intensity) {
  const double b = 4.0 * bar;
  auto sixteenth = [&](int step) { return b + 0.25 * step; };
  // Every fourth bar of a full groove ends in a short snare fill into the next phrase.
  if (bar % 4 == 3 && (groove == Groove::TwoStep || groove == Groove::FourFloor)) {
    for (int step : {13, 14, 15}) {
      Note snare = Hit(Voice::Snare, (0.3f + 0.12f * static_cast<float>(step - 13)) * intensity, -0.15f);
      snare.pitch = static_cast<float>(step - 13);
      Add(sixteenth(step), snare);
    }
  }
  switch (groove) {
    case Groove::None:
      return;
    case Groove::Pulse:
      Add(b, Hit(Voice::Kick, 0.8f * intensity));
      for (int step = 2; step < 16; step += 4) Add(sixteenth(step), Hit(Voice::HatClosed, 0.25f * intensity, 0.2f));
      return;
    case Groove::HalfTime:
      Add(sixteenth(0), Hit(Voice::Kick, 0.9f * intensity));
      Add(sixteenth(10), Hit(Voice::Kick, 0.7f * intensity));
      Add(sixteenth(8), Hit(Voice::Clap, 0.6f * intensity));
      Add(sixteenth(8), Hit(Voice::Snare, 0.5f * intensity));
      for (int step = 0; step < 16; step += 2) {
        Add(sixteenth(step), Hit(Voice::HatClosed, (step % 4 == 2 ? 0.35f : 0.2f) * intensity, 0.25f));
      }
      return;
    case Groove::TwoStep:
      Add(sixteenth(0), Hit(Voice::Kick, 0.95f * intensity));
      Add(sixteenth(10), Hit(Voice::Kick, 0.8f * intensity));
      Add(sixteenth(4), Hit(Voice::Snare, 0.75f * intensity));
      Add(sixteenth(12), Hit(Voice::Snare, 0.75f * intensity));
      Add(sixteenth(7), Hit(Voice::Snare, 0.18f * intensity, -0.2f));
      if (bar % 4 != 3) Add(sixteenth(15), Hit(Voice::Snare, 0.22f * intensity, -0.2f));  // else the fill
      for (int step = 0; step < 16; ++step) {
        const float accent = step % 2 == 0 ? 0.32f : 0.16f;
        Add(sixteenth(step), Hit(step == 14 ? Voice::HatOpen : Voice::HatClosed, accent * intensity, 0.3f));
      }
      return;
    case Groove::FourFloor:
      for (int beat = 0; beat < 4; ++beat) {
        Add(b + beat, Hit(Voice::Kick, 0.95f * intensity));
        Add(b + beat + 0.5, Hit(Voice::HatOpen, 0.22f * intensity, 0.3f));
        Add(b + beat + 0.25, Hit(Voice::HatClosed, 0.12f * intensity, -0.3f));
        Add(b + beat + 0.75, Hit(Voice::HatClosed, 0.14f * intensity, -0.3f));
      }
      Add(b + 1, Hit(Voice::Clap, 0.6f * intensity));
      Add(b + 3, Hit(Voice::Clap, 0.6f * intensity));
      return;
  }
}

void Composer::SnareRoll(int bar, float fromVelocity, float toVelocity) {
  // The last eighth stays empty: a breath before the downbeat it leads into.
  for (int step = 0; step < 14; ++step) {
    const float p = static_cast<float>(step) / 15.0f;
    const float velocity = fromVelocity + (toVelocity - fromVelocity) * p;
    Note snare = Hit(Voice::Snare, velocity, 0.1f);
    snare.pitch = 4.0f * p;
    Add(4.0 * bar + 0.25 * step, snare);
    if (step >= 8) Add(4.0 * bar + 0.25 * step + 0.125, snare);
  }
}

void Composer::Bass(int bar, BassLine line, const Chord& chord, float brightness, float drive) {
  const double b = 4.0 * bar;
  auto note = [&](double beat, double beats, float pitch, float velocity) {
    Note n{};
    n.voice = Voice::Bass;
    n.pitch = pitch;
    n.velocity = velocity;
    n.lengthMs = beats * kBeat;
    n.brightness = brightness;
    n.color = drive;
    Add(b + beat, n);
  };
  const float root = chord.root - 12.0f;
  switch (line) {
    case BassLine::None:
      return;
    case BassLine::Drone:
      note(0.0, 3.9, root, 0.8f);
      return;
    case BassLine::Eighths:
      for (int i = 0; i < 8; ++i) note(0.5 * i, 0.4, root, i % 2 == 0 ? 0.8f : 0.6f);
      return;
    case BassLine::Syncopated:
      note(0.0, 0.6, root, 0.9f);
      note(0.75, 0.5, root, 0.7f);
      note(1.5, 0.4, root + 12.0f, 0.6f);
      note(2.5, 0.4, root, 0.8f);
      note(3.0, 0.4, root + 7.0f, 0.6f);
      note(3.5, 0.4, root + 12.0f, 0.65f);
      return;
    case BassLine::Rolling:
      for (int i = 0; i < 4; ++i) {
        note(i + 0.5, 0.35, root, 0.85f);
        note(i + 0.75, 0.2, root + 12.0f, 0.5f);
      }
      return;
    case BassLine::Driving:
      for (int i = 0; i < 16; ++i) note(0.25 * i, 0.2, i % 8 == 6 ? root + 12.0f : root, i % 4 == 0 ? 0.9f : 0.65f);
      return;
    case BassLine::Bouncy:
      note(0.0, 1.2, root, 0.85f);
      note(1.5, 0.4, root + 12.0f, 0.6f);
      note(2.0, 1.0, root + 7.0f, 0.7f);
      note(3.5, 0.4, root + 12.0f, 0.6f);
      return;
  }
}

void Composer::PadChord(double beat, double beats, const Chord& chord, float brightness, float velocity) {
  // Close voicing around the middle of the keyboard, the lowest voice doubled an octave up.
  const std::array<float, 3> voices = CloseVoicing(chord, 55.0f);
  const float top = std::min({voices[0], voices[1], voices[2]}) + 12.0f;
  for (float pitch : {voices[0], voices[1], voices[2], top}) {
    Note n{};
    n.voice = Voice::Pad;
    n.pitch = pitch;
    n.velocity = velocity;
    n.lengthMs = beats * kBeat;
    n.brightness = brightness;
    n.color = 0.5f;
    Add(beat, n);
  }
}

void Composer::Arpeggio(int bar, const Chord& chord, int notesPerBeat, float brightness, float velocity, Voice voice) {
  static constexpr int kPattern[] = {3, 4, 5, 7, 6, 5, 4, 6};
  const int count = 4 * notesPerBeat;
  for (int i = 0; i < count; ++i) {
    Note n{};
    n.voice = voice;
    n.pitch = ChordTone(chord, kPattern[i % 8]) + (voice == Voice::Bell ? 12.0f : 0.0f);
    n.velocity = velocity * (i % notesPerBeat == 0 ? 1.0f : 0.7f);
    n.lengthMs = kBeat / notesPerBeat;
    n.brightness = brightness;
    n.color = voice == Voice::Bell ? 0.2f : 0.1f;
    n.pan = (i % 2 == 0 ? -0.35f : 0.35f);
    Add(4.0 * bar + static_cast<double>(i) / notesPerBeat, n);
  }
}

void Composer::Motif(int bar, Voice voice, float semitones, float stretch, float brightness, float velocity,
                     int firstNote, int lastNote) {
  for (int i = firstNote; i <= lastNote && i < static_cast<int>(kMotif.size()); ++i) {
    const MotifNote& m = kMotif[static_cast<std::size_t>(i)];
    Note n{};
    n.voice = voice;
    n.pitch = m.pitch + semitones;
    n.velocity = velocity;
    n.lengthMs = m.beats * stretch * kBeat * 0.95;
    n.brightness = brightness;
    n.color = voice == Voice::Bell ? 0.6f : 0.0f;
    n.pan = voice == Voice::Lead ? 0.1f : -0.15f;
    Add(4.0 * bar + m.beat * stretch, n);
  }
}

}  // namespace music
