#version 130
#extension GL_ARB_explicit_attrib_location : enable
// Overlay images and bitmap text. Positions come in overlay units: x 0..1600 spans the window from
// left to right and y 0..1200 from bottom to top, whatever the window's size.
#ifdef GL_ARB_explicit_attrib_location
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 uv;
#else
in vec2 position;
in vec2 uv;
#endif

out vec2 texCoord;

void main()
{
    texCoord = uv;
    // Every overlay sits at the nearest depth, so it covers the scene whether drawn before or after it.
    gl_Position = vec4(position.x / 800.0 - 1.0, position.y / 600.0 - 1.0, -1.0, 1.0);
}
