#include "render/Light.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "assets/ShaderProgram.h"
#include "core/Console.h"
#include "core/GameState.h"

int lightTypes[maxLights] = {};
glm::vec3 lightPositions[maxLights] = {};
glm::vec3 lightDirections[maxLights] = {};
glm::vec3 lightPowers[maxLights] = {};
float lightCutoffs[maxLights] = {};
float lightExponents[maxLights] = {};
int lightCount = 0;

Light* lights[3] = {};
Light* flashlight = nullptr;
bool flashlightOn = true;

Light::Light(const glm::mat4& transform, int type) : Node(transform)
{
    program = mainProgram;
    if (lightCount >= maxLights) {
        // The shader's arrays have ten slots; an eleventh light would write past them.
        notice("Light refused: all %d light slots are taken", static_cast<int>(maxLights));
        this->type = type;
        return;
    }
    number = lightCount;
    ++lightCount;
    notice("LightNumber: %d", static_cast<int>(number));
    notice("LightCount: %d", static_cast<int>(lightCount));
    this->type = type;
    lightTypes[number] = type;
    notice("LightType: %d", static_cast<int>(type));
    lightPositions[number] = position;
    lightDirections[number] = direction;
    lightCutoffs[number] = cutoff;
    lightPowers[number] = power;
    lightExponents[number] = exponent;
}

void Light::setLightPosition(float x, float y, float z)
{
    position = glm::vec3(x, y, z);
    if (hasSlot())
        lightPositions[number] = position;
}

void Light::setLightDirection(float x, float y, float z)
{
    direction = glm::vec3(x, y, z);
    if (hasSlot())
        lightDirections[number] = direction;
}

void Light::setLightPower(float r, float g, float b)
{
    power = glm::vec3(r, g, b);
    if (hasSlot())
        lightPowers[number] = power;
}

void Light::setCutoff(float value)
{
    cutoff = value;
    if (hasSlot())
        lightCutoffs[number] = cutoff;
}

void uploadLights()
{
    if (!flashlight || !flashlight->program)
        return;
    uploadLights(flashlight->program->program);
}

void uploadLights(GLuint p)
{
    glUniform1i(glGetUniformLocation(p, "NUM_LIGHTS"), lightCount);
    glUniform1iv(glGetUniformLocation(p, "lightType"), maxLights, lightTypes);
    glUniform3fv(glGetUniformLocation(p, "lightPosition"), maxLights, &lightPositions[0].x);
    glUniform3fv(glGetUniformLocation(p, "lightDirection"), maxLights, &lightDirections[0].x);
    glUniform3fv(glGetUniformLocation(p, "lightPower"), maxLights, &lightPowers[0].x);
    glUniform1fv(glGetUniformLocation(p, "cutoff"), maxLights, lightCutoffs);
    glUniform1fv(glGetUniformLocation(p, "exponent"), maxLights, lightExponents);
}

void toggleFlashlight()
{
    if (!flashlight || flashlight->number < 0)
        return;
    if (flashlightOn) {
        lightTypes[flashlight->number] = -1;
        flashlightOn = false;
    } else {
        lightTypes[flashlight->number] = flashlight->type;
        flashlightOn = true;
    }
}

void updateFlashlight(const glm::vec3& eye, const glm::vec3& viewDirection, float dt)
{
    if (!flashlight)
        return;
    flashlight->setLightPosition(eye.x, static_cast<float>(static_cast<double>(eye.y) - 0.5), eye.z);
    // A long frame snaps the beam to the view; a short one moves it part of the way.
    float k = 1.0f - 6.0f * dt;
    if (k < 0.0f)
        k = 0.0f;
    glm::vec3 eased = k * flashlight->direction + (1.0f - k) * viewDirection;
    flashlight->setLightDirection(eased.x, eased.y, eased.z);
}

ShaderProgram* fixedLightPrograms[fixedLightVariants] = {};

namespace {

// The lights the fixed-light programs were linked for.
struct FixedLights {
    int count = -1;
    int flashlightSlot = -1;
    int types[maxLights];
    glm::vec3 positions[maxLights];
    glm::vec3 directions[maxLights];
    glm::vec3 powers[maxLights];
    float cutoffs[maxLights];
    float exponents[maxLights];
};
FixedLights fixedLights;

// The flashlight and shadow states of one half of the variants; each state's twin with the
// BRIGHTNESS curve lies this many places on.
constexpr int lightStates = brightenedWithShadows;

// A GLSL float literal that reads back as exactly this float.
std::string literal(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    std::string s(text);
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

std::string literal(const glm::vec3& v)
{
    return "vec3(" + literal(v.x) + ", " + literal(v.y) + ", " + literal(v.z) + ")";
}

bool finite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

int flashlightSlot()
{
    return flashlight ? flashlight->number : -1;
}

}  // namespace

std::string fixedLightDefinitions(FixedLightVariant variant)
{
    const int state = variant % lightStates;
    std::string terms;
    const int moving = flashlightSlot();
    for (int i = 0; i < lightCount && i < maxLights; ++i) {
        const bool flashlightSlot = i == moving;
        const int type = flashlightSlot ? (state == flashlightOff ? -1 : flashlight->type) : lightTypes[i];
        if (type < 0)
            continue;
        const std::string at = "[" + std::to_string(i) + "]";
        // The same arguments as the general program's loop passes for slot i.
        terms += " addLight(" + std::to_string(type) + ", " +
                 (flashlightSlot ? "lightPosition" + at : literal(lightPositions[i])) + ", " +
                 (flashlightSlot ? "lightDirection" + at : literal(lightDirections[i])) + ", " +
                 literal(lightPowers[i]) + ", " + literal(lightCutoffs[i]) + ", " + literal(lightExponents[i]) + ", " +
                 (i == 0 ? "shadow" : "1.0") + ", n, v, diffuse, specular);";
    }
    std::string definitions = "#define FIXED_LIGHTS" + terms + "\n";
    if (state == flashlightWithoutShadows)
        definitions += "#define NO_SHADOW_MAP\n";
    if (variant < lightStates)
        definitions += "#define NO_BRIGHTNESS_CURVE\n";
    return definitions;
}

void buildFixedLightPrograms()
{
    for (ShaderProgram*& variant : fixedLightPrograms) {
        delete variant;
        variant = nullptr;
    }
    FixedLights& f = fixedLights;
    f.count = lightCount;
    f.flashlightSlot = flashlightSlot();
    std::memcpy(f.types, lightTypes, sizeof f.types);
    std::memcpy(f.positions, lightPositions, sizeof f.positions);
    std::memcpy(f.directions, lightDirections, sizeof f.directions);
    std::memcpy(f.powers, lightPowers, sizeof f.powers);
    std::memcpy(f.cutoffs, lightCutoffs, sizeof f.cutoffs);
    std::memcpy(f.exponents, lightExponents, sizeof f.exponents);
    for (int i = 0; i < maxLights; ++i) {
        // A value the source cannot spell keeps the general program.
        if (!finite(lightPositions[i]) || !finite(lightDirections[i]) || !finite(lightPowers[i]) ||
            !std::isfinite(lightCutoffs[i]) || !std::isfinite(lightExponents[i]))
            return;
    }
    for (int v = 0; v < fixedLightVariants; ++v)
        fixedLightPrograms[v] = new ShaderProgram("Shader/test.vert", "Shader/test.frag",
                                                  fixedLightDefinitions(static_cast<FixedLightVariant>(v)));
}

ShaderProgram* fixedLightProgram(bool shadows)
{
    const FixedLights& f = fixedLights;
    const int moving = flashlightSlot();
    if (f.count != lightCount || f.flashlightSlot != moving)
        return nullptr;
    for (int i = 0; i < maxLights; ++i) {
        const bool fixedSlot = i != moving;
        if ((fixedSlot && (f.types[i] != lightTypes[i] || f.positions[i] != lightPositions[i] ||
                           f.directions[i] != lightDirections[i])) ||
            f.powers[i] != lightPowers[i] || f.cutoffs[i] != lightCutoffs[i] || f.exponents[i] != lightExponents[i])
            return nullptr;
    }
    const int brightened = brightnessPercent == 100 ? 0 : lightStates;
    if (moving < 0 || lightTypes[moving] < 0)
        return fixedLightPrograms[flashlightOff + brightened];
    if (lightTypes[moving] != flashlight->type)
        return nullptr;
    return fixedLightPrograms[(shadows ? flashlightWithShadows : flashlightWithoutShadows) + brightened];
}
