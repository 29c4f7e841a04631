// Scene geometry: bounding boxes, their sample points and radii, the camera's frustum planes and
// culling; nodes turning, moving and following their parent.
#include "core/BoundingBox.h"

#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "core/GameState.h"
#include "physics/Player.h"
#include "scene/Node.h"

namespace {

glm::mat4 at(const glm::vec3& p) { return glm::translate(glm::mat4(1.0f), p); }

glm::vec3 column(const glm::mat4& m, int i) { return glm::vec3(m[i]); }

const glm::mat4 lookAhead = glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));

}  // namespace

TEST(BoundingBox, SamplePointsRadiiAndHalfExtents)
{
    BoundingBox box({-1.0f, 0.0f, 2.0f}, {3.0f, 3.0f, 14.0f});
    // Diagonal sqrt(16 + 9 + 144) = 13.
    EXPECT_FLOAT_EQ(box.nearRadius, 13.0f);
    EXPECT_FLOAT_EQ(box.cullRadius, 13.0f);
    EXPECT_FLOAT_EQ(box.touchRadius, 13.0f / 1.5f);
    EXPECT_EQ(box.center, glm::vec3(1.0f, 1.5f, 8.0f));
    EXPECT_EQ(box.halfExtents, glm::vec3(2.0f, 1.5f, 6.0f));
    // Sample 0 is the corner touch is measured from; together the points are the eight corners,
    // the centre and the middles of the four vertical edges, each once.
    EXPECT_EQ(box.samplePoints[0], glm::vec3(3, 3, 2));
    for (int i = 0; i < BoundingBox::sampleCount; ++i) {
        const glm::vec3 p = box.samplePoints[i];
        for (int j = 0; j < i; ++j)
            EXPECT_NE(box.samplePoints[j], p) << "sample points " << j << " and " << i;
        const bool onAVerticalEdge = (p.x == -1 || p.x == 3) && (p.z == 2 || p.z == 14);
        EXPECT_TRUE(p == box.center || (onAVerticalEdge && (p.y == 0 || p.y == 1.5f || p.y == 3))) << i;
    }
}

TEST(BoundingBox, NearAndTouchAreStrictAndFollowTheBoxMatrix)
{
    // Diagonal 5: near within 5 of the centre, touching within 5/1.5 of the corner (3, 4, 0).
    BoundingBox box({0.0f, 0.0f, 0.0f}, {3.0f, 4.0f, 0.0f});
    EXPECT_FALSE(box.isNear({1.5f, 7.0f, 0.0f})) << "exactly on the near radius";
    EXPECT_TRUE(box.isNear({1.5f, 6.99f, 0.0f}));
    EXPECT_TRUE(box.isTouching({3.0f, 4.0f, 3.3f}));
    EXPECT_FALSE(box.isTouching({3.0f, 4.0f, 3.34f}));
    EXPECT_FALSE(box.isTouching({0.0f, 0.0f, 0.0f})) << "measured from sample point 0, not the centre";

    box.boxMatrix = at({100.0f, 0.0f, 0.0f});
    EXPECT_FALSE(box.isNear({1.5f, 2.0f, 0.0f}));
    EXPECT_TRUE(box.isNear({101.5f, 2.0f, 0.0f}));
    EXPECT_TRUE(box.isTouching({103.0f, 4.0f, 0.0f}));

    BoundingBox point({2.0f, 3.0f, 4.0f}, {2.0f, 3.0f, 4.0f});
    EXPECT_FALSE(point.isNear(point.center)) << "a degenerate box is never near";
    EXPECT_FALSE(point.isTouching(point.center));
}

TEST(Frustum, TheGameCameraSeesOnlyWithinItsPlanesAndCullsByTheRadiusInWorldUnits)
{
    float planes[24] = {};
    frustumPlanes = planes;
    EXPECT_FALSE(BoundingBox({}, {}).isInFrustum()) << "the zeroed table, before it is filled, shows nothing";
    extractPlanes(cameraProjection() * lookAhead, planes);
    EXPECT_TRUE(BoundingBox({0, 0, -10}, {0, 0, -10}).isInFrustum());
    // Outside the far and near planes (the sides: StatuesAreSeenUpToTheEdgesOfThePictureTheSettingsMake).
    for (const glm::vec3& p : {glm::vec3(0, 0, -150), glm::vec3(0, 0, -0.05f)})
        EXPECT_FALSE(BoundingBox(p, p).isInFrustum()) << p.x << ", " << p.y << ", " << p.z;

    // The eye inside a statue-sized box: it covers the whole view, yet no sample point is inside.
    BoundingBox box({-1.0f, -1.0f, -1.0f}, {1.0f, 1.0f, 1.0f});
    EXPECT_FALSE(box.isInFrustum());
    box.boxMatrix = at({0.0f, 0.0f, -2.0f});
    EXPECT_TRUE(box.isInFrustum()) << "moved forward until its back corners come into view";
    box.boxMatrix = at({0.0f, 0.0f, 5.0f});
    EXPECT_FALSE(box.isInFrustum()) << "behind the eye";
    frustumPlanes = nullptr;
    EXPECT_TRUE(box.isInFrustum()) << "without a plane table every box counts as seen";

    // A mesh just beyond its radius outside the near or far plane is culled, one just within kept.
    const float r = box.cullRadius;
    for (float z : {-(100.0f + r), -0.1f + r}) {
        const float out = z < 0.0f ? -0.5f : 0.5f;
        box.boxMatrix = at({0.0f, 0.0f, z - out});
        EXPECT_FALSE(box.isOutside(planes)) << z;
        box.boxMatrix = at({0.0f, 0.0f, z + out});
        EXPECT_TRUE(box.isOutside(planes)) << z;
    }
}

// A statue counts as seen exactly where the picture shows it: at the edges of a wide and a narrow
// view over 4:3 (whatever the window), and of a 16 x 9 window with the picture in its own shape.
TEST(Frustum, StatuesAreSeenUpToTheEdgesOfThePictureTheSettingsMake)
{
    const struct { int fov, shape, width, height; float tanRight, tanUp; } views[] = {
        {100, 0, 800, 600, 1.5891f, 1.1918f},   // wide
        {40, 0, 1600, 900, 0.4853f, 0.3640f},   // narrow, still 4:3 over a 16 x 9 window
        {60, 1, 1920, 1080, 1.0264f, 0.5774f},  // the window's own shape
    };
    float planes[24] = {};
    frustumPlanes = planes;
    for (const auto& v : views) {
        fieldOfView = v.fov, pictureShape = v.shape, framebufferWidth = v.width, framebufferHeight = v.height;
        projectionMatrix = cameraProjection(), viewMatrix = lookAhead;
        computeViewProjection(), extractFrustumPlanes();
        for (float edge : {-0.98f, 0.98f, -1.02f, 1.02f}) {
            const glm::vec3 right(10.0f * v.tanRight * edge, 0.0f, -10.0f), up(0.0f, 10.0f * v.tanUp * edge, -10.0f);
            EXPECT_EQ(BoundingBox(right, right).isInFrustum(), std::fabs(edge) < 1.0f) << v.fov << " right " << edge;
            EXPECT_EQ(BoundingBox(up, up).isInFrustum(), std::fabs(edge) < 1.0f) << v.fov << " up " << edge;
        }
    }
    fieldOfView = 60, pictureShape = 0, framebufferWidth = framebufferHeight = 0;
    projectionMatrix = viewMatrix = glm::mat4(1.0f);
    frustumPlanes = nullptr;
}

TEST(Node, AngleBetweenIsInDegreesNeverNegativeAndNeverNaN)
{
    const struct { glm::vec3 u, v; float degrees; } cases[] = {
        {{1, 0, 0}, {0, 0, 3}, 90}, {{1, 1, 0}, {5, 0, 0}, 45}, {{0, 0, 0}, {0, 0, 1}, 0}, {{1, 2, 3}, {0, 0, 0}, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(angleBetween(c.u, c.v), c.degrees, 1e-3f) << c.degrees;

    // Targets straight behind or ahead of a node turned to any heading: rounding must neither give
    // NaN nor keep the node from turning round.
    int wrong = 0;
    for (int degrees = 0; degrees < 360; ++degrees) {
        for (float distance : {1.0f, 3.0f, 7.5f, 20.0f}) {
            const glm::vec3 position(2.0f, 0.5f, -3.0f);
            const glm::mat4 placed = glm::rotate(at(position), glm::radians(float(degrees)),
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
    Node node(glm::mat4(1.0f));
    node.faceTowards(3.0f, 0.0f, 3.0f);
    EXPECT_GT(glm::dot(column(node.localMatrix, 2), glm::normalize(glm::vec3(1, 0, 1))), 0.9999f) << "turned that way";
}

TEST(Node, TurnsAndMovesInItsOwnFrame)
{
    Node node(at({2.0f, 0.0f, 0.0f}));
    node.rotateY(90.0f);
    node.translate(0.0f, 0.0f, 3.0f);
    EXPECT_LT(glm::length(column(node.localMatrix, 3) - glm::vec3{5.0f, 0.0f, 0.0f}), 1e-5f) << "along its own z";
    node.setPosition(-1.0f, 2.0f, 3.0f);
    EXPECT_EQ(node.localMatrix, at({-1.0f, 2.0f, 3.0f})) << "setPosition drops the rotation";
}

TEST(Node, ChildrenFollowTheirParentThroughTwoLevels)
{
    Node parent(at({10.0f, 0.0f, 0.0f}));
    Node child(at({0.0f, 1.0f, 2.0f}));
    Node grandchild(at({0.0f, 0.0f, 1.0f}));
    parent.addChild(&child);
    child.addChild(&grandchild);
    parent.rotateY(90.0f);
    EXPECT_LT(glm::length(column(child.worldMatrix(), 3) - glm::vec3{12.0f, 1.0f, 0.0f}), 1e-5f) << "parent's turn";
    parent.setPosition(0.0f, -5.0f, 0.0f);
    EXPECT_LT(glm::length(column(grandchild.worldMatrix(), 3) - glm::vec3{0.0f, -4.0f, 3.0f}), 1e-5f) << "two levels";
    EXPECT_EQ(child.localMatrix, at({0.0f, 1.0f, 2.0f})) << "the child's own matrix is untouched";

    Node other(glm::mat4(1.0f));
    other.addChild(&child);
    other.addChild(nullptr);
    other.children.push_back(nullptr);
    other.update(0.016);  // empty entries are skipped
    EXPECT_TRUE(parent.children.empty()) << "adopting a child takes it from its previous parent";
    EXPECT_EQ(child.parent, &other);
    EXPECT_EQ(other.children.size(), 2u) << "addChild ignores an empty entry";
}
