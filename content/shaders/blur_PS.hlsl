// One axis of a separable Gaussian blur: direction 0 blurs along x, 1 along y; any other value
// copies. The step is one pixel of a sixteenth-size target (four full-screen pixels).
cbuffer ScreenBuffer : register(b0)
{
    int direction;
    float screenWidth;
    float screenHeight;
    float padding;
};

Texture2D sourceTexture : register(t0);
SamplerState clampSampler : register(s0);

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

float4 Blur_PS(PixelInputType input) : SV_TARGET
{
    static const float weights[5] = { 0.227027f, 0.194594f, 0.121621f, 0.054054f, 0.016216f };
    float2 texel = float2(4.0f / max(screenWidth, 1.0f), 4.0f / max(screenHeight, 1.0f));
    float2 stepSize;
    if (direction == 0)
    {
        stepSize = float2(texel.x, 0.0f);
    }
    else if (direction == 1)
    {
        stepSize = float2(0.0f, texel.y);
    }
    else
    {
        return sourceTexture.Sample(clampSampler, input.tex);
    }

    float4 color = sourceTexture.Sample(clampSampler, input.tex) * weights[0];
    for (int i = 1; i < 5; ++i)
    {
        color += sourceTexture.Sample(clampSampler, input.tex + stepSize * i) * weights[i];
        color += sourceTexture.Sample(clampSampler, input.tex - stepSize * i) * weights[i];
    }
    return color;
}
