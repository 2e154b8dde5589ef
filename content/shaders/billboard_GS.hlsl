// Each point becomes a square of its size facing the camera: the corners are offset in view
// space, so the square always lies in the view plane.
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

[maxvertexcount(4)]
void Billboard_GS(point GeometryInputType input[1], inout TriangleStream<PixelInputType> stream)
{
    static const float2 corners[4] = { float2(-1.0f, 1.0f), float2(1.0f, 1.0f), float2(-1.0f, -1.0f), float2(1.0f, -1.0f) };
    static const float2 uvs[4] = { float2(0.0f, 0.0f), float2(1.0f, 0.0f), float2(0.0f, 1.0f), float2(1.0f, 1.0f) };
    float4 center = mul(input[0].position, viewMatrix);
    for (int i = 0; i < 4; ++i)
    {
        PixelInputType output;
        float4 corner = center + float4(corners[i] * input[0].size * 0.5f, 0.0f, 0.0f);
        output.position = mul(corner, projectionMatrix);
        output.color = input[0].color;
        output.tex = uvs[i];
        stream.Append(output);
    }
    stream.RestartStrip();
}
