// Model, texture and screen image files: what would crash Assimp or fool DevIL is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "TempDir.h"
#include "assets/ImageFile.h"
#include "assets/ModelImport.h"
#include "assets/Textures.h"

namespace {

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl stone\nf 1/1 2/1 3/1\n";
const std::string settingFirst = "Kd 1 1 1\nmap_Kd stone.tga\nnewmtl stone\n";
const std::string material = "Kd 0.5 0.25 1\nmap_Kd stone.tga\n";

// A Targa header: image kind, size, bits per pixel and an optional colour map of 24-bit entries.
std::string header(int kind, int width, int height, int depth, int mapLength = 0)
{
    std::string bytes(18, '\0');
    const int fields[][2] = {{1, mapLength ? 1 : 0}, {2, kind}, {5, mapLength}, {7, mapLength ? 24 : 0},
                             {12, width}, {14, height}, {16, depth}};
    for (const auto& [at, value] : fields)
        bytes[at] = static_cast<char>(value & 0xFF), bytes[at + 1] = at == 16 ? 0 : static_cast<char>(value >> 8);
    return bytes;
}

}  // namespace

TEST(ModelImport, LibrariesSettingAnythingBeforeTheirFirstMaterialAreRefusedWhateverTheirName)
{
    const struct {
        std::string text;
        bool accepted;
        const char* mtllib = "model.mtl";  // what the model names
        const char* file = "model.mtl";    // the file written beside the model
    } cases[] = {
        {"# comment\n\nnewmtl stone\n" + material, true}, {"", true},
        {" Kd 1 0 0\nnewmtl stone\n" + material, true},  // Assimp skips a line opening with a blank
        {settingFirst, false}, {"#\n   d 1\nnewmtl stone\n", false}, {"# a\rillum 2\nnewmtl stone\n", false},
        {std::string("# a") + '\0' + "Ns 1\nnewmtl stone\n", false},
        {settingFirst, false, "stone.txt", "stone.txt"}, {settingFirst, false, "model.MTL", "model.MTL"},
        {settingFirst, false, "lib/stone", "lib/stone"}, {settingFirst, false, "missing.txt"},  // read: model.mtl
        {"newmtl stone\n" + material, true, "lib/stone", "lib/stone"},
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
        if (scene != nullptr && !c.text.empty()) {  // the library was read: its texture, its colour on the mesh
            const MeshData data = extractMesh(scene->mMeshes[0], scene);
            EXPECT_EQ(data.diffuseTexturePaths, (std::vector<std::string>{"Scene/stone.tga"})) << c.mtllib;
            EXPECT_EQ(data.vertices[0].color, glm::vec3(0.5f, 0.25f, 1.0f)) << c.mtllib;
        }
    }
    std::string longest(1023 - std::string("Scene/").size(), 'a');
    EXPECT_EQ(sceneTexturePath(longest), "Scene/" + longest);
    EXPECT_EQ(sceneTexturePath(longest + "a"), "Scene/") << "a path of 1024 characters is not built";
}

// What yields no triangle or would reach another importer is refused with a reason; lines and points
// are left out; backslashes in texture names separate folders, and no name leads out of Scene/.
TEST(ModelImport, ModelsWithoutMeshesOrOfOtherKindsAreRefusedAndOnlyTrianglesKept)
{
    const struct { const char* file; std::string text; const char* reason; } cases[] = {
        {"model.OBJ", "mtllib m.mtl\nusemtl a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nl 1 2\np 3\n", ""},
        {"model.x", "xof 0303txt 0032\nFrame Root {\n}\n", "only Wavefront .obj models are read"},
        {"model.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n", "Validation failed: Mesh  contains no faces"},
        {"model.obj", "words, and no model at all\n", "Validation failed: aiScene::mNumMeshes is 0. At least one mesh must be there"},
        {"model.obj", "v 0 0 nan\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "a position is not a finite number"}};
    for (const auto& c : cases) {
        TempDir dir;
        dir.write(std::string("Scene/") + c.file, c.text);
        dir.write("Scene/m.mtl", "newmtl a\nmap_Kd maps\\wall.tga\n");
        Assimp::Importer importer;
        std::string reason;
        const aiScene* scene = importModel(importer, (std::string("Scene/") + c.file).c_str(), &reason);
        EXPECT_EQ(reason, c.reason) << c.text;
        ASSERT_EQ(scene != nullptr, *c.reason == '\0') << c.text;
        if (scene == nullptr)
            continue;
        const MeshData data = extractMesh(scene->mMeshes[0], scene);
        EXPECT_EQ(data.indices, (std::vector<unsigned>{0, 1, 2})) << "the line and the point are not drawn";
        EXPECT_EQ(data.leftOutFaces, 2u);
        EXPECT_EQ(data.diffuseTexturePaths, (std::vector<std::string>{"Scene/maps/wall.tga"}));
    }
    for (const auto& [name, path] : {std::pair{".\\picture.jpg", "Scene/picture.jpg"}, {"..\\..\\x.tga", "Scene/x.tga"},
                                     {"/etc/x.tga", "Scene/etc/x.tga"}, {"a/../../b//c.tga", "Scene/b/c.tga"}})
        EXPECT_EQ(sceneTexturePath(name), path) << name;
}

// A folder where a screen image should be is reported like a missing file, not passed over.
TEST(ScreenImageFolder, IsReportedAsNotOpenedAndGivesNoTexture)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "Scene/pause.dds");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadDDS("Scene/pause.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Scene/pause.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !\n");
}

// Damaged Targa files are refused before DevIL, which would report them as loaded.
TEST(ImageFile, DamagedTargaFilesAreRefusedAndWholeOnesRead)
{
    const std::string pixels(4 * 4 * 3, '\x40'), map(6, '\x7f');
    const struct { const char* what; std::string bytes; ILenum error; } cases[] = {
        {"whole", header(2, 4, 4, 24) + pixels, IL_NO_ERROR}, {"no width", header(2, 0, 4, 24), IL_INVALID_FILE_HEADER},
        {"whole, run-length", header(10, 4, 4, 24) + "\x8f\x10\x20\x30", IL_NO_ERROR},
        {"whole, colour-mapped", header(1, 2, 1, 8, 2) + map + std::string("\x01\x00", 2), IL_NO_ERROR},
        {"cut in its header", header(2, 4, 4, 24).substr(0, 10), IL_FILE_READ_ERROR},
        {"cut in its pixels", header(2, 4, 4, 24) + pixels.substr(1), IL_FILE_READ_ERROR},
        {"cut in its runs", header(10, 4, 4, 24) + "\x87\x10\x20\x30\x87\x10\x20", IL_FILE_READ_ERROR},
        {"a run past the last pixel", header(10, 4, 4, 24) + "\x90\x10\x20\x30\x8e\x10\x20\x30", IL_ILLEGAL_FILE_VALUE},
        {"an index past its colour map", header(1, 2, 1, 8, 2) + map + "\x01\x02", IL_ILLEGAL_FILE_VALUE},
        {"a huge size claimed", header(10, 65535, 65535, 32) + std::string(100, '\xff'), IL_INVALID_FILE_HEADER},
        {"an unknown kind", header(7, 4, 4, 24) + pixels, IL_INVALID_FILE_HEADER},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("picture.tga", c.bytes);
        RgbaImage image = readRgbaImage("picture.tga");
        EXPECT_EQ(image.error, c.error) << c.what;
        EXPECT_EQ(image.failure != nullptr, c.error != IL_NO_ERROR) << c.what;
        if (image.image != 0) {
            EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA) << c.what;
            ilDeleteImages(1, &image.image);
        }
    }
}
