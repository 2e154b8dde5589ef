#pragma once
// Tags and fixed sizes of the .c4e scene file layout.
#include <cstddef>
#include <cstdint>

namespace c4e_format {

constexpr int32_t kMagic[3] = {0x1337, 0xDEAD, 0xBEEF};

constexpr int32_t kTagSceneName = 0x1;
constexpr int32_t kTagObjectCount = 0x2;
constexpr int32_t kTagPolyObjectCount = 0x3;
constexpr int32_t kTagCameraCount = 0x4;
constexpr int32_t kTagMaterialCount = 0x5;
constexpr int32_t kTagLightCount = 0x6;
constexpr int32_t kTagPolyObject = 0x100;
constexpr int32_t kTagCamera = 0x200;
constexpr int32_t kTagEnvironment = 0x300;
constexpr int32_t kTagLight = 0x301;
constexpr int32_t kTagMaterial = 0x1000;
constexpr int32_t kTagDiffuse = 0x1001;
constexpr int32_t kTagSpecular = 0x1002;
constexpr int32_t kTagNormalMap = 0x1003;
constexpr int32_t kTagTransparency = 0x1004;
constexpr int32_t kTagLuminanceMap = 0x1005;
constexpr int32_t kTagEnvironmentMap = 0x1006;
constexpr int32_t kTagReflectionMap = 0x1007;

// Interpolation codes of track and morph keys; the earlier key of a span selects the blend.
constexpr int32_t kInterpolationHermite = 1;
constexpr int32_t kInterpolationLinear = 2;
constexpr int32_t kInterpolationStep = 3;

// Animation frames run at 25 per second.
constexpr uint32_t kMillisecondsPerFrame = 40;

// The fewest bytes each counted record occupies; a count of records that cannot fit in what
// is left of the file is rejected before anything is allocated for it.
constexpr size_t kMinimumStringBytes = 5;            // length field and the zero byte
constexpr size_t kTrackKeyBytes = 44;                // frame, interpolation, three vec3
constexpr size_t kVec3Bytes = 12;
constexpr size_t kMinimumMorphKeyBytes = 12;         // frame, interpolation, vertex count
constexpr size_t kPolygonBytes = 12 + 24;            // three indices and three uv pairs
// A scene's lights fill fixed arrays of this size in the material shader.
constexpr int32_t kMaxLights = 8;

}  // namespace c4e_format
