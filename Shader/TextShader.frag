#version 130
uniform sampler2D myTextureSampler;

in vec2 texCoord;
out vec4 fragColor;

void main()
{
    vec4 texel = texture(myTextureSampler, texCoord);
    // Fully transparent texels leave neither colour nor depth behind: the scene shows through the
    // holes of the pause menu, and later overlays still cover earlier ones.
    if (texel.a < 0.5 / 255.0)
        discard;
    fragColor = texel;
}
