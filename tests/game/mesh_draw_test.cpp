// Meshes on the graphics card: texture units, the bindings left behind, the corners they share.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SceneFixture.h"
#include "assets/Textures.h"

namespace {

// Samples the diffuse texture into red and green and the normal map into blue.
const char* sources[] = {R"(#version 120
attribute vec3 position;
attribute vec2 uv;
uniform mat4 modelMatrix;
varying vec2 texCoord;
void main() { texCoord = uv; gl_Position = modelMatrix * vec4(position, 1.0); })",
                         R"(#version 120
uniform sampler2D myTextureSampler;
uniform sampler2D normalMap;
varying vec2 texCoord;
void main() { gl_FragColor = vec4(texture2D(myTextureSampler, texCoord).rg, texture2D(normalMap, texCoord).b, 1.0); })"};

Vertex vertex(float x, float y) { return {{x, y, 0}, {0, 0, 1}, {1, 0, 0}, {1, 1, 1}, {0.5f, 0.5f}}; }
const std::vector<Vertex> screenTriangle = {vertex(-1, -1), vertex(3, -1), vertex(-1, 3)};
const std::vector<GLuint> triangle = {0, 1, 2};

GLint boundTexture(int unit)
{
    GLint name = -1;
    glActiveTexture(GL_TEXTURE0 + unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

}  // namespace

class MeshDraw : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        if (IsSkipped())
            return;
        program = glCreateProgram();
        for (GLenum type : {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER}) {
            GLuint shader = glCreateShader(type);
            glShaderSource(shader, 1, &sources[type == GL_FRAGMENT_SHADER], nullptr);
            glCompileShader(shader);
            glAttachShader(program, shader);
        }
        glLinkProgram(program);
        glUseProgram(program);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        writeImage("Scene/red.tga", 255, 0, 0);
        writeImage("Scene/green.tga", 0, 255, 0);
        writeImage("Scene/blue.tga", 0, 0, 255);
        shadowTexture = loadImageTexture("Scene/red.tga");
    }

    // Draws with what the lit pass leaves on unit 10 (the shadow map) and checks it stays.
    glm::u8vec4 draw(Mesh& mesh)
    {
        glActiveTexture(GL_TEXTURE10);
        glBindTexture(GL_TEXTURE_2D, shadowTexture);
        glClear(GL_COLOR_BUFFER_BIT);
        mesh.draw(program);
        EXPECT_EQ(boundTexture(10), static_cast<GLint>(shadowTexture)) << "the shadow map stays";
        glm::u8vec4 pixel(0);
        glReadPixels(screenWidth / 2, screenHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
        return pixel;
    }

    GLuint program = 0;
    GLuint shadowTexture = 0;
};

TEST_F(MeshDraw, TexturesTakeTheirUnitsAndHiddenMeshesDrawNothing)
{
    Mesh mesh(screenTriangle, triangle, {loadImageTexture("Scene/red.tga"), loadImageTexture("Scene/green.tga")},
              {loadImageTexture("Scene/blue.tga")}, glm::mat4(1.0f), loader->physicsWorld, true, false);
    EXPECT_EQ(draw(mesh), glm::u8vec4(0, 255, 255, 255))
        << "the sampler ends on the second diffuse texture's unit, the normal map follows it";
    for (int unit = 0; unit <= 2; ++unit)
        EXPECT_EQ(boundTexture(unit), 0) << "unit " << unit << " is cleared after the draw";

    mesh.setModelMatrix(at(-5.0f, 0.0f, 0.0f));
    EXPECT_EQ(draw(mesh), glm::u8vec4(0)) << "moving the mesh moves what is drawn";

    mesh.setModelMatrix(glm::mat4(1.0f));
    mesh.visible = false;
    EXPECT_EQ(draw(mesh), glm::u8vec4(0)) << "a hidden mesh draws nothing";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshDraw, IdenticalCornersShareOneVertexOnTheCard)
{
    std::vector<Vertex> corners = {vertex(-1, -1), vertex(1, -1), vertex(-1, 1), vertex(-1, 1),
                                   vertex(1, -1),  vertex(1, 1),  vertex(-1, -1)};
    corners.back().uv.y = 0.25f;  // differs in its last value alone: a vertex of its own
    const std::vector<GLuint> order = {0, 1, 2, 3, 4, 5, 6, 1, 2};
    Mesh mesh(corners, order, glm::mat4(1.0f), loader->physicsWorld, true, false);
    std::vector<Vertex> onCard(corners.size());
    std::vector<GLuint> orderOnCard(order.size());
    GLint bytes = 0;
    glGetNamedBufferParameteriv(mesh.vertexBuffer, GL_BUFFER_SIZE, &bytes);
    ASSERT_EQ(bytes, static_cast<GLint>(5 * sizeof(Vertex))) << "seven corners, five of them distinct";
    glGetNamedBufferSubData(mesh.vertexBuffer, 0, bytes, onCard.data());
    glGetNamedBufferSubData(mesh.indexBuffer, 0, static_cast<GLsizeiptr>(order.size() * sizeof(GLuint)),
                            orderOnCard.data());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(std::memcmp(&onCard.at(orderOnCard[i]), &corners[order[i]], sizeof(Vertex)), 0) << "corner " << i;
}
