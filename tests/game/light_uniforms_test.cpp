// What the main program really receives: every light's slot as the world places it, the light
// matrices the shadow pass used, and a paused frame that leaves camera and flashlight alone.
#include "WorldHarness.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "app/KeyboardCommands.h"
#include "assets/ShaderProgram.h"
#include "render/Light.h"

namespace {

glm::vec4 uniform(const std::string& name)
{
    const GLuint program = mainProgram->program;
    glm::vec4 v(0.0f);
    const GLint location = glGetUniformLocation(program, name.c_str());
    EXPECT_GE(location, 0) << name;
    glGetUniformfv(program, location, glm::value_ptr(v));
    return v;
}

int uniformInt(const std::string& name)
{
    GLint value = 99;
    glGetUniformiv(mainProgram->program, glGetUniformLocation(mainProgram->program, name.c_str()), &value);
    return value;
}

glm::mat4 uniformMatrix(const char* name)
{
    glm::mat4 m(0.0f);
    glGetUniformfv(mainProgram->program, glGetUniformLocation(mainProgram->program, name), glm::value_ptr(m));
    return m;
}

void expectNear(const glm::mat4& a, const glm::mat4& b, const char* what)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a[i][j], b[i][j], 1e-4f) << what << " [" << i << "][" << j << "]";
}

}  // namespace

using LightUniforms = WorldTest;

TEST_F(LightUniforms, EverySlotReachesTheShaderAsTheWorldPlacesIt)
{
    play();
    frames(90);  // at rest, the flashlight has caught up with the view
    const glm::vec3 body = playerPosition();
    const struct {
        int type;
        glm::vec3 position, direction, power;
        float cutoff, exponent;
    } slots[] = {
        // The flashlight half a unit below the eye, looking along the view (+z at the start).
        {1, body + glm::vec3(0.0f, eyeHeight - 0.5f, 0.0f), {0, 0, 1}, glm::vec3(0.6f), 30.0f, 0.15f},
        {0, {0, 0, 0}, {0, -1, 0}, glm::vec3(0.3f), 0.0f, 0.15f},
        {1, {-2, 3, 1}, {0, -0.7f, 0.1f}, glm::vec3(7.0f), 30.0f, 0.15f},
    };
    EXPECT_EQ(uniformInt("NUM_LIGHTS"), 3);
    for (int i = 0; i < maxLights; ++i) {
        const std::string at = "[" + std::to_string(i) + "]";
        const bool placed = i < 3;
        EXPECT_EQ(uniformInt("lightType" + at), placed ? slots[i].type : 0) << i;
        const glm::vec3 expected[3] = {placed ? slots[i].position : glm::vec3(0.0f),
                                       placed ? slots[i].direction : glm::vec3(0.0f),
                                       placed ? slots[i].power : glm::vec3(0.0f)};
        const char* names[3] = {"lightPosition", "lightDirection", "lightPower"};
        for (int k = 0; k < 3; ++k) {
            const glm::vec4 got = uniform(names[k] + at);
            EXPECT_NEAR(glm::length(glm::vec3(got) - expected[k]), 0.0f, 1e-3f) << names[k] << at;
        }
        EXPECT_FLOAT_EQ(uniform("cutoff" + at).x, placed ? slots[i].cutoff : 0.0f) << i;
        EXPECT_FLOAT_EQ(uniform("exponent" + at).x, placed ? slots[i].exponent : 0.0f) << i;
    }
}

TEST_F(LightUniforms, TheLitPassGetsTheFlashlightMatricesOfTheShadowPass)
{
    play();
    frames(90);
    const glm::vec3 p = flashlight->position, d = flashlight->direction;
    expectNear(uniformMatrix("lightProj"), glm::perspective(glm::radians(60.0f), 1.0f, 0.01f, 100.0f), "lightProj");
    expectNear(uniformMatrix("dV"), glm::lookAt(p, p + d, glm::vec3(0.0f, 1.0f, 0.0f)), "dV");
    expectNear(uniformMatrix("projectionMatrix"), glm::perspective(glm::radians(60.0f), 4.0f / 3.0f, 0.1f, 100.0f),
               "projectionMatrix");
    expectNear(uniformMatrix("viewMatrix"), viewMatrix, "viewMatrix");
}

TEST_F(LightUniforms, APausedFrameLeavesCameraAndFlashlightAlone)
{
    play();
    frames(10);
    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_TRUE(paused);
    const glm::mat4 view = viewMatrix, projection = projectionMatrix;
    const glm::vec3 position = flashlight->position, direction = flashlight->direction;
    turn(0.5f, 0.2f);
    input.press(GLFW_KEY_W);
    frames(20);
    EXPECT_EQ(viewMatrix, view);
    EXPECT_EQ(projectionMatrix, projection);
    EXPECT_EQ(flashlight->position, position);
    EXPECT_EQ(flashlight->direction, direction);
}
