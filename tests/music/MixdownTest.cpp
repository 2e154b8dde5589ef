#include <gtest/gtest.h>

#include <cmath>

#include "Composition.h"
#include "Loudness.h"
#include "Mixdown.h"
#include "demo/CueSheet.h"

namespace music {
namespace {

// The whole piece once (several seconds): the master meets its targets on the real music.
TEST(Mixdown, TheShowMeetsItsLoudnessCeilingAndEndsInSilence) {
  FlushDenormalsToZero();
  const MasterSettings settings;
  MixReport report;
  const StereoBuffer audio = RenderShow(ComposeShow(), settings, report);
  ASSERT_EQ(audio.Frames(), SampleAt(static_cast<double>(cue::kShowEnd)));

  EXPECT_NEAR(IntegratedLoudness(audio), settings.targetLufs, 0.3);
  float peak = 0.0f;
  for (std::size_t i = 0; i < audio.Frames(); ++i) {
    ASSERT_TRUE(std::isfinite(audio.left[i]) && std::isfinite(audio.right[i])) << i;
    peak = std::max({peak, std::fabs(audio.left[i]), std::fabs(audio.right[i])});
  }
  EXPECT_LE(peak, settings.ceiling);
  EXPECT_EQ(peak, report.samplePeak);

  // Silence from the end of the fade on; the first flash at 1 ms lands on a hit.
  for (std::size_t i = SampleAt(settings.silenceFromMs); i < audio.Frames(); ++i) {
    ASSERT_EQ(audio.left[i], 0.0f) << i;
    ASSERT_EQ(audio.right[i], 0.0f) << i;
  }
  const std::size_t firstFlash = SampleAt(static_cast<double>(cue::kFlasher[0].start));
  EXPECT_LT(std::fabs(audio.left[0]), 1e-3f);
  float opening = 0.0f;
  for (std::size_t i = firstFlash; i < firstFlash + SampleAt(5.0); ++i) opening = std::max(opening, std::fabs(audio.left[i]));
  EXPECT_GT(opening, 0.3f);  // the opening hit is there within 5 ms

  // The breakdown is quieter than the blob's peak.
  EXPECT_LT(MomentaryLoudness(audio, SampleAt(97000.0)), MomentaryLoudness(audio, SampleAt(145000.0)) - 3.0);
}

}  // namespace
}  // namespace music
