// Particles: the point is moved into the world; the geometry shader makes the square.
cbuffer MatrixBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
};

struct VertexInputType
{
    float3 position : POSITION;
    float2 size : SIZE;
    float4 color : COLOR;
};

struct GeometryInputType
{
    float4 position : POSITION;
    float2 size : SIZE;
    float4 color : COLOR;
};

GeometryInputType Billboard_VS(VertexInputType input)
{
    GeometryInputType output;
    output.position = mul(float4(input.position, 1.0f), worldMatrix);
    output.size = input.size;
    output.color = input.color;
    return output;
}
