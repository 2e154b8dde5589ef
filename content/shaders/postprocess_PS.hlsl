// Every quad draw: the texture (or white) tinted by the vertex colour, then the effect chosen
// by number, the quad's alpha applied last.
cbuffer EffectBuffer : register(b0)
{
    int effect;
    int hasTexture;
    int blend;
    float alpha;
    int overlay;
    int reserved;
    int screenWidth;
    int entryCount;
    int time;
    float audioLevel;
    int2 padding;
};

cbuffer ArrayBuffer : register(b1)
{
    float4 effectArray[4096];
};

Texture2D shaderTexture : register(t0);
SamplerState wrapSampler : register(s0);
SamplerState clampSampler : register(s1);

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

float Luminance(float3 color)
{
    return dot(color, float3(0.299f, 0.587f, 0.114f));
}

float4 PostProcess_PS(PixelInputType input) : SV_TARGET
{
    float2 uv = input.tex;
    if (effect == 18 && entryCount > 0)
    {
        // Glitch: each row of the screen is shifted by its entry of the array.
        int row = clamp(int(input.position.y), 0, min(entryCount, 4096) - 1);
        uv.x += effectArray[row].x;
    }

    float4 color = float4(1.0f, 1.0f, 1.0f, 1.0f);
    if (hasTexture != 0)
    {
        color = shaderTexture.Sample(clampSampler, uv);
    }
    color *= input.color;

    if (effect == 1 || effect == 20)
    {
        color.rgb = Luminance(color.rgb).xxx;
    }
    else if (effect == 2)
    {
        color.rgb = color.rrr;
    }
    else if (effect == 3)
    {
        color.rgb = color.ggg;
    }
    else if (effect == 4)
    {
        color.rgb = color.bbb;
    }
    else if (effect == 5)
    {
        color.rgb = 1.0f - color.rgb;
    }
    else if (effect == 6)
    {
        float grey = Luminance(color.rgb);
        color.rgb = float3(grey * 1.07f, grey * 0.74f, grey * 0.43f);
    }
    else if (effect == 7)
    {
        color.rgb = step(0.5f, Luminance(color.rgb)).xxx;
    }
    else if (effect == 13)
    {
        // Bright pass: only what is brighter than the threshold feeds the bloom.
        float brightness = Luminance(color.rgb);
        color.rgb *= saturate((brightness - 0.6f) / 0.4f);
    }
    else if (effect == 14)
    {
        color.rgb = saturate(color.rgb * (1.25f + audioLevel * 0.5f));
    }

    color.a *= alpha;
    return color;
}
