// Screen quads: position through world, view and the orthographic projection of the target's
// size; colour and texture coordinate pass through.
cbuffer MatrixBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
};

struct VertexInput
{
    float3 position : POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

struct PixelInput
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

PixelInput PostProcess_VS(VertexInput input)
{
    PixelInput output;
    float4 position = float4(input.position, 1.0f);
    position = mul(position, worldMatrix);
    position = mul(position, viewMatrix);
    output.position = mul(position, projectionMatrix);
    output.color = input.color;
    output.tex = input.tex;
    return output;
}
