#include "Caption.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "Canvas.h"

namespace kit {

namespace {

// Tracking as a share of the text's pixel height: display capitals want air between them.
constexpr float kTracking = 0.12f;
constexpr float kShadowOffset = 5.0f;
constexpr int kShadowBlur = 6;       // box radius of each of three passes: a soft, Gaussian-like edge
constexpr float kShadowOpacity = 0.75f;

struct Box {
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // inclusive; empty when x1 < x0
};

Box CoverageBox(const std::vector<float>& alpha, int width, int height) {
  Box box{width, height, -1, -1};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (alpha[static_cast<size_t>(y) * width + x] > 0.0f) {
        box.x0 = std::min(box.x0, x), box.x1 = std::max(box.x1, x);
        box.y0 = std::min(box.y0, y), box.y1 = std::max(box.y1, y);
      }
  return box;
}

// One box-blur pass along rows (step 1) or columns (step width), radius r, edges clamped to 0.
void BoxBlur(std::vector<float>& values, int width, int height, int r, bool alongRows) {
  std::vector<float> out(values.size(), 0.0f);
  const int lines = alongRows ? height : width, length = alongRows ? width : height;
  for (int line = 0; line < lines; ++line) {
    auto at = [&](int i) -> float& {
      return alongRows ? values[static_cast<size_t>(line) * width + i] : values[static_cast<size_t>(i) * width + line];
    };
    auto outAt = [&](int i) -> float& {
      return alongRows ? out[static_cast<size_t>(line) * width + i] : out[static_cast<size_t>(i) * width + line];
    };
    float sum = 0.0f;
    for (int i = -r; i <= r; ++i) sum += (i >= 0 && i < length) ? at(i) : 0.0f;
    for (int i = 0; i < length; ++i) {
      outAt(i) = sum / (2 * r + 1);
      const int leaving = i - r, entering = i + r + 1;
      if (leaving >= 0) sum -= at(leaving);
      if (entering < length) sum += at(entering);
    }
  }
  values.swap(out);
}

}  // namespace

Picture TypesetCaption(const std::string& text, const std::string& fontPath) {
  TextPainter face;
  if (!face.Load(fontPath)) return Picture(0, 0);
  std::string capitals = text;
  std::transform(capitals.begin(), capitals.end(), capitals.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

  const int width = kCaptionWidth, height = kCaptionHeight;
  // Room for the text once the shadow's offset and blur are kept inside the margin.
  const float spread = kShadowOffset + 3.0f * kShadowBlur;
  const float roomX = width - 2.0f * (kCaptionMargin + spread), roomY = height - 2.0f * (kCaptionMargin + spread);
  // Capitals fill about 0.7 of the em; size the em so the widest measure and the cap height fit.
  float size = roomY / 0.72f;
  const float measured = face.Measure(capitals, size, kTracking * size);
  if (measured > roomX) size *= roomX / measured;

  // Set the text once on a scratch canvas, find the ink's real bounds, then centre that ink.
  Canvas scratch(width * 2, height * 2, Colour{1.0f, 1.0f, 1.0f, 0.0f});
  face.Draw(scratch, capitals, 8.0f, 8.0f, size, Colour{1.0f, 1.0f, 1.0f, 1.0f}, kTracking * size);
  std::vector<float> ink(static_cast<size_t>(scratch.Width()) * scratch.Height());
  for (int y = 0; y < scratch.Height(); ++y)
    for (int x = 0; x < scratch.Width(); ++x) ink[static_cast<size_t>(y) * scratch.Width() + x] = scratch.At(x, y).a;
  const Box box = CoverageBox(ink, scratch.Width(), scratch.Height());
  if (box.x1 < box.x0) return Picture(width, height);  // nothing to set: a clear picture
  const int dx = (width - (box.x1 - box.x0 + 1)) / 2 - box.x0;
  const int dy = (height - (box.y1 - box.y0 + 1)) / 2 - box.y0 - static_cast<int>(kShadowOffset / 2);

  std::vector<float> letters(static_cast<size_t>(width) * height, 0.0f);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int sx = x - dx, sy = y - dy;
      if (sx >= 0 && sy >= 0 && sx < scratch.Width() && sy < scratch.Height())
        letters[static_cast<size_t>(y) * width + x] = ink[static_cast<size_t>(sy) * scratch.Width() + sx];
    }
  return WithSoftShadow(letters, width, height);
}

Picture WithSoftShadow(const std::vector<float>& letters, int width, int height) {
  std::vector<float> shadow(letters.size(), 0.0f);
  const int shift = static_cast<int>(kShadowOffset);
  for (int y = shift; y < height; ++y)
    for (int x = shift; x < width; ++x)
      shadow[static_cast<size_t>(y) * width + x] = letters[static_cast<size_t>(y - shift) * width + (x - shift)];
  for (int pass = 0; pass < 3; ++pass) {
    BoxBlur(shadow, width, height, kShadowBlur, true);
    BoxBlur(shadow, width, height, kShadowBlur, false);
  }
  // The running sums leave rounding dust far from the letters: keep the picture clear there.
  for (float& value : shadow)
    if (value < 1.0f / 512.0f) value = 0.0f;

  // White text over the black shadow, straight alpha.
  Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      const float a = letters[i], s = shadow[i] * kShadowOpacity;
      const float alpha = a + s * (1.0f - a);
      const float white = alpha > 0.0f ? a / alpha : 0.0f;
      float* p = picture.At(x, y);
      p[0] = p[1] = p[2] = white;
      p[3] = alpha;
    }
  return picture;
}

const char* CaptionFontPath() { return PULSAR_CAPTION_FONT; }

bool WriteCaption(const std::string& text, const std::string& path) {
  const Picture picture = TypesetCaption(text, CaptionFontPath());
  return picture.width > 0 && WritePng(picture, path);
}

}  // namespace kit
