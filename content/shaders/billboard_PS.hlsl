// A particle: its texture tinted by its colour, added onto what is there. The sprite fades to
// nothing over the outer rim of its square, so compression noise at a texture's border never
// shows as a square edge. Without a texture (a missing file binds nothing, which reads as an
// empty 1 x 1 image here and as 0 x 0 on hardware) the particle is a soft round spot of its colour.
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
    float2 fromCentre = input.tex * 2.0f - 1.0f;
    uint width, height;
    shaderTexture.GetDimensions(width, height);
    if (width <= 1)
    {
        float spot = saturate(1.0f - dot(fromCentre, fromCentre));
        return input.color * (spot * spot);
    }
    float edge = 1.0f - max(abs(fromCentre.x), abs(fromCentre.y));
    float rim = saturate(edge * 16.0f);
    return shaderTexture.Sample(wrapSampler, input.tex) * input.color * rim;
}
