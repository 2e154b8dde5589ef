#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Composition.h"
#include "Glitch.h"
#include "Harmony.h"
#include "Instruments.h"
#include "demo/CueSheet.h"

namespace music {
namespace {

bool HasAccentAt(const Score& score, double ms) {
  return std::any_of(score.begin(), score.end(), [&](const Note& note) {
    return !note.fromPattern && std::fabs(note.timeMs - ms) < 0.5 &&
           note.voice != Voice::Riser && note.voice != Voice::Whoosh && note.voice != Voice::ReverseSwell;
  });
}

TEST(Score, EveryFlashSpeedJumpAndShakeHasAHitOnIt) {
  const Score score = ComposeShow();
  for (const cue::AlphaKey& key : cue::kFlasher) EXPECT_TRUE(HasAccentAt(score, static_cast<double>(key.start))) << key.start;
  for (const cue::ShakeCue& shake : cue::kShakeEvents) EXPECT_TRUE(HasAccentAt(score, static_cast<double>(shake.start))) << shake.start;
  for (const cue::SpeedCue& speed : cue::kSpeedEvents) {
    if (speed.time == cue::kSchedule[0].start) continue;
    // A speed event either has its own hit or shares a flash's within 40 ms.
    const bool near = std::any_of(score.begin(), score.end(), [&](const Note& note) {
      return !note.fromPattern && std::fabs(note.timeMs - static_cast<double>(speed.time)) < 40.0;
    });
    EXPECT_TRUE(near) << speed.time;
  }
}

TEST(Score, GrooveNeverFlamsAgainstAnAccent) {
  const Score score = ComposeShow();
  for (const cue::AlphaKey& key : cue::kFlasher) {
    for (const Note& note : score) {
      if (!note.fromPattern) continue;
      const double offset = note.timeMs - static_cast<double>(key.start);
      EXPECT_FALSE(offset > -80.0 && offset < 60.0 && (note.voice == Voice::Kick || note.voice == Voice::HatClosed ||
                                                       note.voice == Voice::Snare || note.voice == Voice::Clap))
          << "groove note at " << note.timeMs << " crowds the flash at " << key.start;
    }
  }
}

TEST(Score, StaysInsideTheShowAndIsTheSameEveryTime) {
  const Score first = ComposeShow();
  const Score second = ComposeShow();
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].timeMs, second[i].timeMs);
    EXPECT_EQ(first[i].voice, second[i].voice);
    EXPECT_EQ(first[i].pitch, second[i].pitch);
    EXPECT_GE(first[i].timeMs, 0.0);
    // Nothing new starts after the black fader is fully black.
    EXPECT_LT(first[i].timeMs, static_cast<double>(cue::kBlackFader[1].start)) << static_cast<int>(first[i].voice);
    EXPECT_GT(first[i].velocity, 0.0f);
    EXPECT_LE(first[i].velocity, 1.0f);
  }
  EXPECT_TRUE(std::is_sorted(first.begin(), first.end(), [](const Note& a, const Note& b) { return a.timeMs < b.timeMs; }));
}

TEST(Instruments, EveryVoiceSoundsOnItsStartAndIsDeterministic) {
  for (int v = 0; v <= static_cast<int>(Voice::Bell); ++v) {
    Note note{};
    note.timeMs = 10.0;
    note.voice = static_cast<Voice>(v);
    note.pitch = 57.0f;
    note.velocity = 1.0f;
    note.lengthMs = 300.0;
    StereoBuffer a(kSampleRate), b(kSampleRate);
    RenderNote(note, a);
    RenderNote(note, b);
    EXPECT_EQ(a.left, b.left) << v;
    float before = 0.0f, after = 0.0f;
    for (std::size_t i = 0; i < a.Frames(); ++i) {
      const float level = std::max(std::fabs(a.left[i]), std::fabs(a.right[i]));
      ASSERT_TRUE(std::isfinite(level)) << v;
      (i < SampleAt(10.0) ? before : after) = std::max(i < SampleAt(10.0) ? before : after, level);
    }
    EXPECT_EQ(before, 0.0f) << v;
    EXPECT_GT(after, 0.02f) << v;
    EXPECT_LT(after, 4.0f) << v;
  }
}

TEST(Glitch, CrushQuantisesToTheGivenBitsAndClampsFullScale) {
  EXPECT_EQ(Crush(0.3f, 2), 0.5f);
  EXPECT_EQ(Crush(0.2f, 2), 0.0f);
  EXPECT_EQ(Crush(-2.0f, 4), -1.0f);
  EXPECT_EQ(Crush(0.126f, 4), 0.125f);
}

TEST(Glitch, OnlyTheWindowsAreTouched) {
  StereoBuffer music(SampleAt(static_cast<double>(cue::kShowEnd)));
  for (std::size_t i = 0; i < music.Frames(); ++i) music.left[i] = music.right[i] = 0.3f * std::sin(0.05f * static_cast<float>(i));
  const StereoBuffer original = music;
  ApplyGlitchWindows(music);
  auto inWindow = [](std::size_t frame) {
    for (const cue::GlitchWindow& window : cue::kGlitchWindows) {
      if (frame >= SampleAt(static_cast<double>(window.start)) && frame < SampleAt(static_cast<double>(window.end))) return true;
    }
    return false;
  };
  std::size_t changed = 0;
  for (std::size_t i = 0; i < music.Frames(); i += 7) {
    if (inWindow(i)) {
      changed += music.left[i] != original.left[i];
    } else {
      ASSERT_EQ(music.left[i], original.left[i]) << i;
    }
  }
  EXPECT_GT(changed, 1000u);
}

TEST(Harmony, CloseVoicingKeepsTheChordTonesInOneOctaveAndMovesLittle) {
  for (const Progression* progression : {&kMainProgression, &kFaceProgression, &kFloatProgression}) {
    std::array<float, 3> previous = CloseVoicing((*progression)[3], 55.0f);
    for (const Chord& chord : *progression) {
      std::array<float, 3> voices = CloseVoicing(chord, 55.0f);
      for (int degree = 0; degree < 3; ++degree) {
        const float pitch = voices[static_cast<std::size_t>(degree)];
        EXPECT_GE(pitch, 55.0f);
        EXPECT_LT(pitch, 67.0f);
        EXPECT_EQ(std::fmod(pitch - ChordTone(chord, degree) + 120.0f, 12.0f), 0.0f);
      }
      EXPECT_EQ(voices[1] - voices[0] == 4.0f || voices[1] - voices[0] == -8.0f, chord.major);
      // Sorted, no voice jumps more than a fourth to the next chord.
      std::sort(voices.begin(), voices.end());
      std::sort(previous.begin(), previous.end());
      for (std::size_t v = 0; v < 3; ++v) EXPECT_LE(std::fabs(voices[v] - previous[v]), 5.0f);
      previous = voices;
    }
  }
}

TEST(Score, SectionsStartOnTheirCueSheetDownbeats) {
  EXPECT_EQ(SectionDownbeat(0), 0.0);
  EXPECT_EQ(SectionDownbeat(1), 23400.0);   // the full flash 100 ms before the tunnel
  EXPECT_EQ(SectionDownbeat(2), 46900.0);   // and before the magnet
  EXPECT_EQ(SectionDownbeat(3), 69000.0);
  EXPECT_EQ(SectionDownbeat(6), 135547.0);  // the blob's first pulse
  EXPECT_EQ(SectionDownbeat(8), 179300.0);
}

// The pitch classes of a chord's root, third and fifth.
bool InChord(const Chord& chord, float pitch) {
  for (int degree = 0; degree < 3; ++degree) {
    if (std::fmod(pitch - ChordTone(chord, degree) + 1200.0f, 12.0f) == 0.0f) return true;
  }
  return false;
}

TEST(Score, PadsArpeggiosAndStabsPlayTheChordThatSounds) {
  int checked = 0;
  for (const Note& note : ComposeShow()) {
    const Chord chord = ChordAt(note.timeMs + 1.0);
    if (note.voice == Voice::Pad) {
      EXPECT_TRUE(InChord(chord, note.pitch)) << note.timeMs << " pad " << note.pitch;
      ++checked;
    } else if (note.voice == Voice::Stab) {
      EXPECT_TRUE(InChord(chord, note.pitch)) << note.timeMs << " stab " << note.pitch;
      EXPECT_EQ(note.color > 0.5f, chord.major) << note.timeMs;
      ++checked;
    } else if (note.voice == Voice::Pluck && note.timeMs < cue::kSchedule[1].start) {
      EXPECT_TRUE(InChord(chord, note.pitch)) << note.timeMs << " pluck " << note.pitch;
      ++checked;
    }
  }
  EXPECT_GT(checked, 300);
}

}  // namespace
}  // namespace music
