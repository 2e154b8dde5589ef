// Particle systems created and drawn on llvmpipe: the upload, additive sprites without depth or
// culling, a missing texture, the updates of the animated types, and the five systems of the
// show drawn from their own eye points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "ParticleRig.h"
#include "fx/ParticlePlacement.h"
#include "platform/crt_rand.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;

struct Sequence {
  explicit Sequence(uint32_t seed) : state(seed) {}
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
  uint32_t state;
};

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

class ParticleSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory("engine_data");
    ASSERT_TRUE(testing_support::CopyShaderSources("engine_data"));
    ASSERT_EQ(rig.Create(kWidth, kHeight), "");
  }

  // A sprite that is white everywhere, so a drawn square shows its full colour.
  void WriteWhiteSprite(const std::string& name) {
    WriteBytes(fs::path("engine_data") / name, EncodePng(8, 8, std::vector<uint8_t>(8 * 8 * 4, 255)));
  }

  // One particle of the given look at the origin, drawn from straight ahead with an
  // orthographic lens of kWidth × kHeight units, so a size is a size in pixels.
  void DrawOne(ParticleSystem& system, const Particle& particle, const D3DXMATRIX& projection) {
    system.particles[0] = particle;
    system.Upload();
    const D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    system.Render(Identity(), view, projection);
  }

  D3DXMATRIX Ortho() {
    D3DXMATRIX m;
    D3DXMatrixOrthoLH(&m, static_cast<float>(kWidth), static_cast<float>(kHeight), 1.0f, 100.0f);
    return m;
  }

  ParticlePreset StaticPreset(int32_t count, const char* texture) {
    ParticlePreset preset = GetParticlePreset(8);
    preset.count = count;
    preset.textureFile = texture;
    return preset;
  }

  static constexpr int kWidth = 160;
  static constexpr int kHeight = 90;
  TempDirectory directory{/*enter=*/true};
  ParticleRig rig;
};

}  // namespace

TEST_F(ParticleSystemTest, CreateUploadsTheBuffer) {
  WriteWhiteSprite("ring.jpg");
  ParticleSystem system(rig.rc);
  ASSERT_TRUE(system.Create(GetParticlePreset(10)));
  EXPECT_NE(system.texture, nullptr);
  EXPECT_EQ(system.count, 15000);
  EXPECT_EQ(system.drawCount, 15000);
  EXPECT_EQ(system.velocities, nullptr);
  D3D11_BUFFER_DESC desc{};
  system.vertexBuffer->GetDesc(&desc);
  EXPECT_EQ(desc.ByteWidth, 15000u * 36u);
  EXPECT_EQ(desc.Usage, D3D11_USAGE_DYNAMIC);
  EXPECT_EQ(desc.BindFlags, static_cast<UINT>(D3D11_BIND_VERTEX_BUFFER));
  EXPECT_EQ(system.staging[14999].x, system.particles[14999].x);

  // A second creation starts again from the same preset and places the same shell.
  const Particle first = system.particles[0];
  ASSERT_TRUE(system.Create(GetParticlePreset(10)));
  EXPECT_EQ(std::memcmp(&first, &system.particles[0], sizeof first), 0);
  system.Shutdown();
  EXPECT_EQ(system.vertexBuffer, nullptr);
  EXPECT_EQ(system.particles, nullptr);
  system.Shutdown();
}

// Sprites add onto what is there, ignore the depth buffer and are not culled, whatever the
// states before were.
TEST_F(ParticleSystemTest, SpritesAddUpWithoutDepthOrCulling) {
  WriteWhiteSprite("white.png");
  ParticleSystem system(rig.rc);
  ASSERT_TRUE(system.Create(StaticPreset(1, "white.png")));
  rig.gpu.Clear(0.0f, 0.0f, 0.5f, 1.0f);
  rig.gpu.context->ClearDepthStencilView(rig.gpu.depthView, D3D11_CLEAR_DEPTH, 0.0f, 0);
  rig.gpu.context->OMSetDepthStencilState(rig.states.depthOn, 1);
  rig.gpu.context->RSSetState(rig.states.rasterCullBack);
  // A mirrored lens turns the square's winding round, which back-face culling would drop.
  D3DXMATRIX mirrored = Ortho();
  mirrored._11 = -mirrored._11;
  DrawOne(system, Particle{0, 0, 0, 40, 40, 0.5f, 0.25f, 0, 0}, mirrored);
  const testing_support::Rgba centre = rig.gpu.PixelAt(80, 45);
  EXPECT_NEAR(centre.r, 128, 2);
  EXPECT_NEAR(centre.g, 64, 2);
  EXPECT_NEAR(centre.b, 128, 2) << "the blue of the clear stays under the sprite";
  EXPECT_NEAR(rig.gpu.PixelAt(66, 45).r, 128, 2) << "the square is 40 pixels wide";
  EXPECT_EQ(rig.gpu.PixelAt(55, 45).r, 0);
  EXPECT_EQ(rig.gpu.PixelAt(80, 20).r, 0);

  // Drawn again over itself, the light doubles.
  DrawOne(system, Particle{0, 0, 0, 40, 40, 0.5f, 0.25f, 0, 0}, Ortho());
  EXPECT_NEAR(rig.gpu.PixelAt(80, 45).r, 255, 2);
  EXPECT_NEAR(rig.gpu.PixelAt(80, 45).g, 128, 2);
}

TEST_F(ParticleSystemTest, AMissingTextureDrawsSoftSpots) {
  ParticleSystem system(rig.rc);
  ASSERT_TRUE(system.Create(StaticPreset(1, "not-there.jpg")));
  EXPECT_EQ(system.texture, nullptr);
  rig.gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
  DrawOne(system, Particle{0, 0, 0, 40, 40, 1, 1, 1, 1}, Ortho());
  const int middle = rig.gpu.PixelAt(80, 45).r;
  const int halfway = rig.gpu.PixelAt(90, 45).r;
  EXPECT_GT(middle, 240);
  EXPECT_GT(halfway, 80);
  EXPECT_LT(halfway, middle) << "the spot is soft, brightest in its middle";
  EXPECT_LE(rig.gpu.PixelAt(99, 45).r, 2) << "and dark at its rim";
}

// Nothing in the table asks for it, but an empty preset must not bring anything down.
TEST_F(ParticleSystemTest, TheEmptyPresetFailsQuietly) {
  ParticleSystem system(rig.rc);
  EXPECT_FALSE(system.Create(GetParticlePreset(19)));
  rig.DrawFromEye(system, Identity());
  system.Shutdown();
}

TEST_F(ParticleSystemTest, FormulaGlyphsPulseWithTheMusicTenTimesASecond) {
  ParticleSystem system(rig.rc);
  ASSERT_TRUE(system.Create(GetParticlePreset(7)));
  auto colourOf = [&](int64_t now, float peak) {
    rig.timer.elapsed = now;
    rig.sound.peak = peak;
    rig.DrawFromEye(system, Identity());
    return system.particles[123].r;
  };
  EXPECT_EQ(colourOf(50, 0.0f), 1.0f) << "the first refresh waits for 100 ms";
  EXPECT_EQ(colourOf(100, 0.0f), 0.0f);
  EXPECT_EQ(LightIn(rig.Pixels()), 0u) << "in silence the glyphs add nothing";
  EXPECT_EQ(colourOf(199, 1.0f), 0.0f) << "refreshed at most every 100 ms";
  EXPECT_FLOAT_EQ(colourOf(200, 0.2f), 0.6f);
  EXPECT_GT(LightIn(rig.Pixels()), 0u);
  EXPECT_EQ(colourOf(300, 1.0f / 3.0f), 1.0f);
  EXPECT_EQ(colourOf(400, 0.9f), 1.0f) << "a loud peak does not push past the preset colour";
  EXPECT_EQ(system.particles[0].a, 0.0f);
}

TEST_F(ParticleSystemTest, ShellSpritesResizeOnlyAfterMoreThan66Milliseconds) {
  // In the show the shells are static; the rule applies to an animated shell.
  ParticlePreset preset = GetParticlePreset(11);
  ParticleSystem still(rig.rc);
  ASSERT_TRUE(still.Create(preset));
  preset.animated = true;
  ParticleSystem shimmering(rig.rc);
  ASSERT_TRUE(shimmering.Create(preset));
  const Particle placed = shimmering.particles[0];

  rig.timer.elapsed = 66;
  rig.DrawFromEye(shimmering, Identity());
  EXPECT_EQ(shimmering.particles[0].width, placed.width);
  rig.timer.elapsed = 67;
  platform::srand(3);
  rig.DrawFromEye(shimmering, Identity());
  rig.DrawFromEye(still, Identity());
  EXPECT_FLOAT_EQ(shimmering.particles[0].width, 5.0f * Sequence(3).Next() / 32767.0f);
  EXPECT_EQ(shimmering.particles[0].width, shimmering.particles[0].height);
  EXPECT_EQ(shimmering.particles[0].x, placed.x);
  EXPECT_EQ(std::memcmp(&still.particles[0], &placed, sizeof placed), 0) << "a static system is drawn as placed";
  const float resized = shimmering.particles[0].width;
  rig.timer.elapsed = 133;
  rig.DrawFromEye(shimmering, Identity());
  EXPECT_EQ(shimmering.particles[0].width, resized);
}

TEST_F(ParticleSystemTest, SpecksDriftAndTurnOnceASecond) {
  ParticleSystem system(rig.rc);
  ASSERT_TRUE(system.Create(GetParticlePreset(18)));
  ASSERT_NE(system.velocities, nullptr);
  const int32_t n = system.count;
  std::vector<Particle> before(system.particles, system.particles + n);
  std::vector<float> velocities(system.velocities, system.velocities + 3 * n);

  rig.timer.elapsed = 999;
  rig.timer.delta = 16;
  platform::srand(77);
  rig.DrawFromEye(system, Identity());
  Sequence sequence(77);
  sequence.Next();
  EXPECT_EQ(platform::rand(), sequence.Next()) << "one number is drawn and dropped per draw";
  for (int32_t i = 0; i < n; ++i) {
    ASSERT_EQ(system.velocities[3 * i], velocities[3 * i]) << "no turn before a second has passed";
    ASSERT_FLOAT_EQ(system.particles[i].x, before[i].x + velocities[3 * i] * 16.0f);
    const float moved[3] = {system.particles[i].x - before[i].x, system.particles[i].y - before[i].y,
                            system.particles[i].z - before[i].z};
    for (float axis : moved) ASSERT_LE(std::fabs(axis), 0.0005f * 16.0f * 1.0001f);
  }

  rig.timer.elapsed = 1000;
  platform::srand(78);
  rig.DrawFromEye(system, Identity());
  Sequence turn(78);
  EXPECT_FLOAT_EQ(system.velocities[0], turn.Next() / 32766998.0f - 0.0005f);
  EXPECT_FLOAT_EQ(system.velocities[1], turn.Next() / 32766998.0f - 0.0005f);
  for (int i = 2; i < 3 * n; ++i) turn.Next();
  turn.Next();
  EXPECT_EQ(platform::rand(), turn.Next());

  const float turned = system.velocities[0];
  rig.timer.elapsed = 1999;
  rig.DrawFromEye(system, Identity());
  EXPECT_EQ(system.velocities[0], turned);
  EXPECT_EQ(system.lastUpdate, 1000);
}

// After drifting, turning and growing, a rewound system is the one creation placed, and its
// throttle lets the next draw update again from any show time.
TEST_F(ParticleSystemTest, RewindPutsBackWhatCreationPlaced) {
  ParticleSystem specks(rig.rc);
  ASSERT_TRUE(specks.Create(GetParticlePreset(18)));
  const std::vector<Particle> placed(specks.particles, specks.particles + specks.count);
  const std::vector<float> velocities(specks.velocities, specks.velocities + 3 * specks.count);
  rig.timer.delta = 16;
  for (int64_t t : {500, 1500, 2600}) {
    rig.timer.elapsed = t;
    rig.DrawFromEye(specks, Identity());
  }
  ASSERT_EQ(specks.lastUpdate, 2600);
  ASSERT_NE(specks.particles[0].x, placed[0].x);
  specks.Rewind();
  EXPECT_EQ(specks.lastUpdate, 0);
  for (int32_t i = 0; i < specks.count; ++i) {
    ASSERT_EQ(specks.particles[i].x, placed[i].x) << i;
    ASSERT_EQ(specks.particles[i].z, placed[i].z) << i;
    ASSERT_EQ(specks.velocities[3 * i + 1], velocities[3 * i + 1]) << i;
  }

  ParticleSystem knot(rig.rc);
  ASSERT_TRUE(knot.Create(GetParticlePreset(13)));
  rig.timer.delta = 1000;
  rig.DrawFromEye(knot, Identity());
  rig.DrawFromEye(knot, Identity());
  ASSERT_EQ(knot.drawCount, 1000);
  knot.Rewind();
  EXPECT_EQ(knot.drawCount, 2500) << "whole, as created";

  ParticleSystem never(rig.rc);
  never.Rewind();  // nothing created: nothing to put back
  EXPECT_EQ(never.drawCount, 0);
}

TEST_F(ParticleSystemTest, AGrowingKnotRestartsEmptyBeforeItIsComplete) {
  ParticleSystem system(rig.rc);
  ASSERT_TRUE(system.Create(GetParticlePreset(13)));
  EXPECT_EQ(system.drawCount, 2500) << "created whole";
  rig.timer.delta = 1000;
  rig.DrawFromEye(system, Identity());
  EXPECT_EQ(system.drawCount, 0) << "the first draw already passes the end";
  EXPECT_EQ(LightIn(rig.Pixels()), 0u);
  rig.DrawFromEye(system, Identity());
  EXPECT_EQ(system.drawCount, 1000);
  EXPECT_FLOAT_EQ(system.particles[500].width, 0.1f + 0.5f * 4.9f);
  EXPECT_FLOAT_EQ(system.particles[0].b, 0.2196079f);
  EXPECT_GT(LightIn(rig.Pixels()), 0u);
  rig.DrawFromEye(system, Identity());
  EXPECT_EQ(system.drawCount, 2000);
  rig.DrawFromEye(system, Identity());
  EXPECT_EQ(system.drawCount, 0) << "2,500 would be reached";

  ParticleSystem acid(rig.rc);
  ASSERT_TRUE(acid.Create(GetParticlePreset(14)));
  rig.timer.delta = 100;
  rig.DrawFromEye(acid, Identity());
  rig.DrawFromEye(acid, Identity());
  EXPECT_EQ(acid.drawCount, 150) << "type 14 grows half as fast again";
}

TEST_F(ParticleSystemTest, RingsRippleWithTheSlowOscillatorAndTheBobRingLoops) {
  ParticlePreset rings = GetParticlePreset(1);
  rings.animated = true;
  ParticleSystem rippling(rig.rc);
  ASSERT_TRUE(rippling.Create(rings));
  rig.timer.oscSinSlow = 0.5f;
  rig.DrawFromEye(rippling, Identity());
  // Four waves round the outer ring of 300: particle 18 is at 18 x 4 x 360 / 300 = 86.4 degrees.
  const float s = static_cast<float>(std::sin(86.4 * kRadiansPerDegree));
  EXPECT_NEAR(rippling.particles[18].z, 0.5f * s, 1e-6f);
  EXPECT_NEAR(rippling.particles[18].width, 1.5f * s, 1e-6f);
  EXPECT_EQ(rippling.particles[18].height, rippling.particles[18].width);
  EXPECT_EQ(rippling.particles[0].z, 0.0f);
  EXPECT_EQ(rippling.particles[318].z, 0.0f) << "the inner rings stay flat";
  EXPECT_EQ(rippling.particles[318].width, 1.0f);

  ParticleSystem bob(rig.rc);
  ASSERT_TRUE(bob.Create(GetParticlePreset(2)));
  EXPECT_NEAR(bob.particles[250].x, 3.0f, 1e-5f) << "placed as a ring";
  rig.DrawFromEye(bob, Identity());
  // t = 90 degrees: (2 sin 180 + 2 sin 90, 2 cos 90 + 2 cos 180, 2 sin 90 + 2 cos 180).
  EXPECT_NEAR(bob.particles[250].x, 2.0f, 1e-5f);
  EXPECT_NEAR(bob.particles[250].y, -2.0f, 1e-5f);
  EXPECT_NEAR(bob.particles[250].z, 0.0f, 1e-5f);
  EXPECT_NEAR(bob.particles[0].y, 4.0f, 1e-5f);
}

// The five systems of the show, with the archive's own sprites, each from its eye point: every
// one puts light on the screen without washing it out.
TEST_F(ParticleSystemTest, TheShowsSystemsDrawDesignedPictures) {
  const char* binary = std::getenv("PULSAR_BINARY_DIR");
  const fs::path staged = fs::path(binary ? binary : ".") / "stage" / "engine_data";
  if (!fs::exists(staged / "ring.jpg")) GTEST_SKIP() << "no staged sprites at " << staged;
  for (const char* name : {"formula.jpg", "particletexture.jpg", "ring.jpg"})
    fs::copy_file(staged / name, fs::path("engine_data") / name);

  platform::srand(1);
  rig.sound.peak = 0.5f;
  rig.timer.delta = 16;
  for (int32_t number : {7, 8, 10, 11, 18}) {
    ParticleSystem system(rig.rc);
    ASSERT_TRUE(system.Create(GetParticlePreset(number)));
    ASSERT_NE(system.texture, nullptr) << number;
    rig.timer.elapsed = 1000;
    rig.DrawFromEye(system, Identity());
    const std::vector<uint8_t> pixels = rig.Pixels();
    int lit = 0, white = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
      const int brightest = std::max({pixels[i], pixels[i + 1], pixels[i + 2]});
      lit += brightest > 8;
      white += brightest == 255;
    }
    const int total = kWidth * kHeight;
    EXPECT_GT(lit, total / 50) << "preset " << number << " lights too little";
    EXPECT_LT(white, total / 4) << "preset " << number << " washes the screen out";
  }
}
