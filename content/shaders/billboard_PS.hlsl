// A particle: its texture tinted by its colour.
Texture2D shaderTexture : register(t0);
SamplerState wrapSampler : register(s0);

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

float4 Billboard_PS(PixelInputType input) : SV_TARGET
{
    return shaderTexture.Sample(wrapSampler, input.tex) * input.color;
}
