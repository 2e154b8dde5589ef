#pragma once
// Input layout, shaders and the indexed draw that every screen pass ends with.
#include "gfx/shaders/ShaderProgram.h"

// pixelShader replaces the program's own where one is given (a specialised variant).
void DrawScreenQuad(ShaderProgram& program, UINT indexCount, ID3D11PixelShader* pixelShader = nullptr);
