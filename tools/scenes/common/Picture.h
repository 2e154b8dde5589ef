#pragma once
// Texture painting for generated scenes: float RGBA pictures painted by a function of the
// texture coordinate, normal maps derived from a height function, cube maps painted by a
// function of direction, and the writers that put them into the archive.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kit {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<float> rgba;  // rows top first, 0..1

  Picture(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0.0f) {}
  float* At(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  const float* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Linear RGB plus alpha, what a paint function returns for one texel.
struct Rgba {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

// Calls paint at every texel centre, u and v in (0, 1), v = 0 at the top row.
Picture Paint(int width, int height, const std::function<Rgba(float u, float v)>& paint);

// A tangent-space normal map (x right along u, y down along v, z out of the surface, stored as
// n × 0.5 + 0.5) of the relief height(u, v). strength is how many texture widths the relief
// rises per unit of height: bigger is steeper. The height function should tile when the
// texture repeats; it is sampled one texel either side of every texel centre.
Picture NormalMapFromHeight(int size, float strength, const std::function<float(float u, float v)>& height);

// What a picture is for in a material: each kind has its own size limit.
enum class TextureKind { Colour, Normal, Luminance };
// The largest side a texture of this kind may have: 1024 for colour and luminance maps, 512 for
// normal maps.
int TextureSizeLimit(TextureKind kind);

// PNG, RGBA8. False when the file cannot be written or the picture exceeds its kind's limit.
bool WriteTexture(const Picture& picture, TextureKind kind, const std::string& path);
bool WritePng(const Picture& picture, const std::string& path);
bool WriteBytes(const std::vector<uint8_t>& bytes, const std::string& path);

// A cube map as a DDS file (RGBA8, six faces +x, −x, +y, −y, +z, −z, full mip chain) whose texel
// colours are light(direction) with direction not normalised; the c4e reflection lookup.
std::vector<uint8_t> CubeDds(int faceSize, const std::function<void(float x, float y, float z, float rgb[3])>& light);
// The same surroundings as a latitude-longitude panorama for environment maps: u from the
// azimuth atan2(x, z), v from the polar angle measured from +y.
Picture Panorama(int width, int height, const std::function<void(float x, float y, float z, float rgb[3])>& light);

}  // namespace kit
