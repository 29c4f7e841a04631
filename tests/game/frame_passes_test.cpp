#include "WorldHarness.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/KeyboardCommands.h"
#include "assets/ShaderProgram.h"
#include "render/FramePasses.h"
#include "render/Hud.h"
#include "render/Light.h"

namespace {

glm::mat4 uniformMatrix(GLuint program, const char* name)
{
    glm::mat4 m(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), glm::value_ptr(m));
    return m;
}

std::vector<float> shadowTexels()
{
    std::vector<float> texels(static_cast<size_t>(shadowMapSize) * shadowMapSize * 2);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RG, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

void markShadowTexels(float value)
{
    std::vector<float> texels(static_cast<size_t>(shadowMapSize) * shadowMapSize * 2, value);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, shadowMapSize, shadowMapSize, GL_RG, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

double brightness(const std::vector<unsigned char>& pixels, size_t i)
{
    return (pixels[i * 3] + pixels[i * 3 + 1] + pixels[i * 3 + 2]) / 3.0;
}

}  // namespace

using FramePasses = WorldTest;

TEST_F(FramePasses, WithShadowsOffTheShadowPassDoesNotRunAndLightMatricesAreIdentity)
{
    play();
    frames(5);
    const GLuint program = mainProgram->program;
    EXPECT_NE(uniformMatrix(program, "dV"), glm::mat4(1.0f)) << "with shadows the light's view is sent";
    EXPECT_NE(uniformMatrix(program, "lightProj"), glm::mat4(1.0f));

    input.tap(GLFW_KEY_F6);
    frame();
    ASSERT_FALSE(shadowsEnabled);
    markShadowTexels(42.0f);
    frames(3);
    EXPECT_EQ(uniformMatrix(program, "dV"), glm::mat4(1.0f));
    EXPECT_EQ(uniformMatrix(program, "lightProj"), glm::mat4(1.0f));
    EXPECT_NE(uniformMatrix(program, "dVP"), glm::mat4(1.0f)) << "the last light projection is kept";
    const std::vector<float> untouched = shadowTexels();
    EXPECT_EQ(untouched.front(), 42.0f) << "the shadow pass did not run";
    EXPECT_EQ(untouched[untouched.size() / 2], 42.0f);

    input.tap(GLFW_KEY_F6);
    frames(2);
    EXPECT_TRUE(shadowsEnabled);
    EXPECT_NE(shadowTexels().front(), 42.0f) << "the shadow pass runs again";
}

TEST_F(FramePasses, ShadowPassFillsTheWholeSquareTargetAndTheLitPassTheWindow)
{
    play();
    // Face the side wall from close by: the flashlight's cone sees nothing but wall.
    teleport(-10.0f, 1.0f, 5.0f);
    turn(1.5707963f);
    frames(20);
    std::vector<float> texels = shadowTexels();
    const float cleared = 0.15f;
    size_t unwritten = 0;
    for (size_t i = 0; i < texels.size(); i += 2)
        unwritten += texels[i] == cleared;
    EXPECT_EQ(unwritten, 0u) << "every texel of the 1024 x 1024 target was drawn, not just a window-sized part";

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], framebufferWidth);
    EXPECT_EQ(viewport[3], framebufferHeight);

    setResolution(1280, 720);
    frames(3);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 720);
}

TEST_F(FramePasses, TheFlashlightCastsShadowsOfWhatStandsInItsCone)
{
    play();
    // The harvester stands on the vehicle box ahead; the wall with the first door is behind it.
    frames(90);
    screenshot("shadow_on");
    int width = 0, height = 0;
    const std::vector<unsigned char> withShadows = readScreen(width, height);

    input.tap(GLFW_KEY_F6);
    frames(3);
    screenshot("shadow_off");
    const std::vector<unsigned char> without = readScreen(width, height);

    size_t darker = 0, brighter = 0;
    for (size_t i = 0; i < withShadows.size() / 3; ++i) {
        const double difference = brightness(withShadows, i) - brightness(without, i);
        darker += difference < -12.0;
        brighter += difference > 12.0;
    }
    const size_t pixels = withShadows.size() / 3;
    // The flashlight sits just below the eye, so most of a shadow hides behind its caster: only a
    // rim shows, which is what is counted here.
    EXPECT_GT(darker, pixels / 1000) << "shadows darken part of the view";
    EXPECT_LT(brighter, pixels / 1000) << "shadows never brighten anything";
}
