// What the depth passes leave in their float target:
//   red    linear depth, 0 at the near plane and 1 at the far plane. The target is cleared to 0,
//          so 0 means "nothing drawn here" (the shadow lookup and the ambient occlusion treat it
//          as open sky, not as an occluder at the near plane);
//   green  the view-space normal's x, blue its y, both mapped from -1..1 to 0..1;
//   alpha  1.
struct PixelInputType
{
    float4 position : SV_POSITION;
    float depth : TEXCOORD0;
    float3 normal : NORMAL;
};

float4 Depth_PS(PixelInputType input) : SV_TARGET
{
    // Never exactly 0 for real geometry, so drawn texels stay apart from cleared ones.
    float depth = clamp(input.depth, 0.000001f, 1.0f);
    float3 normal = normalize(input.normal);
    return float4(depth, normal.x * 0.5f + 0.5f, normal.y * 0.5f + 0.5f, 1.0f);
}
