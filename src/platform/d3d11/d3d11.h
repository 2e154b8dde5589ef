#pragma once
// The Direct3D 11 subset the show calls, with Direct3D's own names, descriptions, enumeration
// values and results, carried out on OpenGL 4.5 core. Clip space, depth range and texture rows
// follow Direct3D (top row first, depth 0…1). Anything outside the subset answers E_NOTIMPL and
// writes one line to stderr.
#include <cstdint>
#include <memory>

#include "platform/d3d11/d3dcommon.h"
#include "platform/dxgi/dxgi.h"

constexpr UINT D3D11_SDK_VERSION = 7;
constexpr UINT D3D11_CREATE_DEVICE_SINGLETHREADED = 0x1;
constexpr UINT D3D11_CREATE_DEVICE_DEBUG = 0x2;
constexpr UINT D3D11_APPEND_ALIGNED_ELEMENT = 0xffffffffu;
constexpr float D3D11_FLOAT32_MAX = 3.402823466e+38f;
constexpr UINT D3D11_DEFAULT_SAMPLE_MASK = 0xffffffffu;
constexpr UINT D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT = 8;
constexpr UINT D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT = 14;
constexpr UINT D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT = 128;
constexpr UINT D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT = 16;
constexpr UINT D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT = 32;
constexpr UINT D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE = 16;

// The slots this layer carries per stage (the show uses far fewer).
constexpr UINT PULSAR_CONSTANT_BUFFER_SLOTS = 14;
constexpr UINT PULSAR_RESOURCE_SLOTS = 16;
constexpr UINT PULSAR_SAMPLER_SLOTS = 16;
constexpr UINT PULSAR_VERTEX_BUFFER_SLOTS = 8;

enum D3D11_USAGE : uint32_t {
  D3D11_USAGE_DEFAULT = 0,
  D3D11_USAGE_IMMUTABLE = 1,
  D3D11_USAGE_DYNAMIC = 2,
  D3D11_USAGE_STAGING = 3,
};

enum D3D11_BIND_FLAG : uint32_t {
  D3D11_BIND_VERTEX_BUFFER = 0x1,
  D3D11_BIND_INDEX_BUFFER = 0x2,
  D3D11_BIND_CONSTANT_BUFFER = 0x4,
  D3D11_BIND_SHADER_RESOURCE = 0x8,
  D3D11_BIND_STREAM_OUTPUT = 0x10,
  D3D11_BIND_RENDER_TARGET = 0x20,
  D3D11_BIND_DEPTH_STENCIL = 0x40,
  D3D11_BIND_UNORDERED_ACCESS = 0x80,
};

enum D3D11_CPU_ACCESS_FLAG : uint32_t {
  D3D11_CPU_ACCESS_WRITE = 0x10000,
  D3D11_CPU_ACCESS_READ = 0x20000,
};

enum D3D11_RESOURCE_MISC_FLAG : uint32_t {
  D3D11_RESOURCE_MISC_GENERATE_MIPS = 0x1,
  D3D11_RESOURCE_MISC_TEXTURECUBE = 0x4,
};

enum D3D11_MAP : uint32_t {
  D3D11_MAP_READ = 1,
  D3D11_MAP_WRITE = 2,
  D3D11_MAP_READ_WRITE = 3,
  D3D11_MAP_WRITE_DISCARD = 4,
  D3D11_MAP_WRITE_NO_OVERWRITE = 5,
};

enum D3D11_CLEAR_FLAG : uint32_t {
  D3D11_CLEAR_DEPTH = 0x1,
  D3D11_CLEAR_STENCIL = 0x2,
};

enum D3D11_INPUT_CLASSIFICATION : uint32_t {
  D3D11_INPUT_PER_VERTEX_DATA = 0,
  D3D11_INPUT_PER_INSTANCE_DATA = 1,
};

enum D3D11_FILL_MODE : uint32_t {
  D3D11_FILL_WIREFRAME = 2,
  D3D11_FILL_SOLID = 3,
};

enum D3D11_CULL_MODE : uint32_t {
  D3D11_CULL_NONE = 1,
  D3D11_CULL_FRONT = 2,
  D3D11_CULL_BACK = 3,
};

enum D3D11_BLEND : uint32_t {
  D3D11_BLEND_ZERO = 1,
  D3D11_BLEND_ONE = 2,
  D3D11_BLEND_SRC_COLOR = 3,
  D3D11_BLEND_INV_SRC_COLOR = 4,
  D3D11_BLEND_SRC_ALPHA = 5,
  D3D11_BLEND_INV_SRC_ALPHA = 6,
  D3D11_BLEND_DEST_ALPHA = 7,
  D3D11_BLEND_INV_DEST_ALPHA = 8,
  D3D11_BLEND_DEST_COLOR = 9,
  D3D11_BLEND_INV_DEST_COLOR = 10,
  D3D11_BLEND_SRC_ALPHA_SAT = 11,
  D3D11_BLEND_BLEND_FACTOR = 14,
  D3D11_BLEND_INV_BLEND_FACTOR = 15,
};

enum D3D11_BLEND_OP : uint32_t {
  D3D11_BLEND_OP_ADD = 1,
  D3D11_BLEND_OP_SUBTRACT = 2,
  D3D11_BLEND_OP_REV_SUBTRACT = 3,
  D3D11_BLEND_OP_MIN = 4,
  D3D11_BLEND_OP_MAX = 5,
};

enum D3D11_COLOR_WRITE_ENABLE : uint32_t {
  D3D11_COLOR_WRITE_ENABLE_RED = 1,
  D3D11_COLOR_WRITE_ENABLE_GREEN = 2,
  D3D11_COLOR_WRITE_ENABLE_BLUE = 4,
  D3D11_COLOR_WRITE_ENABLE_ALPHA = 8,
  D3D11_COLOR_WRITE_ENABLE_ALL = 15,
};

enum D3D11_COMPARISON_FUNC : uint32_t {
  D3D11_COMPARISON_NEVER = 1,
  D3D11_COMPARISON_LESS = 2,
  D3D11_COMPARISON_EQUAL = 3,
  D3D11_COMPARISON_LESS_EQUAL = 4,
  D3D11_COMPARISON_GREATER = 5,
  D3D11_COMPARISON_NOT_EQUAL = 6,
  D3D11_COMPARISON_GREATER_EQUAL = 7,
  D3D11_COMPARISON_ALWAYS = 8,
};

enum D3D11_DEPTH_WRITE_MASK : uint32_t {
  D3D11_DEPTH_WRITE_MASK_ZERO = 0,
  D3D11_DEPTH_WRITE_MASK_ALL = 1,
};

enum D3D11_STENCIL_OP : uint32_t {
  D3D11_STENCIL_OP_KEEP = 1,
  D3D11_STENCIL_OP_ZERO = 2,
  D3D11_STENCIL_OP_REPLACE = 3,
  D3D11_STENCIL_OP_INCR_SAT = 4,
  D3D11_STENCIL_OP_DECR_SAT = 5,
  D3D11_STENCIL_OP_INVERT = 6,
  D3D11_STENCIL_OP_INCR = 7,
  D3D11_STENCIL_OP_DECR = 8,
};

enum D3D11_FILTER : uint32_t {
  D3D11_FILTER_MIN_MAG_MIP_POINT = 0,
  D3D11_FILTER_MIN_MAG_POINT_MIP_LINEAR = 0x1,
  D3D11_FILTER_MIN_POINT_MAG_LINEAR_MIP_POINT = 0x4,
  D3D11_FILTER_MIN_POINT_MAG_MIP_LINEAR = 0x5,
  D3D11_FILTER_MIN_LINEAR_MAG_MIP_POINT = 0x10,
  D3D11_FILTER_MIN_LINEAR_MAG_POINT_MIP_LINEAR = 0x11,
  D3D11_FILTER_MIN_MAG_LINEAR_MIP_POINT = 0x14,
  D3D11_FILTER_MIN_MAG_MIP_LINEAR = 0x15,
  D3D11_FILTER_ANISOTROPIC = 0x55,
  D3D11_FILTER_COMPARISON_MIN_MAG_MIP_POINT = 0x80,
  D3D11_FILTER_COMPARISON_MIN_MAG_MIP_LINEAR = 0x95,
};

enum D3D11_TEXTURE_ADDRESS_MODE : uint32_t {
  D3D11_TEXTURE_ADDRESS_WRAP = 1,
  D3D11_TEXTURE_ADDRESS_MIRROR = 2,
  D3D11_TEXTURE_ADDRESS_CLAMP = 3,
  D3D11_TEXTURE_ADDRESS_BORDER = 4,
  D3D11_TEXTURE_ADDRESS_MIRROR_ONCE = 5,
};

enum D3D11_RTV_DIMENSION : uint32_t {
  D3D11_RTV_DIMENSION_UNKNOWN = 0,
  D3D11_RTV_DIMENSION_TEXTURE2D = 4,
};

enum D3D11_DSV_DIMENSION : uint32_t {
  D3D11_DSV_DIMENSION_UNKNOWN = 0,
  D3D11_DSV_DIMENSION_TEXTURE2D = 3,
};

enum D3D11_RESOURCE_DIMENSION : uint32_t {
  D3D11_RESOURCE_DIMENSION_UNKNOWN = 0,
  D3D11_RESOURCE_DIMENSION_BUFFER = 1,
  D3D11_RESOURCE_DIMENSION_TEXTURE2D = 3,
};

struct D3D11_BUFFER_DESC {
  UINT ByteWidth;
  D3D11_USAGE Usage;
  UINT BindFlags;
  UINT CPUAccessFlags;
  UINT MiscFlags;
  UINT StructureByteStride;
};

struct D3D11_SUBRESOURCE_DATA {
  const void* pSysMem;
  UINT SysMemPitch;
  UINT SysMemSlicePitch;
};

struct D3D11_MAPPED_SUBRESOURCE {
  void* pData;
  UINT RowPitch;
  UINT DepthPitch;
};

struct D3D11_BOX {
  UINT left;
  UINT top;
  UINT front;
  UINT right;
  UINT bottom;
  UINT back;
};

struct D3D11_TEXTURE2D_DESC {
  UINT Width;
  UINT Height;
  UINT MipLevels;
  UINT ArraySize;
  DXGI_FORMAT Format;
  DXGI_SAMPLE_DESC SampleDesc;
  D3D11_USAGE Usage;
  UINT BindFlags;
  UINT CPUAccessFlags;
  UINT MiscFlags;
};

struct D3D11_TEX2D_SRV {
  UINT MostDetailedMip;
  UINT MipLevels;
};
struct D3D11_TEX2D_ARRAY_SRV {
  UINT MostDetailedMip;
  UINT MipLevels;
  UINT FirstArraySlice;
  UINT ArraySize;
};
struct D3D11_TEXCUBE_SRV {
  UINT MostDetailedMip;
  UINT MipLevels;
};

struct D3D11_SHADER_RESOURCE_VIEW_DESC {
  DXGI_FORMAT Format;
  D3D11_SRV_DIMENSION ViewDimension;
  union {
    D3D11_TEX2D_SRV Texture2D;
    D3D11_TEX2D_ARRAY_SRV Texture2DArray;
    D3D11_TEXCUBE_SRV TextureCube;
  };
};

struct D3D11_TEX2D_RTV {
  UINT MipSlice;
};

struct D3D11_RENDER_TARGET_VIEW_DESC {
  DXGI_FORMAT Format;
  D3D11_RTV_DIMENSION ViewDimension;
  union {
    D3D11_TEX2D_RTV Texture2D;
  };
};

struct D3D11_TEX2D_DSV {
  UINT MipSlice;
};

struct D3D11_DEPTH_STENCIL_VIEW_DESC {
  DXGI_FORMAT Format;
  D3D11_DSV_DIMENSION ViewDimension;
  UINT Flags;
  union {
    D3D11_TEX2D_DSV Texture2D;
  };
};

struct D3D11_INPUT_ELEMENT_DESC {
  LPCSTR SemanticName;
  UINT SemanticIndex;
  DXGI_FORMAT Format;
  UINT InputSlot;
  UINT AlignedByteOffset;
  D3D11_INPUT_CLASSIFICATION InputSlotClass;
  UINT InstanceDataStepRate;
};

struct D3D11_SAMPLER_DESC {
  D3D11_FILTER Filter;
  D3D11_TEXTURE_ADDRESS_MODE AddressU;
  D3D11_TEXTURE_ADDRESS_MODE AddressV;
  D3D11_TEXTURE_ADDRESS_MODE AddressW;
  FLOAT MipLODBias;
  UINT MaxAnisotropy;
  D3D11_COMPARISON_FUNC ComparisonFunc;
  FLOAT BorderColor[4];
  FLOAT MinLOD;
  FLOAT MaxLOD;
};

struct D3D11_RASTERIZER_DESC {
  D3D11_FILL_MODE FillMode;
  D3D11_CULL_MODE CullMode;
  BOOL FrontCounterClockwise;
  INT DepthBias;
  FLOAT DepthBiasClamp;
  FLOAT SlopeScaledDepthBias;
  BOOL DepthClipEnable;
  BOOL ScissorEnable;
  BOOL MultisampleEnable;
  BOOL AntialiasedLineEnable;
};

struct D3D11_RENDER_TARGET_BLEND_DESC {
  BOOL BlendEnable;
  D3D11_BLEND SrcBlend;
  D3D11_BLEND DestBlend;
  D3D11_BLEND_OP BlendOp;
  D3D11_BLEND SrcBlendAlpha;
  D3D11_BLEND DestBlendAlpha;
  D3D11_BLEND_OP BlendOpAlpha;
  UINT8 RenderTargetWriteMask;
};

struct D3D11_BLEND_DESC {
  BOOL AlphaToCoverageEnable;
  BOOL IndependentBlendEnable;
  D3D11_RENDER_TARGET_BLEND_DESC RenderTarget[8];
};

struct D3D11_DEPTH_STENCILOP_DESC {
  D3D11_STENCIL_OP StencilFailOp;
  D3D11_STENCIL_OP StencilDepthFailOp;
  D3D11_STENCIL_OP StencilPassOp;
  D3D11_COMPARISON_FUNC StencilFunc;
};

struct D3D11_DEPTH_STENCIL_DESC {
  BOOL DepthEnable;
  D3D11_DEPTH_WRITE_MASK DepthWriteMask;
  D3D11_COMPARISON_FUNC DepthFunc;
  BOOL StencilEnable;
  UINT8 StencilReadMask;
  UINT8 StencilWriteMask;
  D3D11_DEPTH_STENCILOP_DESC FrontFace;
  D3D11_DEPTH_STENCILOP_DESC BackFace;
};

struct D3D11_VIEWPORT {
  FLOAT TopLeftX;
  FLOAT TopLeftY;
  FLOAT Width;
  FLOAT Height;
  FLOAT MinDepth;
  FLOAT MaxDepth;
};

using D3D11_RECT = RECT;

class ID3D11Device;
class ID3D11DeviceContext;
class ID3D11ClassLinkage;
class ID3D11ClassInstance;

PULSAR_DECLARE_IID(ID3D11Resource, 0xdc8e63f3, 0xd12b, 0x4952, 0xb4, 0x7b, 0x5e, 0x45, 0x02, 0x6a, 0x86, 0x2d)
PULSAR_DECLARE_IID(ID3D11Texture2D, 0x6f15aaf2, 0xd208, 0x4e89, 0x9a, 0xb4, 0x48, 0x95, 0x35, 0xd3, 0x4f, 0x9c)

class ID3D11DeviceChild : public IUnknown {
 public:
  // Adds a reference to the device.
  void GetDevice(ID3D11Device** ppDevice);

 protected:
  explicit ID3D11DeviceChild(ID3D11Device* device) : m_device(device) {}
  ID3D11Device* m_device;
};

// A buffer or texture, with its OpenGL object.
class ID3D11Resource : public ID3D11DeviceChild {
 public:
  void GetType(D3D11_RESOURCE_DIMENSION* pResourceDimension) { *pResourceDimension = m_dimension; }

  // The layer's own.
  uint32_t glName() const { return m_glName; }

 protected:
  ID3D11Resource(ID3D11Device* device, D3D11_RESOURCE_DIMENSION dimension)
      : ID3D11DeviceChild(device), m_dimension(dimension) {}
  ~ID3D11Resource() override;

  D3D11_RESOURCE_DIMENSION m_dimension;
  uint32_t m_glName = 0;
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
};

class ID3D11Buffer : public ID3D11Resource {
 public:
  void GetDesc(D3D11_BUFFER_DESC* pDesc) { *pDesc = m_desc; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11Buffer(ID3D11Device* device, const D3D11_BUFFER_DESC& desc)
      : ID3D11Resource(device, D3D11_RESOURCE_DIMENSION_BUFFER), m_desc(desc) {}
  D3D11_BUFFER_DESC m_desc;
  bool m_mapped = false;
};

class ID3D11Texture2D : public ID3D11Resource {
 public:
  void GetDesc(D3D11_TEXTURE2D_DESC* pDesc) { *pDesc = m_desc; }

  // The layer's own: the GL texture target (GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP …).
  uint32_t glTarget() const { return m_glTarget; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  friend class IDXGISwapChain;
  friend struct SwapChainFactory;
  ID3D11Texture2D(ID3D11Device* device, const D3D11_TEXTURE2D_DESC& desc)
      : ID3D11Resource(device, D3D11_RESOURCE_DIMENSION_TEXTURE2D), m_desc(desc) {}
  D3D11_TEXTURE2D_DESC m_desc;
  uint32_t m_glTarget = 0;
  std::vector<uint8_t> m_mapStorage;
  bool m_mapped = false;
};

class ID3D11View : public ID3D11DeviceChild {
 public:
  // Adds a reference to the resource.
  void GetResource(ID3D11Resource** ppResource);

 protected:
  ID3D11View(ID3D11Device* device, ID3D11Resource* resource);
  ~ID3D11View() override;
  ID3D11Resource* m_resource;
};

class ID3D11ShaderResourceView : public ID3D11View {
 public:
  void GetDesc(D3D11_SHADER_RESOURCE_VIEW_DESC* pDesc) { *pDesc = m_desc; }
  uint32_t glTexture() const { return m_glTexture; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11ShaderResourceView(ID3D11Device* device, ID3D11Resource* resource,
                           const D3D11_SHADER_RESOURCE_VIEW_DESC& desc)
      : ID3D11View(device, resource), m_desc(desc) {}
  ~ID3D11ShaderResourceView() override;
  D3D11_SHADER_RESOURCE_VIEW_DESC m_desc;
  uint32_t m_glTexture = 0;  // the texture itself, or a GL texture view of it
  bool m_ownsTextureView = false;
};

class ID3D11RenderTargetView : public ID3D11View {
 public:
  void GetDesc(D3D11_RENDER_TARGET_VIEW_DESC* pDesc) { *pDesc = m_desc; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11RenderTargetView(ID3D11Device* device, ID3D11Resource* resource,
                         const D3D11_RENDER_TARGET_VIEW_DESC& desc)
      : ID3D11View(device, resource), m_desc(desc) {}
  D3D11_RENDER_TARGET_VIEW_DESC m_desc;
};

class ID3D11DepthStencilView : public ID3D11View {
 public:
  void GetDesc(D3D11_DEPTH_STENCIL_VIEW_DESC* pDesc) { *pDesc = m_desc; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11DepthStencilView(ID3D11Device* device, ID3D11Resource* resource,
                         const D3D11_DEPTH_STENCIL_VIEW_DESC& desc)
      : ID3D11View(device, resource), m_desc(desc) {}
  D3D11_DEPTH_STENCIL_VIEW_DESC m_desc;
};

namespace platform::d3d11 {
struct ShaderStageCode;
}

// One separable GL program per shader stage.
class ID3D11ShaderStage : public ID3D11DeviceChild {
 public:
  uint32_t glProgram() const { return m_glProgram; }

 protected:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11ShaderStage(ID3D11Device* device);
  ~ID3D11ShaderStage() override;
  uint32_t m_glProgram = 0;
  std::unique_ptr<platform::d3d11::ShaderStageCode> m_code;
};

class ID3D11VertexShader : public ID3D11ShaderStage {
  friend class ID3D11Device;
  using ID3D11ShaderStage::ID3D11ShaderStage;
};
class ID3D11GeometryShader : public ID3D11ShaderStage {
  friend class ID3D11Device;
  using ID3D11ShaderStage::ID3D11ShaderStage;
};
class ID3D11PixelShader : public ID3D11ShaderStage {
  friend class ID3D11Device;
  using ID3D11ShaderStage::ID3D11ShaderStage;
};

// A GL vertex array object with the attribute formats of the elements.
class ID3D11InputLayout : public ID3D11DeviceChild {
 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  explicit ID3D11InputLayout(ID3D11Device* device) : ID3D11DeviceChild(device) {}
  ~ID3D11InputLayout() override;
  uint32_t m_glVertexArray = 0;
  uint32_t m_usedSlots = 0;  // bit per input slot
};

class ID3D11SamplerState : public ID3D11DeviceChild {
 public:
  void GetDesc(D3D11_SAMPLER_DESC* pDesc) { *pDesc = m_desc; }
  uint32_t glSampler() const { return m_glSampler; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11SamplerState(ID3D11Device* device, const D3D11_SAMPLER_DESC& desc)
      : ID3D11DeviceChild(device), m_desc(desc) {}
  ~ID3D11SamplerState() override;
  D3D11_SAMPLER_DESC m_desc;
  uint32_t m_glSampler = 0;
};

class ID3D11RasterizerState : public ID3D11DeviceChild {
 public:
  void GetDesc(D3D11_RASTERIZER_DESC* pDesc) { *pDesc = m_desc; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11RasterizerState(ID3D11Device* device, const D3D11_RASTERIZER_DESC& desc)
      : ID3D11DeviceChild(device), m_desc(desc) {}
  D3D11_RASTERIZER_DESC m_desc;
};

class ID3D11BlendState : public ID3D11DeviceChild {
 public:
  void GetDesc(D3D11_BLEND_DESC* pDesc) { *pDesc = m_desc; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11BlendState(ID3D11Device* device, const D3D11_BLEND_DESC& desc)
      : ID3D11DeviceChild(device), m_desc(desc) {}
  D3D11_BLEND_DESC m_desc;
};

class ID3D11DepthStencilState : public ID3D11DeviceChild {
 public:
  void GetDesc(D3D11_DEPTH_STENCIL_DESC* pDesc) { *pDesc = m_desc; }

 private:
  friend class ID3D11Device;
  friend class ID3D11DeviceContext;
  ID3D11DepthStencilState(ID3D11Device* device, const D3D11_DEPTH_STENCIL_DESC& desc)
      : ID3D11DeviceChild(device), m_desc(desc) {}
  D3D11_DEPTH_STENCIL_DESC m_desc;
};

namespace platform::d3d11 {
struct ContextState;
}

// The immediate context: records bindings and applies them to GL when a draw or clear needs them.
class ID3D11DeviceContext : public ID3D11DeviceChild {
 public:
  // Input assembler.
  void IASetInputLayout(ID3D11InputLayout* pInputLayout);
  void IASetVertexBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppVertexBuffers,
                          const UINT* pStrides, const UINT* pOffsets);
  void IASetIndexBuffer(ID3D11Buffer* pIndexBuffer, DXGI_FORMAT Format, UINT Offset);
  void IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY Topology);
  void IAGetInputLayout(ID3D11InputLayout** ppInputLayout);
  void IAGetVertexBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppVertexBuffers,
                          UINT* pStrides, UINT* pOffsets);
  void IAGetIndexBuffer(ID3D11Buffer** pIndexBuffer, DXGI_FORMAT* Format, UINT* Offset);
  void IAGetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY* pTopology);

  // Shader stages.
  void VSSetShader(ID3D11VertexShader* pVertexShader, ID3D11ClassInstance* const* ppClassInstances,
                   UINT NumClassInstances);
  void GSSetShader(ID3D11GeometryShader* pShader, ID3D11ClassInstance* const* ppClassInstances,
                   UINT NumClassInstances);
  void PSSetShader(ID3D11PixelShader* pPixelShader, ID3D11ClassInstance* const* ppClassInstances,
                   UINT NumClassInstances);
  void VSGetShader(ID3D11VertexShader** ppVertexShader, ID3D11ClassInstance** ppClassInstances,
                   UINT* pNumClassInstances);
  void GSGetShader(ID3D11GeometryShader** ppGeometryShader, ID3D11ClassInstance** ppClassInstances,
                   UINT* pNumClassInstances);
  void PSGetShader(ID3D11PixelShader** ppPixelShader, ID3D11ClassInstance** ppClassInstances,
                   UINT* pNumClassInstances);

  void VSSetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppConstantBuffers);
  void GSSetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppConstantBuffers);
  void PSSetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer* const* ppConstantBuffers);
  void VSGetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppConstantBuffers);
  void GSGetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppConstantBuffers);
  void PSGetConstantBuffers(UINT StartSlot, UINT NumBuffers, ID3D11Buffer** ppConstantBuffers);

  void VSSetShaderResources(UINT StartSlot, UINT NumViews,
                            ID3D11ShaderResourceView* const* ppShaderResourceViews);
  void GSSetShaderResources(UINT StartSlot, UINT NumViews,
                            ID3D11ShaderResourceView* const* ppShaderResourceViews);
  void PSSetShaderResources(UINT StartSlot, UINT NumViews,
                            ID3D11ShaderResourceView* const* ppShaderResourceViews);
  void PSGetShaderResources(UINT StartSlot, UINT NumViews, ID3D11ShaderResourceView** ppShaderResourceViews);

  void VSSetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState* const* ppSamplers);
  void GSSetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState* const* ppSamplers);
  void PSSetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState* const* ppSamplers);
  void PSGetSamplers(UINT StartSlot, UINT NumSamplers, ID3D11SamplerState** ppSamplers);

  // Rasterizer and output merger.
  void RSSetState(ID3D11RasterizerState* pRasterizerState);
  void RSGetState(ID3D11RasterizerState** ppRasterizerState);
  void RSSetViewports(UINT NumViewports, const D3D11_VIEWPORT* pViewports);
  void RSGetViewports(UINT* pNumViewports, D3D11_VIEWPORT* pViewports);
  void RSSetScissorRects(UINT NumRects, const D3D11_RECT* pRects);
  void OMSetRenderTargets(UINT NumViews, ID3D11RenderTargetView* const* ppRenderTargetViews,
                          ID3D11DepthStencilView* pDepthStencilView);
  void OMGetRenderTargets(UINT NumViews, ID3D11RenderTargetView** ppRenderTargetViews,
                          ID3D11DepthStencilView** ppDepthStencilView);
  void OMSetBlendState(ID3D11BlendState* pBlendState, const FLOAT BlendFactor[4], UINT SampleMask);
  void OMGetBlendState(ID3D11BlendState** ppBlendState, FLOAT BlendFactor[4], UINT* pSampleMask);
  void OMSetDepthStencilState(ID3D11DepthStencilState* pDepthStencilState, UINT StencilRef);
  void OMGetDepthStencilState(ID3D11DepthStencilState** ppDepthStencilState, UINT* pStencilRef);

  // Draws, clears and copies.
  void Draw(UINT VertexCount, UINT StartVertexLocation);
  void DrawIndexed(UINT IndexCount, UINT StartIndexLocation, INT BaseVertexLocation);
  void ClearRenderTargetView(ID3D11RenderTargetView* pRenderTargetView, const FLOAT ColorRGBA[4]);
  void ClearDepthStencilView(ID3D11DepthStencilView* pDepthStencilView, UINT ClearFlags, FLOAT Depth,
                             UINT8 Stencil);
  void CopyResource(ID3D11Resource* pDstResource, ID3D11Resource* pSrcResource);
  void UpdateSubresource(ID3D11Resource* pDstResource, UINT DstSubresource, const D3D11_BOX* pDstBox,
                         const void* pSrcData, UINT SrcRowPitch, UINT SrcDepthPitch);
  void GenerateMips(ID3D11ShaderResourceView* pShaderResourceView);

  // Dynamic buffers (WRITE_DISCARD, WRITE_NO_OVERWRITE) and dynamic or staging textures.
  HRESULT Map(ID3D11Resource* pResource, UINT Subresource, D3D11_MAP MapType, UINT MapFlags,
              D3D11_MAPPED_SUBRESOURCE* pMappedResource);
  void Unmap(ID3D11Resource* pResource, UINT Subresource);

  void ClearState();
  void Flush();

 private:
  friend class ID3D11Device;
  friend HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter*, D3D_DRIVER_TYPE, void*, UINT,
                                               const D3D_FEATURE_LEVEL*, UINT, UINT,
                                               const DXGI_SWAP_CHAIN_DESC*, IDXGISwapChain**,
                                               ID3D11Device**, D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);
  explicit ID3D11DeviceContext(ID3D11Device* device);
  ~ID3D11DeviceContext() override;
  bool PrepareDraw();
  std::unique_ptr<platform::d3d11::ContextState> m_state;
};

class ID3D11Device : public IUnknown {
 public:
  HRESULT CreateBuffer(const D3D11_BUFFER_DESC* pDesc, const D3D11_SUBRESOURCE_DATA* pInitialData,
                       ID3D11Buffer** ppBuffer);
  HRESULT CreateTexture2D(const D3D11_TEXTURE2D_DESC* pDesc, const D3D11_SUBRESOURCE_DATA* pInitialData,
                          ID3D11Texture2D** ppTexture2D);
  HRESULT CreateShaderResourceView(ID3D11Resource* pResource, const D3D11_SHADER_RESOURCE_VIEW_DESC* pDesc,
                                   ID3D11ShaderResourceView** ppSRView);
  HRESULT CreateRenderTargetView(ID3D11Resource* pResource, const D3D11_RENDER_TARGET_VIEW_DESC* pDesc,
                                 ID3D11RenderTargetView** ppRTView);
  HRESULT CreateDepthStencilView(ID3D11Resource* pResource, const D3D11_DEPTH_STENCIL_VIEW_DESC* pDesc,
                                 ID3D11DepthStencilView** ppDepthStencilView);
  HRESULT CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* pInputElementDescs, UINT NumElements,
                            const void* pShaderBytecodeWithInputSignature, SIZE_T BytecodeLength,
                            ID3D11InputLayout** ppInputLayout);
  HRESULT CreateVertexShader(const void* pShaderBytecode, SIZE_T BytecodeLength,
                             ID3D11ClassLinkage* pClassLinkage, ID3D11VertexShader** ppVertexShader);
  HRESULT CreateGeometryShader(const void* pShaderBytecode, SIZE_T BytecodeLength,
                               ID3D11ClassLinkage* pClassLinkage, ID3D11GeometryShader** ppGeometryShader);
  HRESULT CreatePixelShader(const void* pShaderBytecode, SIZE_T BytecodeLength,
                            ID3D11ClassLinkage* pClassLinkage, ID3D11PixelShader** ppPixelShader);
  HRESULT CreateBlendState(const D3D11_BLEND_DESC* pBlendStateDesc, ID3D11BlendState** ppBlendState);
  HRESULT CreateDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* pDepthStencilDesc,
                                  ID3D11DepthStencilState** ppDepthStencilState);
  HRESULT CreateRasterizerState(const D3D11_RASTERIZER_DESC* pRasterizerDesc,
                                ID3D11RasterizerState** ppRasterizerState);
  HRESULT CreateSamplerState(const D3D11_SAMPLER_DESC* pSamplerDesc, ID3D11SamplerState** ppSamplerState);
  void GetImmediateContext(ID3D11DeviceContext** ppImmediateContext);
  D3D_FEATURE_LEVEL GetFeatureLevel() { return D3D_FEATURE_LEVEL_11_0; }

 private:
  friend HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter*, D3D_DRIVER_TYPE, void*, UINT,
                                               const D3D_FEATURE_LEVEL*, UINT, UINT,
                                               const DXGI_SWAP_CHAIN_DESC*, IDXGISwapChain**,
                                               ID3D11Device**, D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);
  ID3D11Device() = default;
  ~ID3D11Device() override;
  HRESULT CreateShaderStage(uint32_t stage, const void* bytecode, SIZE_T length, ID3D11ShaderStage* shader);
  ID3D11DeviceContext* m_immediateContext = nullptr;
  IDXGISwapChain* m_swapChain = nullptr;
};

// Creates the GL context on pSwapChainDesc->OutputWindow (a platform::Window), the device, its
// immediate context and the swap chain with its off-screen back buffer.
HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter* pAdapter, D3D_DRIVER_TYPE DriverType, void* Software,
                                      UINT Flags, const D3D_FEATURE_LEVEL* pFeatureLevels, UINT FeatureLevels,
                                      UINT SDKVersion, const DXGI_SWAP_CHAIN_DESC* pSwapChainDesc,
                                      IDXGISwapChain** ppSwapChain, ID3D11Device** ppDevice,
                                      D3D_FEATURE_LEVEL* pFeatureLevel, ID3D11DeviceContext** ppImmediateContext);
