// Models from files into meshes: node order, vertex records, textures, failures, repeated loads.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SceneFixture.h"

namespace {

// Four single-triangle meshes in nested frames whose own transformations move, scale and push
// them; the first vertex of each mesh tells which one it is (x = 0, 10, 20, 30).
const char* nestedModel = R"(xof 0303txt 0032
Frame Root {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,100.0,0.0,0.0,1.0;;
 }
 Mesh RootMesh {
  3; 0;0;0;, 1;0;0;, 0;1;0;;
  1; 3;0,1,2;;
 }
 Frame Child {
  FrameTransformMatrix {
   2.0,0.0,0.0,0.0,0.0,2.0,0.0,0.0,0.0,0.0,2.0,0.0,0.0,50.0,0.0,1.0;;
  }
  Mesh ChildMesh {
   3; 10;0;0;, 11;0;0;, 10;1;0;;
   1; 3;0,1,2;;
  }
  Frame GrandChild {
   FrameTransformMatrix {
    1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,7.0,1.0;;
   }
   Mesh GrandChildMesh {
    3; 20;0;0;, 21;0;0;, 20;1;0;;
    1; 3;0,1,2;;
   }
  }
 }
 Frame Sibling {
  Mesh SiblingMesh {
   3; 30;0;0;, 31;0;0;, 30;1;0;;
   1; 3;0,1,2;;
  }
 }
}
)";

// Frames without a single mesh.
const char* emptyModel = R"(xof 0303txt 0032
Frame Root {
 Frame Child {
 }
}
)";

// One mesh whose material names two diffuse textures.
const char* twoDiffuseModel = R"(xof 0303txt 0032
Material Painted {
 1.0;1.0;1.0;1.0;;
 1.0;
 0.0;0.0;0.0;;
 0.0;0.0;0.0;;
 TextureFilename { "red.tga"; }
 TextureFilename { "green.tga"; }
}
Frame Root {
 Mesh Painted {
  3; 0;0;0;, 1;0;0;, 0;1;0;;
  1; 3;0,1,2;;
  MeshMaterialList { 1; 1; 0;; { Painted } }
 }
}
)";

std::string capture(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

class ModelImport : public SceneTest {};

TEST_F(ModelImport, MeshesComeDepthFirstWithTheCallersMatrixOnly)
{
    folder.write("Scene/nested.x", nestedModel);
    glm::mat4 model = at(1.0f, 2.0f, 3.0f);
    std::string out = capture([&] { loader->loadModel("Scene/nested.x", model, true, false); });
    EXPECT_EQ(out, "\n\n\n\n") << "one empty line per mesh and nothing else";

    ASSERT_EQ(loader->meshes.size(), 4u);
    const float firstX[4] = {0.0f, 10.0f, 20.0f, 30.0f};
    for (int i = 0; i < 4; ++i) {
        const Mesh& mesh = *loader->meshes[i];
        ASSERT_EQ(mesh.vertices.size(), 3u);
        EXPECT_EQ(mesh.vertices[0].position.x, firstX[i]) << "mesh " << i;
        EXPECT_EQ(mesh.vertices[1].position.x, firstX[i] + 1.0f) << "node scaling not applied, mesh " << i;
        EXPECT_EQ(mesh.vertices[2].position.y, 1.0f) << "node translation not applied, mesh " << i;
        EXPECT_EQ(mesh.modelMatrix, model);
        EXPECT_EQ(mesh.boundingBox->boxMatrix, model);
        EXPECT_EQ(mesh.boundingBox->minCorner, glm::vec3(firstX[i], 0.0f, 0.0f));
        EXPECT_EQ(mesh.boundingBox->maxCorner, glm::vec3(firstX[i] + 1.0f, 1.0f, 0.0f));
        EXPECT_EQ(mesh.indices.size(), 3u);
        EXPECT_EQ(mesh.physicsActor, nullptr);
        EXPECT_TRUE(mesh.visible);
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

TEST_F(ModelImport, UnreadableFilesAreReportedAndAddNothing)
{
    folder.write("Scene/box.obj", boxModel(0, 0, 0, 1, 1, 1));
    folder.write("Scene/garbage.xyz", "not a model\n");
    folder.write("Scene/empty.x", emptyModel);
    loader->loadModel("Scene/box.obj", glm::mat4(1.0f), true, false);
    ASSERT_EQ(loader->meshes.size(), 1u);
    Mesh* first = loader->meshes[0];

    EXPECT_EQ(capture([&] { loader->loadModel("Scene/missing.obj", glm::mat4(1.0f), true, true); }),
              "File was not loaded Scene/missing.obj\n");
    EXPECT_EQ(capture([&] { loader->loadModel("Scene/garbage.xyz", glm::mat4(1.0f), false, true); }),
              "File was not loaded Scene/garbage.xyz\n");
    EXPECT_EQ(capture([&] { loader->loadModel("Scene/empty.x", glm::mat4(1.0f), true, true); }), "")
        << "a readable model without meshes adds nothing and says nothing";
    EXPECT_EQ(loader->meshes, (std::vector<Mesh*>{first}));
}

TEST_F(ModelImport, LoadingTheSameModelTwiceGivesIndependentMeshes)
{
    writeImage("Scene/skin.tga", 10, 20, 30);
    folder.write("Scene/skinned.mtl", "newmtl skinned\nmap_Kd skin.tga\nmap_d skin.tga\n");
    folder.write("Scene/skinned.obj", "mtllib skinned.mtl\nusemtl skinned\n" + boxModel(0, 0, 0, 1, 1, 1));
    loader->loadModel("Scene/skinned.obj", at(5.0f, 0.0f, 0.0f), true, false);
    loader->loadModel("Scene/skinned.obj", at(-5.0f, 0.0f, 0.0f), true, false);
    ASSERT_EQ(loader->meshes.size(), 2u);
    Mesh& a = *loader->meshes[0];
    Mesh& b = *loader->meshes[1];
    EXPECT_NE(a.vertexArray, b.vertexArray);
    EXPECT_NE(a.vertexBuffer, b.vertexBuffer);
    EXPECT_NE(a.indexBuffer, b.indexBuffer);
    EXPECT_NE(a.boundingBox, b.boundingBox);
    ASSERT_EQ(a.diffuseTextures.size(), 1u);
    ASSERT_EQ(b.diffuseTextures.size(), 1u);
    EXPECT_EQ(a.diffuseTextures[0], b.diffuseTextures[0]) << "one picture, one texture";
    EXPECT_EQ(a.normalTextures[0], a.diffuseTextures[0]);

    b.setModelMatrix(at(0.0f, 9.0f, 0.0f));
    EXPECT_EQ(a.modelMatrix, at(5.0f, 0.0f, 0.0f));
    EXPECT_EQ(b.boundingBox->boxMatrix, at(0.0f, 9.0f, 0.0f));

    GLuint textures[] = {a.diffuseTextures[0], a.normalTextures[0], b.diffuseTextures[0]};
    GLuint buffer = a.vertexBuffer;
    delete loader;
    loader = nullptr;
    for (GLuint texture : textures)
        EXPECT_FALSE(glIsTexture(texture)) << "the loader's meshes release their textures";
    EXPECT_FALSE(glIsBuffer(buffer));
}
