// Model files read through Assimp without OpenGL: the acceptance checks and what a mesh gives.
#include <gtest/gtest.h>

#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "TempDir.h"
#include "assets/ModelImport.h"

namespace {

const std::string triangle = "mtllib model.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl painted\nf 1/1 2/1 3/1\n";

// Whether model.obj with this material file beside it is accepted.
bool accepted(const std::string& material)
{
    TempDir dir;
    dir.write("model.obj", triangle);
    dir.write("model.mtl", material);
    Assimp::Importer importer;
    return importModel(importer, "model.obj") != nullptr;
}

}  // namespace

TEST(ModelImport, MaterialFilesThatSetAnythingBeforeTheirFirstMaterialAreRefused)
{
    EXPECT_TRUE(accepted("# comment\n\nnewmtl painted\nKd 1 0 0\nmap_Kd skin.png\n"));
    EXPECT_TRUE(accepted(" Kd 1 0 0\nnewmtl painted\nmap_Kd skin.png\n")) << "Assimp skips a first line opening with a blank";
    EXPECT_TRUE(accepted("")) << "an empty material file sets nothing";

    EXPECT_FALSE(accepted("Kd 1 0 0\nnewmtl painted\nmap_Kd skin.png\n"));
    EXPECT_FALSE(accepted("# comment\nmap_Kd skin.png\nnewmtl painted\n"));
    EXPECT_FALSE(accepted("#\n   d 1\nnewmtl painted\n")) << "blanks opening a later line are skipped";
    EXPECT_FALSE(accepted(std::string("# a") + '\0' + "Ns 1\nnewmtl painted\n")) << "NUL ends a line";
    EXPECT_FALSE(accepted("# a\rillum 2\nnewmtl painted\n")) << "a carriage return ends a line";
}

TEST(ModelImport, MissingEmptyOrBrokenFilesGiveNoScene)
{
    TempDir dir;
    Assimp::Importer importer;
    EXPECT_EQ(importModel(importer, "missing.obj"), nullptr);
    dir.write("empty.obj", "");
    EXPECT_EQ(importModel(importer, "empty.obj"), nullptr);
    dir.write("range.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n");
    EXPECT_EQ(importModel(importer, "range.obj"), nullptr) << "a face naming a vertex that is not there";
}

TEST(ModelImport, AMeshGivesItsVerticesIndicesAndTexturePaths)
{
    TempDir dir;
    dir.write("model.obj", triangle);
    dir.write("model.mtl", "newmtl painted\nKd 0.5 0.25 1\nmap_Kd skin.png\nmap_d skin_normal.png\n");
    Assimp::Importer importer;
    const aiScene* scene = importModel(importer, "model.obj");
    ASSERT_NE(scene, nullptr);
    ASSERT_GE(scene->mNumMeshes, 1u);
    MeshData data = extractMesh(scene->mMeshes[0], scene);
    ASSERT_EQ(data.vertices.size(), 3u);
    EXPECT_EQ(data.indices, (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(data.vertices[1].position, glm::vec3(1, 0, 0));
    EXPECT_EQ(data.vertices[0].color, glm::vec3(0.5f, 0.25f, 1.0f)) << "no vertex colours: the material's";
    EXPECT_EQ(data.diffuseTexturePaths, (std::vector<std::string>{"Scene/skin.png"}));
    EXPECT_EQ(data.normalTexturePaths, (std::vector<std::string>{"Scene/skin_normal.png"}));
}

TEST(ModelImport, TextureNamesAreAppendedToSceneUpToTheLongestPathAssimpHolds)
{
    EXPECT_EQ(sceneTexturePath("maps\\..\\skin.png"), "Scene/maps\\..\\skin.png") << "kept as stored";
    EXPECT_EQ(sceneTexturePath(""), "Scene/");
    std::string longest(1023 - std::string("Scene/").size(), 'a');
    EXPECT_EQ(sceneTexturePath(longest), "Scene/" + longest);
    EXPECT_EQ(sceneTexturePath(longest + "a"), "Scene/") << "a path of 1024 characters is not built";
}
