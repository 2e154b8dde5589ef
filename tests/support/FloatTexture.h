#pragma once
// Reading back what GPU tests drew: the pixels of 128-bit float textures (the show's render
// targets; four floats a pixel, top row first) and bound constant buffers.
#include <cstdint>
#include <vector>

#include "platform/d3d11/d3d11.h"

namespace testing_support {

// Empty when the texture cannot be copied to a staging texture or mapped.
std::vector<float> ReadFloatTexture(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* texture);

// Replaces every texel; texels holds width × height × 4 floats.
void WriteFloatTexture(ID3D11DeviceContext* context, ID3D11Texture2D* texture, const std::vector<float>& texels);

// The bytes of the constant buffer bound at a slot of the pixel or vertex stage (read through a
// staging copy); empty when none is bound.
std::vector<uint8_t> ReadBoundConstantBuffer(ID3D11Device* device, ID3D11DeviceContext* context, bool pixelStage,
                                             UINT slot);

}  // namespace testing_support
