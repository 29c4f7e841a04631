// Assimp opens whatever file a model names as its material library: the check against libraries
// that would crash it holds whatever the library is called, the model itself included.
#include <gtest/gtest.h>

#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "TempDir.h"
#include "assets/ModelImport.h"

namespace {

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl stone\nf 1 2 3\n";
const std::string settingFirst = "Kd 1 1 1\nmap_Kd stone.tga\nnewmtl stone\n";
const std::string wellFormed = "newmtl stone\nKd 1 1 1\nmap_Kd stone.tga\n";

struct Library {
    const char* mtllib;  // what the model names
    const char* file;    // the file written, beside the model in Scene/
    std::string text;
    bool accepted;
};

}  // namespace

TEST(ModelLibraryNames, EveryLibraryIsCheckedWhateverItsName)
{
    const Library cases[] = {
        {"stone.txt", "stone.txt", settingFirst, false},
        {"model.MTL", "model.MTL", settingFirst, false},
        {"lib/stone", "lib/stone", settingFirst, false},
        // A library that is not there: Assimp falls back on the model's name with ".mtl".
        {"missing.txt", "model.mtl", settingFirst, false},
        {"stone.txt", "stone.txt", wellFormed, true},
        {"lib/stone", "lib/stone", wellFormed, true},
    };
    for (const Library& c : cases) {
        TempDir dir;
        dir.write("Scene/model.obj", "mtllib " + std::string(c.mtllib) + "\n" + triangle);
        dir.write(std::string("Scene/") + c.file, c.text);
        Assimp::Importer importer;
        const aiScene* scene = importModel(importer, "Scene/model.obj");
        EXPECT_EQ(scene != nullptr, c.accepted) << c.mtllib;
        if (scene != nullptr && scene->mNumMeshes > 0)
            EXPECT_EQ(extractMesh(scene->mMeshes[0], scene).diffuseTexturePaths,
                      (std::vector<std::string>{"Scene/stone.tga"})) << c.mtllib << ": the library was read";
    }
}

TEST(ModelLibraryNames, AModelNamedAsItsOwnLibraryIsCheckedToo)
{
    for (const char* path : {"model.obj", "Scene/model.obj"}) {
        TempDir dir;
        dir.write(path, "mtllib model.obj\n" + settingFirst + triangle);
        Assimp::Importer importer;
        EXPECT_EQ(importModel(importer, path), nullptr) << path;
    }
}
