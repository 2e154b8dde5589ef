// The music of each scene, section by section.
#include <algorithm>
#include <cmath>

#include "Composer.h"
#include "Composition.h"
#include "demo/CueSheet.h"

namespace music {
namespace {

double SlotStart(int slot) { return static_cast<double>(cue::kSchedule[static_cast<std::size_t>(slot)].start); }
double SlotEnd(int slot) { return static_cast<double>(cue::SlotEnd(static_cast<std::size_t>(slot))); }

const Chord& ChordOf(const Progression& progression, int bar) {
  return progression[static_cast<std::size_t>((bar % 4 + 4) % 4)];
}

// The intro runs in free time: its harmony turns on the flashes.
struct Change {
  double ms;
  Chord chord;
};
constexpr Change kIntroChanges[] = {{0, {45, false}},     {9700, {41, true}},  {12750, {48, true}}, {15200, {43, true}},
                                    {18300, {45, false}}, {20750, {40, true}}, {23400, {45, false}}};

const Progression& ProgressionOf(int slot) {
  const int scene = cue::kSchedule[static_cast<std::size_t>(slot)].sceneNumber;
  if (scene == 3) return kFaceProgression;
  if (scene == 2 || scene == 9) return kFloatProgression;
  return kMainProgression;
}

void Intro(Score& score) {
  // A pulse starts with the flag at 9700 ms.
  Composer free(score, 0.0, 0.0, SectionDownbeat(1));
  const auto& changes = kIntroChanges;
  for (std::size_t i = 0; i + 1 < std::size(changes); ++i) {
    const double beats = (changes[i + 1].ms - changes[i].ms) / static_cast<double>(cue::kBeat);
    const double beat = changes[i].ms / static_cast<double>(cue::kBeat);
    free.PadChord(beat, beats + 0.2, changes[i].chord, 0.2f + 0.05f * static_cast<float>(i), 0.55f);
    Note drone{};
    drone.voice = Voice::Bass;
    drone.pitch = changes[i].chord.root - 12.0f;
    drone.velocity = 0.45f;
    drone.lengthMs = (changes[i + 1].ms - changes[i].ms) - 40.0;
    drone.brightness = 0.0f;
    free.Add(beat, drone);
  }
  Composer flag(score, 9700.0, 9700.0, 20750.0);
  for (int bar = 0; bar < 4; ++bar) {
    // Eighths over whichever chord sounds at each note.
    for (int eighth = 0; eighth < 8; ++eighth) {
      const double beat = 4.0 * bar + 0.5 * eighth;
      static constexpr int kPattern[] = {3, 4, 5, 7, 6, 5, 4, 6};
      Note pluck{};
      pluck.voice = Voice::Pluck;
      pluck.pitch = ChordTone(ChordAt(flag.TimeOf(beat)), kPattern[eighth]);
      pluck.velocity = eighth % 2 == 0 ? 0.45f : 0.32f;
      pluck.lengthMs = 345.0;
      pluck.brightness = 0.25f + 0.1f * static_cast<float>(bar);
      pluck.color = 0.1f;
      pluck.pan = eighth % 2 == 0 ? -0.35f : 0.35f;
      flag.Add(beat, pluck);
    }
    flag.Drums(bar, Groove::Pulse, 0.4f + 0.1f * static_cast<float>(bar));
  }
  // Build into the tunnel: a snare roll on the flag's grid.
  Composer roll(score, 20750.0, 20750.0, 23390.0);
  roll.SnareRoll(0, 0.1f, 0.5f);
}

void Tunnel(Score& score) {
  Composer c(score, SectionDownbeat(1), SectionDownbeat(1), SectionDownbeat(2) - 5.0);
  for (int bar = 0; bar < 9; ++bar) {
    const float build = static_cast<float>(bar) / 8.0f;
    const Chord& chord = ChordOf(ProgressionOf(1), bar);
    c.PadChord(4.0 * bar, 4.0, chord, 0.25f + 0.35f * build, 0.5f);
    c.Bass(bar, bar < 2 ? BassLine::Drone : BassLine::Eighths, chord, 0.1f + 0.5f * build, 0.1f);
    const Groove groove = bar < 2 ? Groove::Pulse : (bar < 4 ? Groove::HalfTime : Groove::TwoStep);
    if (bar < 8) c.Drums(bar, groove, 0.6f + 0.4f * build);
    if (bar >= 4) c.Arpeggio(bar, chord, 4, 0.3f + 0.5f * build, 0.35f, Voice::Pluck);
  }
  c.Motif(4, Voice::Lead, 0.0f, 1.0f, 0.5f, 0.5f);
  c.SnareRoll(8, 0.3f, 0.9f);
}

void Magnet(Score& score) {
  // The scene slows to half speed at 63500 ms and grinds to a halt in frames from 68000 ms.
  Composer c(score, SectionDownbeat(2), SectionDownbeat(2), 68000.0);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(2), bar);
    const bool halfSpeed = c.TimeOf(4.0 * bar) >= 63400.0;
    c.PadChord(4.0 * bar, 4.0, chord, 0.55f, 0.45f);
    c.Bass(bar, halfSpeed ? BassLine::Drone : BassLine::Syncopated, chord, 0.55f, 0.3f);
    c.Drums(bar, halfSpeed ? Groove::HalfTime : Groove::TwoStep, 1.0f);
  }
  c.Motif(0, Voice::Lead, 0.0f, 1.0f, 0.55f, 0.55f);
  c.Motif(4, Voice::Lead, 12.0f, 1.0f, 0.6f, 0.4f);
  c.Motif(4, Voice::Lead, 0.0f, 1.0f, 0.5f, 0.35f);
}

void Zelle(Score& score) {
  Composer c(score, SectionDownbeat(3), SectionDownbeat(3), SlotEnd(3) - 5.0);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(3), bar);
    c.PadChord(4.0 * bar, 4.0, chord, 0.35f, 0.35f);
    c.Bass(bar, BassLine::Syncopated, chord, 0.35f, 0.0f);
    c.Drums(bar, Groove::HalfTime, 0.9f);
    c.Arpeggio(bar, chord, 4, 0.6f, 0.4f, Voice::Bell);
  }
  c.Motif(4, Voice::Lead, -12.0f, 1.0f, 0.35f, 0.45f);
  c.SnareRoll(7, 0.2f, 0.7f);
}

void Qualle(Score& score) {
  // Breakdown: floating pads and slow bells; the groove returns with the jump at 102100 ms.
  Composer c(score, SectionDownbeat(4), SectionDownbeat(4), SlotEnd(4) - 5.0);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(4), bar);
    c.PadChord(4.0 * bar, 4.0, chord, 0.3f + 0.05f * static_cast<float>(bar), 0.55f);
    c.Bass(bar, bar < 4 ? BassLine::Drone : BassLine::Bouncy, chord, 0.2f, 0.0f);
    if (bar >= 4) c.Drums(bar, Groove::HalfTime, 0.55f + 0.08f * static_cast<float>(bar - 4));
    if (bar >= 2 && bar < 4) c.Arpeggio(bar, chord, 2, 0.3f, 0.3f, Voice::Bell);
  }
  c.Motif(0, Voice::Bell, 0.0f, 2.0f, 0.2f, 0.6f);
  c.Motif(4, Voice::Bell, 12.0f, 1.0f, 0.3f, 0.4f);
}

void Fratze(Score& score) {
  Composer c(score, SectionDownbeat(5), SectionDownbeat(5), SlotEnd(5) - 5.0);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(5), bar);
    c.Bass(bar, BassLine::Driving, chord, 0.45f, 1.0f);
    c.Drums(bar, Groove::TwoStep, 1.0f);
    if (bar % 2 == 1) c.PadChord(4.0 * bar, 4.0, chord, 0.6f, 0.35f);
    for (double beat : {0.0, 1.5, 3.0}) {
      Note stab{};
      stab.voice = Voice::Stab;
      stab.pitch = chord.root + 12.0f;
      stab.velocity = 0.35f;
      stab.lengthMs = 120.0;
      stab.brightness = 0.55f;
      stab.color = chord.major ? 1.0f : 0.0f;
      stab.fromPattern = true;
      c.Add(4.0 * bar + beat, stab);
    }
  }
  c.SnareRoll(7, 0.3f, 1.0f);
}

void Blob(Score& score) {
  // Four on the floor on the scene's pulse: the beat the blob pulses to from 135547 ms.
  Composer c(score, SectionDownbeat(6), SlotStart(6), 156200.0);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(6), bar);
    c.Drums(bar, Groove::FourFloor, 1.0f);
    c.Bass(bar, BassLine::Rolling, chord, 0.5f + 0.04f * static_cast<float>(bar), 0.4f);
    c.PadChord(4.0 * bar, 4.0, chord, 0.6f, 0.4f);
    c.Arpeggio(bar, chord, 4, 0.7f, 0.25f, Voice::Pluck);
  }
  c.Motif(0, Voice::Lead, 0.0f, 1.0f, 0.7f, 0.5f);
  c.Motif(4, Voice::Lead, 12.0f, 1.0f, 0.75f, 0.45f);
  c.Motif(4, Voice::Lead, 0.0f, 1.0f, 0.7f, 0.35f);
}

void Soft(Score& score) {
  Composer c(score, SectionDownbeat(7), SectionDownbeat(7), SlotEnd(7) - 5.0);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(7), bar);
    c.PadChord(4.0 * bar, 4.0, chord, 0.5f, 0.5f);
    c.Bass(bar, BassLine::Bouncy, chord, 0.35f, 0.0f);
    c.Drums(bar, bar < 4 ? Groove::HalfTime : Groove::TwoStep, 0.8f);
    c.Arpeggio(bar, chord, 2, 0.45f, 0.35f, Voice::Pluck);
  }
  c.Motif(4, Voice::Lead, -12.0f, 1.0f, 0.4f, 0.45f);
  c.SnareRoll(7, 0.2f, 0.9f);
}

void Logo(Score& score) {
  // The finale until the black fade, then the last chord rings into silence.
  const double fade = static_cast<double>(cue::kBlackFader[0].start);
  Composer c(score, SectionDownbeat(8), SectionDownbeat(8), fade - 5.0);
  for (int bar = 0; bar < 5; ++bar) {
    const Chord& chord = ChordOf(ProgressionOf(8), bar);
    c.Drums(bar, bar == 0 ? Groove::TwoStep : Groove::FourFloor, 1.0f);
    c.Bass(bar, BassLine::Rolling, chord, 0.6f, 0.3f);
    c.PadChord(4.0 * bar, 4.0, chord, 0.7f, 0.5f);
    c.Arpeggio(bar, chord, 4, 0.75f, 0.25f, Voice::Pluck);
  }
  c.Motif(0, Voice::Lead, 12.0f, 1.0f, 0.8f, 0.45f);
  c.Motif(0, Voice::Lead, 0.0f, 1.0f, 0.75f, 0.4f);
  c.Motif(0, Voice::Bell, 12.0f, 1.0f, 0.4f, 0.3f);

  Composer outro(score, fade, fade, 200000.0);
  // The last hit opens the fade to black and the credits.
  Note impact{};
  impact.voice = Voice::Impact;
  impact.velocity = 0.9f;
  impact.color = 1.0f;
  outro.Add(0.0, impact);
  Note crash = impact;
  crash.voice = Voice::Crash;
  crash.velocity = 0.4f;
  outro.Add(0.0, crash);
  const Chord home = ChordAt(fade);
  outro.PadChord(0.0, 5.0, home, 0.5f, 0.6f);
  Note root{};
  root.voice = Voice::Bass;
  root.pitch = 33.0f;
  root.velocity = 0.8f;
  root.lengthMs = 3200.0;
  root.brightness = 0.2f;
  outro.Add(0.0, root);
  // The motif's first phrase once more on a bell, slowly, into the dark.
  outro.Motif(0, Voice::Bell, 12.0f, 1.5f, 0.25f, 0.35f, 0, 4);
}

}  // namespace

Chord ChordAt(double ms) {
  int slot = 0;
  for (std::size_t i = 0; i < cue::kSchedule.size(); ++i) {
    if (ms >= SectionDownbeat(static_cast<int>(i))) slot = static_cast<int>(i);
  }
  // The last chord rings through the fade to black: home.
  if (ms >= static_cast<double>(cue::kBlackFader[0].start)) return kIntroChanges[0].chord;
  if (slot == 0) {
    Chord chord = kIntroChanges[0].chord;
    for (const Change& change : kIntroChanges) {
      if (ms >= change.ms) chord = change.chord;
    }
    return chord;
  }
  const double bar = std::floor((ms - SectionDownbeat(slot)) / static_cast<double>(cue::kBar));
  return ChordOf(ProgressionOf(slot), static_cast<int>(bar));
}

double SectionDownbeat(int slot) {
  // The blob's bars run on its pulse, which starts 397 ms into the scene.
  if (cue::kSchedule[static_cast<std::size_t>(slot)].sceneNumber == 0) return static_cast<double>(cue::kBlobPulseFirst);
  // A full flash just before a scene (the tunnel's and the magnet's, 100 ms early) is its downbeat.
  const cue::Millis start = cue::kSchedule[static_cast<std::size_t>(slot)].start;
  for (const cue::AlphaKey& key : cue::kFlasher) {
    if (key.from >= 1.0f && key.start < start && key.start >= start - 150) return static_cast<double>(key.start);
  }
  return static_cast<double>(start);
}

double ArrangementLevelDb(double ms) {
  struct Point {
    double ms;
    double db;
  };
  // Quiet intro, the tunnel's crescendo, the jellyfish breakdown, the blob's peak, the soft
  // bodies' release and the finale.
  static constexpr Point kCurve[] = {
      {0, -7.0},        {9700, -6.0},     {20750, -5.0},    {23400, -5.0},    {36000, -3.0},
      {46800, -1.0},    {46900, 0.0},     {63500, -0.5},    {69000, -1.5},    {90900, -1.5},
      {91000, -4.5},    {102000, -4.0},   {102100, -2.5},   {113050, -1.5},   {113150, 0.0},
      {135150, 0.5},    {157150, 1.0},    {157250, -2.0},   {176500, -1.5},   {179300, 0.5},
      {204200, 0.5},
  };
  if (ms <= kCurve[0].ms) return kCurve[0].db;
  for (std::size_t i = 0; i + 1 < std::size(kCurve); ++i) {
    if (ms < kCurve[i + 1].ms) {
      const double p = (ms - kCurve[i].ms) / (kCurve[i + 1].ms - kCurve[i].ms);
      return kCurve[i].db + (kCurve[i + 1].db - kCurve[i].db) * p;
    }
  }
  return std::end(kCurve)[-1].db;
}

Score ComposeSections() {
  Score score;
  Intro(score);
  Tunnel(score);
  Magnet(score);
  Zelle(score);
  Qualle(score);
  Fratze(score);
  Blob(score);
  Soft(score);
  Logo(score);
  return score;
}

}  // namespace music
