// Scene materials, lit per pixel by up to eight scene lights.
//
// Lights (entry i of each array):
//   type (listed[i].w)   0 omni: shines from its position in every direction, weakened with
//                          distance by lightTerms (constant, linear, quadratic);
//                        1 directional: parallel light along its direction, no falloff;
//                        2 spot: an omni light limited to a cone around its direction whose
//                          half-angle in degrees is lightParamB[i].w (shaderParamB × 10),
//                          with a soft rim.
//   listed (listed[i].x) 1 when the mesh is in the light's object list: the light leaves that
//                        mesh out (an exclude list), so a light can skip a floor or a lamp.
//   lightTerms[i].w      shaderParamA, the wrap: 0 is the plain Lambert terminator, towards 1 the
//                        light reaches further around the object for a softer, filmic falloff.
//   colour × multiplier  the light's intensity; results above 1 are kept for the bloom passes.
//
// Material:
//   vertex colour × diffuseValue  the diffuse colour and its level.
//   diffuse map          diffuseMapParamA 0 tints the map with the diffuse colour, 1 shows the
//                        map's own colours; diffuseMapParamB blends from no map (0) to full (1).
//   specular             Blinn highlight: specularColor × specularParamA, exponent
//                        specularPower (100 − 100 × specularParamB).
//   normal map           tangent-space normals in the texture's rgb, using the mesh's tangent
//                        and binormal.
//   luminance map        light the surface gives off itself, added after lighting.
//   environment map      a latitude-longitude panorama seen in the surface's reflection.
//   reflection cube      the cube map of slot 5 seen in the reflection.
//   Both reflections are weighted by the scene's environmentValue. A dark diffuse colour reads
//   as metal and mirrors at full strength; a light one only at grazing angles (Fresnel).
//   transparent          alpha = 1 − transparency (× the diffuse map's alpha); highlights stay
//                        visible on clear glass.
//
// The flag at byte 944 (shaderFlag): 1 means the caller has just drawn the scene from its first
// light into the texture of slot 4 (the shadow pass), and light 0 then casts soft shadows looked
// up there; 0 means there is no shadow map and slot 4 is not read.
cbuffer MaterialBuffer : register(b0)
{
    float diffuseValue;
    uint hasDiffuseMap;
    int diffuseMapParamA;
    float diffuseMapParamB;
    float4 specularColor;
    uint hasSpecular;
    float specularParamA;
    float specularPower;
    uint hasNormalMap;
    uint transparent;
    float opacity;
    uint hasLuminanceMap;
    uint hasEnvironmentMap;
    uint hasReflectionMap;
    float materialPadding0;
    float materialPadding1;
    float materialPadding2;
};

cbuffer LightBuffer : register(b1)
{
    float4 ambientColor;
    float4 environment;
    int lightCount;
    float countPadding0;
    float countPadding1;
    float countPadding2;
    float4 listed[8];
    float4 lightPosition[8];
    float4 lightColor[8];
    float4 lightMultiplier[8];
    float4 lightDirection[8];
    float4 lightTerms[8];
    float4 lightParamB[8];
    uint shaderFlag;
    float flagPadding0;
    float flagPadding1;
    float flagPadding2;
};

// A specialised program is compiled with the material's switches (C4E_MATERIAL: 1 diffuse map,
// 2 specular, 4 normal map, 8 transparent, 16 luminance map, 32 environment map, 64 reflection
// cube), the number of lights (C4E_LIGHTS), their kinds (C4E_LIGHT_KINDS, two bits per light)
// and the shadow flag (C4E_SHADOWS) fixed, so the branches a draw does not take fold away:
// software rasterisers run both sides of a branch. Without them the buffers decide.
#ifdef C4E_MATERIAL
#define USES_DIFFUSE_MAP ((C4E_MATERIAL & 1) != 0)
#define USES_SPECULAR ((C4E_MATERIAL & 2) != 0)
#define USES_NORMAL_MAP ((C4E_MATERIAL & 4) != 0)
#define IS_TRANSPARENT ((C4E_MATERIAL & 8) != 0)
#define USES_LUMINANCE_MAP ((C4E_MATERIAL & 16) != 0)
#define USES_ENVIRONMENT_MAP ((C4E_MATERIAL & 32) != 0)
#define USES_REFLECTION_MAP ((C4E_MATERIAL & 64) != 0)
#define LIGHT_COUNT (C4E_LIGHTS)
#define LIGHT_KIND(i) ((C4E_LIGHT_KINDS >> (2 * (i))) & 3)
#define CASTS_SHADOWS (C4E_SHADOWS != 0)
#else
#define USES_DIFFUSE_MAP (hasDiffuseMap != 0)
#define USES_SPECULAR (hasSpecular != 0)
#define USES_NORMAL_MAP (hasNormalMap != 0)
#define IS_TRANSPARENT (transparent != 0)
#define USES_LUMINANCE_MAP (hasLuminanceMap != 0)
#define USES_ENVIRONMENT_MAP (hasEnvironmentMap != 0)
#define USES_REFLECTION_MAP (hasReflectionMap != 0)
#define LIGHT_COUNT clamp(lightCount, 0, 8)
#define LIGHT_KIND(i) ((int)(listed[i].w + 0.5f))
#define CASTS_SHADOWS (shaderFlag != 0)
#endif

Texture2D diffuseTexture : register(t0);
Texture2D normalTexture : register(t1);
Texture2D luminanceTexture : register(t2);
Texture2D environmentTexture : register(t3);
Texture2D shadowTexture : register(t4);
TextureCube reflectionTexture : register(t5);
SamplerState wrapSampler : register(s0);
SamplerState clampSampler : register(s1);

struct PixelInputType
{
    float4 position : SV_POSITION;
    float3 normal : NORMAL;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
    float3 worldPosition : TEXCOORD1;
    float4 lightPosition : TEXCOORD2;
    float3 viewDirection : TEXCOORD3;
    float lightDepth : TEXCOORD4;
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};

static const float PI = 3.14159265f;

// A Poisson disc of sixteen taps: soft penumbrae without the grid pattern of a box filter.
// The first four lie far apart, one in each quadrant.
static const float2 shadowTaps[16] = {
    float2(-0.8154f, -0.8791f), float2(0.9456f, -0.7689f), float2(0.9748f, 0.7565f), float2(-0.8141f, 0.9144f),
    float2(-0.9159f, 0.4577f), float2(-0.9420f, -0.3991f), float2(-0.3828f, 0.2768f), float2(0.3450f, 0.2939f),
    float2(0.4432f, -0.9751f), float2(0.5374f, -0.4737f), float2(-0.2650f, -0.4189f), float2(0.7920f, 0.1909f),
    float2(-0.2419f, 0.9971f), float2(-0.0942f, -0.9294f), float2(0.1998f, 0.7864f), float2(0.1438f, -0.1410f)
};

// 1 where the first light reaches the surface, 0 in its shadow, soft in between.
float ShadowFactor(PixelInputType input)
{
    if (input.lightPosition.w <= 0.0f)
    {
        return 1.0f;
    }
    float2 ndc = input.lightPosition.xy / input.lightPosition.w;
    float2 uv = float2(ndc.x * 0.5f + 0.5f, 0.5f - ndc.y * 0.5f);
    float depth = input.lightDepth;
    // How the surface's light depth changes across the shadow map (receiver plane): each tap is
    // compared with the surface's own depth at that tap, so wide filters do not shadow the
    // surface itself.
    float2 uvX = ddx(uv);
    float2 uvY = ddy(uv);
    float depthX = ddx(depth);
    float depthY = ddy(depth);
    float determinant = uvX.x * uvY.y - uvX.y * uvY.x;
    float2 depthPerUv = float2(0.0f, 0.0f);
    if (abs(determinant) > 1e-12f)
    {
        depthPerUv = float2(uvY.y * depthX - uvX.y * depthY, uvX.x * depthY - uvY.x * depthX) / determinant;
    }
    if (any(uv < 0.0f) || any(uv > 1.0f) || depth <= 0.0f || depth >= 1.0f)
    {
        return 1.0f;
    }
    float width;
    float height;
    shadowTexture.GetDimensions(width, height);
    float2 size = float2(max(width, 1.0f), max(height, 1.0f));
    float2 texel = 1.0f / size;
    // Unfiltered texel reads: the four outer taps first; where they agree the surface is fully
    // lit or fully shadowed and the other twelve are skipped (most of the picture).
    // The disc turns from pixel to pixel (interleaved gradient noise), so the steps of the map's
    // texels along a shadow's edge dissolve into a fine grain instead of a staircase.
    // This stays a loop where the driver keeps it one: a software rasteriser leaves a loop as
    // soon as all its pixels are done, but runs both sides of a branch.
    float angle = 6.2831853f * frac(52.9829189f * frac(dot(input.position.xy, float2(0.06711056f, 0.00583715f))));
    float2x2 turn = float2x2(cos(angle), -sin(angle), sin(angle), cos(angle));
    float lit = 0.0f;
    [unroll]
    for (int i = 0; i < 16; ++i)
    {
        if (i == 4 && (lit == 0.0f || lit == 4.0f))
        {
            return lit / 4.0f;
        }
        float2 tap = mul(shadowTaps[i], turn) * texel * 3.5f;
        int2 coordinate = int2(clamp((uv + tap) * size, float2(0.0f, 0.0f), size - 1.0f));
        float occluder = shadowTexture.Load(int3(coordinate, 0)).r;
        // Measured from the centre of the texel really read, not from where the tap aimed.
        float2 offset = (float2(coordinate) + 0.5f) * texel - uv;
        // The plane's slope is limited so silhouettes seen edge-on do not push shadows away.
        float expected = depth + clamp(dot(depthPerUv, offset), -0.01f, 0.01f) - 0.0025f;
        // 0 is a texel nothing was drawn into: open sky.
        lit += (occluder <= 0.0f || expected <= occluder) ? 1.0f : 0.0f;
    }
    return lit / 16.0f;
}

float3 SurfaceNormal(PixelInputType input)
{
    float3 normal = normalize(input.normal);
    if (USES_NORMAL_MAP)
    {
        float3 bump = normalTexture.Sample(wrapSampler, input.tex).xyz * 2.0f - 1.0f;
        float3 tangent = normalize(input.tangent - normal * dot(input.tangent, normal));
        float3 binormal = normalize(input.binormal - normal * dot(input.binormal, normal));
        normal = normalize(bump.x * tangent + bump.y * binormal + bump.z * normal);
    }
    return normal;
}

float4 SurfaceColor(PixelInputType input)
{
    float4 surface = float4(input.color.rgb * max(diffuseValue, 0.0f), 1.0f);
    if (USES_DIFFUSE_MAP)
    {
        float4 map = diffuseTexture.Sample(wrapSampler, input.tex);
        float3 mapped = diffuseMapParamA == 1 ? map.rgb : map.rgb * surface.rgb;
        float amount = saturate(diffuseMapParamB);
        surface.rgb = lerp(surface.rgb, mapped, amount);
        surface.a = lerp(1.0f, map.a, amount);
    }
    return surface;
}

// One light's share of the diffuse and specular sums. c4e_PS calls it once per slot with a
// constant index instead of looping: the [unroll] hint is lost on the way to GLSL and the driver
// keeps a loop this large, running all eight bodies for every pixel. Called with constants, the
// slots a specialised program lacks fold away and every entry is read at a constant index.
void AddLight(int i, PixelInputType input, float3 normal, float3 view, inout float3 diffuse, inout float3 specular)
{
    if (i >= LIGHT_COUNT || listed[i].x > 0.5f)
    {
        return;
    }
    int type = LIGHT_KIND(i);
    float3 toLight;
    float strength = lightMultiplier[i].w;
    if (type == 1)
    {
        toLight = -normalize(lightDirection[i].xyz);
    }
    else
    {
        float3 offset = lightPosition[i].xyz - input.worldPosition;
        float distance = length(offset);
        toLight = offset / max(distance, 0.0001f);
        float falloff = lightTerms[i].x + lightTerms[i].y * distance + lightTerms[i].z * distance * distance;
        strength /= max(falloff, 0.0001f);
        if (type == 2)
        {
            float halfAngle = clamp(lightParamB[i].w, 1.0f, 89.0f) * PI / 180.0f;
            float inside = dot(-toLight, normalize(lightDirection[i].xyz));
            strength *= smoothstep(cos(halfAngle), cos(halfAngle * 0.75f), inside);
        }
    }

    float wrap = saturate(lightTerms[i].w);
    float facing = dot(normal, toLight);
    float lambert = saturate((facing + wrap) / (1.0f + wrap));
    if (i == 0 && CASTS_SHADOWS)
    {
        // A surface turned away from the light shadows itself; fading in over the terminator
        // hides the map's texels on faces the light only grazes.
        float turned = saturate(dot(normalize(input.normal), toLight) * 8.0f);
        strength *= turned > 0.0f ? ShadowFactor(input) * turned : 0.0f;
    }
    float3 light = lightColor[i].rgb * strength;
    diffuse += light * lambert;
    if (USES_SPECULAR && facing > 0.0f)
    {
        float3 halfway = normalize(toLight + view);
        float power = max(specularPower, 1.0f);
        // Energy-conserving scale: tight highlights are brighter, wide ones softer.
        float normalisation = (power + 8.0f) / (8.0f * PI);
        specular += light * saturate(facing) * normalisation * pow(saturate(dot(normal, halfway)), power);
    }
}

float4 c4e_PS(PixelInputType input) : SV_TARGET
{
    float3 normal = SurfaceNormal(input);
    float3 view = normalize(input.viewDirection);
    float4 surface = SurfaceColor(input);

    float3 diffuse = ambientColor.rgb;
    float3 specular = float3(0.0f, 0.0f, 0.0f);
    AddLight(0, input, normal, view, diffuse, specular);
    AddLight(1, input, normal, view, diffuse, specular);
    AddLight(2, input, normal, view, diffuse, specular);
    AddLight(3, input, normal, view, diffuse, specular);
    AddLight(4, input, normal, view, diffuse, specular);
    AddLight(5, input, normal, view, diffuse, specular);
    AddLight(6, input, normal, view, diffuse, specular);
    AddLight(7, input, normal, view, diffuse, specular);
    specular *= specularColor.rgb * specularParamA;

    float3 color = surface.rgb * diffuse + specular;

    float3 reflected = reflect(-view, normal);
    float fresnel = 0.1f + 0.9f * pow(1.0f - saturate(dot(normal, view)), 4.0f);
    float metal = saturate(1.0f - 3.0f * max(surface.r, max(surface.g, surface.b)));
    float reflectionWeight = max(environment.x, 0.0f) * lerp(fresnel, 1.0f, metal);
    if (USES_ENVIRONMENT_MAP)
    {
        float2 panorama = float2(atan2(reflected.x, reflected.z) / (2.0f * PI) + 0.5f,
                                 acos(clamp(reflected.y, -1.0f, 1.0f)) / PI);
        color += environmentTexture.Sample(wrapSampler, panorama).rgb * reflectionWeight;
    }
    if (USES_REFLECTION_MAP)
    {
        color += reflectionTexture.Sample(wrapSampler, reflected).rgb * reflectionWeight;
    }
    if (USES_LUMINANCE_MAP)
    {
        color += luminanceTexture.Sample(wrapSampler, input.tex).rgb;
    }

    float alpha = 1.0f;
    if (IS_TRANSPARENT)
    {
        float glint = saturate(dot(specular, float3(0.3f, 0.59f, 0.11f)));
        alpha = saturate(max(surface.a * opacity, glint));
    }
    return float4(color, alpha);
}
