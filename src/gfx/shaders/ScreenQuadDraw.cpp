#include "gfx/shaders/ScreenQuadDraw.h"

void DrawScreenQuad(ShaderProgram& program, UINT indexCount) {
  program.context->IASetInputLayout(program.inputLayout);
  program.context->VSSetShader(program.vertexShader, nullptr, 0);
  program.context->PSSetShader(program.pixelShader, nullptr, 0);
  program.context->DrawIndexed(indexCount, 0, 0);
}

