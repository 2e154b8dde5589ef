// Scene meshes: world position, normal frame and the position seen from the first light for
// the shadow lookup.
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
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};

PixelInputType c4e_VS(VertexInputType input)
{
    PixelInputType output;
    float4 world = mul(float4(input.position, 1.0f), worldMatrix);
    output.worldPosition = world.xyz;
    output.position = mul(mul(world, viewMatrix), projectionMatrix);
    output.lightPosition = mul(mul(world, lightViewMatrix), lightProjectionMatrix);
    output.normal = normalize(mul(input.normal, (float3x3)worldMatrix));
    output.tangent = normalize(mul(input.tangent, (float3x3)worldMatrix));
    output.binormal = normalize(mul(input.binormal, (float3x3)worldMatrix));
    output.viewDirection = normalize(float3(eyeX, eyeY, eyeZ) - world.xyz);
    output.color = input.color;
    output.tex = input.tex;
    return output;
}
