#include <epoxy/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/d3d11/d3d11.h"
#include "platform/d3d11/formats.h"
#include "platform/d3d11/gl_check.h"
#include "platform/d3d11/shader_code.h"

using platform::d3d11::ShaderStage;
using platform::d3d11::ShaderStageCode;

namespace {

GLenum GLStage(ShaderStage stage) {
  switch (stage) {
    case ShaderStage::Vertex:
      return GL_VERTEX_SHADER;
    case ShaderStage::Geometry:
      return GL_GEOMETRY_SHADER;
    case ShaderStage::Pixel:
      return GL_FRAGMENT_SHADER;
  }
  return 0;
}

bool SameSemanticName(const char* a, const std::string& upperCase) {
  if (a == nullptr || std::strlen(a) != upperCase.size()) return false;
  for (size_t i = 0; i < upperCase.size(); ++i) {
    const char c = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (c != upperCase[i]) return false;
  }
  return true;
}

}  // namespace

HRESULT ID3D11Device::CreateShaderStage(uint32_t stage, const void* bytecode, SIZE_T length,
                                        ID3D11ShaderStage* shader) {
  auto code = std::make_unique<ShaderStageCode>();
  if (!platform::d3d11::ParseShaderCode(bytecode, length, code.get()) || static_cast<uint32_t>(code->stage) != stage) {
    platform::d3d11::ReportRefusal("shader code is not of this stage");
    return E_INVALIDARG;
  }
  const char* source = code->glsl.c_str();
  const GLuint program = glCreateShaderProgramv(GLStage(code->stage), 1, &source);
  GLint linked = GL_FALSE;
  if (program != 0) glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    std::string log(4096, '\0');
    GLsizei size = 0;
    if (program != 0) glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), &size, log.data());
    log.resize(static_cast<size_t>(size));
    platform::d3d11::ReportRefusal("the GL program of a shader did not link: %s", log.c_str());
    if (program != 0) glDeleteProgram(program);
    platform::d3d11::CheckGLError("CreateShader");
    return E_FAIL;
  }
  shader->m_glProgram = program;
  shader->m_code = std::move(code);
  return S_OK;
}

HRESULT ID3D11Device::CreateVertexShader(const void* pShaderBytecode, SIZE_T BytecodeLength,
                                         ID3D11ClassLinkage* pClassLinkage, ID3D11VertexShader** ppVertexShader) {
  if (pClassLinkage != nullptr) {
    platform::d3d11::ReportNotImplemented("class linkage");
    return E_NOTIMPL;
  }
  auto* shader = new ID3D11VertexShader(this);
  const HRESULT hr = CreateShaderStage(static_cast<uint32_t>(ShaderStage::Vertex), pShaderBytecode, BytecodeLength,
                                       shader);
  if (FAILED(hr) || ppVertexShader == nullptr) {
    shader->Release();
    return FAILED(hr) ? hr : S_FALSE;
  }
  *ppVertexShader = shader;
  return S_OK;
}

HRESULT ID3D11Device::CreateGeometryShader(const void* pShaderBytecode, SIZE_T BytecodeLength,
                                           ID3D11ClassLinkage* pClassLinkage,
                                           ID3D11GeometryShader** ppGeometryShader) {
  if (pClassLinkage != nullptr) {
    platform::d3d11::ReportNotImplemented("class linkage");
    return E_NOTIMPL;
  }
  auto* shader = new ID3D11GeometryShader(this);
  const HRESULT hr = CreateShaderStage(static_cast<uint32_t>(ShaderStage::Geometry), pShaderBytecode,
                                       BytecodeLength, shader);
  if (FAILED(hr) || ppGeometryShader == nullptr) {
    shader->Release();
    return FAILED(hr) ? hr : S_FALSE;
  }
  *ppGeometryShader = shader;
  return S_OK;
}

HRESULT ID3D11Device::CreatePixelShader(const void* pShaderBytecode, SIZE_T BytecodeLength,
                                        ID3D11ClassLinkage* pClassLinkage, ID3D11PixelShader** ppPixelShader) {
  if (pClassLinkage != nullptr) {
    platform::d3d11::ReportNotImplemented("class linkage");
    return E_NOTIMPL;
  }
  auto* shader = new ID3D11PixelShader(this);
  const HRESULT hr = CreateShaderStage(static_cast<uint32_t>(ShaderStage::Pixel), pShaderBytecode, BytecodeLength,
                                       shader);
  if (FAILED(hr) || ppPixelShader == nullptr) {
    shader->Release();
    return FAILED(hr) ? hr : S_FALSE;
  }
  *ppPixelShader = shader;
  return S_OK;
}

HRESULT ID3D11Device::CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* pInputElementDescs, UINT NumElements,
                                        const void* pShaderBytecodeWithInputSignature, SIZE_T BytecodeLength,
                                        ID3D11InputLayout** ppInputLayout) {
  ShaderStageCode code;
  if (!platform::d3d11::ParseShaderCode(pShaderBytecodeWithInputSignature, BytecodeLength, &code) ||
      code.stage != ShaderStage::Vertex) {
    platform::d3d11::ReportRefusal("CreateInputLayout needs vertex shader code");
    return E_INVALIDARG;
  }
  if (NumElements > 0 && pInputElementDescs == nullptr) return E_INVALIDARG;

  // Offsets as Direct3D computes them: D3D11_APPEND_ALIGNED_ELEMENT follows the previous element
  // of the same slot.
  std::vector<uint32_t> offsets(NumElements);
  uint32_t nextOffset[PULSAR_VERTEX_BUFFER_SLOTS] = {};
  for (UINT i = 0; i < NumElements; ++i) {
    const D3D11_INPUT_ELEMENT_DESC& element = pInputElementDescs[i];
    const platform::d3d11::VertexFormat format = platform::d3d11::VertexFormatOf(element.Format);
    if (format.components == 0 || element.InputSlot >= PULSAR_VERTEX_BUFFER_SLOTS || element.SemanticName == nullptr) {
      platform::d3d11::ReportRefusal("CreateInputLayout: element %u is not supported", i);
      return E_INVALIDARG;
    }
    offsets[i] = element.AlignedByteOffset == D3D11_APPEND_ALIGNED_ELEMENT ? nextOffset[element.InputSlot]
                                                                            : element.AlignedByteOffset;
    nextOffset[element.InputSlot] = offsets[i] + format.bytes;
  }

  // Every input the vertex shader reads must be in the layout, matched by semantic.
  std::vector<int> elementOfInput(code.inputs.size(), -1);
  for (size_t input = 0; input < code.inputs.size(); ++input) {
    for (UINT i = 0; i < NumElements; ++i) {
      if (SameSemanticName(pInputElementDescs[i].SemanticName, code.inputs[input].semantic) &&
          pInputElementDescs[i].SemanticIndex == code.inputs[input].index) {
        elementOfInput[input] = static_cast<int>(i);
        break;
      }
    }
    if (elementOfInput[input] < 0) {
      platform::d3d11::ReportRefusal("CreateInputLayout: the vertex shader reads %s%u, which the layout lacks",
                   code.inputs[input].semantic.c_str(), code.inputs[input].index);
      return E_INVALIDARG;
    }
  }
  if (ppInputLayout == nullptr) return S_FALSE;

  auto* layout = new ID3D11InputLayout(this);
  glCreateVertexArrays(1, &layout->m_glVertexArray);
  const GLuint vao = layout->m_glVertexArray;
  for (size_t input = 0; input < code.inputs.size(); ++input) {
    const D3D11_INPUT_ELEMENT_DESC& element = pInputElementDescs[elementOfInput[input]];
    const platform::d3d11::VertexFormat format = platform::d3d11::VertexFormatOf(element.Format);
    const GLuint location = code.inputs[input].location;
    glEnableVertexArrayAttrib(vao, location);
    if (format.integer) {
      glVertexArrayAttribIFormat(vao, location, format.components, format.type, offsets[elementOfInput[input]]);
    } else {
      glVertexArrayAttribFormat(vao, location, format.components, format.type, format.normalized ? GL_TRUE : GL_FALSE,
                                offsets[elementOfInput[input]]);
    }
    glVertexArrayAttribBinding(vao, location, element.InputSlot);
    glVertexArrayBindingDivisor(vao, element.InputSlot,
                                element.InputSlotClass == D3D11_INPUT_PER_INSTANCE_DATA ? element.InstanceDataStepRate
                                                                                        : 0);
    layout->m_usedSlots |= 1u << element.InputSlot;
  }
  if (!platform::d3d11::CheckGLError("CreateInputLayout")) {
    layout->Release();
    return E_FAIL;
  }
  *ppInputLayout = layout;
  return S_OK;
}
