#pragma once
// Run-time HLSL compilation: shaderc turns HLSL into SPIR-V, SPIRV-Cross turns that into GLSL 4.50
// with the Direct3D slots mapped to GL binding points. The blob is this layer's shader code;
// ID3D11Device's Create*Shader and CreateInputLayout read it.
#include "platform/d3d11/d3d11.h"

constexpr UINT D3D10_SHADER_DEBUG = 0x1;
constexpr UINT D3D10_SHADER_SKIP_OPTIMIZATION = 0x4;
constexpr UINT D3D10_SHADER_ENABLE_STRICTNESS = 0x800;
constexpr UINT D3DCOMPILE_ENABLE_STRICTNESS = 0x800;

// pSrcFile is a UTF-8 path. Results: S_OK with *ppShader set; on a compile error E_FAIL with
// *ppErrorMsgs holding "path(line): error: message" text; on a missing or unreadable file
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) and no error blob.
// Profiles: vs_5_0, gs_5_0, ps_5_0. Macros, include handlers and thread pumps are not supported.
HRESULT D3DX11CompileFromFileW(const char* pSrcFile, const D3D10_SHADER_MACRO* pDefines, ID3DInclude* pInclude,
                               LPCSTR pFunctionName, LPCSTR pProfile, UINT Flags1, UINT Flags2,
                               ID3DX11ThreadPump* pPump, ID3D10Blob** ppShader, ID3D10Blob** ppErrorMsgs,
                               HRESULT* pHResult);

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
constexpr HRESULT D3DX11_ERR_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);
