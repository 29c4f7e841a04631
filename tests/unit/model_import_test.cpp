// Model files read through Assimp without OpenGL: material libraries that would crash it are refused
// whatever they are called, and a mesh gives its vertices, indices and texture paths under Scene/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "TempDir.h"
#include "assets/ModelImport.h"
#include "assets/Textures.h"

namespace {

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl stone\nf 1/1 2/1 3/1\n";
const std::string settingFirst = "Kd 1 1 1\nmap_Kd stone.tga\nnewmtl stone\n";

}  // namespace

TEST(ModelImport, LibrariesSettingAnythingBeforeTheirFirstMaterialAreRefusedWhateverTheirName)
{
    const struct {
        std::string text;
        bool accepted;
        const char* mtllib = "model.mtl";  // what the model names
        const char* file = "model.mtl";    // the file written beside the model
    } cases[] = {
        {"# comment\n\nnewmtl stone\nKd 1 0 0\nmap_Kd stone.tga\n", true}, {"", true},
        {" Kd 1 0 0\nnewmtl stone\nmap_Kd stone.tga\n", true},  // Assimp skips a line opening with a blank
        {settingFirst, false}, {"#\n   d 1\nnewmtl stone\n", false}, {"# a\rillum 2\nnewmtl stone\n", false},
        {std::string("# a") + '\0' + "Ns 1\nnewmtl stone\n", false},
        {settingFirst, false, "stone.txt", "stone.txt"}, {settingFirst, false, "model.MTL", "model.MTL"},
        {settingFirst, false, "lib/stone", "lib/stone"},
        {settingFirst, false, "missing.txt"},  // Assimp falls back on the model's name with ".mtl"
        {"newmtl stone\nKd 1 1 1\nmap_Kd stone.tga\n", true, "lib/stone", "lib/stone"},
        {"", false, "model.obj"},  // the model as its own library, preceded by settings
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string model = std::string(c.mtllib) == "model.obj" ? settingFirst : "";
        dir.write("Scene/model.obj", "mtllib " + std::string(c.mtllib) + "\n" + model + triangle);
        dir.write(std::string("Scene/") + c.file, c.text);
        Assimp::Importer importer;
        const aiScene* scene = importModel(importer, "Scene/model.obj");
        ASSERT_EQ(scene != nullptr, c.accepted) << c.mtllib << ": " << c.text;
        if (scene != nullptr && !c.text.empty()) {
            EXPECT_EQ(extractMesh(scene->mMeshes[0], scene).diffuseTexturePaths,
                      (std::vector<std::string>{"Scene/stone.tga"})) << c.mtllib << ": the library was read";
        }
    }
}

TEST(ModelImport, AMeshGivesItsVerticesIndicesAndTexturePathsUnderScene)
{
    TempDir dir;
    dir.write("model.obj", "mtllib model.mtl\n" + triangle);
    dir.write("model.mtl", "newmtl stone\nKd 0.5 0.25 1\nmap_Kd skin.png\nmap_d skin_normal.png\n");
    Assimp::Importer importer;
    const aiScene* scene = importModel(importer, "model.obj");
    ASSERT_NE(scene, nullptr);
    MeshData data = extractMesh(scene->mMeshes[0], scene);
    EXPECT_EQ(data.indices, (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(data.vertices[1].position, glm::vec3(1, 0, 0));
    EXPECT_EQ(data.vertices[0].color, glm::vec3(0.5f, 0.25f, 1.0f)) << "no vertex colours: the material's";
    EXPECT_EQ(data.diffuseTexturePaths, (std::vector<std::string>{"Scene/skin.png"}));
    EXPECT_EQ(data.normalTexturePaths, (std::vector<std::string>{"Scene/skin_normal.png"}));
    std::string longest(1023 - std::string("Scene/").size(), 'a');
    EXPECT_EQ(sceneTexturePath(longest), "Scene/" + longest);
    EXPECT_EQ(sceneTexturePath(longest + "a"), "Scene/") << "a path of 1024 characters is not built";
}

TEST(ModelImport, MissingEmptyOrBrokenFilesGiveNoScene)
{
    TempDir dir;
    dir.write("empty.obj", "");
    dir.write("range.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n");  // a face naming a vertex not there
    for (const char* file : {"missing.obj", "empty.obj", "range.obj"}) {
        Assimp::Importer importer;
        EXPECT_EQ(importModel(importer, file), nullptr) << file;
    }
}

TEST(ScreenImageFolder, IsReportedAsNotOpenedAndGivesNoTexture)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "Scene/pause.dds");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadDDS("Scene/pause.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Scene/pause.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !\n");
}
