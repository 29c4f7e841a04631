// Model textures by material name, from the Scene folder.
#include <gtest/gtest.h>

#include <string>

#include "SceneFixture.h"

using ModelImport = SceneTest;

// A name written on Windows finds its picture; normal maps sit in the opacity entries; a line is
// left out with one line naming the model.
TEST_F(ModelImport, TexturesAreLoadedFromTheSceneFolderByTheirMaterialNames)
{
    writeImage("Scene/maps/red.tga", 255, 0, 0);
    writeImage("Scene/green.tga", 0, 255, 0);
    folder.write("Scene/two.mtl", "newmtl paint\nmap_Kd maps\\red.tga\nmap_d .\\green.tga\n");
    folder.write("Scene/two.obj", "mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl paint\nf 1 2 3\nl 1 2\n");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(loader->loadModel("Scene/two.obj", glm::mat4(1.0f), true, false));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Scene/two.obj: lines and points left out, only triangles are drawn\n"), std::string::npos) << out;
    ASSERT_EQ(loader->meshes.size(), 1u);

    const Mesh& two = *loader->meshes[0];
    EXPECT_EQ(two.indices.size(), 3u);
    ASSERT_EQ(two.diffuseTextures.size(), 1u);
    ASSERT_EQ(two.normalTextures.size(), 1u);
    EXPECT_EQ(colourOf(two.diffuseTextures[0]), glm::u8vec4(255, 0, 0, 255));
    EXPECT_EQ(colourOf(two.normalTextures[0]), glm::u8vec4(0, 255, 0, 255));
}
