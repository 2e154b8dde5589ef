// The one post-processing program behind every screen quad. The effect number picks a row of
// settings; every effect, the scene looks included, is one setting of the same chain of
// stages: bend the coordinates, fetch (red and blue apart, for aberration and glitch), colour
// matrix, hue, saturation and contrast, split toning, luminance masks, stylisations, then
// scanlines, grain, vignette and bars. A stage whose setting is neutral changes nothing, so
// effect 0 is an exact copy, and the cost per pixel is the same for every effect: software
// rasterisers run every branch of a shader, so the looks are settings, not code paths.
//
// The quad's flags decide how the result is laid over the target: opaque copies keep the
// texture's own alpha; blended quads use `alpha` plus the vertex alpha (times the texture's
// alpha when `overlay` is set); quads without a texture draw their vertex colour; additive
// layers (the sixth value set) weight their colour by that opacity.
//
// The effect array is a table of picture rows: xyz scale the colour channels of a row and w
// shifts it sideways, by glitch strength times w pixels of a 1280-pixel-wide picture, so the
// glitch looks the same at every resolution; (1, 1, 1, 0) leaves a row untouched.
//
// Compiled with FIXED_EFFECT defined to a number, the program is that effect alone: the look-up
// folds to constants and every neutral stage folds away with it, which is what a software
// rasteriser needs for the many plain copies of a frame. Without it, `effect` picks per draw.

cbuffer EffectBuffer : register(b0)
{
    int effect;
    int hasTexture;
    int blend;
    float alpha;
    int overlay;
    int weightByVertexAlpha;
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

#ifdef FIXED_EFFECT
#define EFFECT_NUMBER (FIXED_EFFECT)
#else
#define EFFECT_NUMBER effect
#endif

struct PixelInput
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

static const float PI = 3.14159265f;
static const float3 LUMA = float3(0.299f, 0.587f, 0.114f);

// The settings of one effect; a number without settings of its own gets the neutral ones.
//  matrixR/G/B  colour matrix rows (r, g, b weights, offset)
//  tone         saturation, saturation pulse, contrast, contrast pivot
//  shadow       shadow tint rgb, gain pulse
//  highlight    highlight tint rgb, hue speed (radians a second)
//  lift         lift rgb, hue across the picture (radians over its width)
//  split        aberration, aberration pulse, glitch strength, hue pulse
//  bend         wiggle, wiggle pulse, wave (pixels), cubic lens amount
//  shape        lens pulse, pixelate, edge drawing, poster
//  masks        black and white, bright pass, thermal palette, plasma
//  vignette     vignette strength, inner and outer radius, grain
//  lines        grain pulse, scanlines, scanline period (pixels), rolling band
//  finish       flicker, cinema bar height, glow, soft clip of highlights
//  glowColour   glow colour rgb, unused
// "Pulse" settings are scaled by the audio level and added. The look-up assigns only what
// differs from neutral, as selects: a software rasteriser runs every branch, and a table
// indexed at run time would be rebuilt for every pixel.

struct Settings
{
    float4 matrixR;
    float4 matrixG;
    float4 matrixB;
    float4 tone;
    float4 shadow;
    float4 highlight;
    float4 lift;
    float4 split;
    float4 bend;
    float4 shape;
    float4 masks;
    float4 vignette;
    float4 lines;
    float4 finish;
    float4 glowColour;
};

Settings LookUpSettings(int number)
{
    Settings s;
    s.matrixR = float4(1.0f, 0.0f, 0.0f, 0.0f);
    s.matrixG = float4(0.0f, 1.0f, 0.0f, 0.0f);
    s.matrixB = float4(0.0f, 0.0f, 1.0f, 0.0f);
    s.tone = float4(1.0f, 0.0f, 1.0f, 0.5f);
    s.shadow = float4(1.0f, 1.0f, 1.0f, 0.0f);
    s.highlight = float4(1.0f, 1.0f, 1.0f, 0.0f);
    s.lift = float4(0.0f, 0.0f, 0.0f, 0.0f);
    s.split = float4(0.0f, 0.0f, 0.0f, 0.0f);
    s.bend = float4(0.0f, 0.0f, 0.0f, 0.0f);
    s.shape = float4(0.0f, 0.0f, 0.0f, 0.0f);
    s.masks = float4(0.0f, 0.0f, 0.0f, 0.0f);
    s.vignette = float4(0.0f, 0.5f, 1.0f, 0.0f);
    s.lines = float4(0.0f, 0.0f, 3.0f, 0.0f);
    s.finish = float4(0.0f, 0.0f, 0.0f, 0.0f);
    s.glowColour = float4(0.0f, 0.0f, 0.0f, 0.0f);
    // 1 greyscale
    s.matrixR = number == 1 ? float4(0.299f, 0.587f, 0.114f, 0.0f) : s.matrixR;
    s.matrixG = number == 1 ? float4(0.299f, 0.587f, 0.114f, 0.0f) : s.matrixG;
    s.matrixB = number == 1 ? float4(0.299f, 0.587f, 0.114f, 0.0f) : s.matrixB;
    // 2 greyscale_r
    s.matrixG = number == 2 ? float4(1.0f, 0.0f, 0.0f, 0.0f) : s.matrixG;
    s.matrixB = number == 2 ? float4(1.0f, 0.0f, 0.0f, 0.0f) : s.matrixB;
    // 3 greyscale_g
    s.matrixR = number == 3 ? float4(0.0f, 1.0f, 0.0f, 0.0f) : s.matrixR;
    s.matrixB = number == 3 ? float4(0.0f, 1.0f, 0.0f, 0.0f) : s.matrixB;
    // 4 greyscale_b
    s.matrixR = number == 4 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.matrixR;
    s.matrixG = number == 4 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.matrixG;
    // 5 invert
    s.matrixR = number == 5 ? float4(-1.0f, 0.0f, 0.0f, 1.0f) : s.matrixR;
    s.matrixG = number == 5 ? float4(0.0f, -1.0f, 0.0f, 1.0f) : s.matrixG;
    s.matrixB = number == 5 ? float4(0.0f, 0.0f, -1.0f, 1.0f) : s.matrixB;
    // 6 sepia
    s.matrixR = number == 6 ? float4(0.393f, 0.769f, 0.189f, 0.0f) : s.matrixR;
    s.matrixG = number == 6 ? float4(0.349f, 0.686f, 0.168f, 0.0f) : s.matrixG;
    s.matrixB = number == 6 ? float4(0.272f, 0.534f, 0.131f, 0.0f) : s.matrixB;
    s.finish = number == 6 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 7 bw
    s.masks = number == 7 ? float4(1.0f, 0.0f, 0.0f, 0.0f) : s.masks;
    // 8 chromatic_aberration
    s.split = number == 8 ? float4(0.01f, 0.02f, 0.0f, 0.0f) : s.split;
    // 9 poster: five tones a channel with dark outlines
    s.tone = number == 9 ? float4(1.15f, 0.0f, 1.0f, 0.5f) : s.tone;
    s.shape = number == 9 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.shape;
    // 10 thermal camera
    s.masks = number == 10 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.masks;
    // 11 colors
    s.tone = number == 11 ? float4(1.3f, 0.0f, 1.0f, 0.5f) : s.tone;
    s.highlight = number == 11 ? float4(1.0f, 1.0f, 1.0f, 0.8f) : s.highlight;
    s.lift = number == 11 ? float4(0.0f, 0.0f, 0.0f, 2.0f) : s.lift;
    // 12 wiggle
    s.bend = number == 12 ? float4(0.006f, 0.01f, 0.0f, 0.0f) : s.bend;
    // 13 bright_pass
    s.masks = number == 13 ? float4(0.0f, 1.0f, 0.0f, 0.0f) : s.masks;
    // 14 brighten_up
    s.shadow = number == 14 ? float4(1.45f, 1.45f, 1.45f, 0.0f) : s.shadow;
    s.highlight = number == 14 ? float4(1.45f, 1.45f, 1.45f, 0.0f) : s.highlight;
    s.lift = number == 14 ? float4(0.04f, 0.04f, 0.04f, 0.0f) : s.lift;
    s.finish = number == 14 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 15 edge_detection
    s.shape = number == 15 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.shape;
    // 16 pixel_distortion
    s.shape = number == 16 ? float4(0.0f, 1.0f, 0.0f, 0.0f) : s.shape;
    // 17 cubic_lens_distortion
    s.bend = number == 17 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.bend;
    s.shape = number == 17 ? float4(0.2f, 0.0f, 0.0f, 0.0f) : s.shape;
    // 18 glitch
    s.split = number == 18 ? float4(0.0f, 0.0f, 4.0f, 0.0f) : s.split;
    // 19 plasma
    s.masks = number == 19 ? float4(0.0f, 0.0f, 0.0f, 0.6f) : s.masks;
    // 20 desaturate
    s.tone = number == 20 ? float4(0.3f, 0.0f, 1.0f, 0.5f) : s.tone;
    // 100 flagge: golden evening, warm highlights, soft vignette, fine grain
    s.tone = number == 100 ? float4(1.0f, 0.0f, 1.08f, 0.4f) : s.tone;
    s.shadow = number == 100 ? float4(1.0f, 0.97f, 0.92f, 0.12f) : s.shadow;
    s.highlight = number == 100 ? float4(1.12f, 1.0f, 0.82f, 0.0f) : s.highlight;
    s.lift = number == 100 ? float4(0.035f, 0.02f, 0.0f, 0.0f) : s.lift;
    s.split = number == 100 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 100 ? float4(0.45f, 0.35f, 1.0f, 0.025f) : s.vignette;
    s.finish = number == 100 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 101 tunnel, first half: cold teal, fine scanlines, breathing aberration
    s.tone = number == 101 ? float4(0.8f, 0.0f, 1.0f, 0.5f) : s.tone;
    s.shadow = number == 101 ? float4(0.78f, 1.02f, 1.14f, 0.15f) : s.shadow;
    s.highlight = number == 101 ? float4(0.86f, 1.06f, 1.1f, 0.0f) : s.highlight;
    s.split = number == 101 ? float4(0.004f, 0.012f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 101 ? float4(0.4f, 0.4f, 1.0f, 0.0f) : s.vignette;
    s.lines = number == 101 ? float4(0.0f, 0.12f, 3.0f, 0.0f) : s.lines;
    s.finish = number == 101 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 102 tunnel, second half: magenta night, coarse scanlines, a slow rolling band
    s.tone = number == 102 ? float4(1.15f, 0.0f, 1.0f, 0.5f) : s.tone;
    s.shadow = number == 102 ? float4(1.05f, 0.8f, 1.15f, 0.0f) : s.shadow;
    s.highlight = number == 102 ? float4(1.14f, 0.88f, 1.08f, 0.0f) : s.highlight;
    s.split = number == 102 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 102 ? float4(0.45f, 0.35f, 1.0f, 0.0f) : s.vignette;
    s.lines = number == 102 ? float4(0.0f, 0.18f, 4.0f, 0.12f) : s.lines;
    s.finish = number == 102 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 103 magnet: steel teal shadows, orange highlights, hard contrast
    s.tone = number == 103 ? float4(1.0f, 0.0f, 1.18f, 0.45f) : s.tone;
    s.shadow = number == 103 ? float4(0.75f, 0.95f, 1.15f, 0.08f) : s.shadow;
    s.highlight = number == 103 ? float4(1.18f, 0.98f, 0.78f, 0.0f) : s.highlight;
    s.split = number == 103 ? float4(0.003f, 0.008f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 103 ? float4(0.55f, 0.3f, 0.95f, 0.0f) : s.vignette;
    s.finish = number == 103 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 104 zelle: under the microscope, green-cyan inside a round lens, grainy
    s.tone = number == 104 ? float4(0.7f, 0.3f, 1.0f, 0.5f) : s.tone;
    s.shadow = number == 104 ? float4(0.88f, 1.1f, 0.96f, 0.0f) : s.shadow;
    s.highlight = number == 104 ? float4(0.9f, 1.1f, 0.98f, 0.0f) : s.highlight;
    s.lift = number == 104 ? float4(0.0f, 0.03f, 0.02f, 0.0f) : s.lift;
    s.split = number == 104 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 104 ? float4(0.88f, 0.42f, 0.62f, 0.05f) : s.vignette;
    s.finish = number == 104 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 105 qualle: deep sea, blue-green, wavering light, glowing highlights
    s.shadow = number == 105 ? float4(0.7f, 0.95f, 1.2f, 0.0f) : s.shadow;
    s.highlight = number == 105 ? float4(0.75f, 1.0f, 1.2f, 0.0f) : s.highlight;
    s.lift = number == 105 ? float4(0.0f, 0.015f, 0.04f, 0.0f) : s.lift;
    s.split = number == 105 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.bend = number == 105 ? float4(0.0f, 0.0f, 1.5f, 0.0f) : s.bend;
    s.vignette = number == 105 ? float4(0.5f, 0.4f, 1.05f, 0.0f) : s.vignette;
    s.finish = number == 105 ? float4(0.0f, 0.0f, 1.0f, 1.0f) : s.finish;
    s.glowColour = number == 105 ? float4(0.1f, 0.25f, 0.35f, 0.0f) : s.glowColour;
    // 106 fratze: bleach bypass, harsh grain, flicker on the beat
    s.tone = number == 106 ? float4(0.4f, 0.0f, 1.45f, 0.42f) : s.tone;
    s.shadow = number == 106 ? float4(1.02f, 1.0f, 0.96f, 0.0f) : s.shadow;
    s.highlight = number == 106 ? float4(1.02f, 1.0f, 0.96f, 0.0f) : s.highlight;
    s.split = number == 106 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 106 ? float4(0.5f, 0.3f, 1.0f, 0.08f) : s.vignette;
    s.lines = number == 106 ? float4(0.06f, 0.0f, 3.0f, 0.0f) : s.lines;
    s.finish = number == 106 ? float4(0.08f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 107 blob: acid colours, hue drifting and pushed by the music
    s.tone = number == 107 ? float4(1.45f, 0.4f, 1.1f, 0.5f) : s.tone;
    s.highlight = number == 107 ? float4(1.0f, 1.0f, 1.0f, 0.35f) : s.highlight;
    s.split = number == 107 ? float4(0.0f, 0.0f, 1.0f, 0.9f) : s.split;
    s.vignette = number == 107 ? float4(0.4f, 0.45f, 1.1f, 0.0f) : s.vignette;
    s.finish = number == 107 ? float4(0.0f, 0.0f, 0.0f, 1.0f) : s.finish;
    // 108 soft: pastel dream, lifted blacks, low contrast, warm on the beat
    s.tone = number == 108 ? float4(0.75f, 0.0f, 0.82f, 0.5f) : s.tone;
    s.shadow = number == 108 ? float4(1.0f, 1.0f, 1.0f, 0.06f) : s.shadow;
    s.highlight = number == 108 ? float4(1.04f, 1.0f, 0.97f, 0.0f) : s.highlight;
    s.lift = number == 108 ? float4(0.05f, 0.04f, 0.07f, 0.0f) : s.lift;
    s.split = number == 108 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 108 ? float4(0.25f, 0.5f, 1.15f, 0.0f) : s.vignette;
    s.finish = number == 108 ? float4(0.0f, 0.0f, 0.2f, 1.0f) : s.finish;
    s.glowColour = number == 108 ? float4(0.6f, 0.55f, 0.6f, 0.0f) : s.glowColour;
    // 109 logo: silver screen, cool midtones, gilded highlights, cinema bars
    s.tone = number == 109 ? float4(0.35f, 0.0f, 1.15f, 0.42f) : s.tone;
    s.shadow = number == 109 ? float4(0.92f, 0.97f, 1.06f, 0.1f) : s.shadow;
    s.highlight = number == 109 ? float4(1.25f, 1.05f, 0.7f, 0.0f) : s.highlight;
    s.split = number == 109 ? float4(0.0f, 0.0f, 1.0f, 0.0f) : s.split;
    s.vignette = number == 109 ? float4(0.55f, 0.4f, 1.0f, 0.025f) : s.vignette;
    s.finish = number == 109 ? float4(0.0f, 0.055f, 0.0f, 1.0f) : s.finish;
    return s;
}

float Luma(float3 c) { return dot(c, LUMA); }

// Parabolic sine and cosine, within a few percent of the real ones: every wobble, wave and
// plasma of the chain runs on every pixel, and these cost a fraction of sin and cos. Both are
// exact at multiples of a quarter turn, so a zero angle is an exact identity.
float FastSin(float x)
{
    float t = frac(x * 0.15915494f + 0.5f) * 2.0f - 1.0f;
    return 4.0f * t * (1.0f - abs(t));
}

float FastCos(float x) { return FastSin(x + 1.5707963f); }

float3 Grey(float v) { return float3(v, v, v); }

float Hash12(float2 p)
{
    float3 p3 = frac(float3(p.x, p.y, p.x) * 0.1031f);
    p3 += dot(p3, p3.yzx + 33.33f);
    return frac((p3.x + p3.y) * p3.z);
}

// Rotation of the colour around the grey axis; angle 0 leaves it exactly as it is.
float3 HueRotate(float3 c, float angle)
{
    const float3 k = float3(0.57735f, 0.57735f, 0.57735f);
    float cosA = FastCos(angle);
    return c * cosA + cross(k, c) * FastSin(angle) + k * dot(k, c) * (1.0f - cosA);
}

// Film-like shoulder: lifted highlights roll off instead of clipping.
// Highlights above 0.8 bend towards 1 and never pass it; brighter stays brighter.
float3 SoftClip(float3 c)
{
    const float3 over = max(c - 0.8f, 0.0f);
    return min(c, 0.8f) + 0.2f * (1.0f - exp(-over / 0.2f));
}

// Black, violet, magenta, orange, yellow, white along the brightness.
float3 Thermal(float heat)
{
    heat = saturate(heat) * 5.0f;
    float3 c = lerp(float3(0.0f, 0.0f, 0.08f), float3(0.25f, 0.05f, 0.6f), saturate(heat));
    c = lerp(c, float3(0.85f, 0.1f, 0.45f), saturate(heat - 1.0f));
    c = lerp(c, float3(1.0f, 0.55f, 0.05f), saturate(heat - 2.0f));
    c = lerp(c, float3(1.0f, 0.95f, 0.2f), saturate(heat - 3.0f));
    return lerp(c, float3(1.0f, 1.0f, 1.0f), saturate(heat - 4.0f));
}

float3 Plasma(float2 uv, float aspect, float seconds)
{
    float2 p = (uv - 0.5f) * float2(aspect, 1.0f) * 6.0f;
    float v = FastSin(p.x + seconds * 1.3f);
    v += FastSin((p.y + seconds * 0.7f) * 0.9f);
    v += FastSin((p.x + p.y + seconds) * 0.6f);
    float2 q = p + float2(FastSin(seconds * 0.33f), FastCos(seconds * 0.5f)) * 3.0f;
    v += FastSin(sqrt(dot(q, q) + 1.0f) + seconds * 1.7f);
    v *= 0.5f;
    return 0.5f + 0.5f * float3(FastSin(PI * v), FastSin(PI * v + 2.094f), FastSin(PI * v + 4.188f));
}

float4 Fetch(float2 uv, float4 vertexColor)
{
    if (hasTexture != 0)
        return shaderTexture.Sample(clampSampler, uv);
    return vertexColor;
}

float4 ApplyEffect(float2 uv, float2 texel, float seconds, float4 vertexColor)
{
    const Settings s = LookUpSettings(EFFECT_NUMBER);
    const float4 matrixR = s.matrixR;
    const float4 matrixG = s.matrixG;
    const float4 matrixB = s.matrixB;
    const float4 tone = s.tone;
    const float4 shadow = s.shadow;
    const float4 highlight = s.highlight;
    const float4 lift = s.lift;
    const float4 split = s.split;
    const float4 bend = s.bend;
    const float4 shape = s.shape;
    const float4 masks = s.masks;
    const float4 vignette = s.vignette;
    const float4 lines = s.lines;
    const float4 finish = s.finish;
    const float4 glowColour = s.glowColour;

    const float pulse = saturate(audioLevel);
    const float aspect = texel.y / texel.x;
    const float2 centred = (uv - 0.5f) * float2(aspect, 1.0f);

    // Coordinates: wiggle, wave, cubic lens, pixel blocks, glitch rows.
    float2 at = uv;
    at += (bend.x + bend.y * pulse) * float2(FastSin(uv.y * 22.0f + seconds * 5.0f), FastCos(uv.x * 17.0f + seconds * 4.0f));
    at += bend.z * texel * float2(FastSin(uv.y * 40.0f + seconds * 2.0f), FastCos(uv.x * 32.0f + seconds * 1.6f));
    const float2 fromCentre = at - 0.5f;
    const float r2 = dot(fromCentre, fromCentre);
    const float lensFactor = lerp(1.0f, (1.0f + r2 * (-0.12f + (0.25f + shape.x * pulse) * sqrt(r2))) * 0.96f, bend.w);
    at = 0.5f + fromCentre * lensFactor;
    const float2 lensSplit = fromCentre * lensFactor * 0.02f * bend.w;
    const float block = 6.0f + 18.0f * pulse;
    const float2 cells = floor(uv / (texel * block));
    const float jitter = Hash12(cells + floor(seconds * 8.0f));
    float2 snapped = (cells + 0.5f) * texel * block;
    snapped.x += step(0.9f, jitter) * (jitter - 0.95f) * 40.0f * texel.x * block;
    at = lerp(at, snapped, shape.y);
    const int rowCount = clamp(entryCount, 1, 4096);
    const float4 entry = effectArray[clamp((int)(uv.y / texel.y), 0, rowCount - 1)];
    const float glitchOn = step(0.0001f, split.z);
    const float glitchUnit = split.z / 1280.0f * glitchOn;
    at.x += entry.w * glitchUnit;

    // Red and blue sampled apart; green and alpha from both, so no split is an exact copy.
    const float2 apart = (at - 0.5f) * (split.x + split.y * pulse) + lensSplit +
                         float2(abs(entry.w) * 0.4f * glitchUnit, 0.0f);
    const float4 plus = Fetch(at + apart, vertexColor);
    const float4 minus = Fetch(at - apart, vertexColor);
    float4 c = float4(plus.r, (plus.g + minus.g) * 0.5f, minus.b, (plus.a + minus.a) * 0.5f);
    c.rgb *= lerp(float3(1.0f, 1.0f, 1.0f), clamp(entry.xyz, 0.0f, 2.5f), glitchOn);
    const float2 inside = step(0.0f, at) * step(at, 1.0f);
    c.rgb *= lerp(1.0f, inside.x * inside.y, bend.w);

    // Colour: matrix, hue, saturation, contrast, split toning, gain and lift.
    float3 rgb = float3(dot(matrixR.xyz, c.rgb) + matrixR.w, dot(matrixG.xyz, c.rgb) + matrixG.w,
                        dot(matrixB.xyz, c.rgb) + matrixB.w);
    rgb = HueRotate(rgb, highlight.w * seconds + lift.w * uv.x + split.w * pulse);
    rgb = lerp(Grey(Luma(rgb)), rgb, tone.x + tone.y * pulse);
    rgb = (rgb - tone.w) * tone.z + tone.w;
    rgb *= lerp(shadow.rgb, highlight.rgb, smoothstep(0.15f, 0.75f, Luma(rgb)));
    rgb *= 1.0f + shadow.w * pulse;
    rgb += lift.rgb;

    // Luminance masks and stylisations.
    const float l = Luma(rgb);
    const float edge = saturate(length(float2(ddx(l), ddy(l))) * 4.0f);
    rgb = lerp(rgb, Grey(smoothstep(0.46f, 0.54f, l)), masks.x);
    // The bright pass keys on the strongest channel lifted by the colourfulness, so neon and
    // highlights glow while a white-grey floor of the same brightness does not.
    const float peak = max(rgb.r, max(rgb.g, rgb.b));
    const float glowKey = peak + 0.6f * (peak - min(rgb.r, min(rgb.g, rgb.b)));
    rgb *= lerp(1.0f, smoothstep(0.9f, 1.05f, glowKey), masks.y);
    const float3 poster = floor(saturate(rgb) * 4.0f + 0.5f) / 4.0f * (1.0f - 0.85f * smoothstep(0.3f, 0.7f, edge));
    rgb = lerp(rgb, poster, shape.w);
    rgb = lerp(rgb, Thermal(l), masks.z);
    rgb = lerp(rgb, edge * lerp(float3(1.0f, 1.0f, 1.0f), saturate(rgb) * 1.6f, 0.6f), shape.z);
    const float3 plasma = Plasma(uv, aspect, seconds);
    const float plasmaAmount = hasTexture != 0 ? masks.w : step(0.0001f, masks.w);
    rgb = lerp(rgb, hasTexture != 0 ? plasma * (0.4f + l) : plasma, plasmaAmount);
    rgb += smoothstep(0.5f, 1.0f, l) * glowColour.rgb * finish.z * (0.6f + pulse);

    // Screen: scanlines, rolling band, flicker, grain, vignette, bars, highlight shoulder.
    rgb *= 1.0f - lines.y * (0.5f - 0.5f * FastCos(uv.y / texel.y * 2.0f * PI / lines.z));
    rgb *= 1.0f + lines.w * smoothstep(0.9f, 1.0f, frac(uv.y * 0.7f - seconds * 0.15f)) * (1.0f + pulse);
    rgb *= 1.0f + finish.x * (Hash12(float2(floor(seconds * 24.0f), 3.0f)) - 0.5f) * (1.0f + pulse);
    rgb += (vignette.w + lines.x * pulse) * (Hash12(uv / texel + frac(seconds * 7.31f) * 917.0f) - 0.5f);
    rgb *= lerp(1.0f - vignette.x, 1.0f, 1.0f - smoothstep(vignette.y, vignette.z, length(centred)));
    const float bar = finish.y * (1.0f - 0.18f * pulse);
    rgb *= step(bar, uv.y) * step(uv.y, 1.0f - bar);
    rgb = lerp(rgb, SoftClip(max(rgb, 0.0f)), finish.w);
    return float4(max(rgb, 0.0f), c.a);
}

float4 PostProcess_PS(PixelInput vin) : SV_TARGET
{
    float2 uv = vin.tex;
    // One target pixel in texture coordinates, from the quad's own interpolation.
    float2 texel = max(float2(abs(ddx(uv.x)), abs(ddy(uv.y))), float2(1e-6f, 1e-6f));
    float4 c = ApplyEffect(uv, texel, (float)time * 0.001f, vin.color);

    // The vertex alpha adds to the quad's: screen quads carry 0 there, the design lines and the
    // radial blur's layers their own transparency per vertex.
    float sourceAlpha = hasTexture != 0 ? c.a : 1.0f;
    if (blend != 0)
        c.a = saturate(alpha + vin.color.a) * (overlay != 0 ? sourceAlpha : 1.0f);
    else
        c.a = sourceAlpha;
    // Additive layers ignore alpha in the blend, so they carry their weight in the colour.
    if (weightByVertexAlpha != 0)
        c.rgb *= c.a;
    return c;
}
