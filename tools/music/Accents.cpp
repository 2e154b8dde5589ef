// The cue sheet's accents: every flasher key start, speed jump and shake lands on a hit.
#include <algorithm>
#include <cmath>

#include "Composition.h"
#include "Harmony.h"
#include "demo/CueSheet.h"

namespace music {
namespace {

Note Make(double ms, Voice voice, float velocity, float pitch = 0.0f, double lengthMs = 100.0) {
  Note note{};
  note.timeMs = ms;
  note.voice = voice;
  note.velocity = velocity;
  note.pitch = pitch;
  note.lengthMs = lengthMs;
  return note;
}

void Stab(Score& score, double ms, float velocity, double lengthMs) {
  const Chord chord = ChordAt(ms);
  Note stab = Make(ms, Voice::Stab, velocity, chord.root + 12.0f, lengthMs);
  stab.color = chord.major ? 1.0f : 0.0f;
  stab.brightness = 0.7f;
  score.push_back(stab);
}

void FlasherAccents(Score& score) {
  for (const cue::AlphaKey& key : cue::kFlasher) {
    const double ms = static_cast<double>(key.start);
    const double span = static_cast<double>(key.end - key.start);
    if (key.to > key.from) {
      // A flash that fades in: a soft hit and a riser into the next downbeat.
      score.push_back(Make(ms, Voice::Tom, 0.5f, 45.0f));
      Note riser = Make(ms, Voice::Riser, 0.5f, 57.0f, span);
      score.push_back(riser);
      continue;
    }
    const float alpha = key.from;
    if (alpha >= 0.95f) {
      Note impact = Make(ms, Voice::Impact, 0.75f + 0.2f * (alpha - 1.0f) * 10.0f);
      impact.color = std::min(1.0f, static_cast<float>(span) / 2000.0f);
      score.push_back(impact);
      Note crash = Make(ms, Voice::Crash, 0.4f);
      crash.color = impact.color;
      score.push_back(crash);
      score.push_back(Make(ms, Voice::Kick, 0.9f));
    } else if (span <= 60.0) {
      // The blob's pulse and the slides' flicker: the kick of the beat itself.
      score.push_back(Make(ms, Voice::Kick, 0.95f));
      score.push_back(Make(ms, Voice::Clap, 0.35f));
      score.push_back(Make(ms, Voice::Tick, 0.4f, 96.0f));
    } else if (alpha >= 0.45f) {
      Stab(score, ms, 0.35f + 0.4f * alpha, std::min(span, 400.0));
      score.push_back(Make(ms, Voice::Clap, 0.3f + 0.4f * alpha));
    } else if (alpha >= 0.25f) {
      Stab(score, ms, 0.3f + 0.4f * alpha, 80.0);
      score.push_back(Make(ms, Voice::Tick, 0.6f, 96.0f));
    } else {
      score.push_back(Make(ms, Voice::Tick, 0.7f, 100.0f));
    }
  }
}

bool NearFlash(double ms) {
  for (const cue::AlphaKey& key : cue::kFlasher) {
    if (std::fabs(static_cast<double>(key.start) - ms) < 40.0) return true;
  }
  return false;
}

void SceneEventAccents(Score& score) {
  // Speed jumps that no flash marks: a tom; the magnet's frame-by-frame halt: falling toms.
  for (const cue::SpeedCue& event : cue::kSpeedEvents) {
    const double ms = static_cast<double>(event.time);
    if (NearFlash(ms)) continue;
    if (event.sceneIndex == 4 && event.time >= 68000) {
      const float fall = static_cast<float>(event.time - 68000) / 660.0f;
      score.push_back(Make(ms, Voice::Tom, 0.8f, 50.0f - 12.0f * fall));
      score.push_back(Make(ms, Voice::Tick, 0.4f, 84.0f - 12.0f * fall));
      continue;
    }
    score.push_back(Make(ms, Voice::Tom, 0.7f, 43.0f));
    score.push_back(Make(ms, Voice::Crash, 0.3f));
  }
  // Shakes: an impact that grows with the shake's amplitude.
  for (const cue::ShakeCue& shake : cue::kShakeEvents) {
    const double ms = static_cast<double>(shake.start);
    Note impact = Make(ms, Voice::Impact, std::min(1.0f, 0.35f + shake.amplitude / 200.0f));
    impact.color = 0.3f;
    score.push_back(impact);
    if (!NearFlash(ms)) score.push_back(Make(ms, Voice::Tom, 0.6f, 40.0f));
  }
}

void MotionSweeps(Score& score) {
  // Captions sliding in, slides pushing, the soft scene's camera rolls: whooshes.
  for (const cue::CaptionCue& caption : cue::kCaptions) {
    const double start = static_cast<double>(caption.slideInStart) - 150.0;
    score.push_back(Make(start, Voice::Whoosh, 0.35f, 0.0f, static_cast<double>(caption.slideInEnd - caption.slideInStart) + 300.0));
  }
  for (const cue::SlideCue& slide : cue::kSlides) {
    score.push_back(Make(static_cast<double>(slide.start), Voice::Whoosh, 0.3f, 0.0f,
                         static_cast<double>(slide.end - slide.start) + 100.0));
  }
  for (const cue::RollCue& roll : cue::kRollEvents) {
    score.push_back(Make(static_cast<double>(roll.start), Voice::Whoosh, 0.4f, 0.0f, static_cast<double>(roll.end - roll.start)));
  }
  // The tunnel's cross-fades swell into each turn.
  for (const cue::AlphaKey& key : cue::kCrossFader) {
    const double length = 1380.0;
    score.push_back(Make(static_cast<double>(key.start) - length, Voice::ReverseSwell, 0.35f, 0.0f, length));
  }
  // Builds into the face's last stretch and the finale.
  score.push_back(Make(132450.0, Voice::Riser, 0.3f, 57.0f, 135150.0 - 132450.0 - 10.0));
  score.push_back(Make(176540.0, Voice::Riser, 0.3f, 57.0f, 179300.0 - 176540.0 - 10.0));
  score.push_back(Make(110350.0, Voice::Riser, 0.35f, 57.0f, 113150.0 - 110350.0 - 10.0));
}

}  // namespace

Score ComposeAccents() {
  Score score;
  FlasherAccents(score);
  SceneEventAccents(score);
  MotionSweeps(score);
  return score;
}

Score ComposeShow() {
  Score score = ComposeSections();
  const Score accents = ComposeAccents();
  // Groove drums just before or on an accent would flam with it or blur its attack.
  auto crowds = [&](const Note& note) {
    if (!note.fromPattern || (BusOf(note.voice) != Bus::Drums && note.voice != Voice::Stab)) return false;
    return std::any_of(accents.begin(), accents.end(), [&](const Note& accent) {
      if (BusOf(accent.voice) == Bus::Effects) return false;
      const double offset = note.timeMs - accent.timeMs;
      return offset > -80.0 && offset < 60.0;
    });
  };
  score.erase(std::remove_if(score.begin(), score.end(), crowds), score.end());
  score.insert(score.end(), accents.begin(), accents.end());
  std::stable_sort(score.begin(), score.end(), [](const Note& a, const Note& b) { return a.timeMs < b.timeMs; });
  return score;
}

}  // namespace music
