// The one post-processing program behind every screen quad. The effect number picks what
// happens to the picture; the quad's flags decide how the result is laid over the target:
// opaque copies keep the texture's own alpha, blended quads use `alpha` (times the texture's
// alpha when `overlay` is set), quads without a texture draw their vertex colour.
// The effect array is a table of picture rows: xyz scale the colour channels of that row and
// w shifts it sideways; the glitch effect and every scene look read it, and an entry of
// (1, 1, 1, 0) leaves its row untouched.

cbuffer EffectBuffer : register(b0)
{
    int effect;
    int hasTexture;
    int blend;
    float alpha;
    int overlay;
    int reserved0;
    int screenWidth;
    int entryCount;
    int time;
    float audioLevel;
    int reserved1;
    int reserved2;
};

cbuffer ArrayBuffer : register(b1)
{
    float4 effectArray[4096];
};

Texture2D shaderTexture : register(t0);
SamplerState wrapSampler : register(s0);
SamplerState clampSampler : register(s1);

struct PixelInput
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

static const float PI = 3.14159265f;
static const float3 LUMA = float3(0.299f, 0.587f, 0.114f);

// ---------------------------------------------------------------- helpers

float Luma(float3 c) { return dot(c, LUMA); }

float3 Grey(float v) { return float3(v, v, v); }

float Hash12(float2 p)
{
    float3 p3 = frac(float3(p.x, p.y, p.x) * 0.1031f);
    p3 += dot(p3, p3.yzx + 33.33f);
    return frac((p3.x + p3.y) * p3.z);
}

float3 Saturation(float3 c, float amount) { return lerp(Grey(Luma(c)), c, amount); }

float3 Contrast(float3 c, float amount, float pivot) { return (c - pivot) * amount + pivot; }

// Rotation of the colour around the grey axis.
float3 HueRotate(float3 c, float angle)
{
    const float3 k = float3(0.57735f, 0.57735f, 0.57735f);
    float cosA = cos(angle);
    return c * cosA + cross(k, c) * sin(angle) + k * dot(k, c) * (1.0f - cosA);
}

// Film-like shoulder so lifted highlights roll off instead of clipping.
float3 SoftClip(float3 c) { return c / (1.0f + max(c - 0.8f, 0.0f) * 1.5f); }

float Vignette(float2 centred, float inner, float outer) { return 1.0f - smoothstep(inner, outer, length(centred)); }

float Grain(float2 pixel, float seconds) { return Hash12(pixel + frac(seconds * 7.31f) * 917.0f) - 0.5f; }

float Scanline(float2 uv, float2 texel, float period)
{
    return 0.5f + 0.5f * cos(uv.y / texel.y * 2.0f * PI / period);
}

float4 Fetch(float2 uv, float4 vertexColor)
{
    if (hasTexture != 0)
        return shaderTexture.Sample(clampSampler, uv);
    return vertexColor;
}

float4 FetchLevel0(float2 uv, float4 vertexColor)
{
    if (hasTexture != 0)
        return shaderTexture.SampleLevel(clampSampler, uv, 0.0f);
    return vertexColor;
}

float4 GlitchEntry(float2 uv, float2 texel)
{
    int count = clamp(entryCount, 1, 4096);
    int row = clamp((int)(uv.y / texel.y), 0, count - 1);
    return effectArray[row];
}

// The row table applied to the picture: rows slide sideways by w pixels times `strength`,
// the red and blue channels split apart with the shift, and xyz scale the channels.
float4 Glitched(float2 uv, float2 texel, float strength, float4 vertexColor)
{
    float4 entry = GlitchEntry(uv, texel);
    float shift = entry.w * strength * texel.x;
    float split = abs(entry.w) * 0.4f * strength * texel.x;
    float4 c = Fetch(uv + float2(shift, 0.0f), vertexColor);
    c.r = Fetch(uv + float2(shift + split, 0.0f), vertexColor).r;
    c.b = Fetch(uv + float2(shift - split, 0.0f), vertexColor).b;
    c.rgb *= clamp(entry.xyz, 0.0f, 2.5f);
    return c;
}

// Red and blue sampled apart along the direction from the centre.
float4 Aberrated(float2 uv, float amount, float4 vertexColor)
{
    float2 offset = (uv - 0.5f) * amount;
    float4 c = Fetch(uv, vertexColor);
    c.r = Fetch(uv + offset, vertexColor).r;
    c.b = Fetch(uv - offset, vertexColor).b;
    return c;
}

// ---------------------------------------------------------------- named effects

float3 Sepia(float3 c)
{
    return saturate(float3(dot(c, float3(0.393f, 0.769f, 0.189f)),
                           dot(c, float3(0.349f, 0.686f, 0.168f)),
                           dot(c, float3(0.272f, 0.534f, 0.131f))));
}

float3 Plasma(float2 uv, float aspect, float seconds)
{
    float2 p = (uv - 0.5f) * float2(aspect, 1.0f) * 6.0f;
    float v = sin(p.x + seconds * 1.3f);
    v += sin((p.y + seconds * 0.7f) * 0.9f);
    v += sin((p.x + p.y + seconds) * 0.6f);
    float2 q = p + float2(sin(seconds * 0.33f), cos(seconds * 0.5f)) * 3.0f;
    v += sin(sqrt(dot(q, q) + 1.0f) + seconds * 1.7f);
    v *= 0.5f;
    return 0.5f + 0.5f * float3(sin(PI * v), sin(PI * v + 2.094f), sin(PI * v + 4.188f));
}

float EdgeStrength(float2 uv, float2 texel, float4 vertexColor)
{
    float l[9];
    for (int i = 0; i < 9; ++i)
    {
        float2 offset = float2((float)(i % 3) - 1.0f, (float)(i / 3) - 1.0f) * texel;
        l[i] = Luma(FetchLevel0(uv + offset, vertexColor).rgb);
    }
    float gx = -l[0] - 2.0f * l[3] - l[6] + l[2] + 2.0f * l[5] + l[8];
    float gy = -l[0] - 2.0f * l[1] - l[2] + l[6] + 2.0f * l[7] + l[8];
    return sqrt(gx * gx + gy * gy);
}

float4 PixelDistortion(float2 uv, float2 texel, float seconds, float4 vertexColor)
{
    float block = 6.0f + 18.0f * saturate(audioLevel);
    float2 cells = floor(uv / (texel * block));
    float jitter = Hash12(cells + floor(seconds * 8.0f));
    float2 snapped = (cells + 0.5f) * texel * block;
    // Some blocks tear sideways by a few blocks, most stay put.
    snapped.x += step(0.9f, jitter) * (jitter - 0.95f) * 40.0f * texel.x * block;
    return Fetch(snapped, vertexColor);
}

float4 CubicLens(float2 uv, float4 vertexColor)
{
    const float k = -0.12f;
    float kcube = 0.25f + 0.2f * saturate(audioLevel);
    float2 centred = uv - 0.5f;
    float r2 = dot(centred, centred);
    float f = 1.0f + r2 * (k + kcube * sqrt(r2));
    float4 c = 0.0f;
    // Each channel bends a little differently, as real glass does.
    float2 uvR = 0.5f + centred * f * 0.98f;
    float2 uvG = 0.5f + centred * f * 0.96f;
    float2 uvB = 0.5f + centred * f * 0.94f;
    c.r = Fetch(uvR, vertexColor).r;
    float4 g = Fetch(uvG, vertexColor);
    c.g = g.g;
    c.a = g.a;
    c.b = Fetch(uvB, vertexColor).b;
    float2 edge = step(0.0f, uvB) * step(uvB, 1.0f);
    c.rgb *= edge.x * edge.y;
    return c;
}

// ---------------------------------------------------------------- scene looks

// Each look: the glitch rows, then a grade of its own, pulsing gently with the music.
float4 SceneLook(int scene, float2 uv, float2 texel, float seconds, float4 vertexColor)
{
    float aspect = texel.y / texel.x;
    float2 centred = (uv - 0.5f) * float2(aspect, 1.0f);
    float2 pixel = uv / texel;
    float pulse = saturate(audioLevel);
    float4 c = Glitched(uv, texel, 2.0f, vertexColor);
    float3 rgb = c.rgb;

    if (scene == 0)
    {
        // flagge: golden evening, warm highlights, soft vignette, fine grain.
        rgb = Contrast(rgb, 1.08f, 0.4f);
        rgb *= float3(1.08f, 1.0f, 0.86f) * (1.0f + 0.12f * pulse);
        rgb += float3(0.035f, 0.02f, 0.0f);
        rgb *= lerp(0.55f, 1.0f, Vignette(centred, 0.35f, 1.0f));
        rgb += Grain(pixel, seconds) * 0.025f;
    }
    else if (scene == 1)
    {
        // tunnel, first half: cold teal with fine scanlines and a breathing aberration.
        float4 split = Aberrated(uv, 0.004f + 0.012f * pulse, vertexColor);
        rgb = lerp(rgb, split.rgb, 0.8f);
        rgb = Saturation(rgb, 0.8f) * float3(0.82f, 1.04f, 1.12f);
        rgb *= 0.88f + 0.12f * Scanline(uv, texel, 3.0f);
        rgb *= lerp(0.6f, 1.0f, Vignette(centred, 0.4f, 1.0f));
        rgb *= 1.0f + 0.15f * pulse;
    }
    else if (scene == 2)
    {
        // tunnel, second half: magenta night, coarse scanlines and a slow rolling band.
        rgb = Saturation(rgb, 1.15f) * float3(1.1f, 0.84f, 1.12f);
        rgb *= 0.82f + 0.18f * Scanline(uv, texel, 4.0f);
        float roll = frac(uv.y * 0.7f - seconds * 0.15f);
        rgb *= 1.0f + 0.12f * smoothstep(0.9f, 1.0f, roll) * (1.0f + pulse);
        rgb *= lerp(0.55f, 1.0f, Vignette(centred, 0.35f, 1.0f));
    }
    else if (scene == 3)
    {
        // magnet: steel teal shadows against orange highlights, hard contrast.
        float l = Luma(rgb);
        float3 shadows = float3(0.75f, 0.95f, 1.15f);
        float3 highlights = float3(1.18f, 0.98f, 0.78f);
        rgb *= lerp(shadows, highlights, smoothstep(0.15f, 0.75f, l));
        rgb = Contrast(rgb, 1.18f + 0.1f * pulse, 0.45f);
        float4 split = Aberrated(uv, 0.003f + 0.008f * pulse, vertexColor);
        rgb.r = lerp(rgb.r, split.r * highlights.r, 0.5f);
        rgb *= lerp(0.45f, 1.0f, Vignette(centred, 0.3f, 0.95f));
    }
    else if (scene == 4)
    {
        // zelle: under the microscope, green-cyan tint inside a round lens, grainy.
        rgb = Saturation(rgb, 0.7f + 0.3f * pulse) * float3(0.88f, 1.1f, 0.96f);
        rgb += Grain(pixel, seconds) * 0.05f;
        float lens = Vignette(centred, 0.42f, 0.62f);
        rgb *= lerp(0.12f, 1.0f, lens);
        rgb += float3(0.0f, 0.03f, 0.02f) * lens;
    }
    else if (scene == 5)
    {
        // qualle: deep sea, blue-green depth fade, light wavering like caustics.
        float2 wave = float2(sin(uv.y * 40.0f + seconds * 2.0f), cos(uv.x * 32.0f + seconds * 1.6f)) * texel * 1.5f;
        float3 wavy = Glitched(uv + wave, texel, 2.0f, vertexColor).rgb;
        rgb = lerp(rgb, wavy, 0.7f);
        rgb = rgb * float3(0.7f, 0.95f, 1.2f) + float3(0.0f, 0.02f, 0.06f) * (1.0f - uv.y);
        float glow = smoothstep(0.5f, 1.0f, Luma(rgb));
        rgb += glow * float3(0.1f, 0.25f, 0.35f) * (0.6f + pulse);
        rgb *= lerp(0.5f, 1.0f, Vignette(centred, 0.4f, 1.05f));
    }
    else if (scene == 6)
    {
        // fratze: bleach bypass, harsh and grainy, flickering with the beat.
        float l = Luma(rgb);
        rgb = lerp(rgb, Grey(l) * float3(1.02f, 1.0f, 0.96f), 0.6f);
        rgb = Contrast(rgb, 1.45f, 0.42f);
        rgb += Grain(pixel, seconds) * (0.08f + 0.06f * pulse);
        float flicker = 1.0f + (Hash12(float2(floor(seconds * 24.0f), 3.0f)) - 0.5f) * 0.08f * (1.0f + pulse);
        rgb *= flicker * lerp(0.5f, 1.0f, Vignette(centred, 0.3f, 1.0f));
    }
    else if (scene == 7)
    {
        // blob: acid colours, hue drifting with time and pushed by the music.
        rgb = HueRotate(rgb, seconds * 0.35f + pulse * 0.9f);
        rgb = Saturation(rgb, 1.45f + 0.4f * pulse);
        rgb = Contrast(rgb, 1.1f, 0.5f);
        rgb *= lerp(0.6f, 1.0f, Vignette(centred, 0.45f, 1.1f));
    }
    else if (scene == 8)
    {
        // soft: pastel dream, lifted blacks, low contrast, a warm breath on the beat.
        rgb = Saturation(rgb, 0.75f);
        rgb = Contrast(rgb, 0.82f, 0.5f) + float3(0.05f, 0.04f, 0.07f);
        rgb *= lerp(float3(1.0f, 1.0f, 1.0f), float3(1.08f, 1.0f, 0.94f), pulse);
        float bloom = smoothstep(0.55f, 1.0f, Luma(rgb));
        rgb += bloom * 0.12f;
        rgb *= lerp(0.75f, 1.0f, Vignette(centred, 0.5f, 1.15f));
    }
    else
    {
        // logo: silver screen. Cool, nearly monochrome midtones, gilded highlights, fine grain
        // and thin cinema bars that breathe with the music.
        float l = Luma(rgb);
        rgb = lerp(Grey(l) * float3(0.92f, 0.97f, 1.06f), rgb, 0.35f);
        rgb = lerp(rgb, rgb * float3(1.25f, 1.05f, 0.7f), smoothstep(0.55f, 0.95f, l));
        rgb = Contrast(rgb, 1.15f, 0.42f) * (1.0f + 0.1f * pulse);
        rgb += Grain(pixel, seconds) * 0.025f;
        rgb *= lerp(0.45f, 1.0f, Vignette(centred, 0.4f, 1.0f));
        float bar = 0.055f - 0.01f * pulse;
        rgb *= step(bar, uv.y) * step(uv.y, 1.0f - bar);
    }
    return float4(SoftClip(max(rgb, 0.0f)), c.a);
}

// ---------------------------------------------------------------- entry point

float4 ApplyEffect(float2 uv, float2 texel, float seconds, float4 vertexColor)
{
    float aspect = texel.y / texel.x;
    float4 c;
    [branch] switch (effect)
    {
    case 1:
        c = Fetch(uv, vertexColor);
        c.rgb = Grey(Luma(c.rgb));
        return c;
    case 2:
        c = Fetch(uv, vertexColor);
        c.rgb = c.rrr;
        return c;
    case 3:
        c = Fetch(uv, vertexColor);
        c.rgb = c.ggg;
        return c;
    case 4:
        c = Fetch(uv, vertexColor);
        c.rgb = c.bbb;
        return c;
    case 5:
        c = Fetch(uv, vertexColor);
        c.rgb = 1.0f - saturate(c.rgb);
        return c;
    case 6:
        c = Fetch(uv, vertexColor);
        c.rgb = Sepia(c.rgb);
        return c;
    case 7:
        c = Fetch(uv, vertexColor);
        c.rgb = Grey(smoothstep(0.46f, 0.54f, Luma(c.rgb)));
        return c;
    case 8:
        return Aberrated(uv, 0.01f + 0.02f * saturate(audioLevel), vertexColor);
    case 9:
        // Poster: five tones per channel with dark outlines.
        c = Fetch(uv, vertexColor);
        c.rgb = floor(saturate(c.rgb) * 4.0f + 0.5f) / 4.0f;
        c.rgb *= 1.0f - 0.85f * smoothstep(0.6f, 1.4f, EdgeStrength(uv, texel, vertexColor));
        return c;
    case 10:
    {
        // Thermal camera: brightness mapped onto black, blue, magenta, orange, yellow, white.
        c = Fetch(uv, vertexColor);
        float heat = saturate(Luma(c.rgb));
        float3 cold = lerp(float3(0.0f, 0.0f, 0.08f), float3(0.2f, 0.05f, 0.6f), smoothstep(0.0f, 0.25f, heat));
        float3 warm = lerp(float3(0.85f, 0.1f, 0.45f), float3(1.0f, 0.55f, 0.05f), smoothstep(0.45f, 0.7f, heat));
        float3 hot = lerp(float3(1.0f, 0.95f, 0.2f), float3(1.0f, 1.0f, 1.0f), smoothstep(0.85f, 1.0f, heat));
        c.rgb = lerp(lerp(cold, warm, smoothstep(0.2f, 0.5f, heat)), hot, smoothstep(0.7f, 0.9f, heat));
        return c;
    }
    case 11:
        c = Fetch(uv, vertexColor);
        c.rgb = max(HueRotate(c.rgb, seconds * 0.8f + uv.x * 2.0f), 0.0f);
        c.rgb = Saturation(c.rgb, 1.3f);
        return c;
    case 12:
    {
        float2 wiggle = float2(sin(uv.y * 22.0f + seconds * 5.0f), cos(uv.x * 17.0f + seconds * 4.0f));
        return Fetch(uv + wiggle * (0.006f + 0.01f * saturate(audioLevel)), vertexColor);
    }
    case 13:
    {
        // Keep only what is bright; values above 1.0 stay above 1.0 for the bloom chain.
        c = Fetch(uv, vertexColor);
        float l = Luma(c.rgb);
        c.rgb *= smoothstep(0.65f, 0.95f, l);
        return c;
    }
    case 14:
        c = Fetch(uv, vertexColor);
        c.rgb = SoftClip(c.rgb * 1.45f + 0.04f);
        return c;
    case 15:
    {
        c = Fetch(uv, vertexColor);
        float edge = saturate(EdgeStrength(uv, texel, vertexColor) * 1.5f);
        c.rgb = edge * lerp(float3(1.0f, 1.0f, 1.0f), saturate(c.rgb) * 1.6f, 0.6f);
        return c;
    }
    case 16:
        return PixelDistortion(uv, texel, seconds, vertexColor);
    case 17:
        return CubicLens(uv, vertexColor);
    case 18:
        return Glitched(uv, texel, 4.0f, vertexColor);
    case 19:
    {
        c = Fetch(uv, vertexColor);
        float3 plasma = Plasma(uv, aspect, seconds);
        c.rgb = hasTexture != 0 ? lerp(c.rgb, plasma * (0.4f + Luma(c.rgb)), 0.6f) : plasma;
        return c;
    }
    case 20:
        c = Fetch(uv, vertexColor);
        c.rgb = Saturation(c.rgb, 0.3f);
        return c;
    case 100: case 101: case 102: case 103: case 104:
    case 105: case 106: case 107: case 108: case 109:
        return SceneLook(effect - 100, uv, texel, seconds, vertexColor);
    default:
        return Fetch(uv, vertexColor);
    }
}

float4 PostProcess_PS(PixelInput vin) : SV_TARGET
{
    float2 uv = vin.tex;
    // One target pixel in texture coordinates, from the quad's own interpolation.
    float2 texel = max(float2(abs(ddx(uv.x)), abs(ddy(uv.y))), float2(1e-6f, 1e-6f));
    float4 c = ApplyEffect(uv, texel, (float)time * 0.001f, vin.color);

    float sourceAlpha = hasTexture != 0 ? c.a : 1.0f;
    if (blend != 0)
        c.a = saturate(alpha) * (overlay != 0 ? sourceAlpha : 1.0f);
    else
        c.a = sourceAlpha;
    return c;
}
