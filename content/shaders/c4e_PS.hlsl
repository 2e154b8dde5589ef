// Scene materials: ambient plus each light's diffuse and specular share, with the material's
// diffuse, normal, luminance and environment maps where it has them.
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

Texture2D diffuseTexture : register(t0);
Texture2D normalTexture : register(t1);
Texture2D luminanceTexture : register(t2);
Texture2D environmentTexture : register(t3);
Texture2D extraTexture : register(t4);
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
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};

float4 c4e_PS(PixelInputType input) : SV_TARGET
{
    float3 normal = normalize(input.normal);
    if (hasNormalMap != 0)
    {
        float3 bump = normalTexture.Sample(wrapSampler, input.tex).xyz * 2.0f - 1.0f;
        normal = normalize(bump.x * input.tangent + bump.y * input.binormal + bump.z * normal);
    }
    float3 view = normalize(input.viewDirection);

    float4 surface = input.color;
    if (hasDiffuseMap != 0)
    {
        surface *= diffuseTexture.Sample(wrapSampler, input.tex);
    }

    float3 diffuse = ambientColor.rgb;
    float3 specular = float3(0.0f, 0.0f, 0.0f);
    int count = min(lightCount, 8);
    for (int i = 0; i < count; ++i)
    {
        float3 toLight;
        float attenuation = 1.0f;
        if (listed[i].w < 0.5f)
        {
            // Omni light at a position, softened with distance.
            float3 offset = lightPosition[i].xyz - input.worldPosition;
            float distance = length(offset);
            toLight = offset / max(distance, 0.0001f);
            attenuation = 1.0f / max(lightTerms[i].x + lightTerms[i].y * distance + lightTerms[i].z * distance * distance, 0.0001f);
        }
        else
        {
            toLight = -normalize(lightDirection[i].xyz);
        }
        float lambert = saturate(dot(normal, toLight));
        float3 light = lightColor[i].rgb * lightMultiplier[i].w * attenuation;
        diffuse += light * lambert * max(diffuseValue, 0.0f);
        if (hasSpecular != 0 && lambert > 0.0f)
        {
            float3 reflected = reflect(-toLight, normal);
            specular += light * specularColor.rgb * specularParamA * pow(saturate(dot(reflected, view)), max(specularPower, 1.0f));
        }
    }

    float3 color = surface.rgb * diffuse + specular;
    if (hasLuminanceMap != 0)
    {
        color += luminanceTexture.Sample(wrapSampler, input.tex).rgb;
    }
    if (hasEnvironmentMap != 0)
    {
        float3 reflected = reflect(-view, normal);
        float2 sphere = reflected.xy * 0.5f + 0.5f;
        color += environmentTexture.Sample(clampSampler, sphere).rgb * environment.x;
    }
    if (hasReflectionMap != 0)
    {
        color += reflectionTexture.Sample(wrapSampler, reflect(-view, normal)).rgb * environment.x;
    }

    float alpha = surface.a * (transparent != 0 ? opacity : 1.0f);
    return float4(color, alpha);
}
