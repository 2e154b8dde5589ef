// Steps the compositions share that need the effects: a particle system seen from its preset
// eye, and the radial blur laid over the scene at half strength.
#include "demo/Demo.h"
#include "demo/Lens.h"
#include "fx/ParticleSystem.h"
#include "fx/RadialBlur.h"
#include "gfx/D3D11Device.h"
#include "gfx/RenderTarget.h"

// The up vector is (0, 1, 0): upright for every preset eye the scenes use.
void Demo::ParticleView(ParticleSystem* system, const D3DXMATRIX& world) {
  const D3DXVECTOR3 eye(system->preset.eyeX, system->preset.eyeY, system->preset.eyeZ);
  const D3DXVECTOR3 target(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &eye, &target, &up);
  system->Render(world, view, m_pLens->projection);
}

// The scene in m_pRTT_1_1 with its radial blur over it at half strength, left in both
// m_pRTT_1_1 and m_pRTT_1_2.
void Demo::RadialOverlay() {
  PrepareTarget(m_pRTT_16_1);
  DrawRadialBlur();
  PrepareTransparent(m_pRTT_1_2);
  CopyTarget(m_pRTT_1_1, 0);
  LayOver(m_pRTT_16_1, 0.5f);
  PrepareTransparent(m_pRTT_1_1);
  CopyTarget(m_pRTT_1_2, 0);
}

void Demo::DrawRadialBlur() {
  m_pRadialBlur->sourceTexture = m_pRTT_1_1->shaderResourceView;
  m_pRadialBlur->Render();
}

void Demo::LayOver(RenderTarget* layer, float alpha) {
  m_pQuad_1_Blend->hasTexture = true;
  m_pQuad_1_Blend->blend = true;
  m_pQuad_1_Blend->overlay = false;
  m_pQuad_1_Blend->alpha = alpha;
  m_pQuad_1_Blend->texture = layer->shaderResourceView;
  m_pQuad_1_Blend->Render(0);
}

// The device's world (the identity) turned about x, y and z by the given angles in radians.
D3DXMATRIX Demo::TurnedWorld(float x, float y, float z) const {
  D3DXMATRIX world = m_pD3D11->GetWorldMatrix(), rx, ry, rz;
  D3DXMatrixRotationX(&rx, x);
  D3DXMatrixRotationY(&ry, y);
  D3DXMatrixRotationZ(&rz, z);
  D3DXMatrixMultiply(&world, &world, &rx);
  D3DXMatrixMultiply(&world, &world, &ry);
  D3DXMatrixMultiply(&world, &world, &rz);
  return world;
}
