// Screen-space ambient occlusion from the camera depth pass (depth in red, view normal in green
// and blue), rotated per pixel by the tiled noise texture. White is open, darker is occluded.
cbuffer ScreenBuffer : register(b0)
{
    float screenWidth;
    float screenHeight;
    float2 padding;
};

Texture2D normalDepthTexture : register(t0);
Texture2D noiseTexture : register(t1);
SamplerState wrapSampler : register(s0);
SamplerState clampSampler : register(s1);

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

float4 SSAO_PS(PixelInputType input) : SV_TARGET
{
    static const float2 kernel[8] = {
        float2(1.0f, 0.0f), float2(-1.0f, 0.0f), float2(0.0f, 1.0f), float2(0.0f, -1.0f),
        float2(0.707f, 0.707f), float2(-0.707f, 0.707f), float2(0.707f, -0.707f), float2(-0.707f, -0.707f)
    };
    float2 screen = float2(max(screenWidth, 1.0f), max(screenHeight, 1.0f));
    float centerDepth = normalDepthTexture.Sample(clampSampler, input.tex).r;
    float2 noise = noiseTexture.Sample(wrapSampler, input.tex * screen / 64.0f).rg * 2.0f - 1.0f;
    float radius = 12.0f / screen.x;

    float occlusion = 0.0f;
    for (int i = 0; i < 8; ++i)
    {
        float2 offset = reflect(kernel[i], normalize(noise + float2(0.001f, 0.0f))) * radius * (0.5f + 0.0625f * i);
        float sampleDepth = normalDepthTexture.Sample(clampSampler, input.tex + offset).r;
        float difference = centerDepth - sampleDepth;
        occlusion += step(0.0005f, difference) * saturate(1.0f - difference * 50.0f);
    }
    float open = 1.0f - occlusion / 8.0f;
    return float4(open, open, open, 1.0f);
}
