#pragma once
// One particle: exactly the billboard program's 36-byte vertex, so the simulated array is
// uploaded as it stands.
#include <cstdint>

struct Particle {
  float x, y, z;
  float width, height;
  float r, g, b, a;
};
static_assert(sizeof(Particle) == 36, "the billboard vertex is 36 bytes");
