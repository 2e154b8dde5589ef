// One axis of a separable Gaussian blur: direction 0 blurs along x, 1 along y; any other value
// copies. The step is one pixel of a sixteenth-size target (four full-screen pixels). The nine
// taps of the kernel are read in five fetches: each pair of outer taps is one linear-filtered
// fetch between them, weighted by their sum.
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
    static const float offsets[3] = { 0.0f, 1.3846154f, 3.2307692f };
    static const float weights[3] = { 0.2270270f, 0.3162162f, 0.0702703f };
    float2 texel = float2(4.0f / max(screenWidth, 1.0f), 4.0f / max(screenHeight, 1.0f));
    float2 stepSize = direction == 0 ? float2(texel.x, 0.0f) : float2(0.0f, texel.y);
    float on = direction == 0 || direction == 1 ? 1.0f : 0.0f;
    stepSize *= on;

    float4 color = sourceTexture.Sample(clampSampler, input.tex) * weights[0];
    for (int i = 1; i < 3; ++i)
    {
        color += sourceTexture.Sample(clampSampler, input.tex + stepSize * offsets[i]) * weights[i];
        color += sourceTexture.Sample(clampSampler, input.tex - stepSize * offsets[i]) * weights[i];
    }
    // A copy when the direction is neither axis: the same fetches, all at the centre.
    return color;
}
