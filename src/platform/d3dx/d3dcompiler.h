#pragma once
// HLSL compiled from text in memory, for code that carries its own shaders rather than reading
// them from the data directory. Same compiler, cache and results as D3DX11CompileFromFileW;
// pSourceName only names the source in messages.
#include "platform/d3d11/d3d11.h"

HRESULT D3DCompile(const void* pSrcData, SIZE_T SrcDataSize, LPCSTR pSourceName, const D3D_SHADER_MACRO* pDefines,
                   ID3DInclude* pInclude, LPCSTR pEntrypoint, LPCSTR pTarget, UINT Flags1, UINT Flags2,
                   ID3DBlob** ppCode, ID3DBlob** ppErrorMsgs);
