// Scene meshes: the world-space surface frame for per-pixel lighting, the direction to the eye,
// and where the surface lies as seen from the scene's first light (for the shadow lookup).
cbuffer TransformBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
    matrix lightViewMatrix;
    matrix lightProjectionMatrix;
};

cbuffer EyeBuffer : register(b1)
{
    float eyeX;
    float eyeY;
    float eyeZ;
    float eyePadding;
};

struct VertexInputType
{
    float3 position : POSITION;
    float3 normal : NORMAL;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};

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

// Linear depth between a perspective projection's near (0) and far (1) planes; the planes are
// read back from the matrix itself: clip z = a * viewZ + b with a = f / (f - n), b = -n * a.
float LinearDepth(float viewZ, matrix projection)
{
    float a = mul(float4(0.0f, 0.0f, 1.0f, 0.0f), projection).z;
    float b = mul(float4(0.0f, 0.0f, 0.0f, 1.0f), projection).z;
    if (abs(a) < 0.000001f)
    {
        return 0.0f;  // no projection yet (no shadow pass has run)
    }
    float nearPlane = -b / a;
    float farPlane = nearPlane * a / max(a - 1.0f, 0.000001f);
    return (viewZ - nearPlane) / max(farPlane - nearPlane, 0.000001f);
}

PixelInputType c4e_VS(VertexInputType input)
{
    PixelInputType output;
    float4 world = mul(float4(input.position, 1.0f), worldMatrix);
    output.worldPosition = world.xyz;
    output.position = mul(mul(world, viewMatrix), projectionMatrix);

    // Scaled objects keep their frame: the vectors are renormalised per pixel anyway.
    output.normal = mul(input.normal, (float3x3)worldMatrix);

    // The shadow lookup starts a little off the surface along its normal (about two shadow-map
    // texels at that distance), which keeps curved surfaces from shadowing themselves.
    float lightDistance = mul(world, lightViewMatrix).z;
    float4 lifted = float4(world.xyz + normalize(output.normal) * (0.0015f * abs(lightDistance)), 1.0f);
    float4 fromLight = mul(lifted, lightViewMatrix);
    output.lightPosition = mul(fromLight, lightProjectionMatrix);
    output.lightDepth = LinearDepth(fromLight.z, lightProjectionMatrix);

    output.tangent = mul(input.tangent, (float3x3)worldMatrix);
    output.binormal = mul(input.binormal, (float3x3)worldMatrix);
    output.viewDirection = float3(eyeX, eyeY, eyeZ) - world.xyz;
    output.color = input.color;
    output.tex = input.tex;
    return output;
}
