#include "platform/dxgi/unknown.h"

namespace {
long g_liveObjects = 0;  // the layer is used from the render thread only
}

IUnknown::IUnknown() { ++g_liveObjects; }

IUnknown::~IUnknown() { --g_liveObjects; }

long IUnknown::LiveObjectCount() { return g_liveObjects; }

ULONG IUnknown::AddRef() { return ++m_referenceCount; }

ULONG IUnknown::Release() {
  const ULONG remaining = --m_referenceCount;
  if (remaining == 0) delete this;
  return remaining;
}
