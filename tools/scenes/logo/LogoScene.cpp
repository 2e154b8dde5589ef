#include "LogoScene.h"

#include <algorithm>
#include <cmath>

#include "Caption.h"
#include "SceneParts.h"
#include "VecMath.h"
#include "Credits.h"
#include "Generator.h"
#include "LogoTextures.h"

namespace logo {

namespace {

using kit::kPi;
constexpr float kCapHeight = 110.0f;
constexpr float kLetterDepth = 36.0f;
constexpr float kPlinthHeight = 26.0f;
constexpr float kPlinthDepth = 190.0f;
constexpr float kJoint = 3.0f;

// A rectangle with rounded corners, anticlockwise, centred on the origin.
Contour RoundedRectangle(float width, float height, float radius, int cornerSteps) {
  Contour c;
  const float cx[4] = {width / 2 - radius, -width / 2 + radius, -width / 2 + radius, width / 2 - radius};
  const float cy[4] = {height / 2 - radius, height / 2 - radius, -height / 2 + radius, -height / 2 + radius};
  for (int corner = 0; corner < 4; ++corner)
    for (int s = 0; s <= cornerSteps; ++s) {
      const float a = (corner + static_cast<float>(s) / cornerSteps) * kPi / 2;
      c.push_back({cx[corner] + radius * std::cos(a), cy[corner] + radius * std::sin(a)});
    }
  return c;
}

c4e::Material Metal(const std::string& name, c4e::Vec3 diffuse, c4e::Vec3 specular, float level, float roughness) {
  c4e::Material m;
  m.name = name;
  m.hasDiffuse = true;
  m.diffuseColor = diffuse;
  m.diffuseValue = 1.0f;
  m.hasSpecular = true;
  m.specularColor = specular;
  m.specularParamA = level;
  m.specularParamB = roughness;
  return m;
}

std::vector<c4e::Material> Materials() {
  // Chrome: near black, so it mirrors the studio at full strength.
  c4e::Material chrome = Metal("chrome", {0.05f, 0.05f, 0.055f}, {1.0f, 1.0f, 1.0f}, 1.4f, 0.04f);
  chrome.hasReflectionMap = true;
  chrome.reflectionMap = "logo_studio.dds";
  // Gold: its reflection is the studio painted in gold, its highlight warm.
  c4e::Material gold = Metal("gold", {0.2f, 0.13f, 0.03f}, {1.0f, 0.8f, 0.45f}, 1.2f, 0.12f);
  gold.hasEnvironmentMap = true;
  gold.environmentMap = "logo_gold.png";
  gold.hasNormalMap = true;
  gold.normalMap = "logo_brushed_n.png";
  // The plinth's top: satin steel, brushed, light enough that the occlusion at the letters' feet shows.
  c4e::Material steel = Metal("steel", {0.42f, 0.43f, 0.46f}, {0.9f, 0.95f, 1.0f}, 0.7f, 0.35f);
  steel.hasDiffuseMap = true;
  steel.diffuseMap = "logo_brushed.png";
  steel.diffuseMapParamA = 0;
  steel.diffuseMapParamB = 1.0f;
  steel.hasNormalMap = true;
  steel.normalMap = "logo_brushed_n.png";
  steel.hasReflectionMap = true;
  steel.reflectionMap = "logo_studio.dds";
  // The stage floor: black lacquer that only catches the light at a grazing angle.
  c4e::Material lacquer = Metal("lacquer", {0.035f, 0.035f, 0.04f}, {0.8f, 0.8f, 0.9f}, 0.5f, 0.3f);
  lacquer.hasDiffuseMap = true;
  lacquer.diffuseMap = "logo_stage.png";
  lacquer.diffuseMapParamA = 1;
  lacquer.diffuseMapParamB = 1.0f;
  std::vector<c4e::Material> materials{chrome, gold, steel, lacquer};
  for (size_t i = 0; i < materials.size(); ++i) materials[i].number = static_cast<int32_t>(i);
  return materials;
}

c4e::TrackKey Key(int32_t frame, c4e::Vec3 position, int32_t interpolation = c4e::kLinear) {
  c4e::TrackKey key;
  key.frame = frame;
  key.interpolation = interpolation;
  key.position = position;
  return key;
}

}  // namespace

bool BuildLogoSolids(const std::string& fontPath, LogoSolids* solids, std::string* error) {
  TypesetOptions type;
  type.capHeight = kCapHeight;
  std::vector<Glyph> glyphs;
  if (!TypesetWord(fontPath, kWord, type, &glyphs, error)) return false;
  // Set solid: every letter slides left until it overlaps its neighbour by kJoint, so the word
  // is one welded piece whose joints catch the ambient occlusion; then centred again.
  float shift = 0.0f, previousRight = 0.0f;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    float left = 1e9f, right = -1e9f;
    for (const Contour& c : glyphs[i].contours)
      for (const Point2& p : c) left = std::min(left, p.x), right = std::max(right, p.x);
    if (i > 0) shift += previousRight - kJoint - (left + shift);
    for (Contour& c : glyphs[i].contours)
      for (Point2& p : c) p.x += shift;
    previousRight = right + shift;
  }
  float first = 1e9f;
  for (const Contour& c : glyphs.front().contours)
    for (const Point2& p : c) first = std::min(first, p.x);
  const float centre = (first + previousRight) / 2;
  for (Glyph& g : glyphs)
    for (Contour& c : g.contours)
      for (Point2& p : c) p.x -= centre;
  float left = 1e9f, right = -1e9f;
  ExtrudeOptions letter;
  letter.front = -kLetterDepth / 2;
  letter.back = kLetterDepth / 2;
  letter.bevel = 4.0f;
  for (const Glyph& g : glyphs) {
    Solid solid;
    if (!ExtrudeGlyph(g, letter, &solid)) return *error = std::string("cannot triangulate '") + g.character + "'", false;
    // Sunk a little into the plinth, so no seam of light shows under the letters.
    for (c4e::Vec3& p : solid.positions) {
      p.y -= 1.5f;
      left = std::min(left, p.x), right = std::max(right, p.x);
    }
    solids->letters.push_back(std::move(solid));
  }
  solids->wordWidth = right - left;
  // The plinth: a rounded slab extruded upwards, turned so its contour lies in the floor plane.
  Glyph slab;
  slab.contours = {RoundedRectangle(solids->wordWidth + 110.0f, kPlinthDepth, 28.0f, 8)};
  slab.isHole = {false};
  ExtrudeOptions base;
  base.front = -kPlinthHeight;
  base.back = 0.0f;
  base.bevel = 5.0f;
  base.uvPerUnit = 1.0f / 160.0f;
  if (!ExtrudeGlyph(slab, base, &solids->plinth)) return *error = "cannot triangulate the plinth", false;
  // (x, y, z) → (x, z, −y): a proper rotation, so the winding stays outward.
  for (c4e::Vec3& p : solids->plinth.positions) p = {p.x, p.z, -p.y};
  return true;
}

bool LogoScene(const std::string& fontPath, c4e::Scene* scene, std::string* error) {
  LogoSolids solids;
  if (!BuildLogoSolids(fontPath, &solids, error)) return false;
  scene->name = "logo";
  scene->materials = Materials();

  c4e::PolyObject focus;
  focus.id = kFocusId;
  focus.name = "focus";
  focus.isDummy = true;
  focus.position = {0.0f, 50.0f, 0.0f};
  c4e::PolyObject faces = kit::Mesh(kFacesId, "faces", "chrome");
  c4e::PolyObject edges = kit::Mesh(kEdgesId, "edges", "gold");
  for (const Solid& letter : solids.letters) {
    AppendSolid(faces, letter, {Part::Cap});
    AppendSolid(edges, letter, {Part::Bevel, Part::Side});
  }
  c4e::PolyObject plinthTop = kit::Mesh(kPlinthTopId, "plinth", "steel");
  AppendSolid(plinthTop, solids.plinth, {Part::Cap});
  c4e::PolyObject plinthEdges = kit::Mesh(kPlinthEdgesId, "plinth_edges", "gold");
  AppendSolid(plinthEdges, solids.plinth, {Part::Bevel, Part::Side});
  c4e::PolyObject floor = kit::Mesh(kFloorId, "floor", "lacquer");
  {
    // A round stage, its centre under the plinth.
    const int segments = 96;
    const float radius = 2600.0f, y = -kPlinthHeight;
    floor.vertices.push_back({0.0f, y, 0.0f});
    for (int s = 0; s < segments; ++s) {
      const float a = 2 * kPi * s / segments;
      floor.vertices.push_back({radius * std::cos(a), y, radius * std::sin(a)});
    }
    for (int s = 0; s < segments; ++s) {
      const int a = 1 + s, b = 1 + (s + 1) % segments;
      // Facing up: e1 × e2 along +y.
      floor.polygons.push_back({0, b, a});
      auto uv = [&](int v) { return std::array<float, 2>{0.5f + floor.vertices[v].x / (2 * radius), 0.5f - floor.vertices[v].z / (2 * radius)}; };
      const auto t0 = uv(0), t1 = uv(b), t2 = uv(a);
      floor.uvs.push_back({t0[0], t0[1], t1[0], t1[1], t2[0], t2[1]});
    }
  }
  scene->polyObjects = {focus, faces, edges, plinthTop, plinthEdges, floor};

  // One slow turn from front left to front right, drifting in and down; eased at both ends.
  c4e::Camera camera;
  camera.name = "orbit";
  camera.id = 0x1060000000000100ull;
  camera.targetId = kFocusId;
  camera.track.hasTrack = true;
  const int keys = 40;
  for (int k = 0; k <= keys; ++k) {
    const float u = static_cast<float>(k) / keys;
    const float eased = u * u * (3 - 2 * u);
    const float angle = (-62.0f + 118.0f * eased) * kPi / 180.0f;
    const float radius = 640.0f - 90.0f * eased;
    const float height = 210.0f - 130.0f * eased;
    camera.track.keys.push_back(Key(kLastFrame * k / keys, {radius * std::sin(angle), height, -radius * std::cos(angle)}));
  }
  camera.position = camera.track.keys[0].position;
  scene->cameras = {camera};

  scene->environment.ambientColor = {0.06f, 0.06f, 0.07f};
  scene->environment.environmentValue = 1.0f;
  scene->lights = {kit::OmniLight(kLightId + 0, "key", kFocusId, {-520.0f, 640.0f, -620.0f}, {1.0f, 0.94f, 0.84f}, 1.9f, 0.1f),
                   kit::DirectionalLight(kLightId + 1, "fill", kFocusId, {700.0f, 200.0f, -400.0f}, {0.55f, 0.65f, 0.9f}, 0.45f, 0.5f),
                   kit::OmniLight(kLightId + 2, "rim", kFocusId, {150.0f, 420.0f, 700.0f}, {1.0f, 0.85f, 0.6f}, 1.8f, 0.0f)};
  kit::NumberEverything(*scene);
  return true;
}

bool WriteLogoContent(const std::string& fontPath, const std::string& directory, std::string* error) {
  c4e::Scene scene;
  if (!LogoScene(fontPath, &scene, error)) return false;
  const std::string at = directory + "/";
  const kit::Picture credits = TypesetCredits(kit::CaptionFontPath(), PULSAR_CREDITS_FONT);
  if (!kit::WriteCheckedScene(scene, directory, "logo.c4e") || !WriteLogoTextures(directory) ||
      !kit::WriteCaption(kCaption, at + "text_ozylogo.png") || credits.width == 0 ||
      !kit::WriteTexture(credits, kit::TextureKind::Colour, at + "text_credits.png"))
    return *error = "cannot write the logo scene, its pictures or the credits into " + directory, false;
  return true;
}

}  // namespace logo
