// Combines two images: mode 0 adds the bloom, mode 1 darkens by the ambient occlusion, mode 2
// blends towards the blurred image; any other mode adds.
cbuffer ScreenBuffer : register(b0)
{
    int mixMode;
    float screenWidth;
    float screenHeight;
    float padding;
};

Texture2D texture0 : register(t0);
Texture2D texture1 : register(t1);
SamplerState wrapSampler : register(s0);
SamplerState clampSampler : register(s1);

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

float4 TexMix_PS(PixelInputType input) : SV_TARGET
{
    float4 image = texture0.Sample(clampSampler, input.tex);
    float4 other = texture1.Sample(clampSampler, input.tex);
    if (mixMode == 1)
    {
        return float4(image.rgb * other.rgb, image.a);
    }
    if (mixMode == 2)
    {
        return float4(lerp(image.rgb, other.rgb, 0.5f), image.a);
    }
    return float4(image.rgb + other.rgb, image.a);
}
