#pragma once
// Input layout, shaders and the indexed draw that every screen pass ends with; releasing a
// program's constant buffers.
#include "gfx/shaders/ShaderProgram.h"

void DrawScreenQuad(ShaderProgram& program, UINT indexCount);
void ReleaseConstantBuffer(ID3D11Buffer*& buffer);
