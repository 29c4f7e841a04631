// Model textures by material name, from the Scene folder.
#include <gtest/gtest.h>

#include <string>

#include "SceneFixture.h"

// One mesh whose material names two diffuse textures.
const char* twoDiffuseModel = R"(xof 0303txt 0032
Material Painted {
 1.0;1.0;1.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;
 TextureFilename { "red.tga"; }
 TextureFilename { "green.tga"; }
}
Frame Root {
 Mesh Painted { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Painted } } }
}
)";

using ModelImport = SceneTest;

TEST_F(ModelImport, TexturesAreLoadedFromTheSceneFolderByTheirMaterialNames)
{
    writeImage("Scene/red.tga", 255, 0, 0);
    writeImage("Scene/green.tga", 0, 255, 0);
    folder.write("Scene/two.x", twoDiffuseModel);
    loader->loadModel("Scene/two.x", glm::mat4(1.0f), true, false);
    ASSERT_EQ(loader->meshes.size(), 1u);

    const Mesh& two = *loader->meshes[0];
    ASSERT_EQ(two.diffuseTextures.size(), 2u);
    EXPECT_TRUE(two.normalTextures.empty());
    EXPECT_EQ(colourOf(two.diffuseTextures[0]), glm::u8vec4(255, 0, 0, 255));
    EXPECT_EQ(colourOf(two.diffuseTextures[1]), glm::u8vec4(0, 255, 0, 255));
}
