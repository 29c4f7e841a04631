#version 130
// Shadow pass from the flashlight.
uniform mat4 modelMatrix;
uniform mat4 dVP;
uniform mat4 dV;
// How far the flashlight's cone reaches from the middle of its view, as |x| + |y| over w: the
// sides of an octagon round the cone's circle. The corners beyond it are never lit, so the pass
// clips them away instead of drawing them.
uniform float coneReach;

in vec3 position;

out float lightDistance;

void main()
{
    vec4 world = modelMatrix * vec4(position, 1.0);
    // Distance along the flashlight's axis: linear, so the moments filter well.
    lightDistance = -(dV * world).z;
    gl_Position = dVP * world;
    float reach = coneReach * gl_Position.w;
    gl_ClipDistance[0] = reach - gl_Position.x - gl_Position.y;
    gl_ClipDistance[1] = reach - gl_Position.x + gl_Position.y;
    gl_ClipDistance[2] = reach + gl_Position.x - gl_Position.y;
    gl_ClipDistance[3] = reach + gl_Position.x + gl_Position.y;
}
