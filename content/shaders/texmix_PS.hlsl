// Combines a picture (texture 0) with a blurred image (texture 1):
//   0  bloom: the picture plus its blurred bright pass, a little stronger than it was cut, since
//      the blur spreads the highlights thin;
//   1  ambient occlusion: the picture darkened by the blurred occlusion (white is open);
//   2  soft glow: where the blur is brighter than the picture (around highlights) it adds, and a
//      little of the blur softens the whole; flat areas keep their brightness.
// Any other mode adds the two.
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

static const float kBloomGain = 1.6f;
static const float kGlowGain = 0.6f;
static const float kSoften = 0.2f;

float4 TexMix_PS(PixelInputType input) : SV_TARGET
{
    float4 image = texture0.Sample(clampSampler, input.tex);
    float3 other = texture1.Sample(clampSampler, input.tex).rgb;
    float3 bloom = image.rgb + other * kBloomGain;
    float3 occluded = image.rgb * saturate(other);
    float3 glow = lerp(image.rgb, other, kSoften) + max(other - image.rgb, 0.0f) * kGlowGain;
    float3 added = image.rgb + other;
    // Selects rather than branches: a software rasteriser runs every branch anyway.
    float3 rgb = mixMode == 0 ? bloom : mixMode == 1 ? occluded : mixMode == 2 ? glow : added;
    return float4(rgb, image.a);
}
