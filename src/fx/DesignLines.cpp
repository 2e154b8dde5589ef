#include "fx/DesignLines.h"

#include <new>

#include "app/Timer.h"
#include "gfx/QuadBuffers.h"
#include "gfx/ReleaseAndForget.h"
#include "gfx/RenderStateManager.h"
#include "gfx/ShaderManager.h"
#include "platform/crt_rand.h"

bool DesignLines::Create() {
  const RenderContext& rc = m_renderContext;
  const float height = static_cast<float>(rc.height);
  lineCount = 10;
  blendMode = 0;
  colour = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.0f);
  brightness = 0.6f;
  thicknessRange = 10;
  speedRange = 64.0f;
  colour = D3DXCOLOR(colour.r * brightness, colour.g * brightness, colour.b * brightness, colour.a * brightness);

  shader = rc.shaders ? rc.shaders->postProcessShader : nullptr;
  vertexCount = indexCount = static_cast<uint32_t>(6 * lineCount);
  lines.reset(new (std::nothrow) DesignLine[static_cast<size_t>(lineCount)]);
  vertices.reset(new (std::nothrow) QuadVertex[vertexCount]());
  if (!lines || !vertices || !rc.device) return false;
  for (uint32_t i = 0; i < vertexCount; ++i) {
    vertices[i].r = colour.r;
    vertices[i].g = colour.g;
    vertices[i].b = colour.b;
    vertices[i].a = colour.a;
  }

  // The glitch draws from the same sequence afterwards, so it differs from run to run too.
  platform::srand(static_cast<uint32_t>(platform::time64()));
  const float randMax = static_cast<float>(platform::kRandMax);
  for (int32_t i = 0; i < lineCount; ++i) {
    DesignLine& line = lines[i];
    line.y = static_cast<float>(platform::rand()) / (randMax / height) - height * 0.5f;
    line.thickness = static_cast<float>(platform::rand()) * static_cast<float>(thicknessRange) / randMax + 5.0f;
    line.speed = static_cast<float>(platform::rand()) * speedRange / randMax + 0.1f;
    line.alpha = static_cast<float>(platform::rand()) / (2.0f * randMax);
  }
  return CreateScreenBuffers(rc.device, vertices.get(), vertexCount, true, &vertexBuffer, &indexBuffer);
}

void DesignLines::Move(int64_t deltaMs) {
  if (!lines) return;
  const float top = static_cast<float>(m_renderContext.height) * 0.5f;
  for (int32_t i = 0; i < lineCount; ++i) {
    DesignLine& line = lines[i];
    line.y += static_cast<float>(deltaMs) * line.speed * 0.01f;
    // Past the top edge the bar starts again just below the bottom one.
    if (line.y >= top) line.y = -top - line.thickness;
  }
}

void DesignLines::BuildVertices() {
  if (!lines || !vertices) return;
  const float right = static_cast<float>(m_renderContext.width) * 0.5f, left = -right;
  for (int32_t i = 0; i < lineCount; ++i) {
    const DesignLine& line = lines[i];
    const float lower = line.y, upper = line.y + line.thickness;
    // The lower edge at a quarter of the colour and the alpha, the upper edge at full.
    const QuadVertex dim = {0.0f, 0.0f, 1.0f, colour.r * 0.25f, colour.g * 0.25f, colour.b * 0.25f,
                            line.alpha * 0.25f, 0.0f, 0.0f};
    const QuadVertex lit = {0.0f, 0.0f, 1.0f, colour.r, colour.g, colour.b, line.alpha, 0.0f, 0.0f};
    QuadVertex* v = &vertices[static_cast<size_t>(i) * 6];
    const struct {
      const QuadVertex& shade;
      float x, y;
    } corners[6] = {{dim, left, lower}, {dim, right, lower}, {lit, left, upper},
                    {dim, right, lower}, {lit, right, upper}, {lit, left, upper}};
    for (int k = 0; k < 6; ++k) {
      v[k] = corners[k].shade;
      v[k].x = corners[k].x;
      v[k].y = corners[k].y;
    }
  }
}

void DesignLines::Render() {
  const RenderContext& rc = m_renderContext;
  if (!vertexBuffer || !indexBuffer || !shader || !rc.renderStates) return;
  Move(rc.timer ? rc.timer->delta : 0);
  BuildVertices();
  UploadScreenVertices(rc.context, vertexBuffer, vertices.get(), vertexCount);

  const RenderStateManager& states = *rc.renderStates;
  ID3D11BlendState* blendState = blendMode == 0 ? states.blendAlpha : blendMode == 1 ? states.blendAdditive : nullptr;
  BindScreenGeometry(rc.context, vertexBuffer, indexBuffer, states, blendState);

  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  // Untextured and blended: the vertex colours and alphas make the bars.
  const PostProcessParameters parameters = EffectParameters(0, false, true, 0.0f, true, 0, rc.width, rc.width);
  if (shader->SetShaderParameters(identity, identity, rc.orthoFull, nullptr, &parameters)) shader->Render(indexCount);
}

void DesignLines::Shutdown() {
  vertices.reset();
  lines.reset();
  ReleaseAndForget(indexBuffer);
  ReleaseAndForget(vertexBuffer);
}
