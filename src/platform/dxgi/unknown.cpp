#include "platform/dxgi/unknown.h"

ULONG IUnknown::AddRef() { return ++m_referenceCount; }

ULONG IUnknown::Release() {
  const ULONG remaining = --m_referenceCount;
  if (remaining == 0) delete this;
  return remaining;
}
