// Scene nodes: the angle between directions, turning round, placement and parenting.
#include "scene/Node.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace {

glm::mat4 at(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)); }

glm::vec3 column(const glm::mat4& m, int i) { return glm::vec3(m[i]); }

void expectNear(const glm::vec3& actual, const glm::vec3& expected, const char* what)
{
    EXPECT_LT(glm::length(actual - expected), 1e-5f) << what;
}

}  // namespace

TEST(Node, AngleBetweenIsInDegreesNeverNegativeAndNeverNaN)
{
    const struct { glm::vec3 u, v; float degrees; } cases[] = {
        {{1, 0, 0}, {0, 0, 3}, 90}, {{1, 0, 0}, {-2, 0, 0}, 180}, {{1, 1, 0}, {5, 0, 0}, 45},
        {{0, 0, 7}, {0, 0, 1}, 0},  {{0, 0, 0}, {0, 0, 1}, 0},    {{1, 2, 3}, {0, 0, 0}, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(angleBetween(c.u, c.v), c.degrees, 1e-3f) << c.degrees;

    // Targets straight behind or ahead of a node turned to any heading: rounding must neither give
    // NaN nor keep the node from turning round.
    int wrong = 0;
    for (int degrees = 0; degrees < 360; ++degrees) {
        for (float distance : {1.0f, 3.0f, 7.5f, 20.0f}) {
            const glm::vec3 position(2.0f, 0.5f, -3.0f);
            const glm::mat4 placed = glm::rotate(at(position.x, position.y, position.z), glm::radians(float(degrees)),
                                                 glm::vec3(0.0f, 1.0f, 0.0f));
            const glm::vec3 forward = column(placed, 2);
            Node node(placed);
            const glm::vec3 target = position - forward * distance;
            node.faceTowards(target.x, target.y, target.z);
            const bool right = std::fabs(angleBetween(-forward * distance, forward) - 180.0f) < 0.1f &&
                               angleBetween(forward * distance, forward) < 0.1f &&
                               glm::dot(column(node.localMatrix, 2), -forward) > 0.9999f;
            EXPECT_TRUE(right || ++wrong > 1) << degrees << " degrees, distance " << distance << " (first wrong)";
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Node, ApproachesAndMovesInItsOwnFrame)
{
    Node node(at(1.0f, 0.0f, 0.0f));
    node.approach(4.0f, 0.0f, 0.0f, 0.5f);
    expectNear(column(node.localMatrix, 3), {1.5f, 0.0f, 0.0f}, "turned, then stepped towards +x");
    node.setPosition(2.0f, 0.0f, 0.0f);
    node.rotateY(90.0f);
    node.translate(0.0f, 0.0f, 3.0f);
    expectNear(column(node.localMatrix, 3), {5.0f, 0.0f, 0.0f}, "translate follows the node's own z");
    node.localMatrix = glm::scale(node.localMatrix, glm::vec3(4.0f));
    node.setPosition(-1.0f, 2.0f, 3.0f);
    EXPECT_EQ(node.localMatrix, at(-1.0f, 2.0f, 3.0f)) << "setPosition drops rotation and scale";
}

TEST(Node, ChildrenFollowTheirParentThroughTwoLevels)
{
    Node parent(at(10.0f, 0.0f, 0.0f));
    Node child(at(0.0f, 1.0f, 2.0f));
    Node grandchild(at(0.0f, 0.0f, 1.0f));
    parent.addChild(&child);
    child.addChild(&grandchild);
    parent.rotateY(90.0f);
    expectNear(column(child.worldMatrix(), 3), {12.0f, 1.0f, 0.0f}, "the parent's translation and rotation");
    parent.setPosition(0.0f, -5.0f, 0.0f);
    expectNear(column(grandchild.worldMatrix(), 3), {0.0f, -4.0f, 3.0f}, "through two levels");
    EXPECT_EQ(child.localMatrix, at(0.0f, 1.0f, 2.0f)) << "the child's own matrix is untouched";

    Node other(glm::mat4(1.0f));
    other.addChild(&child);
    other.addChild(nullptr);
    other.children.push_back(nullptr);
    other.update(0.016);  // empty entries are skipped
    EXPECT_TRUE(parent.children.empty()) << "adopting a child takes it from its previous parent";
    EXPECT_EQ(child.parent, &other);
    EXPECT_EQ(other.children.size(), 2u) << "addChild ignores an empty entry";
}
