// Depth passes (shadow map and camera depth): clip position and the normal in view space.
cbuffer MatrixBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
};

struct VertexInputType
{
    float3 position : POSITION;
    float3 normal : NORMAL;
};

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 depthPosition : TEXCOORD0;
    float3 normal : NORMAL;
};

PixelInputType Depth_VS(VertexInputType input)
{
    PixelInputType output;
    float4 view = mul(mul(float4(input.position, 1.0f), worldMatrix), viewMatrix);
    output.position = mul(view, projectionMatrix);
    output.depthPosition = output.position;
    output.normal = normalize(mul(mul(input.normal, (float3x3)worldMatrix), (float3x3)viewMatrix));
    return output;
}
