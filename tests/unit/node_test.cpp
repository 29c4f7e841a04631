// Scene nodes: placement, parenting, turning to face a point.
#include "scene/Node.h"

#include <gtest/gtest.h>

#include <vector>

#include <glm/gtc/matrix_transform.hpp>

namespace {

glm::mat4 at(float x, float y, float z)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

glm::vec3 axis(const glm::mat4& m, int column)
{
    return glm::vec3(m[column]);
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << what;
}

// Records the order in which nodes are updated.
class Probe : public Node {
public:
    Probe(std::vector<Probe*>& log) : Node(glm::mat4(1.0f)), log(log) {}
    void update(double dt) override
    {
        log.push_back(this);
        Node::update(dt);
    }
    std::vector<Probe*>& log;
};

}  // namespace

TEST(Node, AngleBetweenIsInDegreesAndNeverNegative)
{
    EXPECT_NEAR(angleBetween({1, 0, 0}, {0, 0, 3}), 90.0f, 1e-4f);
    EXPECT_NEAR(angleBetween({1, 0, 0}, {-2, 0, 0}), 180.0f, 1e-4f);
    EXPECT_NEAR(angleBetween({1, 1, 0}, {5, 0, 0}), 45.0f, 1e-3f);
    EXPECT_EQ(angleBetween({0, 0, 7}, {0, 0, 1}), 0.0f);
    EXPECT_EQ(angleBetween({0, 0, 0}, {0, 0, 1}), 0.0f) << "no direction, no angle";
    EXPECT_EQ(angleBetween({1, 2, 3}, {0, 0, 0}), 0.0f);
}

TEST(Node, FaceTowardsTurnsAboutTheOwnVerticalAxis)
{
    Node right(glm::mat4(1.0f));
    right.faceTowards(1.0f, 0.0f, 0.0f);
    expectNear(axis(right.localMatrix, 2), {1, 0, 0}, "a target on +x turns the nose to +x");
    expectNear(axis(right.localMatrix, 0), {0, 0, -1}, "by +90 degrees");
    expectNear(axis(right.localMatrix, 1), {0, 1, 0}, "about y");

    Node left(glm::mat4(1.0f));
    left.faceTowards(-1.0f, 0.0f, 0.0f);
    expectNear(axis(left.localMatrix, 2), {-1, 0, 0}, "a target on -x turns the nose to -x");
    expectNear(axis(left.localMatrix, 0), {0, 0, 1}, "by -90 degrees");

    Node ahead(at(5.0f, 1.0f, 0.0f));
    glm::mat4 before = ahead.localMatrix;
    ahead.faceTowards(5.0f, 1.0f, 10.0f);
    EXPECT_EQ(ahead.localMatrix, before) << "a target straight ahead leaves the node as it was";

    // Behind: a half turn, after which the target is ahead and nothing more happens.
    Node behind(at(0.0f, 0.0f, 4.0f));
    behind.faceTowards(0.001f, 0.0f, 0.0f);
    expectNear(axis(behind.localMatrix, 2), {0, 0, -1}, "a target behind turns the node round");
    before = behind.localMatrix;
    behind.faceTowards(0.0f, 0.0f, -20.0f);
    EXPECT_EQ(behind.localMatrix, before);
}

TEST(Node, ApproachTurnsThenStepsAlongTheNewHeading)
{
    Node node(at(1.0f, 0.0f, 0.0f));
    node.approach(4.0f, 0.0f, 0.0f, 0.5f);
    expectNear(axis(node.localMatrix, 3), {1.5f, 0.0f, 0.0f}, "stepped towards +x");
    node.approach(4.0f, 0.0f, 0.0f, 0.0f);
    expectNear(axis(node.localMatrix, 3), {1.5f, 0.0f, 0.0f}, "a step of 0 stays put");
}

TEST(Node, MovesAndTurnsInItsOwnFrame)
{
    Node node(at(2.0f, 0.0f, 0.0f));
    node.rotateY(90.0f);
    node.translate(0.0f, 0.0f, 3.0f);
    expectNear(axis(node.localMatrix, 3), {5.0f, 0.0f, 0.0f}, "translate follows the node's own z");

    node.localMatrix = glm::scale(node.localMatrix, glm::vec3(4.0f));
    node.setPosition(-1.0f, 2.0f, 3.0f);
    EXPECT_EQ(node.localMatrix, at(-1.0f, 2.0f, 3.0f)) << "setPosition drops rotation and scale";
}

TEST(Node, ChildFollowsItsParent)
{
    Node parent(at(10.0f, 0.0f, 0.0f));
    Node child(at(0.0f, 1.0f, 2.0f));
    parent.addChild(&child);
    EXPECT_EQ(child.parent, &parent);
    expectNear(axis(child.worldMatrix(), 3), {10.0f, 1.0f, 2.0f}, "parent's translation included");

    parent.rotateY(90.0f);
    expectNear(axis(child.worldMatrix(), 3), {12.0f, 1.0f, 0.0f}, "and its rotation");
    parent.setPosition(0.0f, -5.0f, 0.0f);
    expectNear(axis(child.worldMatrix(), 3), {0.0f, -4.0f, 2.0f}, "moving the parent moves the child");
    EXPECT_EQ(child.localMatrix, at(0.0f, 1.0f, 2.0f)) << "the child's own matrix is untouched";

    Node grandchild(at(0.0f, 0.0f, 1.0f));
    child.addChild(&grandchild);
    expectNear(axis(grandchild.worldMatrix(), 3), {0.0f, -4.0f, 3.0f}, "through two levels");

    // Adopting a child takes it from its previous parent.
    Node other(glm::mat4(1.0f));
    other.addChild(&child);
    EXPECT_TRUE(parent.children.empty());
    EXPECT_EQ(child.parent, &other);
    other.addChild(nullptr);
    EXPECT_EQ(other.children.size(), 1u);
}

TEST(Node, RemoveChildTakesOnlyTheFirstEntry)
{
    Node parent(glm::mat4(1.0f));
    Node a(glm::mat4(1.0f));
    Node b(glm::mat4(1.0f));
    parent.removeChild(&a);
    EXPECT_TRUE(parent.children.empty());

    parent.addChild(&a);
    parent.addChild(&b);
    parent.children.push_back(&a);
    parent.removeChild(&a);
    EXPECT_EQ(parent.children, (std::vector<Node*>{&b, &a}));
    parent.removeChild(nullptr);
    Node stranger(glm::mat4(1.0f));
    parent.removeChild(&stranger);
    EXPECT_EQ(parent.children, (std::vector<Node*>{&b, &a}));
}

TEST(Node, UpdateVisitsChildrenInOrderAndSkipsEmptyEntries)
{
    std::vector<Probe*> log;
    Probe root(log);
    Probe first(log);
    Probe second(log);
    Probe grandchild(log);
    root.addChild(&first);
    root.children.push_back(nullptr);
    root.addChild(&second);
    first.addChild(&grandchild);

    root.update(0.016);
    EXPECT_EQ(log, (std::vector<Probe*>{&root, &first, &grandchild, &second}));
}
