#version 130
// Per-pixel lighting of the hall: cone lights with a soft edge, a dim fill light, the diffuse
// texture tinted by the material colour, tangent-space normal maps, and the flashlight's shadow
// from the variance shadow map written by the depth program (see depthShader.frag for its encoding).
//
// A software renderer runs both sides of every branch over a whole block of pixels, so early-outs
// save it nothing: what counts is the straight-line work. The shadow map is therefore read once,
// before the light loop rather than inside it, and the per-light work keeps to products and
// inverse square roots (no pow, no length followed by a division).
//
// The game links this source six more times once the world is built, for the lights it placed (see
// buildFixedLightPrograms in render/Light.cpp): FIXED_LIGHTS then spells out every light's term with
// its values written in, only the flashlight's position and direction still read from the uniforms,
// so the compiler folds what the general program looks up per fragment; NO_SHADOW_MAP leaves the
// shadow lookup out while shadows are off, and NO_BRIGHTNESS_CURVE the curve below, whose pow costs
// every fragment as much as a light even when its branch is not taken.
uniform sampler2D myTextureSampler;
uniform sampler2D normalMap;
uniform sampler2D shadowMap;
uniform mat4 lightProj;

// BRIGHTNESS / 100: the curve 1 - (1 - c)^b lifts dark colours about b times and never clips.
// 1 leaves every colour as it is; so does 0, the value of a program that never set it.
uniform float sceneBrightness;

uniform int NUM_LIGHTS;
uniform int lightType[10];
uniform vec3 lightPosition[10];
uniform vec3 lightDirection[10];
uniform vec3 lightPower[10];
uniform float cutoff[10];
uniform float exponent[10];

in vec3 worldPosition;
in vec3 worldNormal;
in vec3 worldTangent;
in vec3 vertexColor;
in vec2 texCoord;
in vec4 shadowClip;
in float shadowDistance;
in vec3 toEye;

out vec4 fragColor;

const float shadowFarPlane = 100.0;
const float shadowClearValue = 0.15;
// Floor of the depth variance, (0.02 units)^2 in the shadow map's depth measure: hides the float
// noise of lit surfaces without letting light leak under objects standing on the floor.
const float minimumVariance = 4.0e-8;
// Cuts off the faint tails of the Chebyshev bound where two occluders overlap.
const float lightBleedReduction = 0.3;
// Brightness scale before the light is compressed: the flashlight's 0.6 still lights what it hits
// 20 units away, while the fixed light's 7 at 3 units makes a bright pool without clipping.
const float exposure = 9.0;
const float fillStrength = 0.05;
const float sheenStrength = 0.04;

// 1 where the flashlight reaches the fragment, falling to 0 in its shadow.
float flashlightVisibility()
{
#ifdef NO_SHADOW_MAP
    return 1.0;
#endif
    // With shadows off the shadow matrices arrive as the identity; a perspective matrix never has
    // a 1 in its last element. The shadow map and "dVP" are stale then and must not be used.
    if (lightProj[3][3] == 1.0)
        return 1.0;
    if (shadowClip.w <= 0.0)
        return 1.0;
    vec2 st = shadowClip.xy / shadowClip.w * 0.5 + 0.5;
    if (st.x < 0.0 || st.x > 1.0 || st.y < 0.0 || st.y > 1.0)
        return 1.0;
    // One level only, and this runs under a branch: no implicit derivatives needed.
    vec2 moments = textureLod(shadowMap, st, 0.0).xy * (1.0 / shadowClearValue);
    float depth = clamp(shadowDistance * (1.0 / shadowFarPlane), 0.0, 1.0);
    float variance = max(moments.y - moments.x * moments.x, minimumVariance);
    // In front of the stored depth the bound is 1: fully lit.
    float gap = max(depth - moments.x, 0.0);
    float upperBound = variance / (variance + gap * gap);
    return clamp((upperBound - lightBleedReduction) * (1.0 / (1.0 - lightBleedReduction)), 0.0, 1.0);
}

// The surface normal, bent by the normal map where one is bound. A mesh without a normal map
// leaves the sampler on whatever unit it last named, which then holds either no texture (black)
// or a colour picture; neither decodes to a plausible outward unit vector, so both are ignored.
vec3 surfaceNormal()
{
    vec3 n = normalize(worldNormal);
    vec3 t = worldTangent - n * dot(n, worldTangent);
    float tangentLength2 = dot(t, t);
    vec3 mapped = texture(normalMap, texCoord).rgb * 2.0 - 1.0;
    float mappedLength2 = dot(mapped, mapped);
    if (tangentLength2 < 1.0e-8 || mappedLength2 < 0.64 || mappedLength2 > 1.44 || mapped.z < 0.3)
        return n;
    t *= inversesqrt(tangentLength2);
    // The final normalisation makes dividing the mapped vector by its length unnecessary.
    return normalize(mapped.x * t + mapped.y * cross(n, t) + mapped.z * n);
}

// Diffuse colour. A mesh without a texture samples an empty unit, which reads as opaque black;
// its material colour stands alone then.
vec3 albedo()
{
    vec4 texel = texture(myTextureSampler, texCoord);
    if (texel == vec4(0.0, 0.0, 0.0, 1.0))
        return vertexColor;
    bool untinted = max(vertexColor.r, max(vertexColor.g, vertexColor.b)) <= 0.0;
    return untinted ? texel.rgb : texel.rgb * vertexColor;
}

// Adds one light's share to the diffuse and specular sums: type 0 a fill light without a cone,
// type 1 a cone light, dimmed by shadow; a negative type is switched off.
void addLight(int type, vec3 position, vec3 axis, vec3 power, float cutoff, float exponent, float shadow,
              vec3 n, vec3 v, inout vec3 diffuse, inout vec3 specular)
{
    if (type < 0)
        return;
    vec3 toLight = position - worldPosition;
    float distance2 = max(dot(toLight, toLight), 1.0e-8);
    vec3 l = toLight * inversesqrt(distance2);
    float facing = max(dot(n, l), 0.0);
    if (type == 0) {
        // A dim light without a cone fills the whole hall softly, a little stronger on faces towards it.
        diffuse += power * fillStrength * (0.6 + 0.4 * facing);
        return;
    }
    float axisLength2 = dot(axis, axis);
    if (axisLength2 < 1.0e-12)
        return;
    float outer = cos(radians(cutoff));
    float inner = max(cos(radians(cutoff * (1.0 - exponent))), outer + 1.0e-4);
    float cone = smoothstep(outer, inner, -dot(l, axis) * inversesqrt(axisLength2));
    float reach = cone / (1.0 + 0.02 * distance2) * shadow;
    diffuse += power * (reach * facing);
    // Blinn-Phong sheen with exponent 32, by squaring five times.
    float h = max(dot(n, normalize(l + v)), 0.0);
    h *= h;
    h *= h;
    h *= h;
    h *= h;
    h *= h;
    specular += power * (reach * sheenStrength * h * step(0.0, dot(n, l)));
}

void main()
{
    vec3 n = surfaceNormal();
    vec3 v = normalize(toEye);
    float shadow = flashlightVisibility();

    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
#ifdef FIXED_LIGHTS
    FIXED_LIGHTS
#else
    for (int i = 0; i < 10; ++i) {
        if (i >= NUM_LIGHTS)
            break;
        // Only the first light, the flashlight, casts a shadow.
        addLight(lightType[i], lightPosition[i], lightDirection[i], lightPower[i], cutoff[i], exponent[i],
                 i == 0 ? shadow : 1.0, n, v, diffuse, specular);
    }
#endif

    // The light is compressed before it meets the surface: a bright pool shows the surface's own
    // colour and texture at full strength instead of washing out to white. The sheen is laid over
    // it as a screen, which brightens without ever clipping.
    vec3 light = diffuse * exposure;
    vec3 shine = specular * exposure;
    vec3 surface = albedo() * light / (1.0 + light);
    vec3 sheen = shine / (1.0 + shine);
    vec3 colour = surface + sheen * (1.0 - surface);
#ifndef NO_BRIGHTNESS_CURVE
    if (sceneBrightness > 0.0 && sceneBrightness != 1.0)
        colour = 1.0 - pow(clamp(1.0 - colour, 0.0, 1.0), vec3(sceneBrightness));
#endif
    fragColor = vec4(colour, 1.0);
}
