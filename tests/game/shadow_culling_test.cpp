// The shadow pass draws only what the flashlight can see.
#include "WorldHarness.h"

#include <glm/gtc/matrix_transform.hpp>

#include "core/FramePhase.h"
#include "assets/SceneLoader.h"
#include "render/FramePasses.h"
#include "render/Light.h"
#include "scene/BoundingBox.h"

namespace {

GLuint primitivesQuery = 0;
GLuint shadowPrimitives = 0;

void countShadowPass(FramePhase phase, bool begins)
{
    if (phase != FramePhase::shadowPass)
        return;
    if (begins) {
        glBeginQuery(GL_PRIMITIVES_GENERATED, primitivesQuery);
    } else {
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(primitivesQuery, GL_QUERY_RESULT, &shadowPrimitives);
    }
}

}  // namespace

using ShadowCulling = WorldTest;

TEST_F(ShadowCulling, TheShadowPassSkipsAMeshBehindTheFlashlight)
{
    play();
    frames(3);
    // One statue, alone, further from the flashlight than its cull radius; the camera's planes
    // are taken away so that only the flashlight's view can leave it out.
    loader->frustumPlanes = nullptr;
    Mesh* statue = pursuers[0]->mesh;
    for (Mesh* mesh : loader->meshes)
        mesh->visible = mesh == statue;
    const glm::vec3 eye = flashlight->position;
    const glm::vec3 ahead = flashlight->direction;
    statue->setModelMatrix(glm::mat4(1.0f));
    const glm::vec3 centre = statue->boundingBox->worldPoint(statue->boundingBox->center);
    ASSERT_LT(statue->boundingBox->cullRadius, 8.0f);
    statue->setModelMatrix(glm::translate(glm::mat4(1.0f), eye + 10.0f * ahead - centre));

    glGenQueries(1, &primitivesQuery);
    framePhaseHook = countShadowPass;
    auto shadowTriangles = [&](const glm::vec3& lightDirection) {
        flashlight->position = eye;
        flashlight->direction = lightDirection;
        renderFrame();
        return shadowPrimitives;
    };
    EXPECT_EQ(shadowTriangles(ahead), statue->indices.size() / 3) << "lit by the flashlight, it casts a shadow";
    EXPECT_EQ(shadowTriangles(-ahead), 0u) << "behind the flashlight it is not drawn into the shadow map";
    framePhaseHook = nullptr;
}
