#include "Credits.h"

#include <algorithm>
#include <vector>

#include "Canvas.h"
#include "Caption.h"

namespace logo {

namespace {

constexpr CreditLine kLines[] = {
    {"CODE", "the Pulsar team"},   {"MUSIC", "the Pulsar team"},  {"DESIGN", "the Pulsar team"},
    {"SCENES", "the Pulsar team"}, {"LIGHT", "the Pulsar team"},
};

// Gold for the roles and the title's underline, the rest white.
constexpr float kGold[3] = {1.0f, 0.8f, 0.42f};

}  // namespace

kit::Picture TypesetCredits(const std::string& boldFont, const std::string& regularFont) {
  TextPainter bold, regular;
  if (!bold.Load(boldFont) || !regular.Load(regularFont)) return kit::Picture(0, 0);
  const int width = kCreditsWidth, height = kCreditsHeight;
  const float centre = width / 2.0f;
  Canvas ink(width, height, Colour{1.0f, 1.0f, 1.0f, 0.0f});
  Canvas gold(width, height, Colour{1.0f, 1.0f, 1.0f, 0.0f});  // where the ink is gold
  const Colour white{1.0f, 1.0f, 1.0f, 1.0f};

  bold.DrawCentred(ink, "PULSAR", centre, 58.0f, 132.0f, white, 0.16f * 132.0f);
  gold.FillRect(static_cast<int>(centre - 150), 172, static_cast<int>(centre + 150), 176, white);
  ink.FillRect(static_cast<int>(centre - 150), 172, static_cast<int>(centre + 150), 176, white);
  regular.DrawCentred(ink, "a real-time audiovisual show", centre, 190.0f, 36.0f, white, 1.5f);

  float top = 270.0f;
  for (const CreditLine& line : kLines) {
    const float size = 38.0f;
    const float roleWidth = bold.Measure(line.role, size, 0.12f * size);
    bold.Draw(ink, line.role, centre - 24.0f - roleWidth, top, size, white, 0.12f * size);
    bold.Draw(gold, line.role, centre - 24.0f - roleWidth, top, size, white, 0.12f * size);
    regular.Draw(ink, line.who, centre + 24.0f, top, size, white, 0.5f);
    top += 50.0f;
  }

  std::vector<float> letters(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) letters[static_cast<size_t>(y) * width + x] = ink.At(x, y).a;
  kit::Picture picture = kit::WithSoftShadow(letters, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float g = gold.At(x, y).a;
      float* p = picture.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] *= 1.0f - g + g * kGold[c];
    }
  return picture;
}

}  // namespace logo
