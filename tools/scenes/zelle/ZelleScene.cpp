#include "ZelleScene.h"

#include <cmath>
#include <vector>

#include "CellDivision.h"
#include "Animation.h"
#include "Caption.h"
#include "Generator.h"
#include "Noise.h"
#include "SceneParts.h"
#include "Shapes.h"
#include "Shots.h"
#include "ZelleTextures.h"

namespace zelle {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kMorphStep = 5;  // frames between morph keys; linear in between
constexpr int kTrackStep = 5;

// Mesh identifiers: one block per kind.
constexpr uint64_t kId = 0x2E11E00000000000ull;
uint64_t Id(int kind, int index) { return kId | (static_cast<uint64_t>(kind) << 8) | static_cast<uint64_t>(index); }
enum Kind { kDummy = 0, kMembrane = 1, kBackWall = 2, kNucleus = 3, kNucleolus = 4, kMito = 5, kDroplet = 6,
            kSpindle = 7, kMidbody = 8, kCamera = 9, kLight = 10 };

// A repeatable random number in [0, 1] for (stream, index).
float Random(uint32_t stream, uint32_t index) { return kit::Random(static_cast<int>(index), 0, stream); }

std::vector<c4e::Material> Materials() {
  std::vector<c4e::Material> materials;
  auto add = [&](const c4e::Material& material) { materials.push_back(material); };
  // The membrane: a pale green skin, mottled, with a bright rim where it is seen edge-on.
  c4e::Material membrane = kit::Matte("membrane", {0.62f, 0.92f, 0.78f});
  kit::AddDiffuseMap(membrane, "zelle_membrane.png", false);
  membrane.hasNormalMap = true, membrane.normalMap = "zelle_membrane_n.png";
  kit::AddSpecular(membrane, {0.85f, 1.0f, 0.95f}, 0.45f, 0.5f);
  membrane.transparent = true, membrane.transparency = 0.72f;
  membrane.hasEnvironmentMap = true, membrane.environmentMap = "zelle_halo.png";
  add(membrane);

  // The far wall seen from inside: fainter, so the cell reads as a hollow sphere.
  c4e::Material wall = membrane;
  wall.name = "backwall";
  wall.transparency = 0.84f;
  wall.hasSpecular = false;
  wall.specularColor = {};
  wall.specularParamA = wall.specularParamB = 0.0f;
  add(wall);

  c4e::Material nucleus = kit::Matte("nucleus", {0.5f, 0.38f, 0.92f});
  kit::AddDiffuseMap(nucleus, "zelle_chromatin.png", false);
  nucleus.hasNormalMap = true, nucleus.normalMap = "zelle_chromatin_n.png";
  kit::AddSpecular(nucleus, {0.9f, 0.85f, 1.0f}, 0.7f, 0.4f);
  nucleus.transparent = true, nucleus.transparency = 0.4f;
  nucleus.hasEnvironmentMap = true, nucleus.environmentMap = "zelle_halo.png";
  add(nucleus);

  c4e::Material nucleolus = kit::Matte("nucleolus", {0.35f, 0.12f, 0.45f});
  kit::AddSpecular(nucleolus, {1.0f, 0.9f, 1.0f}, 0.9f, 0.3f);
  nucleolus.hasLuminanceMap = true, nucleolus.luminanceMap = "zelle_nucleolus.png";
  add(nucleolus);

  c4e::Material mito = kit::Matte("mito", {1.0f, 0.62f, 0.34f});
  kit::AddDiffuseMap(mito, "zelle_mito.png", false);
  mito.hasNormalMap = true, mito.normalMap = "zelle_mito_n.png";
  kit::AddSpecular(mito, {1.0f, 0.9f, 0.8f}, 0.5f, 0.45f);
  add(mito);

  c4e::Material droplet = kit::Matte("droplet", {1.0f, 0.88f, 0.45f});
  kit::AddSpecular(droplet, {1.0f, 1.0f, 0.9f}, 1.6f, 0.06f);
  droplet.hasEnvironmentMap = true, droplet.environmentMap = "zelle_halo.png";
  add(droplet);

  // Spindle fibres and the midbody glow by themselves: the radial blur streaks them.
  c4e::Material fibre = kit::Matte("fibre", {0.1f, 0.25f, 0.22f});
  fibre.hasLuminanceMap = true, fibre.luminanceMap = "zelle_fibre.png";
  add(fibre);

  c4e::Material midbody = kit::Matte("midbody", {0.3f, 0.45f, 0.3f});
  kit::AddSpecular(midbody, {1.0f, 1.0f, 1.0f}, 0.8f, 0.3f);
  midbody.hasLuminanceMap = true, midbody.luminanceMap = "zelle_fibre.png";
  add(midbody);
  return materials;
}

kit::Pose Scaled(Vec position, float scale, Vec rotation = {}) {
  kit::Pose pose;
  pose.position = position;
  pose.rotation = rotation;
  pose.scale = {scale, scale, scale};
  return pose;
}

// Which part of the clock a mesh belongs to: it is shown only there.
enum class Part { First, Second };

// Shown (scale 1) in its own part, collapsed to nothing in the other; the swap lies in frames the
// show never reaches.
void ShowOnlyIn(c4e::PolyObject& mesh, Part part) {
  const bool first = part == Part::First;
  auto key = [&](int frame, bool shown) {
    c4e::TrackKey k = kit::Key(frame, mesh.position, mesh.rotation, c4e::kStep);
    k.scale = shown ? Vec{1.0f, 1.0f, 1.0f} : Vec{};
    return k;
  };
  mesh.track.hasTrack = true;
  mesh.track.keys = {key(0, first), key(kSwapFrame, !first), key(kLastFrame, !first)};
}

// A dividing body as one morphing mesh: keys every few frames of its part, the part's first state
// held before it.
c4e::PolyObject DividingMesh(uint64_t id, const std::string& name, const std::string& material, Part part,
                             const std::function<Dumbbell(float frame)>& shape, int columns, int rows, bool inward) {
  c4e::PolyObject mesh = kit::Mesh(id, name, material);
  kit::SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.closedU = true;
  grid.collapseFirstRow = grid.collapseLastRow = true;
  grid.uTiles = 3.0f;
  grid.vTiles = 2.0f;
  grid.flip = inward;
  const int from = part == Part::First ? 0 : kSecondPartStart;
  const int to = part == Part::First ? kSwapFrame : kLastFrame;
  kit::AppendSurface(mesh, grid, DumbbellSurface(shape(static_cast<float>(from))));
  mesh.hasMorph = true;
  auto addKey = [&](int frame, float shapeFrame, int interpolation) {
    c4e::PolyObject sample;
    kit::AppendSurface(sample, grid, DumbbellSurface(shape(shapeFrame)));
    c4e::MorphKey key;
    key.frame = frame;
    key.interpolation = interpolation;
    key.positions = sample.vertices;
    mesh.morphKeys.push_back(key);
  };
  if (from > 0) addKey(0, static_cast<float>(from), c4e::kStep);
  for (int frame = from; frame <= to; frame += kMorphStep) addKey(frame, static_cast<float>(frame), c4e::kLinear);
  ShowOnlyIn(mesh, part);
  return mesh;
}

// A closed capsule (a mitochondrion) along direction, slightly bent, appended to mesh.
void AppendCapsule(c4e::PolyObject& mesh, Vec centre, Vec direction, float length, float radius, float bend) {
  const Vec axis = kit::Normalize(direction);
  const Vec side = kit::Normalize(kit::Cross(std::fabs(axis.y) < 0.9f ? Vec{0, 1, 0} : Vec{1, 0, 0}, axis));
  const Vec other = kit::Cross(side, axis);
  kit::SurfaceGrid grid;
  grid.columns = 12;
  grid.rows = 12;
  grid.closedU = true;
  grid.collapseFirstRow = grid.collapseLastRow = true;
  const float half = 0.5f * length;
  kit::AppendSurface(mesh, grid, [&](float u, float v) {
    // v runs tip to tip: a half sphere, the straight middle, another half sphere.
    float z, ring;
    if (v < 0.3f) {
      const float phi = v / 0.3f * kPi / 2;
      z = half + radius * std::cos(phi), ring = radius * std::sin(phi);
    } else if (v < 0.7f) {
      z = half - (v - 0.3f) / 0.4f * length, ring = radius;
    } else {
      const float phi = (v - 0.7f) / 0.3f * kPi / 2;
      z = -half - radius * std::sin(phi), ring = radius * std::cos(phi);
    }
    const float theta = u * 2.0f * kPi;
    const float t = z / (half + radius);
    return centre + axis * z + side * (ring * std::cos(theta) + bend * (1.0f - t * t)) + other * (ring * std::sin(theta));
  });
}

void AppendBall(c4e::PolyObject& mesh, Vec centre, float radius, int columns, int rows) {
  kit::SurfaceGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.closedU = true;
  grid.collapseFirstRow = grid.collapseLastRow = true;
  kit::AppendSurface(mesh, grid, [&](float u, float v) {
    const float theta = u * 2.0f * kPi, phi = v * kPi;
    return centre + Vec{radius * std::sin(phi) * std::cos(theta), radius * std::cos(phi), radius * std::sin(phi) * std::sin(theta)};
  });
}

// A thin tube through points (a fibre).
void AppendFibre(c4e::PolyObject& mesh, const std::vector<Vec>& points, float radius) {
  kit::SweepParams sweep;
  sweep.segments = static_cast<int>(points.size()) - 1;
  sweep.sides = 4;
  kit::AppendTube(mesh, kit::Spline(points, false), sweep, [radius](float) { return radius; });
}

// Spindle along axis in unit size: fibres from pole −1 to pole +1 bowing out, and short astral
// rays round each pole. The track scales it to the parting nucleus.
c4e::PolyObject Spindle(uint64_t id, const std::string& name, Vec axis, uint32_t seed) {
  c4e::PolyObject mesh = kit::Mesh(id, name, "fibre");
  const Vec side = kit::Normalize(kit::Cross(std::fabs(axis.y) < 0.9f ? Vec{0, 1, 0} : Vec{1, 0, 0}, axis));
  const Vec other = kit::Cross(side, axis);
  constexpr int kFibres = 16;
  for (int f = 0; f < kFibres; ++f) {
    const float angle = 2.0f * kPi * (f + 0.5f * Random(seed, f)) / kFibres;
    const float bow = 0.32f + 0.16f * Random(seed + 1, f);
    std::vector<Vec> points;
    for (int i = 0; i <= 16; ++i) {
      const float t = -1.0f + 2.0f * i / 16.0f;
      const float out = bow * (1.0f - t * t);
      points.push_back(axis * t + (side * std::cos(angle) + other * std::sin(angle)) * out);
    }
    AppendFibre(mesh, points, 0.012f);
  }
  for (int pole = -1; pole <= 1; pole += 2) {
    for (int r = 0; r < 10; ++r) {
      const float a = 2.0f * kPi * Random(seed + 2, r + 20 * pole + 40), lift = 0.2f + 0.7f * Random(seed + 3, r + 20 * pole + 40);
      const Vec out = kit::Normalize(axis * (pole * lift) + (side * std::cos(a) + other * std::sin(a)));
      const Vec base = axis * static_cast<float>(pole);
      AppendFibre(mesh, {base, base + out * 0.15f, base + out * 0.3f}, 0.01f);
    }
  }
  return mesh;
}

// Scale of a spindle that shows while a nucleus parts: length to its poles, width with it.
c4e::PolyObject AnimatedSpindle(uint64_t id, const std::string& name, Vec axis, uint32_t seed, Vec centre,
                                const std::function<Dumbbell(float)>& nucleus, float from, float to) {
  c4e::PolyObject mesh = Spindle(id, name, axis, seed);
  mesh.position = centre;
  mesh.track = kit::SampledTrack(0, kLastFrame, kTrackStep, c4e::kLinear, [&](int frame) {
    const float f = static_cast<float>(frame);
    const float grow = Ease(f, from, from + 15.0f) * (1.0f - Ease(f, to - 15.0f, to));
    const Dumbbell body = nucleus(f);
    const float length = (body.separation + body.radius * 1.25f) * grow;
    const float width = body.radius * 1.6f * grow;
    kit::Pose pose;
    pose.position = centre;
    pose.scale = {std::fabs(axis.x) * length + (1 - std::fabs(axis.x)) * width,
                  std::fabs(axis.y) * length + (1 - std::fabs(axis.y)) * width,
                  std::fabs(axis.z) * length + (1 - std::fabs(axis.z)) * width};
    return pose;
  });
  return mesh;
}

c4e::PolyObject Midbody(uint64_t id, const std::string& name, Vec centre, Vec axis, float from, float to) {
  c4e::PolyObject mesh = kit::Mesh(id, name, "midbody");
  kit::AppendTorus(mesh, 6.0f, 2.4f, 24, 10);  // round the y axis
  if (axis.x != 0.0f) mesh.rotation = {0.0f, 0.0f, kPi / 2};
  if (axis.z != 0.0f) mesh.rotation = {0.0f, kPi / 2, 0.0f};
  mesh.position = centre;
  mesh.track = kit::SampledTrack(0, kLastFrame, kTrackStep, c4e::kLinear, [&](int frame) {
    const float f = static_cast<float>(frame);
    return Scaled(centre, Ease(f, from, from + 20.0f) * (1.0f - Ease(f, to - 15.0f, to)), mesh.rotation);
  });
  return mesh;
}

c4e::PolyObject Nucleolus(uint64_t id, const std::string& name, float radius,
                          const std::function<Vec(float)>& where, const std::function<float(float)>& size) {
  c4e::PolyObject mesh = kit::Mesh(id, name, "nucleolus");
  AppendBall(mesh, {}, radius, 16, 10);
  mesh.track = kit::SampledTrack(0, kLastFrame, kTrackStep, c4e::kLinear, [&](int frame) {
    const float f = static_cast<float>(frame);
    return Scaled(where(f), size(f));
  });
  mesh.position = mesh.track.keys.front().position;
  return mesh;
}

// The organelles of one of the four final cells, riding with that cell's group pose.
c4e::PolyObject OrganelleGroup(uint64_t id, const std::string& name, const std::string& material, int quarter,
                               bool capsules) {
  c4e::PolyObject mesh = kit::Mesh(id, name, material);
  const uint32_t seed = 101 + quarter * 7 + (capsules ? 0 : 3);
  const GroupPose start = QuarterGroup(quarter, 0.0f);
  const GroupPose parted = QuarterGroup(quarter, static_cast<float>(kFirstPartEnd));
  const int daughter = quarter / 2;
  const Vec daughterCentre{daughter == 0 ? -FirstNucleus(kFirstPartEnd).separation : FirstNucleus(kFirstPartEnd).separation, 0, 0};
  const int wanted = capsules ? 8 : 6;
  int placed = 0;
  for (uint32_t attempt = 0; placed < wanted && attempt < 2000; ++attempt) {
    // A shell round the group's centre, clear of every nucleus the group will sit beside.
    const float a = 2.0f * kPi * Random(seed, attempt * 3), c = 2.0f * Random(seed, attempt * 3 + 1) - 1.0f;
    const float r = 40.0f + 8.0f * Random(seed, attempt * 3 + 2);
    const float s = std::sqrt(1.0f - c * c);
    const Vec local{r * s * std::cos(a), r * c, r * s * std::sin(a)};
    const float atStart = kit::Length(start.centre + local);
    const float atParted = kit::Length(parted.centre + local * parted.scale - daughterCentre);
    if (atStart < 46.0f || atStart > 86.0f || atParted < 34.0f || atParted > 70.0f) continue;
    if (capsules) {
      const Vec direction{Random(seed + 9, placed) - 0.5f, Random(seed + 10, placed) - 0.5f, Random(seed + 11, placed) - 0.5f};
      AppendCapsule(mesh, local, direction, 12.0f + 6.0f * Random(seed + 12, placed), 3.6f, 1.5f * Random(seed + 13, placed));
    } else {
      AppendBall(mesh, local, 2.5f + 2.5f * Random(seed + 14, placed), 12, 8);
    }
    ++placed;
  }
  // Across the frames the show never reaches the group moves in one step.
  mesh.track = kit::CutTrack(kLastFrame, kTrackStep, {kSwapFrame}, [&](int frame) {
    const GroupPose pose = QuarterGroup(quarter, static_cast<float>(frame));
    return Scaled(pose.centre, pose.scale, {0.15f * std::sin(frame * 0.02f + quarter), 0.1f * std::cos(frame * 0.017f + quarter), 0.0f});
  });
  mesh.position = mesh.track.keys.front().position;
  return mesh;
}

std::vector<c4e::PolyObject> PolyObjects() {
  std::vector<c4e::PolyObject> objects;
  objects.push_back(kit::Dummy(kFocusId, "focus"));

  // Opaque contents first (file order is draw order within each group).
  for (int q = 0; q < 4; ++q) {
    objects.push_back(OrganelleGroup(Id(kMito, q), "mitochondria" + std::to_string(q + 1), "mito", q, true));
    objects.push_back(OrganelleGroup(Id(kDroplet, q), "droplets" + std::to_string(q + 1), "droplet", q, false));
  }
  const float first = static_cast<float>(kFirstPartEnd);
  auto nucleusLobe = [](int daughter, float frame) {
    const float d = FirstNucleus(frame).separation;
    return Vec{daughter == 0 ? -d : d, 0.0f, 0.0f};
  };
  // Nucleoli dissolve as a nucleus begins to divide and form again in each new nucleus.
  objects.push_back(Nucleolus(Id(kNucleolus, 0), "nucleolus", 10.0f, [](float) { return Vec{6, 4, -3}; },
                              [](float f) { return f < kSwapFrame ? 1.0f - Ease(f, 20.0f, 38.0f) : 0.0f; }));
  for (int d = 0; d < 2; ++d) {
    objects.push_back(Nucleolus(Id(kNucleolus, 1 + d), "nucleolus" + std::to_string(2 + d), 8.0f,
                                [=](float f) { return nucleusLobe(d, std::min(f, first)) + Vec{0, 3, 2}; },
                                [](float f) { return f < kSwapFrame ? Ease(f, 112.0f, 134.0f) : 0.0f; }));
    objects.push_back(Nucleolus(Id(kNucleolus, 3 + d), "nucleolus" + std::to_string(4 + d), 8.0f,
                                [=](float) { return DaughterCentre(d) + Vec{2, -3, 3}; },
                                [](float f) { return f >= kSwapFrame ? 1.0f - Ease(f, 172.0f, 190.0f) : 0.0f; }));
    for (int side = 0; side < 2; ++side) {
      objects.push_back(Nucleolus(
          Id(kNucleolus, 5 + 2 * d + side), "nucleolus" + std::to_string(6 + 2 * d + side), 6.5f,
          [=](float f) { return DaughterCentre(d) + DaughterAxis(d) * ((side ? 1.0f : -1.0f) * SecondNucleus(d, f).separation) + Vec{2, 2, 0}; },
          [=](float f) { return f >= kSwapFrame ? Ease(f, 244.0f + 6 * d, 266.0f + 6 * d) : 0.0f; }));
    }
  }
  objects.push_back(AnimatedSpindle(Id(kSpindle, 0), "spindle", {1, 0, 0}, 7, {}, FirstNucleus, 30.0f, 126.0f));
  for (int d = 0; d < 2; ++d) {
    objects.push_back(AnimatedSpindle(Id(kSpindle, 1 + d), "spindle" + std::to_string(2 + d), DaughterAxis(d), 11 + d,
                                      DaughterCentre(d), [d](float f) { return SecondNucleus(d, f); },
                                      167.0f + 6 * d, 255.0f + 6 * d));
  }
  objects.push_back(Midbody(Id(kMidbody, 0), "midbody", {}, {1, 0, 0}, 108.0f, 205.0f));
  for (int d = 0; d < 2; ++d)
    objects.push_back(Midbody(Id(kMidbody, 1 + d), "midbody" + std::to_string(2 + d), DaughterCentre(d), DaughterAxis(d),
                              238.0f + 6 * d, 400.0f));

  // Transparent layers from the inside out: far walls, nuclei, near walls.
  objects.push_back(DividingMesh(Id(kBackWall, 0), "wall", "backwall", Part::First, FirstMembrane, 40, 34, true));
  for (int d = 0; d < 2; ++d)
    objects.push_back(DividingMesh(Id(kBackWall, 1 + d), "wall" + std::to_string(2 + d), "backwall", Part::Second,
                                   [d](float f) { return SecondMembrane(d, f); }, 36, 30, true));
  objects.push_back(DividingMesh(Id(kNucleus, 0), "nucleus", "nucleus", Part::First, FirstNucleus, 36, 30, false));
  for (int d = 0; d < 2; ++d)
    objects.push_back(DividingMesh(Id(kNucleus, 1 + d), "nucleus" + std::to_string(2 + d), "nucleus", Part::Second,
                                   [d](float f) { return SecondNucleus(d, f); }, 32, 28, false));
  objects.push_back(DividingMesh(Id(kMembrane, 0), "membrane", "membrane", Part::First, FirstMembrane, 56, 44, false));
  for (int d = 0; d < 2; ++d)
    objects.push_back(DividingMesh(Id(kMembrane, 1 + d), "membrane" + std::to_string(2 + d), "membrane", Part::Second,
                                   [d](float f) { return SecondMembrane(d, f); }, 48, 40, false));
  return objects;
}

// Where the microscope looks from at a frame: it pulls back while the first division zooms in,
// and circles round the four-cell stage in the second.
Vec CameraAt(float frame) {
  float distance, azimuth, elevation;
  if (frame < kSwapFrame) {
    const float t = Ease(frame, 0.0f, static_cast<float>(kFirstPartEnd));
    distance = 340.0f + 380.0f * t;
    azimuth = -0.35f + 0.55f * frame / kFirstPartEnd;
    elevation = 0.32f - 0.18f * t;
  } else {
    const float t = Ease(frame, static_cast<float>(kSecondPartStart), static_cast<float>(kSecondPartEnd));
    distance = 600.0f - 200.0f * t;
    azimuth = 0.35f + 0.9f * (frame - kSecondPartStart) / (kLastFrame - kSecondPartStart);
    elevation = 0.16f + 0.3f * t;
  }
  return Vec{distance * std::cos(elevation) * std::sin(azimuth), distance * std::sin(elevation),
             -distance * std::cos(elevation) * std::cos(azimuth)};
}

std::vector<c4e::Camera> Cameras() {
  c4e::Camera scope;
  scope.name = "microscope";
  scope.id = Id(kCamera, 0);
  scope.targetId = kFocusId;
  scope.track = kit::CutTrack(kLastFrame, kTrackStep, {kSwapFrame}, [](int frame) { return Scaled(CameraAt(frame), 1.0f); });
  scope.position = scope.track.keys.front().position;
  return {scope};
}

std::vector<c4e::Light> Lights() {
  // The microscope's transmitted light comes from behind the cell and catches every edge.
  c4e::Light transmitted =
      kit::OmniLight(Id(kLight, 2), "transmitted", kFocusId, {}, {0.55f, 1.0f, 0.85f}, 2.2f);
  transmitted.track = kit::CutTrack(kLastFrame, kTrackStep, {kSwapFrame}, [](int frame) {
    return Scaled(CameraAt(frame) * -0.9f + Vec{0.0f, 260.0f, 0.0f}, 1.0f);
  });
  transmitted.position = transmitted.track.keys.front().position;
  return {kit::OmniLight(Id(kLight, 0), "key", kFocusId, {-420.0f, 480.0f, -460.0f}, {1.0f, 0.96f, 0.88f}, 1.5f, 0.3f),
          kit::DirectionalLight(Id(kLight, 1), "fill", kFocusId, {520.0f, -160.0f, -300.0f}, {0.35f, 0.6f, 0.75f}, 0.55f,
                                0.5f),
          transmitted};
}

}  // namespace

c4e::Scene ZelleScene() {
  c4e::Scene scene;
  scene.name = "zelle";
  scene.materials = Materials();
  scene.polyObjects = PolyObjects();
  scene.cameras = Cameras();
  scene.environment.ambientColor = {0.05f, 0.09f, 0.08f};
  scene.environment.environmentValue = 0.85f;
  scene.lights = Lights();
  kit::NumberEverything(scene);
  return scene;
}

bool WriteZelleContent(const std::string& directory) {
  return kit::WriteCheckedScene(ZelleScene(), directory, "zelle.c4e") && WriteZelleTextures(directory) &&
         kit::WriteCaption("CELL DIVISION", directory + "/text_zelle.png");
}

}  // namespace zelle
