// Shader programs built by the real driver: the game's six sources, and every failure course with
// its console text and exit status. The failures run as death tests in a child that makes its
// own window; its standard output is sent to standard error so the test can read it.
#include "assets/ShaderProgram.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gmock/gmock.h>

#include "TempDir.h"
#include "GameHarness.h"

using testing::AllOf;
using testing::HasSubstr;
using testing::Not;

namespace {

const char* goodVertex = "#version 130\nin vec3 position;\nvoid main() { gl_Position = vec4(position, 1.0); }\n";
const char* goodFragment = "#version 130\nout vec4 fragColor;\nvoid main() { fragColor = vec4(1.0); }\n";
const char* brokenSource = "#version 130\nvoid main() { this is not glsl }\n";

// The console of a dying child, readable by the death test; the console wait finds no input.
void consoleToStderr()
{
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!std::freopen("/dev/null", "r", stdin))
        std::abort();
}

void build(const char* vertexPath, const char* fragmentPath)
{
    consoleToStderr();
    new ShaderProgram(vertexPath, fragmentPath);
    std::exit(0);
}

void expectNames(GLuint program, std::initializer_list<const char*> uniforms,
                 std::initializer_list<const char*> attributes)
{
    for (const char* name : uniforms)
        EXPECT_NE(glGetUniformLocation(program, name), -1) << "uniform " << name;
    for (const char* name : attributes)
        EXPECT_NE(glGetAttribLocation(program, name), -1) << "attribute " << name;
    EXPECT_EQ(glGetFragDataLocation(program, "fragColor"), 0);
}

void expectGameProgramsBuild()
{
    ShaderProgram mainProgram("Shader/test.vert", "Shader/test.frag");
    expectNames(mainProgram.program,
                {"modelMatrix", "viewMatrix", "projectionMatrix", "myTextureSampler", "normalMap", "shadowMap",
                 "dVP", "dV", "lightProj", "NUM_LIGHTS", "lightType", "lightPosition", "lightDirection",
                 "lightPower", "cutoff", "exponent", "lightType[9]", "lightPosition[9]", "lightDirection[9]",
                 "lightPower[9]", "cutoff[9]", "exponent[9]"},
                {"position", "normal", "tangent", "color", "uv"});

    ShaderProgram depthProgram("Shader/depthShader.vert", "Shader/depthShader.frag");
    expectNames(depthProgram.program, {"dVP", "dV", "modelMatrix"}, {"position"});

    ShaderProgram textProgram("Shader/TextShader.vert", "Shader/TextShader.frag");
    expectNames(textProgram.program, {"myTextureSampler"}, {});
    EXPECT_EQ(glGetAttribLocation(textProgram.program, "position"), 0);
    EXPECT_EQ(glGetAttribLocation(textProgram.program, "uv"), 1);
}

}  // namespace

class ShaderPrograms : public GameTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GameTest::SetUp();
    }
};

TEST_F(ShaderPrograms, GameSourcesBuildAndExposeEveryNameTheGameLooksUp)
{
    expectGameProgramsBuild();
}

TEST_F(ShaderPrograms, ReleaseDeletesTheProgramAndBothShaders)
{
    auto* program = new ShaderProgram("Shader/depthShader.vert", "Shader/depthShader.frag");
    GLuint names[3] = {program->program, program->vertexShader, program->fragmentShader};
    EXPECT_TRUE(glIsProgram(names[0]));
    GLint attached = 0;
    glGetProgramiv(names[0], GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 2) << "both shaders stay attached after linking";
    delete program;
    EXPECT_FALSE(glIsProgram(names[0]));
    EXPECT_FALSE(glIsShader(names[1]));
    EXPECT_FALSE(glIsShader(names[2]));
}

TEST_F(ShaderPrograms, MissingSourcesStopTheGameWithTheOpenMessage)
{
    TempDir dir;
    dir.write("good.vert", goodVertex);
    dir.write("good.frag", goodFragment);
    EXPECT_EXIT(build("missing.vert", "missing.frag"), testing::ExitedWithCode(255),
                AllOf(HasSubstr("Failed to open shader file: missing.vert\nPress Enter"),
                      Not(HasSubstr("missing.frag"))));
    EXPECT_EXIT(build("good.vert", "missing.frag"), testing::ExitedWithCode(255),
                HasSubstr("Failed to open shader file: missing.frag\nPress Enter"));
    EXPECT_EXIT(build("good.vert", "."), testing::ExitedWithCode(255),
                HasSubstr("Failed to open shader file: .\nPress Enter"))
        << "a folder opens as a stream but cannot be read";
}

TEST_F(ShaderPrograms, CompileFailuresNameTheFirstBrokenSourceAndPrintTheLog)
{
    TempDir dir;
    dir.write("good.vert", goodVertex);
    dir.write("good.frag", goodFragment);
    dir.write("broken.vert", brokenSource);
    dir.write("broken.frag", brokenSource);
    dir.write("empty.frag", "");
    // The log follows on the next line: Mesa's logs name the source line and the error.
    EXPECT_EXIT(build("broken.vert", "broken.frag"), testing::ExitedWithCode(255),
                AllOf(testing::ContainsRegex("Failed to compile shaderbroken\\.vert\n.*error"),
                      Not(HasSubstr("broken.frag")), HasSubstr("Press Enter")));
    EXPECT_EXIT(build("good.vert", "broken.frag"), testing::ExitedWithCode(255),
                testing::ContainsRegex("Failed to compile shaderbroken\\.frag\n.*error"));
    EXPECT_EXIT(build("good.vert", "empty.frag"), testing::ExitedWithCode(255),
                HasSubstr("Failed to compile shaderempty.frag\n"));
}

TEST_F(ShaderPrograms, LinkFailurePrintsTheProgramLog)
{
    TempDir dir;
    dir.write("vec3.vert", "#version 130\nin vec3 position;\nout vec3 shade;\n"
                           "void main() { shade = position; gl_Position = vec4(position, 1.0); }\n");
    dir.write("vec2.frag", "#version 130\nin vec2 shade;\nout vec4 fragColor;\n"
                           "void main() { fragColor = vec4(shade, 0.0, 1.0); }\n");
    EXPECT_EXIT(build("vec3.vert", "vec2.frag"), testing::ExitedWithCode(255),
                AllOf(testing::ContainsRegex("Failed to link shader program\n.*shade"), HasSubstr("Press Enter")));
}

// The game asks for no particular context; its sources must also build on the oldest one it can get.
class ShaderProgramsOnOpenGl30 : public GameTest {
protected:
    void SetUp() override
    {
        setenv("MESA_GL_VERSION_OVERRIDE", "3.0", 1);
        setenv("MESA_GLSL_VERSION_OVERRIDE", "130", 1);
        GameTest::SetUp();
    }
};

TEST_F(ShaderProgramsOnOpenGl30, GameSourcesBuildAndExposeEveryName)
{
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    ASSERT_EQ(major * 10 + minor, 30);
    expectGameProgramsBuild();
}
