#include "gfx/shaders/ScreenQuadDraw.h"

void DrawScreenQuad(ShaderProgram& program, UINT indexCount, ID3D11PixelShader* pixelShader) {
  program.context->IASetInputLayout(program.inputLayout);
  program.context->VSSetShader(program.vertexShader, nullptr, 0);
  program.context->PSSetShader(pixelShader != nullptr ? pixelShader : program.pixelShader, nullptr, 0);
  program.context->DrawIndexed(indexCount, 0, 0);
}

