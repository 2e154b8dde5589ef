#include "ParticleRig.h"

#include "support/TestRenderContext.h"

ParticleRig::~ParticleRig() {
  shaders.Shutdown();
  if (textures) textures->Shutdown();
  states.Shutdown();
}

std::string ParticleRig::Create(int width, int height) {
  if (!gpu.Create(width, height)) return "device";
  if (!states.Initialize(gpu.device, gpu.context)) return "render states";
  textures = std::make_unique<TextureCache>(gpu.device);
  shaders.billboardShader = new BillboardShader();
  BillboardShader& billboard = *shaders.billboardShader;
  billboard.device = gpu.device;
  billboard.context = gpu.context;
  billboard.timer = &timer;
  if (!billboard.CreateSamplers() || !billboard.Initialize()) return "billboard program";
  rc = testing_support::TestRenderContext(gpu, &states, textures.get(), &shaders);
  rc.timer = &timer;
  rc.sound = &sound;
  return "";
}

void ParticleRig::DrawFromEye(ParticleSystem& system, const D3DXMATRIX& world) {
  gpu.BindBackBuffer();
  gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
  const D3DXVECTOR3 eye(system.preset.eyeX, system.preset.eyeY, system.preset.eyeZ), at(0, 0, 0), up(0, 1, 0);
  D3DXMATRIX view, projection;
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4.0f, static_cast<float>(rc.width) / static_cast<float>(rc.height),
                             rc.nearPlane, rc.farPlane);
  system.Render(world, view, projection);
}

uint64_t LightIn(const std::vector<uint8_t>& rgba) {
  uint64_t sum = 0;
  for (size_t i = 0; i < rgba.size(); ++i)
    if (i % 4 != 3) sum += rgba[i];
  return sum;
}
