#version 130
uniform sampler2D myTextureSampler;
// Scales the picture's alpha, for a fading caption; 1 draws it as it is.
uniform float alpha;

in vec2 texCoord;
out vec4 fragColor;

void main()
{
    // DDS pictures keep the default repeat wrap; staying half a texel inside the picture keeps
    // the filter from blending one edge with the opposite one.
    vec2 halfTexel = 0.5 / vec2(max(textureSize(myTextureSampler, 0), ivec2(1)));
    vec4 texel = texture(myTextureSampler, clamp(texCoord, halfTexel, 1.0 - halfTexel));
    // Fully transparent texels leave neither colour nor depth behind: the scene shows through the
    // holes of the pause menu, and later overlays still cover earlier ones.
    if (texel.a < 0.5 / 255.0)
        discard;
    fragColor = vec4(texel.rgb, texel.a * alpha);
}
