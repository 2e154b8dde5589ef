// The sky behind the flag scene: a dusk gradient from deep blue to a warm horizon, layered
// clouds lit from below, and a low sun.
#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Images.h"

bool WriteFlagBackground(const std::string& path) {
  const int w = 1024, h = 512;
  Canvas c(w, h);
  const float sunX = w * 0.68f, sunY = h * 0.78f;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float v = (y + 0.5f) / h;
      Colour zenith{0.05f, 0.09f, 0.25f, 1}, mid{0.32f, 0.30f, 0.55f, 1}, horizon{0.98f, 0.58f, 0.32f, 1};
      Colour sky = v < 0.6f ? Mix(zenith, mid, Smoothstep(0.0f, 0.6f, v))
                            : Mix(mid, horizon, Smoothstep(0.6f, 1.0f, v));
      float d = std::hypot(x - sunX, (y - sunY) * 1.4f) / w;
      float sun = std::exp(-d * d * 380.0f) * 1.2f + std::exp(-d * 9.0f) * 0.35f;
      sky.r += sun;
      sky.g += sun * 0.78f;
      sky.b += sun * 0.45f;
      // Stretched clouds: denser and warmer towards the horizon, dark undersides up high.
      float n = FractalNoise(x / 190.0f, y / 48.0f, 6, 31u);
      float cloud = Smoothstep(0.50f, 0.72f, n) * Smoothstep(0.05f, 0.55f, v);
      Colour lit = Mix(Colour{0.30f, 0.22f, 0.40f, 1}, Colour{1.0f, 0.72f, 0.55f, 1}, Smoothstep(0.3f, 0.95f, v));
      float rim = std::exp(-d * 6.0f) * 0.6f;
      lit.r += rim;
      lit.g += rim * 0.6f;
      lit.b += rim * 0.3f;
      c.At(x, y) = Mix(sky, lit, cloud * 0.85f);
    }
  return c.WriteJpeg(path, 92);
}
