#version 130
// One texture fetch per fragment, no light and no shadow: what drawing the pixels costs.
uniform sampler2D myTextureSampler;

in vec2 texCoord;

out vec4 fragColor;

void main()
{
    fragColor = texture(myTextureSampler, texCoord);
}
