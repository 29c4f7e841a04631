// The game's own models, as the build puts them into the run folder's Scene/.
// GLEW before the window library's own GL header.
#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "GameHarness.h"
#include "app/WorldAssembly.h"
#include "assets/Mesh.h"
#include "assets/SceneLoader.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "scene/BoundingBox.h"
#include "scene/Node.h"

namespace {

const char* const gameModels[] = {
    "Scene/tutroom.obj",      "Scene/combine.obj",     "Scene/combineRotor.obj",   "Scene/statue.obj",
    "Scene/giantCowHigh.obj", "Scene/GiantCowLow.obj", "Scene/CompanionCube.obj",
};

}  // namespace

class GameModels : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (IsSkipped())
            return;
        for (const char* model : gameModels)
            ASSERT_TRUE(std::filesystem::exists(model)) << model << " is not in the run folder";
        loader = new sceneLoader();
    }
};

TEST_F(GameModels, EveryModelLoadsIntoMeshesWithBoxesAndTextures)
{
    for (const char* model : gameModels) {
        std::size_t before = loader->meshes.size();
        testing::internal::CaptureStdout();
        loader->loadModel(model, glm::mat4(1.0f), true, false);
        std::fflush(stdout);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("File was not loaded"), std::string::npos) << model;
        ASSERT_GT(loader->meshes.size(), before) << model;
        for (std::size_t i = before; i < loader->meshes.size(); ++i) {
            const Mesh& mesh = *loader->meshes[i];
            EXPECT_FALSE(mesh.vertices.empty()) << model;
            EXPECT_EQ(mesh.indices.size() % 3, 0u) << model << ": triangles only";
            EXPECT_GT(mesh.boundingBox->cullRadius, 0.0f) << model;
            EXPECT_LE(mesh.diffuseTextures.size() + mesh.normalTextures.size(),
                      static_cast<std::size_t>(Mesh::maxBoundTextures))
                << model << ": every texture gets a unit";
        }
    }
}

TEST_F(GameModels, StatuesCratesAndTheCowGetTheirBodiesAndMeshes)
{
    player = new Player();
    player->body = loader->physicsWorld->createPlayerBody(1.0f, 1.0f, 1.0f, 1.0f);
    PhysicsObject statue(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.3f, 21.0f)));
    Crate crate(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.3f, 23.0f)));
    LodObject cow(glm::translate(glm::mat4(1.0f), glm::vec3(1.4f, 2.0f, 62.0f)));

    ASSERT_NE(statue.mesh, nullptr);
    EXPECT_NE(statue.mesh->physicsActor, nullptr) << "a statue is pushed through its body";
    ASSERT_NE(crate.mesh, nullptr);
    EXPECT_NE(crate.mesh->physicsActor, nullptr);
    ASSERT_NE(cow.highMesh, nullptr);
    ASSERT_NE(cow.lowMesh, nullptr);

    // A statue is a tall figure: the eye is near it well before touching it.
    const BoundingBox& box = *statue.mesh->boundingBox;
    EXPECT_GT(box.maxCorner.y - box.minCorner.y, box.maxCorner.x - box.minCorner.x);
    EXPECT_GT(box.nearRadius, box.touchRadius);

    cow.update(1.0 / 60.0);
    EXPECT_FALSE(cow.highMesh->visible) << "the player starts far from the cow";
    EXPECT_TRUE(cow.lowMesh->visible);
}
