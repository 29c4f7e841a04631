// Scene nodes driving real meshes and bodies: statues, crates, the cow's level of detail, and
// nodes whose model could not give them a mesh or a body.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "SceneFixture.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "scene/Node.h"

constexpr double frameTime = 1.0 / 60.0;

class SceneNodes : public SceneTest {
protected:
    // A statue 2 high and 1 wide standing on its origin; a crate 2 wide.
    void writeModels()
    {
        folder.write("Scene/statue.obj", boxModel(-0.5f, 0.0f, -0.5f, 0.5f, 2.0f, 0.5f));
        folder.write("Scene/CompanionCube.obj", boxModel(-1.0f, 0.0f, -1.0f, 1.0f, 2.0f, 1.0f));
    }
    void step(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            loader->physicsWorld->step(frameTime);
    }
};

TEST_F(SceneNodes, StatuesArePushedOnlyWhileChasingAndFollowTheirBodyFacingTheTarget)
{
    writeModels();
    PhysicsObject statue(at(0.0f, 0.3f, 0.0f));
    ASSERT_NE(statue.mesh, nullptr);
    phys::RigidDynamic* body = statue.mesh->physicsActor;
    ASSERT_NE(body, nullptr) << "a statue's mesh carries its dynamic body";
    EXPECT_NEAR(body->getGlobalPose().p.y, 1.3f, 1e-5f) << "at the box centre";

    statue.approach(10.0f, 0.3f, 4.0f, 0.5f);
    step();
    EXPECT_EQ(statue.target, glm::vec3(0.0f)) << "a sleeping statue keeps no target";
    EXPECT_EQ(body->getLinearVelocity().x, 0.0f);
    EXPECT_EQ(body->getLinearVelocity().z, 0.0f);

    statue.chasing = true;
    glm::vec3 from = body->getGlobalPose().p;
    statue.approach(10.0f, 0.3f, 4.0f, 0.0f);
    step();
    // The force equals the offset, so one step changes the velocity by offset × dt / mass.
    float perUnit = static_cast<float>(frameTime) / body->getMass();
    EXPECT_NEAR(body->getLinearVelocity().x, (10.0f - from.x) * perUnit, 1e-4f);
    EXPECT_NEAR(body->getLinearVelocity().z, (4.0f - from.z) * perUnit, 1e-4f);

    body->setLinearVelocity({6.0f, 0.0f, -6.0f}, true);
    body->setAngularVelocity({0.0f, 3.0f, 0.0f}, true);
    step(10);
    glm::vec3 p = body->getGlobalPose().p;
    statue.target = {p.x + 10.0f, 0.3f, p.z};
    statue.update(frameTime);
    EXPECT_EQ(glm::vec3(statue.localMatrix[3]), glm::vec3(p.x, 0.3f, p.z)) << "x and z from the body, its own height";
    EXPECT_NEAR(statue.localMatrix[2].x, 1.0f, 1e-4f) << "turned to face the target on +x";
    EXPECT_EQ(statue.mesh->modelMatrix, statue.worldMatrix());
    EXPECT_EQ(body->getAngularVelocity(), glm::vec3(0.0f)) << "statues do not spin";

    // Not driven by its body, a chasing statue takes the target but is not pushed.
    body->setLinearVelocity(glm::vec3(0.0f), true);
    statue.bodyDriven = false;
    statue.approach(-3.0f, 0.3f, -3.0f, 0.0f);
    step();
    EXPECT_EQ(statue.target, glm::vec3(-3.0f, 0.3f, -3.0f));
    EXPECT_EQ(body->getLinearVelocity().x, 0.0f);
}

TEST_F(SceneNodes, CratesAndObjectsPlaceTheirMeshes)
{
    writeModels();
    Crate crate(at(5.0f, 0.3f, 0.0f));
    phys::RigidDynamic* body = crate.mesh->physicsActor;
    ASSERT_NE(body, nullptr) << "the crate body is stored in the mesh";
    EXPECT_NEAR(body->getMass(), 8.0f, 1e-3f) << "a cube of the box's half width";
    body->setLinearVelocity({0.0f, 0.0f, 12.0f}, true);
    step(10);
    glm::vec3 p = body->getGlobalPose().p;
    ASSERT_GT(p.z, 1.0f);
    crate.update(frameTime);
    EXPECT_EQ(crate.localMatrix, at(p.x, 0.3f, p.z)) << "x and z from the body, no turn";
    EXPECT_EQ(crate.mesh->modelMatrix, crate.worldMatrix());

    Object harvester("Scene/CompanionCube.obj", loader, at(0.0f, 0.0f, -35.0f), true, false);
    Object rotor("Scene/statue.obj", loader, at(0.0f, 1.0f, 0.0f), true, false);
    EXPECT_EQ(rotor.mesh->modelMatrix, at(0.0f, 1.0f, 0.0f)) << "loaded with the node's matrix";
    harvester.addChild(&rotor);
    harvester.setPosition(3.0f, 0.0f, 16.0f);
    harvester.update(frameTime);
    EXPECT_EQ(harvester.mesh->modelMatrix, at(3.0f, 0.0f, 16.0f));
    EXPECT_EQ(rotor.mesh->modelMatrix, at(3.0f, 1.0f, 16.0f)) << "the child's mesh follows the parent";
}

TEST_F(SceneNodes, TheCowShowsItsCoarseMeshFromFortyUnitsOn)
{
    folder.write("Scene/giantCowHigh.obj", boxModel(-2.0f, 0.0f, -1.0f, 2.0f, 3.0f, 1.0f));
    folder.write("Scene/GiantCowLow.obj", boxModel(-2.0f, 0.0f, -1.0f, 2.0f, 3.0f, 1.0f));
    // The eye is 2.5 above the body: a body at (40, -2.5, 0) puts it exactly 40 from the origin.
    player = new Player();
    player->body = loader->physicsWorld->createPlayerBody(1.0f, 40.0f, -2.5f, 0.0f);
    LodObject cow(glm::mat4(1.0f));
    ASSERT_NE(cow.highMesh, nullptr);
    ASSERT_NE(cow.lowMesh, cow.highMesh);
    cow.update(frameTime);
    EXPECT_FALSE(cow.highMesh->visible) << "exactly 40 away shows the coarse mesh";
    EXPECT_TRUE(cow.lowMesh->visible);
    cow.player->body = loader->physicsWorld->createPlayerBody(1.0f, 39.99f, -2.5f, 0.0f);
    cow.update(frameTime);
    EXPECT_TRUE(cow.highMesh->visible);
    EXPECT_FALSE(cow.lowMesh->visible);

    // The cow places its meshes by its own matrix, whatever its parent does.
    Node hall(at(100.0f, 0.0f, 0.0f));
    hall.addChild(&cow);
    cow.setPosition(1.4f, 2.0f, 62.0f);
    hall.update(frameTime);
    EXPECT_EQ(cow.highMesh->modelMatrix, at(1.4f, 2.0f, 62.0f));
    EXPECT_EQ(cow.lowMesh->boundingBox->boxMatrix, at(1.4f, 2.0f, 62.0f));
    EXPECT_FALSE(cow.highMesh->visible) << "now far from the eye";
}

TEST_F(SceneNodes, NodesWithoutAMeshOrABodySayWhichFileAndStillUpdate)
{
    // A mesh loaded earlier must not be taken by the nodes below.
    folder.write("Scene/room.obj", boxModel(-10.0f, 0.0f, -10.0f, 10.0f, 5.0f, 10.0f));
    folder.write("Scene/empty.x", "xof 0303txt 0032\nFrame Root {\n}\n");
    loader->loadModel("Scene/room.obj", glm::mat4(1.0f), true, false);
    Mesh* room = loader->meshes.back();

    testing::internal::CaptureStdout();
    Object missing("Scene/missing.obj", loader, at(1.0f, 0.0f, 0.0f), true, false);
    Object empty("Scene/empty.x", loader, at(2.0f, 0.0f, 0.0f), true, false);
    PhysicsObject statue(at(3.0f, 0.3f, 0.0f));
    Crate crate(at(4.0f, 0.3f, 0.0f));
    LodObject cow(at(5.0f, 0.0f, 0.0f));
    std::fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(loader->meshes, (std::vector<Mesh*>{room}));
    for (const char* file : {"Scene/missing.obj", "Scene/empty.x", "Scene/statue.obj", "Scene/CompanionCube.obj",
                             "Scene/giantCowHigh.obj", "Scene/GiantCowLow.obj"}) {
        std::string report = std::string("No mesh loaded from ") + file + "; the node has no mesh\n";
        EXPECT_NE(out.find(report), std::string::npos) << file;
        EXPECT_EQ(out.find(report), out.rfind(report)) << "reported once: " << file;
    }
    statue.chasing = true;
    statue.approach(0.0f, 0.3f, 9.0f, 0.1f);
    EXPECT_EQ(statue.target, glm::vec3(0.0f, 0.3f, 9.0f));
    statue.target = {7.0f, 0.3f, 7.0f};
    for (Node* node : std::initializer_list<Node*>{&missing, &empty, &statue, &crate, &cow}) {
        node->update(frameTime);
        node->refresh();
    }
    EXPECT_NE(glm::vec3(statue.localMatrix[2]), glm::vec3(0.0f, 0.0f, 1.0f)) << "it still turns";
    EXPECT_EQ(room->modelMatrix, glm::mat4(1.0f)) << "no node moved another node's mesh";

    // A model flat in x gives a box the physics world refuses: the statue is never moved through it.
    folder.write("Scene/statue.obj", "v 0 0 0\nv 0 2 0\nv 0 0 1\nf 1 2 3\n");
    PhysicsObject flat(at(1.0f, 0.3f, 1.0f));
    ASSERT_NE(flat.mesh, nullptr);
    EXPECT_EQ(flat.mesh->physicsActor, nullptr);
    flat.chasing = true;
    flat.approach(5.0f, 0.3f, 5.0f, 0.1f);
    flat.update(frameTime);
    EXPECT_EQ(glm::vec3(flat.localMatrix[3]), glm::vec3(1.0f, 0.3f, 1.0f)) << "no body, no sync";
    EXPECT_EQ(flat.mesh->modelMatrix, flat.worldMatrix());
}
