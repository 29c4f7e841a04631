#include "render/Light.h"

#include <GL/glew.h>

#include "assets/ShaderProgram.h"
#include "core/Console.h"

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
    GLuint p = flashlight->program->program;
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
