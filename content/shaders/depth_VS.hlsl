// Depth passes: the shadow map seen from the first light, and the camera's depth and normals for
// the ambient occlusion. Depth is linear between the projection's near and far planes.
cbuffer MatrixBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
};

struct VertexInputType
{
    float3 position : POSITION;
    float3 normal : NORMAL;
};

struct PixelInputType
{
    float4 position : SV_POSITION;
    float depth : TEXCOORD0;
    float3 normal : NORMAL;
};

// clip z = a * viewZ + b with a = f / (f - n), b = -n * a: the planes come from the matrix.
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

PixelInputType Depth_VS(VertexInputType input)
{
    PixelInputType output;
    float4 view = mul(mul(float4(input.position, 1.0f), worldMatrix), viewMatrix);
    output.position = mul(view, projectionMatrix);
    output.depth = LinearDepth(view.z, projectionMatrix);
    output.normal = mul(mul(input.normal, (float3x3)worldMatrix), (float3x3)viewMatrix);
    return output;
}
