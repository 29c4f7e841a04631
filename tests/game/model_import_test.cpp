// Models from files into meshes: node order, the caller's matrix, textures by material name.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "SceneFixture.h"

namespace {

// Three single-triangle meshes in nested frames that move and scale them; the first vertex of
// each tells which one it is (x = 0, 10, 20).
const char* nestedModel = R"(xof 0303txt 0032
Frame Root {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,100.0,0.0,0.0,1.0;; }
 Mesh RootMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
 Frame Child {
  FrameTransformMatrix { 2.0,0.0,0.0,0.0,0.0,2.0,0.0,0.0,0.0,0.0,2.0,0.0,0.0,50.0,0.0,1.0;; }
  Mesh ChildMesh { 3; 10;0;0;, 11;0;0;, 10;1;0;; 1; 3;0,1,2;; }
 }
 Frame Sibling { Mesh SiblingMesh { 3; 20;0;0;, 21;0;0;, 20;1;0;; 1; 3;0,1,2;; } }
}
)";

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

}  // namespace

using ModelImport = SceneTest;

TEST_F(ModelImport, MeshesComeDepthFirstWithTheCallersMatrixOnly)
{
    folder.write("Scene/nested.x", nestedModel);
    testing::internal::CaptureStdout();
    loader->loadModel("Scene/nested.x", at(1.0f, 2.0f, 3.0f), true, false);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n\n\n") << "one empty line per mesh and nothing else";
    ASSERT_EQ(loader->meshes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const Mesh& mesh = *loader->meshes[i];
        EXPECT_EQ(mesh.boundingBox->minCorner, glm::vec3(10.0f * i, 0.0f, 0.0f)) << "no node transform, mesh " << i;
        EXPECT_EQ(mesh.boundingBox->maxCorner, glm::vec3(10.0f * i + 1.0f, 1.0f, 0.0f)) << "mesh " << i;
        EXPECT_EQ(mesh.modelMatrix, at(1.0f, 2.0f, 3.0f));
        EXPECT_EQ(mesh.boundingBox->boxMatrix, at(1.0f, 2.0f, 3.0f));
    }
}

TEST_F(ModelImport, TexturesAreLoadedFromTheSceneFolderByTheirMaterialNames)
{
    writeImage("Scene/red.tga", 255, 0, 0);
    writeImage("Scene/green.tga", 0, 255, 0);
    writeImage("Scene/maps/blue.tga", 0, 0, 255);
    writeImage("Scene/white.tga", 255, 255, 255);
    folder.write("Scene/two.x", twoDiffuseModel);
    folder.write("Scene/bumpy.mtl", "newmtl bumpy\nmap_Kd maps/blue.tga\nmap_d white.tga\n");
    folder.write("Scene/bumpy.obj", "mtllib bumpy.mtl\nusemtl bumpy\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    loader->loadModel("Scene/two.x", glm::mat4(1.0f), true, false);
    loader->loadModel("Scene/bumpy.obj", glm::mat4(1.0f), true, false);
    ASSERT_EQ(loader->meshes.size(), 2u);

    const Mesh& two = *loader->meshes[0];
    ASSERT_EQ(two.diffuseTextures.size(), 2u);
    EXPECT_TRUE(two.normalTextures.empty());
    EXPECT_EQ(colourOf(two.diffuseTextures[0]), glm::u8vec4(255, 0, 0, 255));
    EXPECT_EQ(colourOf(two.diffuseTextures[1]), glm::u8vec4(0, 255, 0, 255));
    const Mesh& bumpy = *loader->meshes[1];
    ASSERT_EQ(bumpy.diffuseTextures.size(), 1u);
    ASSERT_EQ(bumpy.normalTextures.size(), 1u) << "normal maps come from the opacity entries";
    EXPECT_EQ(colourOf(bumpy.diffuseTextures[0]), glm::u8vec4(0, 0, 255, 255)) << "the folder part is kept";
    EXPECT_EQ(colourOf(bumpy.normalTextures[0]), glm::u8vec4(255, 255, 255, 255));
}
