#pragma once
// The show's one perspective lens: a vertical field of view animated over show time by keys,
// and the left-handed projection built from it that the scenes draw with.
#include <cstdint>
#include <vector>

#include "gfx/RenderContext.h"
#include "math/d3dx_math.h"

struct FovKey {
  int32_t interpolation = 0;  // 0 linear, 1 cosine
  int64_t start = 0;          // show time, inclusive
  int64_t end = 0;            // show time, inclusive
  float from = 0.0f;          // degrees
  float to = 0.0f;
};

// The field of view the lens has before its first key is evaluated.
inline constexpr float kLensStartFov = 45.0f;

class Lens : public ContextHolder {
 public:
  explicit Lens(const RenderContext& renderContext);

  void AddKey(const FovKey& key);
  // Sets the field of view and rebuilds the projection without looking at the keys.
  void SetFov(float degrees);
  // Evaluates every key at the current show time (the last covering key wins; none keeps the
  // previous value) and rebuilds the projection.
  void Update();

  float fov = 0.0f;
  D3DXMATRIX projection;
  std::vector<FovKey> keys;

 private:
  void BuildProjection();
};
