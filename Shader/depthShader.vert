#version 130
// Shadow pass from the flashlight.
uniform mat4 modelMatrix;
uniform mat4 dVP;
uniform mat4 dV;

in vec3 position;

out float lightDistance;

void main()
{
    vec4 world = modelMatrix * vec4(position, 1.0);
    // Distance along the flashlight's axis: linear, so the moments filter well.
    lightDistance = -(dV * world).z;
    gl_Position = dVP * world;
}
