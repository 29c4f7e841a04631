// Meshes on the graphics card: texture units, bindings left behind, physics bodies, and the
// loader's frustum culling.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "SceneFixture.h"
#include "assets/Textures.h"
#include "physics/PhysicsWorld.h"

namespace {

// Samples the diffuse texture into red and green and the normal map into blue.
const char* vertexSource = R"(#version 120
attribute vec3 position;
attribute vec2 uv;
uniform mat4 modelMatrix;
varying vec2 texCoord;
void main() { texCoord = uv; gl_Position = modelMatrix * vec4(position, 1.0); })";
const char* fragmentSource = R"(#version 120
uniform sampler2D myTextureSampler;
uniform sampler2D normalMap;
varying vec2 texCoord;
void main() { gl_FragColor = vec4(texture2D(myTextureSampler, texCoord).rg, texture2D(normalMap, texCoord).b, 1.0); })";

GLuint buildProgram()
{
    GLuint program = glCreateProgram();
    for (auto [type, source] : {std::pair<GLenum, const char*>{GL_VERTEX_SHADER, vertexSource},
                                std::pair<GLenum, const char*>{GL_FRAGMENT_SHADER, fragmentSource}}) {
        GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_TRUE(linked);
    glUseProgram(program);
    return program;
}

Vertex vertex(float x, float y, float z)
{
    return {{x, y, z}, {0, 0, 1}, {1, 0, 0}, {1, 1, 1}, {0.5f, 0.5f}};
}

// One triangle covering the whole view.
const std::vector<Vertex> screenTriangle = {vertex(-1, -1, 0), vertex(3, -1, 0), vertex(-1, 3, 0)};
const std::vector<GLuint> triangle = {0, 1, 2};

GLint boundTexture(int unit)
{
    GLint name = -1;
    glActiveTexture(GL_TEXTURE0 + unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint uniform(GLuint program, const char* name)
{
    GLint value = -1;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

glm::u8vec4 centrePixel()
{
    glm::u8vec4 pixel(0);
    glReadPixels(screenWidth / 2, screenHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
    return pixel;
}

}  // namespace

class MeshDraw : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        if (IsSkipped())
            return;
        program = buildProgram();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        writeImage("Scene/red.tga", 255, 0, 0);
        writeImage("Scene/green.tga", 0, 255, 0);
        writeImage("Scene/blue.tga", 0, 0, 255);
        shadowTexture = loadImageTexture("Scene/red.tga");
    }

    // What the lit pass leaves on unit 10 before the meshes draw.
    void holdShadowMap() const
    {
        glActiveTexture(GL_TEXTURE10);
        glBindTexture(GL_TEXTURE_2D, shadowTexture);
    }

    GLuint program = 0;
    GLuint shadowTexture = 0;
};

TEST_F(MeshDraw, DiffuseTexturesTakeTheFirstUnitsAndNormalMapsTheNext)
{
    Mesh mesh(screenTriangle, triangle,
              {loadImageTexture("Scene/red.tga"), loadImageTexture("Scene/green.tga")},
              {loadImageTexture("Scene/blue.tga")}, glm::mat4(1.0f), loader->physicsWorld, true, false);
    holdShadowMap();
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.draw(program);

    EXPECT_EQ(centrePixel(), glm::u8vec4(0, 255, 255, 255))
        << "the sampler ends on the second diffuse texture's unit, the normal map follows it";
    EXPECT_EQ(uniform(program, "myTextureSampler"), 1);
    EXPECT_EQ(uniform(program, "normalMap"), 2);
    for (int unit = 0; unit <= 2; ++unit)
        EXPECT_EQ(boundTexture(unit), 0) << "unit " << unit << " is cleared after the draw";
    EXPECT_EQ(boundTexture(10), static_cast<GLint>(shadowTexture)) << "the shadow map stays";
    GLint binding = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &binding);
    EXPECT_EQ(binding, 0);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &binding);
    EXPECT_EQ(binding, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Moving the mesh moves what is drawn.
    mesh.setModelMatrix(at(-5.0f, 0.0f, 0.0f));
    EXPECT_EQ(mesh.boundingBox->boxMatrix, at(-5.0f, 0.0f, 0.0f));
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.draw(program);
    EXPECT_EQ(centrePixel(), glm::u8vec4(0, 0, 0, 0));
}

TEST_F(MeshDraw, NoMeshTouchesTheShadowMapUnit)
{
    // Without textures the mesh leaves the active unit's texture alone.
    Mesh bare(screenTriangle, triangle, glm::mat4(1.0f), loader->physicsWorld, true, false);
    holdShadowMap();
    bare.draw(program);
    EXPECT_EQ(boundTexture(10), static_cast<GLint>(shadowTexture));

    // Eleven diffuse textures and a normal map: only units 0 to 9 are bound.
    std::vector<GLuint> diffuse;
    for (int i = 0; i < 10; ++i)
        diffuse.push_back(loadImageTexture("Scene/blue.tga"));
    diffuse.push_back(loadImageTexture("Scene/green.tga"));
    Mesh crowded(screenTriangle, triangle, diffuse, {loadImageTexture("Scene/green.tga")}, glm::mat4(1.0f),
                 loader->physicsWorld, true, false);
    glUniform1i(glGetUniformLocation(program, "normalMap"), 7);
    holdShadowMap();
    glClear(GL_COLOR_BUFFER_BIT);
    crowded.draw(program);
    EXPECT_EQ(uniform(program, "myTextureSampler"), 9);
    EXPECT_EQ(uniform(program, "normalMap"), 7) << "no unit was left for the normal map";
    EXPECT_EQ(centrePixel().b, 255) << "the tenth texture is the last one sampled";
    for (int unit = 0; unit < 10; ++unit)
        EXPECT_EQ(boundTexture(unit), 0) << "unit " << unit;
    EXPECT_EQ(boundTexture(10), static_cast<GLint>(shadowTexture));
}

TEST_F(MeshDraw, HiddenMeshLeavesEveryBindingAlone)
{
    Mesh mesh(screenTriangle, triangle, {loadImageTexture("Scene/green.tga")}, {}, glm::mat4(1.0f),
              loader->physicsWorld, true, false);
    mesh.visible = false;
    GLuint array = 0;
    GLuint buffer = 0;
    glGenVertexArrays(1, &array);
    glGenBuffers(1, &buffer);
    glBindVertexArray(array);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glUniform1i(glGetUniformLocation(program, "myTextureSampler"), 4);
    glClear(GL_COLOR_BUFFER_BIT);

    mesh.draw(program);
    EXPECT_EQ(centrePixel(), glm::u8vec4(0, 0, 0, 0));
    GLint binding = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &binding);
    EXPECT_EQ(binding, static_cast<GLint>(array));
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &binding);
    EXPECT_EQ(binding, static_cast<GLint>(buffer));
    EXPECT_EQ(boundTexture(0), static_cast<GLint>(shadowTexture));
    EXPECT_EQ(uniform(program, "myTextureSampler"), 4);
}

TEST_F(MeshDraw, EmptyMeshesDrawNothingWithoutErrors)
{
    Mesh empty({}, {}, glm::mat4(1.0f), loader->physicsWorld, false, true);
    EXPECT_EQ(empty.boundingBox->minCorner, glm::vec3(0.0f));
    EXPECT_EQ(empty.boundingBox->maxCorner, glm::vec3(0.0f));
    EXPECT_EQ(empty.physicsActor, nullptr) << "a box without size gets no body";
    Mesh noIndices(screenTriangle, {}, glm::mat4(1.0f), loader->physicsWorld, true, false);
    glClear(GL_COLOR_BUFFER_BIT);
    empty.draw(program);
    noIndices.draw(program);
    EXPECT_EQ(centrePixel(), glm::u8vec4(0, 0, 0, 0));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshDraw, BodiesSitAtTheBoxCentreWithUnscaledHalfExtents)
{
    // A box from (0, 0, 0) to (2, 4, 6): centre (1, 2, 3), half extents (1, 2, 3).
    std::vector<Vertex> box = {vertex(0, 0, 0), vertex(2, 4, 6), vertex(2, 0, 6)};
    glm::mat4 model = glm::scale(at(10.0f, 0.0f, 0.0f), glm::vec3(3.0f));
    Mesh statue(box, triangle, model, loader->physicsWorld, false, true);
    ASSERT_NE(statue.physicsActor, nullptr);
    glm::vec3 centre = statue.physicsActor->getGlobalPose().p;
    EXPECT_NEAR(centre.x, 13.0f, 1e-4f);
    EXPECT_NEAR(centre.y, 6.0f, 1e-4f);
    EXPECT_NEAR(centre.z, 9.0f, 1e-4f);
    EXPECT_NEAR(statue.physicsActor->getMass(), 8.0f, 1e-3f) << "a cube of half size 1, not 3";
    EXPECT_EQ(statue.boundingBox->halfExtents, glm::vec3(1.0f, 2.0f, 3.0f));

    // A static floor with its top at y = 0 holds a dynamic box dropped onto it.
    std::vector<Vertex> slab = {vertex(-5, -2, -5), vertex(5, 0, 5), vertex(5, -2, 5)};
    Mesh floor(slab, triangle, at(0.0f, 0.0f, -40.0f), loader->physicsWorld, true, true);
    EXPECT_EQ(floor.physicsActor, nullptr) << "a static mesh keeps nothing of its body";
    std::vector<Vertex> cube = {vertex(-0.5f, -0.5f, -0.5f), vertex(0.5f, 0.5f, 0.5f), vertex(0, 0, 0)};
    Mesh crate(cube, triangle, at(0.0f, 3.0f, -40.0f), loader->physicsWorld, false, true);
    ASSERT_NE(crate.physicsActor, nullptr);
    for (int i = 0; i < 180; ++i)
        loader->physicsWorld->step(1.0 / 60.0);
    EXPECT_NEAR(crate.physicsActor->getGlobalPose().p.y, 0.5f, 0.1f);

    // A flat mesh has no width: the physics world refuses its box and the mesh holds none.
    std::vector<Vertex> flat = {vertex(0, 0, 0), vertex(0, 1, 1), vertex(0, 1, 0)};
    Mesh sheet(flat, triangle, glm::mat4(1.0f), loader->physicsWorld, false, true);
    EXPECT_EQ(sheet.physicsActor, nullptr);
}

class Culling : public MeshDraw {};

TEST_F(Culling, KeepsAMeshExactlyOneRadiusBehindAPlaneAndDropsOneBeyond)
{
    // Identity camera: the right plane gives 1 - x. A mesh with diagonal 2 (R = 2) centred at
    // x = 3 lies exactly R behind it.
    std::vector<Vertex> bar = {vertex(-1, 0, 0), vertex(1, 0, 0), vertex(0, 0, 0)};
    loader->meshes.push_back(new Mesh(bar, triangle, at(3.0f, 0.0f, 0.0f), nullptr, true, false));
    loader->meshes.push_back(new Mesh(bar, triangle, at(std::nextafter(3.0f, 4.0f), 0.0f, 0.0f), nullptr, true, false));
    loader->meshes.push_back(new Mesh(bar, triangle, at(0.0f, 0.0f, 0.0f), nullptr, true, false));
    frustumPlanes = planes;
    computeViewProjection();
    extractFrustumPlanes();
    loader->frustumPlanes = planes;

    GLuint query = 0;
    glGenQueries(1, &query);
    auto trianglesDrawn = [&] {
        GLuint count = 0;
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        loader->draw(program);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        return count;
    };
    EXPECT_EQ(trianglesDrawn(), 2u) << "exactly at -R is drawn, just beyond is not";

    loader->cullingDisabled = true;
    EXPECT_EQ(trianglesDrawn(), 3u) << "with culling off every mesh is drawn";
    loader->cullingDisabled = false;

    loader->meshes[2]->visible = false;
    EXPECT_EQ(trianglesDrawn(), 1u) << "a hidden mesh is not drawn";

    loader->frustumPlanes = nullptr;
    EXPECT_EQ(trianglesDrawn(), 2u) << "without planes nothing is culled";
    frustumPlanes = nullptr;
}
