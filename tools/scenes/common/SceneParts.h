#pragma once
// Building blocks of a scene description: materials, meshes, dummies and lights with the
// settings the c4e material program reads (see the comment at the top of c4e_PS.hlsl).
#include <cstdint>
#include <string>

#include "C4eWriter.h"
#include "VecMath.h"

namespace kit {

// A diffuse-only material: colour × level.
c4e::Material Matte(const std::string& name, Vec3 color, float level = 1.0f);
// A Blinn highlight: level scales it, roughness 0 is a pin-point and 1 a broad sheen.
void AddSpecular(c4e::Material& material, Vec3 color, float level, float roughness);
// ownColours: the map's colours as they are (else tinted by the diffuse colour).
void AddDiffuseMap(c4e::Material& material, const std::string& file, bool ownColours, float amount = 1.0f);

// A mesh with smooth normals and uv scale 1, not yet given geometry.
c4e::PolyObject Mesh(uint64_t id, const std::string& name, const std::string& material, Vec3 position = {});
c4e::PolyObject Dummy(uint64_t id, const std::string& name, Vec3 position = {});

// Lights pointing at a target object. wrap (0..1) softens the terminator; a spot's cone is
// given in degrees of its half-angle.
c4e::Light OmniLight(uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                     float multiplier, float wrap = 0.0f);
c4e::Light DirectionalLight(uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                            float multiplier, float wrap = 0.0f);
c4e::Light SpotLight(uint64_t id, const std::string& name, uint64_t targetId, Vec3 position, Vec3 color,
                     float multiplier, float coneDegrees, float wrap = 0.0f);

// Numbers materials, polyobjects, cameras and lights in list order and sets the object count.
void NumberEverything(c4e::Scene& scene);

}  // namespace kit
