// The main and depth programs on a small stage: a crate-sized box on a floor, lit by the
// flashlight and the fixed cone light as the game sets them up, with the variance shadow map made
// as the shadow pass makes it (1024 x 1024 RG32F, cleared to 0.15). Checks what a player sees:
// the box's shadow is dark right up to its base, lit floor is not speckled by its own shadow, and
// the flashlight still reaches 20 units while the fixed light's pool is bright but not clipped.
#include "assets/ShaderProgram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "GameHarness.h"
#include "render/FramePasses.h"

namespace {

struct StageVertex {
    glm::vec3 position, normal, tangent, color;
    glm::vec2 uv;
};
static_assert(sizeof(StageVertex) == 56, "the game's vertex layout");

struct Light {
    int type;
    glm::vec3 position, direction, power;
};

constexpr int windowWidth = 800;
constexpr int windowHeight = 600;


void addQuad(std::vector<StageVertex>& out, glm::vec3 corner, glm::vec3 edgeU, glm::vec3 edgeV, glm::vec3 color)
{
    glm::vec3 normal = glm::normalize(glm::cross(edgeU, edgeV));
    glm::vec3 tangent = glm::normalize(edgeU);
    glm::vec3 p[4] = {corner, corner + edgeU, corner + edgeU + edgeV, corner + edgeV};
    glm::vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i : {0, 1, 2, 0, 2, 3})
        out.push_back({p[i], normal, tangent, color, uv[i]});
}

// A floor from z = -30 to 10, a wall facing the camera at z = -20, and a unit box standing on the floor.
std::vector<StageVertex> stage()
{
    std::vector<StageVertex> v;
    const glm::vec3 grey(0.8f);
    addQuad(v, {-10, 0, 10}, {20, 0, 0}, {0, 0, -40}, grey);
    addQuad(v, {-10, 0, -20}, {20, 0, 0}, {0, 10, 0}, grey);
    const glm::vec3 lo(-0.5f, 0.0f, -0.5f);
    addQuad(v, lo + glm::vec3(0, 1, 1), {1, 0, 0}, {0, 0, -1}, grey);  // top
    addQuad(v, lo + glm::vec3(0, 0, 1), {1, 0, 0}, {0, 1, 0}, grey);   // front
    addQuad(v, lo + glm::vec3(1, 0, 0), {-1, 0, 0}, {0, 1, 0}, grey);  // back
    addQuad(v, lo, {0, 0, 1}, {0, 1, 0}, grey);                        // left
    addQuad(v, lo + glm::vec3(1, 0, 1), {0, 0, -1}, {0, 1, 0}, grey);  // right
    return v;
}

class Stage {
public:
    Stage()
        : mainProgram("Shader/test.vert", "Shader/test.frag"),
          depthProgram("Shader/depthShader.vert", "Shader/depthShader.frag"),
          vertices(stage())
    {
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, vertices.size() * sizeof(StageVertex), vertices.data(), GL_STATIC_DRAW);

        // The game's own shadow target.
        createShadowTarget();
        glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    // One frame as the game renders it; returns the window's pixels, bottom row first.
    std::vector<unsigned char> render(const std::vector<Light>& lights, bool shadows)
    {
        glm::mat4 lightView(1.0f), lightProjection(1.0f), lightViewProjection(1.0f);
        glClearColor(0.15f, 0.15f, 0.15f, 0.15f);
        if (shadows) {
            glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
            glViewport(0, 0, shadowMapSize, shadowMapSize);
            lightProjection = glm::perspective(glm::radians(60.0f), 1.0f, 0.01f, 100.0f);
            lightView = glm::lookAt(lights[0].position, lights[0].position + lights[0].direction, {0, 1, 0});
            lightViewProjection = lightProjection * lightView;
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glUseProgram(depthProgram.program);
            setMatrix(depthProgram.program, "dVP", lightViewProjection);
            setMatrix(depthProgram.program, "dV", lightView);
            draw(depthProgram.program);
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        }
        glViewport(0, 0, windowWidth, windowHeight);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GLuint p = mainProgram.program;
        glUseProgram(p);
        if (shadows) {
            glActiveTexture(GL_TEXTURE10);
            glBindTexture(GL_TEXTURE_2D, shadowTexture);
            glUniform1i(glGetUniformLocation(p, "shadowMap"), 10);
            setMatrix(p, "dVP", lightViewProjection);
        }
        setMatrix(p, "dV", lightView);
        setMatrix(p, "lightProj", lightProjection);
        setMatrix(p, "projectionMatrix", projection);
        setMatrix(p, "viewMatrix", view);
        // No textures are bound: the stage's surfaces show their material colour.
        glUniform1i(glGetUniformLocation(p, "myTextureSampler"), 0);
        glUniform1i(glGetUniformLocation(p, "normalMap"), 1);
        uploadLights(p, lights);
        draw(p);
        std::vector<unsigned char> pixels(windowWidth * windowHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Brightness (0-255, mean of the channels) where a world point lands on the window.
    static int brightness(const std::vector<unsigned char>& pixels, glm::vec3 world)
    {
        glm::vec4 clip = projection * view * glm::vec4(world, 1.0f);
        int x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * windowWidth);
        int y = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * windowHeight);
        EXPECT_TRUE(x >= 0 && x < windowWidth && y >= 0 && y < windowHeight)
            << "point off screen: " << world.x << " " << world.y << " " << world.z;
        x = std::clamp(x, 0, windowWidth - 1);
        y = std::clamp(y, 0, windowHeight - 1);
        const unsigned char* p = &pixels[(static_cast<size_t>(y) * windowWidth + x) * 3];
        return (p[0] + p[1] + p[2]) / 3;
    }

    // For a look at the stage: VELLMAR_STAGE_SHOTS=folder writes the frames there as PPM files.
    static void keep(const std::vector<unsigned char>& pixels, const std::string& name)
    {
        const char* folder = std::getenv("VELLMAR_STAGE_SHOTS");
        if (!folder)
            return;
        std::FILE* f = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
        if (!f)
            return;
        std::fprintf(f, "P6 %d %d 255\n", windowWidth, windowHeight);
        for (int row = windowHeight - 1; row >= 0; --row)
            std::fwrite(&pixels[static_cast<size_t>(row) * windowWidth * 3], 1, windowWidth * 3, f);
        std::fclose(f);
    }

    bool complete = false;
    static inline glm::mat4 projection = cameraProjection();
    static inline glm::mat4 view = glm::lookAt(glm::vec3(0, 2.5f, 4), glm::vec3(0, 0.5f, -2), glm::vec3(0, 1, 0));

private:
    static void setMatrix(GLuint program, const char* name, const glm::mat4& m)
    {
        glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(m));
    }

    static void uploadLights(GLuint p, const std::vector<Light>& lights)
    {
        int types[10] = {};
        float positions[30] = {}, directions[30] = {}, powers[30] = {}, cutoffs[10] = {}, exponents[10] = {};
        for (size_t i = 0; i < lights.size(); ++i) {
            types[i] = lights[i].type;
            for (int c = 0; c < 3; ++c) {
                positions[i * 3 + c] = lights[i].position[c];
                directions[i * 3 + c] = lights[i].direction[c];
                powers[i * 3 + c] = lights[i].power[c];
            }
            cutoffs[i] = lights[i].type == 1 ? 30.0f : 0.0f;
            exponents[i] = 0.15f;
        }
        glUniform1i(glGetUniformLocation(p, "NUM_LIGHTS"), static_cast<int>(lights.size()));
        glUniform1iv(glGetUniformLocation(p, "lightType"), 10, types);
        glUniform3fv(glGetUniformLocation(p, "lightPosition"), 10, positions);
        glUniform3fv(glGetUniformLocation(p, "lightDirection"), 10, directions);
        glUniform3fv(glGetUniformLocation(p, "lightPower"), 10, powers);
        glUniform1fv(glGetUniformLocation(p, "cutoff"), 10, cutoffs);
        glUniform1fv(glGetUniformLocation(p, "exponent"), 10, exponents);
    }

    void draw(GLuint program)
    {
        glUniformMatrix4fv(glGetUniformLocation(program, "modelMatrix"), 1, GL_FALSE, glm::value_ptr(glm::mat4(1.0f)));
        glBindVertexArray(vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        const char* names[5] = {"position", "normal", "tangent", "color", "uv"};
        const int sizes[5] = {3, 3, 3, 3, 2};
        std::vector<GLint> enabled;
        for (int i = 0; i < 5; ++i) {
            GLint location = glGetAttribLocation(program, names[i]);
            if (location == -1)
                continue;
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(location, sizes[i], GL_FLOAT, GL_FALSE, sizeof(StageVertex),
                                  reinterpret_cast<const void*>(static_cast<uintptr_t>(i * 12)));
            enabled.push_back(location);
        }
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
        for (GLint location : enabled)
            glDisableVertexAttribArray(location);
        glBindVertexArray(0);
    }

    ShaderProgram mainProgram;
    ShaderProgram depthProgram;
    std::vector<StageVertex> vertices;
    GLuint vertexArray = 0;
    GLuint vertexBuffer = 0;
};

// The flashlight behind and left of the box, so that the camera sees the shadow it throws forward
// and right; the dim fill light.
const Light flashlight{1, {-2.5f, 2.5f, -2.5f}, glm::normalize(glm::vec3(3.3f, -2.5f, 3.3f)), glm::vec3(0.6f)};
const Light fill{0, {0, 0, 0}, {0, -1, 0}, glm::vec3(0.3f)};

}  // namespace

class SceneShading : public GameTest {};

TEST_F(SceneShading, FlashlightShadowIsDarkToTheBoxBaseAndLitFloorIsClean)
{
    Stage stage;
    ASSERT_TRUE(stage.complete);
    std::vector<unsigned char> shadowed = stage.render({flashlight, fill}, true);
    std::vector<unsigned char> unshadowed = stage.render({flashlight, fill}, false);
    Stage::keep(shadowed, "shadowed");
    Stage::keep(unshadowed, "unshadowed");

    // In front of the box, from its base outwards: dark against the same floor without shadows.
    for (glm::vec3 p : {glm::vec3(0.55f, 0, 0.45f), glm::vec3(0.6f, 0, 0.52f), glm::vec3(0.9f, 0, 0.7f),
                        glm::vec3(1.4f, 0, 1.2f)}) {
        int lit = Stage::brightness(unshadowed, p);
        int dark = Stage::brightness(shadowed, p);
        EXPECT_GT(lit, 60) << p.x << " " << p.z;
        EXPECT_LT(dark, lit / 3) << "light leaks into the shadow at " << p.x << " " << p.z;
    }
    // Lit floor and the box's own faces come out exactly as without shadows: no acne.
    for (glm::vec3 p : {glm::vec3(1.5f, 0, -0.3f), glm::vec3(-0.3f, 0, 1.5f), glm::vec3(-0.8f, 0, 1.3f),
                        glm::vec3(-2.0f, 0, 1.0f), glm::vec3(0, 1.0f, 0), glm::vec3(0.2f, 0.5f, 0.5f)}) {
        EXPECT_NEAR(Stage::brightness(shadowed, p), Stage::brightness(unshadowed, p), 2)
            << p.x << " " << p.y << " " << p.z;
    }
}

TEST_F(SceneShading, FlashlightReachesTwentyUnitsAndTheFixedLightDoesNotClip)
{
    Stage stage;
    // The wall 24 units ahead of the flashlight, in the middle of its cone.
    Light ahead{1, {0, 2.0f, 4}, glm::normalize(glm::vec3(0, 1.0f, -24)), glm::vec3(0.6f)};
    Light off = ahead;
    off.type = -1;
    std::vector<unsigned char> far = stage.render({ahead, fill}, true);
    Stage::keep(far, "far");
    int wall = Stage::brightness(far, {0.0f, 3.0f, -20.0f});
    int dark = Stage::brightness(stage.render({off, fill}, true), {0.0f, 3.0f, -20.0f});
    EXPECT_GT(wall, 50) << "the flashlight must visibly light what it points at";
    EXPECT_GT(wall, dark + 35);

    // The fixed light: power 7, 3 units above the floor, pointing down.
    Light fixed{1, {-2, 3, 1}, {0, -0.7f, 0.1f}, glm::vec3(7.0f)};
    std::vector<unsigned char> pool = stage.render({off, fill, fixed}, true);
    Stage::keep(pool, "pool");
    int centre = Stage::brightness(pool, {-2.0f, 0.0f, 1.43f});
    EXPECT_GT(centre, 180);
    EXPECT_LT(centre, 250) << "the pool keeps its surface colour";
    EXPECT_LT(Stage::brightness(pool, {1.5f, 0.0f, 1.5f}), 40) << "outside the cone the hall stays dark";
}
