// Screen-space ambient occlusion over the camera depth pass: red holds the linear depth between
// the lens's planes (0 where nothing was drawn), green and blue the view-space normal's x and y.
// Each pixel's view position is rebuilt with the lens the occlusion scene is shot with (45
// degrees, planes 1 and 10000) and eight neighbours around it, on a kernel that the tiled noise
// texture rotates per pixel, darken it as far as they rise above its surface: creases and
// contacts darken, an open plane keeps its neighbours in its own plane and stays white. The
// neighbourhood is a fixed share of the screen and the distance falloff grows with the depth,
// so near and far objects darken alike. White is open; the blur afterwards smooths the noise.
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

static const float kTanHalfFov = 0.41421356f;  // tan(22.5 degrees)
static const float kNearPlane = 1.0f;
static const float kFarPlane = 10000.0f;
static const float kRadius = 0.06f;      // of the screen height
static const float kFalloff = 0.1f;      // of the depth: neighbours further away count less
static const float kBias = 0.15f;        // cosine below which a neighbour does not occlude
static const float kStrength = 6.0f;
static const float kNoiseSize = 64.0f;   // pixels of the noise tile

// Point lookups: filtering would blend the depths of an edge into a surface that is not there.
// The position is rebuilt at the centre of the texel read, so a plane stays a plane.
float2 TexelCentre(float2 uv, float2 size)
{
    return (clamp(floor(uv * size), float2(0.0f, 0.0f), size - 1.0f) + 0.5f) / size;
}

float4 Texel(float2 centre, float2 size)
{
    return normalDepthTexture.Load(int3(int2(centre * size), 0));
}

float3 ViewPosition(float2 uv, float depth, float aspect)
{
    float z = kNearPlane + depth * (kFarPlane - kNearPlane);
    float2 ndc = float2(uv.x * 2.0f - 1.0f, 1.0f - uv.y * 2.0f);
    return float3(ndc.x * kTanHalfFov * aspect * z, ndc.y * kTanHalfFov * z, z);
}

// The neighbours: eight directions, each reaching its own share of the radius.
static const float2 kernel[8] = {
    float2(1.0f, 0.0f), float2(-1.0f, 0.0f), float2(0.0f, 1.0f), float2(0.0f, -1.0f),
    float2(0.7071f, 0.7071f), float2(-0.7071f, 0.7071f), float2(0.7071f, -0.7071f), float2(-0.7071f, -0.7071f)
};
static const float reach[8] = { 0.25f, 0.5f, 0.75f, 1.0f, 0.375f, 0.625f, 0.875f, 0.125f };

// How far neighbour i of the rotated kernel rises above the surface, weighted by its distance.
float Neighbour(int i, float2 here, float2 noise, float2 radius, float2 depthSize, float aspect, float3 position,
                float3 normal, float falloff)
{
    float2 uv = TexelCentre(here + reflect(kernel[i], noise) * radius * reach[i], depthSize);
    float depth = Texel(uv, depthSize).r;
    float3 toNeighbour = ViewPosition(uv, depth, aspect) - position;
    float distance = length(toNeighbour);
    float rise = dot(normal, toNeighbour / max(distance, 0.0001f));
    float near = 1.0f / (1.0f + (distance / falloff) * (distance / falloff));
    // Empty sky around an object occludes nothing.
    return step(0.0f, depth - 0.0000001f) * max(rise - kBias, 0.0f) * near;
}

float4 SSAO_PS(PixelInputType input) : SV_TARGET
{
    float2 screen = float2(max(screenWidth, 1.0f), max(screenHeight, 1.0f));
    float aspect = screen.x / screen.y;
    // The depth pass is drawn at half the screen size.
    float2 depthSize = max(floor(screen * 0.5f), float2(1.0f, 1.0f));
    float2 here = TexelCentre(input.tex, depthSize);
    float4 centre = Texel(here, depthSize);
    if (centre.r <= 0.0f)
        return float4(1.0f, 1.0f, 1.0f, 1.0f);

    float3 position = ViewPosition(here, centre.r, aspect);
    float2 nxy = centre.gb * 2.0f - 1.0f;
    // Visible surfaces face the camera, which looks along +z.
    float3 normal = float3(nxy, -sqrt(saturate(1.0f - dot(nxy, nxy))));

    float2 noise = noiseTexture.Sample(wrapSampler, input.tex * screen / kNoiseSize).rg * 2.0f - 1.0f;
    noise = normalize(noise + float2(0.0001f, 0.0f));
    float2 radius = float2(kRadius / aspect, kRadius);
    float falloff = kFalloff * position.z;

    // One call per neighbour with a constant index rather than a loop, so every kernel entry
    // is a constant the driver folds in.
    float occlusion = 0.0f;
    occlusion += Neighbour(0, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(1, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(2, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(3, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(4, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(5, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(6, here, noise, radius, depthSize, aspect, position, normal, falloff);
    occlusion += Neighbour(7, here, noise, radius, depthSize, aspect, position, normal, falloff);
    // Squared, so the contacts stay dark through the wide blur that follows.
    float open = saturate(1.0f - occlusion / 8.0f * kStrength);
    open *= open;
    return float4(open, open, open, 1.0f);
}
