#version 130
// The lit scene pass: world-space position, normal frame and the flashlight's view of each vertex.
uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform mat4 dVP;
uniform mat4 dV;

in vec3 position;
in vec3 normal;
in vec3 tangent;
in vec3 color;
in vec2 uv;

out vec3 worldPosition;
out vec3 worldNormal;
out vec3 worldTangent;
out vec3 vertexColor;
out vec2 texCoord;
out vec4 shadowClip;
out float shadowDistance;
out vec3 toEye;

void main()
{
    vec4 world = modelMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    // Model matrices only move and turn meshes, so their upper 3 x 3 part carries normals as well.
    mat3 turn = mat3(modelMatrix);
    worldNormal = turn * normal;
    worldTangent = turn * tangent;
    vertexColor = color;
    texCoord = uv;
    shadowClip = dVP * world;
    shadowDistance = -(dV * world).z;
    // The eye from the rigid view matrix: minus the transposed rotation times the translation.
    toEye = -(transpose(mat3(viewMatrix)) * viewMatrix[3].xyz) - world.xyz;
    gl_Position = projectionMatrix * viewMatrix * world;
}
