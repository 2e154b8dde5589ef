// The preset table, the random shapes and the placement of every shape, checked on the CPU.
// Expected random draws are computed here from the generator's own definition (a 15-bit
// linear-congruential sequence), not through the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fx/ParticlePlacement.h"
#include "fx/ParticleRandom.h"
#include "platform/crt_rand.h"

namespace {

// The runtime library's generator, written out independently.
struct Sequence {
  explicit Sequence(uint32_t seed) : state(seed) {}
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
  float Fraction() { return static_cast<float>(Next()) / 32767.0f; }
  // The draws of one unit vector: pairs until one lies in the unit disc, then the sign.
  void SkipUnitVector() {
    for (;;) {
      const float u = 2.0f * Fraction() - 1.0f;
      const float v = 2.0f * Fraction() - 1.0f;
      if (u * u + v * v <= 1.0f) break;
    }
    Next();
  }
  uint32_t state;
};

std::vector<Particle> Place(const ParticlePreset& preset, std::vector<float>* velocities = nullptr) {
  std::vector<Particle> particles(static_cast<size_t>(preset.count), Particle{});
  if (velocities) velocities->assign(static_cast<size_t>(preset.count) * 3, 0.0f);
  PlaceParticles(preset, particles.data(), velocities ? velocities->data() : nullptr);
  return particles;
}

ParticlePreset WithCount(int32_t number, int32_t count) {
  ParticlePreset preset = GetParticlePreset(number);
  preset.count = count;
  return preset;
}

float Length(const Particle& p) { return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z); }

bool IsZero(const Particle& p) {
  return p.x == 0 && p.y == 0 && p.z == 0 && p.width == 0 && p.height == 0 && p.r == 0 && p.g == 0 && p.b == 0 &&
         p.a == 0;
}

}  // namespace

TEST(ParticlePresetTable, ShowPresetsAndTheEmptyPresetBeyondTheTable) {
  struct Expected {
    int32_t number;
    const char* texture;
    int32_t count;
    float width, r, eyeZ;
    bool animated;
  };
  const Expected rows[] = {
      {7, "formula.jpg", 250, 0.5f, 1.0f, -5.0f, true},           {8, "particletexture.jpg", 20000, 0.01f, 1.0f, -5.0f, false},
      {10, "ring.jpg", 15000, 5.0f, 0.07803922f, -1.0f, false},   {11, "ring.jpg", 5000, 5.0f, 0.05411765f, -1.0f, false},
      {18, "ring.jpg", 20000, 0.1f, 0.3137255f, -10.0f, true},    {12, "particletexture.jpg", 500000, 0.0f, 0.0f, 11.0f, false},
      {17, "molecular-lsd.jpg", 512, 3.0f, 0.15f, 10.0f, true},
  };
  for (const Expected& row : rows) {
    const ParticlePreset preset = GetParticlePreset(row.number);
    EXPECT_EQ(preset.type, row.number);
    EXPECT_EQ(preset.textureFile, row.texture) << row.number;
    EXPECT_EQ(preset.count, row.count) << row.number;
    EXPECT_FLOAT_EQ(preset.width, row.width) << row.number;
    EXPECT_FLOAT_EQ(preset.r, row.r) << row.number;
    EXPECT_FLOAT_EQ(preset.eyeZ, row.eyeZ) << row.number;
    EXPECT_EQ(preset.animated, row.animated) << row.number;
  }
  EXPECT_FLOAT_EQ(GetParticlePreset(6).height, 0.25f);
  EXPECT_FLOAT_EQ(GetParticlePreset(12).eyeY, 8.0f);
  for (int32_t number = 0; number < kParticlePresetCount; ++number) EXPECT_EQ(GetParticlePreset(number).blendMode, 1);
  for (int32_t number : {19, 20, 1000, -1}) {
    const ParticlePreset empty = GetParticlePreset(number);
    EXPECT_TRUE(empty.textureFile.empty()) << number;
    EXPECT_EQ(empty.count, 0) << number;
    EXPECT_FALSE(empty.animated) << number;
  }
}

TEST(ParticleRandom, ShapesStayInsideTheirBoundsAndDrawInTheirOrder) {
  platform::srand(7);
  Sequence sequence(7);
  for (int i = 0; i < 2000; ++i) {
    const D3DXVECTOR3 inBox = RandomPointInBox(2.0f, 4.0f, 6.0f);
    EXPECT_FLOAT_EQ(inBox.x, sequence.Next() / (32767.0f / 2.0f) - 1.0f);
    EXPECT_FLOAT_EQ(inBox.y, sequence.Next() / (32767.0f / 4.0f) - 2.0f);
    EXPECT_FLOAT_EQ(inBox.z, sequence.Next() / (32767.0f / 6.0f) - 3.0f);

    // The face's axis, then its sign, then the two free axes.
    const D3DXVECTOR3 onBox = RandomPointOnBox(2.0f, 4.0f, 6.0f);
    const int axis = sequence.Next() % 3;
    const float half[3] = {1.0f, 2.0f, 3.0f};
    const float expected = sequence.Next() % 2 == 0 ? -half[axis] : half[axis];
    EXPECT_FLOAT_EQ(onBox[axis], expected);
    for (int other = 0; other < 3; ++other)
      if (other != axis) {
        EXPECT_LE(std::fabs(onBox[other]), half[other] + 1e-6f);
        sequence.Next();
      }

    const D3DXVECTOR3 direction = RandomUnitVector();
    EXPECT_NEAR(D3DXVec3Length(&direction), 1.0f, 1e-5f);
    sequence.SkipUnitVector();
  }
  EXPECT_EQ(platform::rand(), sequence.Next()) << "the shapes drew more or fewer numbers than their definition";

  // Both hemispheres are reached: the sign of z is drawn, not always positive.
  int below = 0;
  for (int i = 0; i < 200; ++i) below += RandomUnitVector().z < 0.0f;
  EXPECT_GT(below, 50);
  EXPECT_LT(below, 150);

  const D3DXVECTOR3 p0(-1, 0, 0), p1(0, 2, 0), p2(1, 2, 0), p3(2, 0, 0);
  const D3DXVECTOR3 middle = BezierPoint(p0, p1, p2, p3, 0.5f);
  EXPECT_FLOAT_EQ(middle.x, 0.5f);
  EXPECT_FLOAT_EQ(middle.y, 1.5f);
  EXPECT_FLOAT_EQ(BezierPoint(p0, p1, p2, p3, 1.0f).x, 2.0f);
}

TEST(ParticlePlacement, RingsAndArc) {
  for (int32_t type : {0, 2}) {
    const std::vector<Particle> ring = Place(GetParticlePreset(type));
    EXPECT_NEAR(ring[250].x, 3.0f, 1e-5f) << type;
    EXPECT_NEAR(ring[250].y, 0.0f, 1e-5f) << type;
    EXPECT_EQ(ring[250].z, 0.0f);
    EXPECT_NEAR(ring[0].y, 3.0f, 1e-5f);
    EXPECT_NEAR(ring[500].y, -3.0f, 1e-5f);
    EXPECT_FLOAT_EQ(ring[999].width, GetParticlePreset(type).width);
  }

  const std::vector<Particle> rings = Place(WithCount(1, 900));
  const float radius[3] = {3.0f, 2.0f, 1.0f};
  for (int ring = 0; ring < 3; ++ring)
    for (int j = ring * 300; j < ring * 300 + 300; ++j) {
      ASSERT_NEAR(Length(rings[j]), radius[ring], 1e-5f) << j;
      ASSERT_FLOAT_EQ((&rings[j].r)[ring], 0.5019608f) << j;
      ASSERT_FLOAT_EQ(rings[j].a, 1.0f);
    }
  // Each ring closes on itself: its first particle sits at the top.
  EXPECT_NEAR(rings[300].y, 2.0f, 1e-5f);
  const std::vector<Particle> uneven = Place(WithCount(1, 901));
  EXPECT_TRUE(IsZero(uneven[900]));
  EXPECT_NEAR(Length(uneven[899]), 1.0f, 1e-5f);

  platform::srand(99);
  const std::vector<Particle> arc = Place(GetParticlePreset(3));
  EXPECT_FLOAT_EQ(arc[0].x, -5.0f);
  EXPECT_FLOAT_EQ(arc[0].y, 0.0f);
  EXPECT_NEAR(arc[999].x, 5.0f, 0.05f);
  EXPECT_NEAR(arc[999].y, 0.0f, 0.05f);
  // Twelve numbers per particle were drawn and thrown away, continuing the sequence.
  Sequence sequence(99);
  for (int i = 0; i < 12 * 1000; ++i) sequence.Next();
  EXPECT_EQ(platform::rand(), sequence.Next());
}

TEST(ParticlePlacement, ShellsBallsAndDustKeepTheirRadiiAndRestartTheSequence) {
  const std::vector<Particle> shell10 = Place(GetParticlePreset(10));
  const std::vector<Particle> shell11 = Place(GetParticlePreset(11));
  float low10 = 100, high10 = 0, low11 = 100, high11 = 0;
  for (const Particle& p : shell10) {
    low10 = std::min(low10, Length(p));
    high10 = std::max(high10, Length(p));
    ASSERT_EQ(p.width, p.height);
    ASSERT_LE(p.width, 5.0f);
    ASSERT_LE(p.r, 0.07803922f);
  }
  for (const Particle& p : shell11) {
    low11 = std::min(low11, Length(p));
    high11 = std::max(high11, Length(p));
  }
  EXPECT_GE(low10, 9.0f - 1e-4f);
  EXPECT_LE(high10, 10.0f + 1e-4f);
  EXPECT_GE(low11, 5.0f - 1e-4f);
  EXPECT_LE(high11, 10.0f + 1e-4f);
  EXPECT_LT(low11, 5.5f) << "preset 11 fills its whole 5…10 shell";

  // Preset 10's first radius is 10 − r() of srand(1337)'s first number.
  Sequence sequence(1337);
  EXPECT_NEAR(Length(shell10[0]), 10.0f - sequence.Fraction(), 1e-5f);

  platform::srand(5);
  const std::vector<Particle> dust = Place(GetParticlePreset(8));
  platform::srand(6);
  const std::vector<Particle> again = Place(GetParticlePreset(8));
  for (size_t i = 0; i < dust.size(); ++i) {
    ASSERT_EQ(dust[i].x, again[i].x);
    ASSERT_EQ(dust[i].z, again[i].z);
    ASSERT_LE(Length(dust[i]), 5.0f + 1e-4f);
    ASSERT_EQ(dust[i].r, dust[i].g) << "a dust grain's brightness scales all channels alike";
  }
  for (const Particle& p : Place(GetParticlePreset(7))) ASSERT_LE(Length(p), 4.0f + 1e-4f);
}

TEST(ParticlePlacement, OtherShapes) {
  const std::vector<Particle> cube = Place(GetParticlePreset(5));
  for (const Particle& p : cube) {
    const float extreme = std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    ASSERT_FLOAT_EQ(extreme, 2.5f) << "every particle lies on a face";
  }

  const std::vector<Particle> knot = Place(GetParticlePreset(13));
  EXPECT_FLOAT_EQ(knot[0].r, 0.08039217f);
  EXPECT_NEAR(knot[1250].x, 0.0f, 1e-5f);  // t = 180°
  EXPECT_LT(knot[2499].r, knot[0].r);
  EXPECT_FLOAT_EQ(Place(GetParticlePreset(15))[0].g, 0.1f);

  const std::vector<Particle> cloud = Place(GetParticlePreset(12));
  EXPECT_FLOAT_EQ(cloud[0].width, 0.1f);
  EXPECT_NEAR(cloud[20000].width, 0.6f, 1e-6f);  // each strand starts thick at the origin…
  EXPECT_LT(cloud[29999].width, 0.02f);         // …and ends thin at its last control point
  EXPECT_NEAR(cloud[29999].z, 6.0f, 0.01f);
  EXPECT_NEAR(cloud[59999].x, -6.0f, 0.01f);
  EXPECT_TRUE(IsZero(cloud[60000]));
  EXPECT_TRUE(IsZero(cloud[499999]));

  // A shortened copy of the half-million preset stops at its end instead of writing past it.
  const std::vector<Particle> shortCloud = Place(WithCount(12, 25000));
  EXPECT_NEAR(shortCloud[24999].width, 0.6f - 0.59f * 0.4999f, 1e-5f);

  for (int32_t type : {16, 17})
    for (const Particle& p : Place(GetParticlePreset(type))) ASSERT_TRUE(IsZero(p));
}

// In the show the specks come right after the two shells: the first speck's position is the
// three box draws that follow everything preset 11 drew after its srand(1337).
TEST(ParticlePlacement, DriftContinuesTheSequenceAfterTheShowsShells) {
  std::vector<float> velocities;
  for (int32_t number : {7, 8, 10, 11}) Place(GetParticlePreset(number));
  const std::vector<Particle> specks = Place(GetParticlePreset(18), &velocities);

  Sequence sequence(1337);
  for (int i = 0; i < 5000; ++i) {
    sequence.Next();  // radius
    sequence.SkipUnitVector();
    sequence.Next();  // size
    sequence.Next();  // brightness
  }
  const float x = sequence.Next() / (32767.0f / 10.0f) - 5.0f;
  const float y = sequence.Next() / (32767.0f / 10.0f) - 5.0f;
  const float z = sequence.Next() / (32767.0f / 10.0f) - 5.0f;
  EXPECT_FLOAT_EQ(specks[0].x, x);
  EXPECT_FLOAT_EQ(specks[0].y, y);
  EXPECT_FLOAT_EQ(specks[0].z, z);
  const float size = sequence.Fraction();
  EXPECT_FLOAT_EQ(specks[0].width, 0.1f * size);
  EXPECT_FLOAT_EQ(specks[0].b, 0.3333333f * sequence.Fraction());

  for (const Particle& p : specks) {
    ASSERT_LE(std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}), 5.0f);
    ASSERT_LE(p.width, 0.1f);
  }
  // The velocities are drawn after all positions, three per speck.
  for (int i = 0; i < 19999 * 5; ++i) sequence.Next();
  const float firstVelocity = sequence.Next() / 32766998.0f - 0.0005f;
  EXPECT_FLOAT_EQ(velocities[0], firstVelocity);
  for (float v : velocities) ASSERT_LE(std::fabs(v), 0.0005f * (1.0f + 1e-6f));
}
