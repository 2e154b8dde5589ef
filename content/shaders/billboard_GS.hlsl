// Each point becomes a square of its size facing the camera: the corners are offset in view
// space, so the square always lies in the view plane. The projection is linear, so the centre
// is projected once and the corners are reached along the projection's first two rows.
cbuffer MatrixBuffer : register(b0)
{
    matrix worldMatrix;
    matrix viewMatrix;
    matrix projectionMatrix;
};

struct GeometryInputType
{
    float4 position : POSITION;
    float2 size : SIZE;
    float4 color : COLOR;
};

struct PixelInputType
{
    float4 position : SV_POSITION;
    float4 color : COLOR;
    float2 tex : TEXCOORD0;
};

PixelInputType Corner(float4 position, float4 color, float2 tex)
{
    PixelInputType output;
    output.position = position;
    output.color = color;
    output.tex = tex;
    return output;
}

[maxvertexcount(4)]
void Billboard_GS(point GeometryInputType input[1], inout TriangleStream<PixelInputType> stream)
{
    float4 centre = mul(mul(input[0].position, viewMatrix), projectionMatrix);
    float4 right = projectionMatrix[0] * (input[0].size.x * 0.5f);
    float4 up = projectionMatrix[1] * (input[0].size.y * 0.5f);
    float4 color = input[0].color;
    stream.Append(Corner(centre - right + up, color, float2(0.0f, 0.0f)));
    stream.Append(Corner(centre + right + up, color, float2(1.0f, 0.0f)));
    stream.Append(Corner(centre - right - up, color, float2(0.0f, 1.0f)));
    stream.Append(Corner(centre + right - up, color, float2(1.0f, 1.0f)));
    stream.RestartStrip();
}
