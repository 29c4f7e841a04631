#pragma once
// Lights feed one set of uniform arrays of the main program: every light owns one slot, its
// setters write the light and its slot, and uploadLights sends all slots at once.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <string>

#include "scene/Node.h"

class ShaderProgram;

constexpr int maxLights = 10;

// Slot i belongs to the light whose number is i; unused slots stay zero.
extern int lightTypes[maxLights];
extern glm::vec3 lightPositions[maxLights];
extern glm::vec3 lightDirections[maxLights];
extern glm::vec3 lightPowers[maxLights];
extern float lightCutoffs[maxLights];
extern float lightExponents[maxLights];
extern int lightCount;

class Light : public Node {
public:
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f, -1.0f, 0.0f};
    glm::vec3 power{1.0f};
    float cutoff = 0.0f;
    float exponent = 0.15f;
    int type = 0;
    int number = -1;  // stays -1 for a light that found no free slot
    ShaderProgram* program = nullptr;

    Light(const glm::mat4& transform, int type);

    void setLightPosition(float x, float y, float z);
    void setLightDirection(float x, float y, float z);
    void setLightPower(float r, float g, float b);
    void setCutoff(float value);

private:
    bool hasSlot() const { return number >= 0; }
};

// The world's three lights, made by the world assembly (placeLights).
extern Light* lights[3];
// The light that follows the camera and casts the shadow; switched with F.
extern Light* flashlight;
extern bool flashlightOn;

// Sends every slot to the current program; the main program must be current. Reads the light
// arrays; writes only uniforms.
void uploadLights();
// The same into program, which must be current, at its own locations.
void uploadLights(unsigned int program);

// The main program linked again for the lights as the world placed them, one for each state of the
// flashlight and the shadows: every light but the flashlight's position and direction is written
// into the source, so the fragment shader folds it. The first three leave out the BRIGHTNESS curve,
// which the software renderer would otherwise work out for every fragment even at 100; the other
// three have it. Null until built.
enum FixedLightVariant {
    flashlightWithShadows,
    flashlightWithoutShadows,
    flashlightOff,
    brightenedWithShadows,
    brightenedWithoutShadows,
    brightenedFlashlightOff,
    fixedLightVariants
};
extern ShaderProgram* fixedLightPrograms[fixedLightVariants];
// The definitions that link the main program's fragment source for the lights in the arrays now.
std::string fixedLightDefinitions(FixedLightVariant variant);
// Takes the lights as they are now as the fixed ones and links the variants (once the world
// assembly has placed the lights); built again, it replaces them.
void buildFixedLightPrograms();
// The variant for the flashlight's state, the shadows and the brightness, or null once any light but the flashlight's
// position, direction and switch differs from the fixed ones: the main program draws those.
ShaderProgram* fixedLightProgram(bool shadows);
void toggleFlashlight();
// Puts the flashlight just below the eye and eases it towards the view direction. Writes the
// flashlight and its slot; the lit pass uploads them.
void updateFlashlight(const glm::vec3& eye, const glm::vec3& viewDirection, float dt);
