// Red: depth 0 (near) to 1 (far); green and blue: the view-space normal's x and y in 0..1.
struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 depthPosition : TEXCOORD0;
    float3 normal : NORMAL;
};

float4 Depth_PS(PixelInputType input) : SV_TARGET
{
    float depth = input.depthPosition.z / input.depthPosition.w;
    float3 normal = normalize(input.normal);
    return float4(depth, normal.x * 0.5f + 0.5f, normal.y * 0.5f + 0.5f, 1.0f);
}
