// The overlay's three lines: their texts, the order of the values and the number formatting of
// a default wide string stream.
#include <gtest/gtest.h>

#include <string>

#include "diag/OverlayText.h"

namespace {

OverlayValues ShowValues() {
  OverlayValues values;
  values.adapterDescription = "llvmpipe (LLVM 15.0.6, 256 bits)";
  values.videoMemoryMiB = 0;
  values.fps = 0;
  values.audioCpu = 1.5f;
  values.elapsed = 47000;
  values.fov = 10.0f;
  values.shadowA = 100.0f;
  values.shadowB = 2500.0f;
  values.sceneStatistics = "scene:magnet, objects:3(4), cams:1(1), mats:2, lights:1, vertices:8(36), polys:12, frame:0, "
                           "time:0ms, speed:1x";
  values.finalEffect = 0;
  values.effectName = "none";
  values.fractal = 0;
  values.delta = 16;
  values.oscSinFast = -0.279415f;
  values.oscSinSlow = 0.5f;
  return values;
}

TEST(OverlayText, TheThreeLinesInTheirOrderAndWords) {
  const auto lines = OverlayLines(ShowValues());
  EXPECT_EQ(lines[0],
            L"llvmpipe (LLVM 15.0.6, 256 bits) (0 MB), FPS:0 bass.dll:1.5 time:47000 fov:10 shadow:100, 2500");
  EXPECT_EQ(lines[1], L"scene:magnet, objects:3(4), cams:1(1), mats:2, lights:1, vertices:8(36), polys:12, frame:0, "
                      L"time:0ms, speed:1x");
  EXPECT_EQ(lines[2], L"pp:0=none fractal:0 delta:16 osci1:-0.279415 osci2:0.5");
}

TEST(OverlayText, NumbersAreWrittenAsADefaultStreamWritesThem) {
  OverlayValues values = ShowValues();
  values.videoMemoryMiB = 8192;
  values.fps = 61;
  values.audioCpu = 0.123456789f;  // six significant digits
  values.elapsed = 204200;
  values.fov = 27.1828184f;
  values.shadowB = 1234567.0f;  // past six digits: exponent form
  values.delta = -3;
  values.oscSinFast = 1e-7f;
  values.oscSinSlow = -1.0f;
  const auto lines = OverlayLines(values);
  EXPECT_EQ(lines[0], L"llvmpipe (LLVM 15.0.6, 256 bits) (8192 MB), FPS:61 bass.dll:0.123457 time:204200 "
                      L"fov:27.1828 shadow:100, 1.23457e+06");
  EXPECT_EQ(lines[2], L"pp:0=none fractal:0 delta:-3 osci1:1e-07 osci2:-1");
}

TEST(OverlayText, EffectNamesAndScenesAsGiven) {
  OverlayValues values = ShowValues();
  values.finalEffect = 21;
  values.effectName = "MAX";
  EXPECT_EQ(OverlayLines(values)[2].substr(0, 19), L"pp:21=MAX fractal:0");
  values.finalEffect = 105;  // a scene's own look has no name
  values.effectName = "";
  EXPECT_EQ(OverlayLines(values)[2].substr(0, 17), L"pp:105= fractal:0");
  values.sceneStatistics = {};  // no loaded scene at that index
  EXPECT_EQ(OverlayLines(values)[1], L"");
}

TEST(OverlayText, TheAdapterDescriptionIsCutAt127BytesAndDecoded) {
  OverlayValues values = ShowValues();
  const std::string longName(200, 'x');
  values.adapterDescription = longName.c_str();
  EXPECT_EQ(OverlayLines(values)[0].substr(0, 129), std::wstring(127, L'x') + L" (");

  values.adapterDescription = "Radeon\xE2\x84\xA2 R9";  // "Radeon™ R9"
  EXPECT_EQ(OverlayLines(values)[0].substr(0, 12), L"Radeon\u2122 R9 (");
  values.adapterDescription = nullptr;
  EXPECT_EQ(OverlayLines(values)[0].substr(0, 10), L" (0 MB), F");
}

TEST(OverlayText, Utf8BothWays) {
  const std::wstring wide = L"fov:45 \u00e9\u2122\U0001F600";
  EXPECT_EQ(WidenUtf8(NarrowUtf8(wide)), wide);
  EXPECT_EQ(NarrowUtf8(L"\u00e9"), "\xC3\xA9");
  // A byte that starts no sequence, and a sequence cut short, stay as the bytes they are.
  EXPECT_EQ(WidenUtf8("a\xFF" "b"), std::wstring(L"a\u00ff" L"b"));
  EXPECT_EQ(WidenUtf8("\xE2\x84"), std::wstring(L"\u00e2\u0084"));
}

}  // namespace
