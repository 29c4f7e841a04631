// The game's shader sources on the oldest context the game may get (the failure messages are
// checked on the real binary by the damage scripts).
#include "assets/ShaderProgram.h"

#include <cstdlib>

#include "GameHarness.h"

namespace {

void expectNames(const char* vertex, const char* fragment, std::initializer_list<const char*> uniforms,
                 std::initializer_list<const char*> attributes)
{
    ShaderProgram shader(vertex, fragment);
    for (const char* name : uniforms)
        EXPECT_NE(glGetUniformLocation(shader.program, name), -1) << vertex << ": uniform " << name;
    for (const char* name : attributes)
        EXPECT_NE(glGetAttribLocation(shader.program, name), -1) << vertex << ": attribute " << name;
    EXPECT_EQ(glGetFragDataLocation(shader.program, "fragColor"), 0);
}

}  // namespace

class ShaderProgramsOnOpenGl30 : public GameTest {
protected:
    void SetUp() override
    {
        setenv("MESA_GL_VERSION_OVERRIDE", "3.0", 1);
        setenv("MESA_GLSL_VERSION_OVERRIDE", "130", 1);
        GameTest::SetUp();
    }
};

TEST_F(ShaderProgramsOnOpenGl30, GameSourcesBuildAndExposeEveryNameTheGameLooksUp)
{
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    ASSERT_EQ(major * 10 + minor, 30);
    expectNames("Shader/test.vert", "Shader/test.frag",
                {"modelMatrix", "viewMatrix", "projectionMatrix", "myTextureSampler", "normalMap", "shadowMap", "dVP",
                 "dV", "lightProj", "NUM_LIGHTS", "lightType[9]", "lightPosition[9]", "lightDirection[9]",
                 "lightPower[9]", "cutoff[9]", "exponent[9]"},
                {"position", "normal", "tangent", "color", "uv"});
    expectNames("Shader/depthShader.vert", "Shader/depthShader.frag", {"dVP", "dV", "modelMatrix"}, {"position"});
    expectNames("Shader/TextShader.vert", "Shader/TextShader.frag", {"myTextureSampler"}, {"position", "uv"});
}
