#include "demo/Lens.h"

#include <cmath>

#include "app/Timer.h"

Lens::Lens(const RenderContext& renderContext) : ContextHolder(renderContext) { D3DXMatrixIdentity(&projection); }

void Lens::AddKey(const FovKey& key) { keys.push_back(key); }

void Lens::SetFov(float degrees) {
  fov = degrees;
  BuildProjection();
}

void Lens::Update() {
  const int64_t t = m_renderContext.timer ? m_renderContext.timer->elapsed : 0;
  for (const FovKey& key : keys) {
    if (t < key.start || t > key.end) continue;
    // A key of no length is taken at its end.
    const double h = key.end > key.start ? static_cast<double>(t - key.start) / static_cast<double>(key.end - key.start)
                                         : 1.0;
    if (key.interpolation == 0) {
      fov = static_cast<float>(key.from + (key.to - key.from) * h);
    } else if (key.interpolation == 1) {
      const double c = (1.0 - std::cos(3.141592653589793 * h)) / 2.0;
      fov = static_cast<float>((1.0 - c) * key.from + c * key.to);
    }
  }
  BuildProjection();
}

void Lens::BuildProjection() {
  D3DXMatrixPerspectiveFovLH(&projection, fov * 0.017453292519943295f, aspect, m_renderContext.nearPlane,
                             m_renderContext.farPlane);
}
