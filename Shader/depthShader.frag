#version 130
// Variance shadow map: the first two moments of the depth along the flashlight's axis.
//
// Encoding: depth z = distance / 100 (the shadow projection's far plane), so 0 <= z <= 1, and the
// texel holds (0.15 * z, 0.15 * z * z). The shadow pass clears every texel to (0.15, 0.15), which
// therefore decodes to z = 1 with z * z = 1: the far plane with zero variance. Texels that nothing
// was drawn into read as "nothing in front", never as an occluder, and since the encoding is a pure
// scale of the moments, linear filtering between written and unwritten texels stays a valid mix.
const float farPlane = 100.0;
const float clearValue = 0.15;

in float lightDistance;
out vec4 fragColor;

void main()
{
    float z = clamp(lightDistance / farPlane, 0.0, 1.0);
    // A surface's own slope within one texel widens its variance, which keeps it from shadowing itself.
    float dx = dFdx(z);
    float dy = dFdy(z);
    float secondMoment = z * z + 0.25 * (dx * dx + dy * dy);
    fragColor = vec4(clearValue * z, clearValue * secondMoment, 0.0, 1.0);
}
