#pragma once
// The reference counting that every DXGI and Direct3D object of the layer shares, and the few
// Windows types their descriptions use. Nothing else of COM: no QueryInterface, no aggregation.
#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

using ULONG = uint32_t;
using BOOL = int;
using WCHAR = wchar_t;
using SIZE_T = size_t;
using UINT8 = uint8_t;
using UINT64 = uint64_t;
using LONG = int32_t;
using LPCSTR = const char*;
using LPVOID = void*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
using IID = GUID;
using REFIID = const IID&;

constexpr bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct LUID {
  uint32_t LowPart;
  LONG HighPart;
};

namespace platform {
// Interface identifiers, so `GetBuffer(0, __uuidof(ID3D11Texture2D), ...)` reads as on Windows.
template <class T>
struct InterfaceId;
}  // namespace platform

#define PULSAR_DECLARE_IID(Interface, d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)       \
  class Interface;                                                                       \
  template <>                                                                            \
  struct platform::InterfaceId<Interface> {                                              \
    static constexpr GUID value = {d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}};        \
  };

#define __uuidof(Interface) (::platform::InterfaceId<Interface>::value)

// Every object starts with one reference held by whoever created it; the last Release deletes.
class IUnknown {
 public:
  ULONG AddRef();
  ULONG Release();

  IUnknown(const IUnknown&) = delete;
  IUnknown& operator=(const IUnknown&) = delete;

  // The layer's own: objects alive right now, so tests can tell a leak from a release.
  static long LiveObjectCount();

 protected:
  IUnknown();
  virtual ~IUnknown();

 private:
  ULONG m_referenceCount = 1;
};
