// The generated models load the way the game loads them, name only textures that exist and load, stay
// within their triangle budgets and have the shapes the world placement relies on.
#include <gtest/gtest.h>

#include <IL/il.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "ContentScene.h"

using content::readGeneratedModel;
using content::ImportedModel;

namespace {

const char* const modelFiles[] = {"tutroom.obj",      "combine.obj",     "combineRotor.obj", "statue.obj",
                                  "giantCowHigh.obj", "GiantCowLow.obj", "CompanionCube.obj"};

std::string scenePath(const std::string& name) { return "Scene/" + name; }

bool loadsWithDevil(const std::string& path)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilLoadImage(path.c_str()) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) &&
              ilGetInteger(IL_IMAGE_WIDTH) > 0 && ilGetInteger(IL_IMAGE_HEIGHT) > 0;
    ilDeleteImages(1, &image);
    return ok;
}

}  // namespace

TEST(ContentModels, EveryModelImportsAndItsTexturesLoad)
{
    ilInit();
    for (const char* file : modelFiles) {
        ImportedModel model = readGeneratedModel(scenePath(file));
        ASSERT_TRUE(model.loaded) << file;
        ASSERT_FALSE(model.meshes.empty()) << file;
        for (const auto& mesh : model.meshes) {
            const MeshData& d = mesh.data;
            EXPECT_GT(mesh.triangles(), 0u) << file;
            EXPECT_NE(d.vertices[0].normal, glm::vec3(0.0f, 1.0f, 0.0f)) << file << ": normals generated";
            EXPECT_FALSE(d.diffuseTexturePaths.empty() || d.normalTexturePaths.empty()) << file;
            EXPECT_LE(d.diffuseTexturePaths.size() + d.normalTexturePaths.size(), 10u) << file;
            for (const auto& paths : {d.diffuseTexturePaths, d.normalTexturePaths})
                for (const auto& path : paths)
                    EXPECT_TRUE(loadsWithDevil(path)) << file << ": " << path;
        }
    }
}

TEST(ContentModels, TrianglesStayWithinTheBudgetOfTheSoftwareRenderer)
{
    std::map<std::string, unsigned> count;
    for (const char* file : modelFiles) count[file] = readGeneratedModel(scenePath(file)).triangles;
    // Twenty statues, often a dozen in view, each drawn in both passes: they dominate the frame's triangles.
    EXPECT_LE(count["statue.obj"], 900u);
    EXPECT_LE(count["giantCowHigh.obj"], 8000u);
    EXPECT_LE(count["GiantCowLow.obj"] * 10, count["giantCowHigh.obj"]);
    EXPECT_LE(count["combine.obj"] + count["combineRotor.obj"], 5000u);
    EXPECT_LE(count["CompanionCube.obj"], 200u);
    EXPECT_LE(count["tutroom.obj"], 3000u);
    unsigned scene = count["tutroom.obj"] + 20 * count["statue.obj"] + count["giantCowHigh.obj"] +
                     count["GiantCowLow.obj"] + count["combine.obj"] + count["combineRotor.obj"] +
                     3 * count["CompanionCube.obj"];
    EXPECT_LT(scene, 30000u);
}

TEST(ContentModels, NodesTakeTheWholeModelAsTheirOneMesh)
{
    // A node takes only the last mesh of its file; anything before it would stay behind.
    for (const char* file : {"combine.obj", "combineRotor.obj", "statue.obj", "giantCowHigh.obj", "GiantCowLow.obj",
                             "CompanionCube.obj"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(readGeneratedModel(scenePath(file)).meshes.size(), 1u);
    }
}

TEST(ContentModels, StatueStandsOnItsPlinthAndGivesFairDangerRadii)
{
    ImportedModel statue = readGeneratedModel(scenePath("statue.obj"));
    ASSERT_TRUE(statue.loaded);
    const content::Box& b = statue.bounds;
    EXPECT_NEAR(b.lo.y, -0.3f, 1e-3f);  // plinth bottom on the floor when the node sits 0.3 above it
    EXPECT_GT(b.hi.y + 0.3f, 3.5f);     // a little taller than the player's eye
    EXPECT_LT(b.hi.y + 0.3f, 4.5f);
    float diagonal = glm::length(b.size());
    float touchRadius = diagonal / 1.5f;
    EXPECT_GT(touchRadius, 2.0f);
    EXPECT_LT(touchRadius, 3.0f);
    // A slim figure: its physics cube (half its width) leaves the doorways passable beside it.
    EXPECT_LE(b.size().x, 1.05f);
    EXPECT_LE(b.size().z, 0.8f);
    EXPECT_NEAR(b.lo.x + b.hi.x, 0.0f, 0.05f);
}

TEST(ContentModels, CrateCowAndHarvesterRestOnTheFloorFromTheirNodeHeights)
{
    ImportedModel crate = readGeneratedModel(scenePath("CompanionCube.obj"));
    EXPECT_NEAR(crate.bounds.lo.y, -0.3f, 1e-3f);
    glm::vec3 size = crate.bounds.size();
    EXPECT_NEAR(size.x, 1.0f, 1e-3f);
    EXPECT_NEAR(size.y, 1.0f, 1e-3f);
    EXPECT_NEAR(size.z, 1.0f, 1e-3f);

    for (const char* cow : {"giantCowHigh.obj", "GiantCowLow.obj"}) {
        ImportedModel model = readGeneratedModel(scenePath(cow));
        EXPECT_NEAR(model.bounds.lo.y, -2.0f, 1e-3f) << cow;
        EXPECT_GT(model.bounds.size().x, 4.0f) << cow;  // a giant
    }

    ImportedModel combine = readGeneratedModel(scenePath("combine.obj"));
    EXPECT_NEAR(combine.bounds.lo.y, -1.0f, 1e-3f);
    ImportedModel rotor = readGeneratedModel(scenePath("combineRotor.obj"));
    // The rotor spins about the y axis through the harvester's origin: centred on it, above the body.
    EXPECT_NEAR(rotor.bounds.lo.x + rotor.bounds.hi.x, 0.0f, 0.05f);
    EXPECT_NEAR(rotor.bounds.lo.z + rotor.bounds.hi.z, 0.0f, 0.05f);
    EXPECT_GT(rotor.bounds.lo.y, 2.5f);
}
