// Model files and pictures are read once, shared by every load naming them; pictures are released
// with their last mesh, and the loader can forget the files it read.
#include <gtest/gtest.h>

#include "SceneFixture.h"

using SharedTextures = SceneTest;

TEST_F(SharedTextures, ModelsAndPicturesAreReadOnceAndAPictureReleasedWithItsLastMesh)
{
    writeImage("Scene/maps/skin.tga", 10, 20, 30);
    writeImage("Scene/bumps.tga", 128, 128, 255);
    folder.write("Scene/skinned.mtl", "newmtl skinned\nmap_Kd maps/skin.tga\nmap_d bumps.tga\n");
    folder.write("Scene/skinned.obj", "mtllib skinned.mtl\nusemtl skinned\n" + boxModel(0, 0, 0, 1, 1, 1));
    folder.write("Scene/other.mtl", "newmtl other\nmap_Kd maps/skin.tga\n");
    folder.write("Scene/other.obj", "mtllib other.mtl\nusemtl other\n" + boxModel(0, 0, 0, 1, 1, 1));
    loader->loadModel("Scene/skinned.obj", at(0.0f, 0.0f, 0.0f), true, false);
    loader->loadModel("Scene/skinned.obj", at(5.0f, 0.0f, 0.0f), true, false);
    loader->loadModel("Scene/other.obj", at(9.0f, 0.0f, 0.0f), true, false);
    ASSERT_EQ(loader->meshes.size(), 3u);
    Mesh& a = *loader->meshes[0];
    const GLuint skin = a.diffuseTextures[0];
    const GLuint bumps = a.normalTextures[0];  // normal maps come from the opacity entries
    EXPECT_NE(skin, bumps);
    for (Mesh* mesh : loader->meshes)
        EXPECT_EQ(mesh->diffuseTextures[0], skin) << "every mesh naming skin.tga shares one texture";
    EXPECT_EQ(loader->meshes[1]->normalTextures[0], bumps);
    EXPECT_TRUE(loader->meshes[2]->normalTextures.empty()) << "other.obj is not skinned.obj";
    // Each load of one file has meshes of its own, placed by that load, with the same vertices.
    const Mesh& b = *loader->meshes[1];
    EXPECT_EQ(a.modelMatrix, at(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(b.modelMatrix, at(5.0f, 0.0f, 0.0f));
    EXPECT_EQ(b.vertices.size(), a.vertices.size());
    EXPECT_EQ(b.indices, a.indices);

    // Destroying meshes one by one: each texture stays whole while any mesh still uses it.
    delete loader->meshes[0];
    delete loader->meshes[1];
    loader->meshes.erase(loader->meshes.begin(), loader->meshes.begin() + 2);
    EXPECT_FALSE(glIsTexture(bumps)) << "released with its last user";
    ASSERT_TRUE(glIsTexture(skin)) << "still used by the third mesh";
    EXPECT_EQ(colourOf(skin), glm::u8vec4(10, 20, 30, 255)) << "the folder part of its name is kept";
    delete loader;
    loader = nullptr;
    EXPECT_FALSE(glIsTexture(skin)) << "the loader's meshes release their textures";

    // Once released, the picture is loaded afresh for the next mesh that names it.
    writeImage("Scene/maps/skin.tga", 40, 50, 60);
    loader = new sceneLoader();
    loader->loadModel("Scene/other.obj", glm::mat4(1.0f), true, false);

    // A file is read on its first load only, until the loader forgets it.
    folder.write("Scene/other.obj", "mtllib other.mtl\nusemtl other\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    loader->loadModel("Scene/other.obj", glm::mat4(1.0f), true, false);
    loader->forgetImportedModels();
    loader->loadModel("Scene/other.obj", glm::mat4(1.0f), true, false);
    ASSERT_EQ(loader->meshes.size(), 3u);
    EXPECT_EQ(colourOf(loader->meshes[0]->diffuseTextures[0]), glm::u8vec4(40, 50, 60, 255));
    EXPECT_EQ(loader->meshes[1]->indices.size(), 36u) << "built from the first load's import";
    EXPECT_EQ(loader->meshes[2]->indices.size(), 3u) << "read anew once forgotten";
}
