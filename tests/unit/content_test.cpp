// The generated Scene/ as the game reads it: models, screen images, and a hall that can be finished.
#include <gtest/gtest.h>

#include <IL/il.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/Level.h"
#include "assets/DdsFile.h"
#include "assets/ModelImport.h"

using glm::vec3;

namespace {

struct Box { vec3 lo{1e30f}, hi{-1e30f}; };

struct Model {
    std::vector<MeshData> meshes;
    std::vector<Box> bounds;  // per mesh
    Box all;
};

Model readModel(const std::string& name)
{
    Model model;
    Assimp::Importer importer;
    const aiScene* scene = importModel(importer, ("Scene/" + name).c_str());
    for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m) {
        model.meshes.push_back(extractMesh(scene->mMeshes[m], scene));
        Box b;
        for (const Vertex& v : model.meshes.back().vertices)
            b.lo = glm::min(b.lo, v.position), b.hi = glm::max(b.hi, v.position);
        model.bounds.push_back(b);
        model.all = {glm::min(model.all.lo, b.lo), glm::max(model.all.hi, b.hi)};
    }
    return model;
}

// The hall as the game's physics sees it: one static box per mesh of tutroom.obj; the player a sphere.
bool sphereFree(const vec3& p)
{
    static const std::vector<Box> hall = readModel("tutroom.obj").bounds;
    for (const Box& b : hall)
        if (glm::length(glm::max(glm::max(b.lo - p, p - b.hi), vec3(0))) < 1.0f - 1e-3f) return false;
    return true;
}

bool floorBelow(float x, float z)
{
    static const std::vector<Box> hall = readModel("tutroom.obj").bounds;
    for (const Box& b : hall)
        if (std::fabs(b.hi.y) < 1e-4f && x >= b.lo.x && x <= b.hi.x && z >= b.lo.z && z <= b.hi.z) return true;
    return false;
}

}  // namespace

TEST(ContentModels, EveryModelImportsAsOneMeshWithinBudgetAndItsTexturesLoad)
{
    ilInit();
    size_t scene = 0;
    for (const char* file : {"tutroom.obj", "combine.obj", "combineRotor.obj", "statue.obj", "giantCowHigh.obj",
                             "GiantCowLow.obj", "CompanionCube.obj"}) {
        Model model = readModel(file);
        ASSERT_FALSE(model.meshes.empty()) << file;
        // A node takes only the last mesh of its file; the hall is one static box per mesh.
        EXPECT_TRUE(model.meshes.size() == 1 || std::string(file) == "tutroom.obj") << file;
        for (const MeshData& d : model.meshes) {
            scene += d.indices.size() / 3 * (std::string(file) == "statue.obj" ? 20 : 1);
            EXPECT_FALSE(d.diffuseTexturePaths.empty() || d.normalTexturePaths.empty()) << file;
            for (const auto& paths : {d.diffuseTexturePaths, d.normalTexturePaths})
                for (const auto& path : paths) {
                    ILuint image = ilGenImage();
                    ilBindImage(image);
                    EXPECT_TRUE(ilLoadImage(path.c_str())) << file << ": " << path;
                    ilDeleteImage(image);
                }
        }
    }
    EXPECT_LT(scene, 30000u) << "twenty statues in both passes on the software renderer";
    Box statue = readModel("statue.obj").all;
    EXPECT_NEAR(statue.lo.y, -level::statueHeight, 1e-3f) << "the plinth stands on the floor";
    float touchRadius = glm::length(statue.hi - statue.lo) / 1.5f;
    EXPECT_TRUE(touchRadius > 2.0f && touchRadius < 3.0f) << touchRadius;
}

TEST(ContentImages, EveryScreenImageIsASquareDxtPictureWithACompleteMipChain)
{
    for (const char* name : {"VellmarFontDark.dds", "Infos.dds", "mouse.dds", "wasd.dds", "start.dds", "pause.dds",
             "pause1.dds", "pause2.dds", "pause3.dds", "gameWon.dds", "gameOver.dds"}) {
        std::ifstream file(std::string("Scene/") + name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        DdsImage image = parseDds(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        ASSERT_FALSE(image.status != DdsStatus::Usable || image.levels.empty()) << name;
        EXPECT_EQ(image.levels[0].width, image.levels[0].height) << name;
        EXPECT_EQ(image.levels.back().width, 1u) << name;
        EXPECT_EQ(image.levels.back().offset + image.levels.back().size, bytes.size()) << name;
    }
}

TEST(ContentLevel, ARouteFromTheStartPassesEveryActivatorInOrderAndEndsInThePit)
{
    const Model statue = readModel("statue.obj");
    // Body centres at y = 1, around the statues and through the three doorways.
    const vec3 route[] = {{1, 1, 1}, {-4, 1, 12}, {-4, 1, 21}, {-1.9f, 1, 23.6f}, {-1.9f, 1, 28}, {-8, 1, 45},
        {-8, 1, 75}, {-12.5f, 1, 88}, {-12.5f, 1, 102.8f}, {-1.8f, 1, 103}, {-1.8f, 1, 107}, {-5, 1, 120},
        {-5, 1, 200}, {-1.8f, 1, 228.5f}, {-1.8f, 1, 232}, {-12, 1, 250}, {-16, 1, 262}, {-16, 1, 275},
        {-21, 1, 298}, {-22.5f, 1, 305}, {-22.5f, 1, 327.5f}, {-22.5f, 1, 333}};
    size_t nextActivator = 0;
    for (size_t i = 0; i + 1 < std::size(route); ++i)
        for (float t = 0; t < 1; t += 0.1f / glm::length(route[i + 1] - route[i])) {
            const vec3 p = route[i] + (route[i + 1] - route[i]) * t, eye = p + vec3(0, 2.5f, 0);
            ASSERT_TRUE(sphereFree(p)) << "blocked at " << p.x << ", " << p.z;
            ASSERT_TRUE(floorBelow(p.x, p.z) || i + 2 == std::size(route)) << "no floor at " << p.x << ", " << p.z;
            for (const level::StatueSpot& s : level::statues) {
                // The statue's touch test: eye within diagonal / 1.5 of its corner (max x, max y, min z).
                vec3 at(s.x, level::statueHeight, s.z), corner(statue.all.hi.x, statue.all.hi.y, statue.all.lo.z);
                ASSERT_GE(glm::length(eye - at - corner), glm::length(statue.all.hi - statue.all.lo) / 1.5f);
            }
            for (size_t a = 0; a < std::size(level::activators); ++a) {
                const level::Spot& s = level::activators[a];
                if (glm::length(eye - vec3(s.x, s.y, s.z)) >= 5.0f) continue;
                ASSERT_LE(a, nextActivator) << "activator " << a << " reached out of order";
                nextActivator += a == nextActivator;
            }
        }
    EXPECT_EQ(nextActivator, std::size(level::activators));
    EXPECT_FALSE(floorBelow(-22.5f, 333));
    for (float y = 1; y > -60; y -= 0.25f) ASSERT_TRUE(sphereFree({-22.5f, y, 333})) << "nothing below the pit";
}
