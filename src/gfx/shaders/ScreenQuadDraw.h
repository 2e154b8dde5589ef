#pragma once
// Input layout, shaders and the indexed draw that every screen pass ends with.
#include "gfx/shaders/ShaderProgram.h"

void DrawScreenQuad(ShaderProgram& program, UINT indexCount);
