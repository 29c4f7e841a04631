// Scene nodes whose model gives them no mesh or no body: reported by file, and still updated.
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "SceneFixture.h"
#include "scene/Node.h"

using SceneNodes = SceneTest;

TEST_F(SceneNodes, NodesWithoutAMeshOrABodySayWhichFileAndStillUpdate)
{
    folder.write("Scene/room.obj", boxModel(-10.0f, 0.0f, -10.0f, 10.0f, 5.0f, 10.0f));
    folder.write("Scene/empty.x", "xof 0303txt 0032\nFrame Root {\n}\n");
    loader->loadModel("Scene/room.obj", glm::mat4(1.0f), true, false);
    Mesh* room = loader->meshes.back();

    testing::internal::CaptureStdout();
    loader->loadModel("Scene/missing.obj", glm::mat4(1.0f), true, false);
    Object missing("Scene/missing.obj", loader, at(1.0f, 0.0f, 0.0f), true, false);
    Object empty("Scene/empty.x", loader, at(2.0f, 0.0f, 0.0f), true, false);
    PhysicsObject statue(at(3.0f, 0.3f, 0.0f));
    Crate crate(at(4.0f, 0.3f, 0.0f));
    LodObject cow(at(5.0f, 0.0f, 0.0f));
    std::fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(loader->meshes, (std::vector<Mesh*>{room}));
    const std::string notLoaded = "File was not loaded Scene/missing.obj: Unable to open file \"Scene/missing.obj\".\n";
    EXPECT_NE(out.find(notLoaded + notLoaded), std::string::npos) << "a file that cannot be read is reported on every load";
    for (const char* file : {"Scene/missing.obj", "Scene/empty.x", "Scene/statue.obj", "Scene/CompanionCube.obj",
                             "Scene/giantCowHigh.obj", "Scene/GiantCowLow.obj"}) {
        std::string report = std::string("No mesh loaded from ") + file + "; the node has no mesh\n";
        EXPECT_NE(out.find(report), std::string::npos) << file;
        EXPECT_EQ(out.find(report), out.rfind(report)) << "reported once: " << file;
    }
    statue.chasing = true;
    statue.target = {7.0f, 0.3f, 7.0f};
    for (Node* node : std::initializer_list<Node*>{&missing, &empty, &statue, &crate, &cow}) {
        node->update(1.0 / 60.0);
        node->refresh();
    }
    EXPECT_NE(glm::vec3(statue.localMatrix[2]), glm::vec3(0.0f, 0.0f, 1.0f)) << "it still turns";
    const glm::mat4 turned = statue.localMatrix;
    statue.target = {0.0f, 5.0f, 3.0f};
    statue.update(1.0 / 60.0);
    EXPECT_EQ(statue.localMatrix, turned) << "a target whose x or z is 0 is none";
    EXPECT_EQ(room->modelMatrix, glm::mat4(1.0f)) << "no node moved another node's mesh";

    // A model flat in x gives a box the physics world refuses: the statue is never moved through it.
    folder.write("Scene/statue.obj", "v 0 0 0\nv 0 2 0\nv 0 0 1\nf 1 2 3\n");
    PhysicsObject flat(at(1.0f, 0.3f, 1.0f));
    ASSERT_NE(flat.mesh, nullptr);
    EXPECT_EQ(flat.mesh->physicsActor, nullptr);
    flat.chasing = true;
    flat.approach(5.0f, 0.3f, 5.0f, 0.1f);
    flat.update(1.0 / 60.0);
    EXPECT_EQ(glm::vec3(flat.localMatrix[3]), glm::vec3(1.0f, 0.3f, 1.0f)) << "no body, no sync";
}
