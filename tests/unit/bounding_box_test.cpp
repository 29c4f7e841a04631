// Bounding boxes: sample points, radii, near and touch; the camera's frustum planes and culling.
#include "scene/BoundingBox.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "physics/Player.h"

namespace {

glm::mat4 at(const glm::vec3& p) { return glm::translate(glm::mat4(1.0f), p); }

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
    // Sample 0 is the corner touch is measured from, 8 the centre; together the points are the
    // eight corners, the centre and the middles of the four vertical edges, each once.
    EXPECT_EQ(box.samplePoints[0], glm::vec3(3, 3, 2));
    EXPECT_EQ(box.samplePoints[8], box.center);
    int corners = 0, edgeMiddles = 0;
    for (int i = 0; i < BoundingBox::sampleCount; ++i) {
        const glm::vec3 p = box.samplePoints[i];
        for (int j = 0; j < i; ++j)
            EXPECT_NE(box.samplePoints[j], p) << "sample points " << j << " and " << i;
        const bool cornerXZ = (p.x == -1 || p.x == 3) && (p.z == 2 || p.z == 14);
        corners += cornerXZ && (p.y == 0 || p.y == 3);
        edgeMiddles += cornerXZ && p.y == 1.5f;
    }
    EXPECT_EQ(corners, 8);
    EXPECT_EQ(edgeMiddles, 4);

    // The corners are not sorted: half extents stay positive, sample 0 follows the arguments.
    BoundingBox swapped({3.0f, 3.0f, 14.0f}, {-1.0f, 0.0f, 2.0f});
    EXPECT_EQ(swapped.halfExtents, glm::vec3(2.0f, 1.5f, 6.0f));
    EXPECT_EQ(swapped.samplePoints[0], glm::vec3(-1.0f, 0.0f, 14.0f));
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
    // Outside the right, left, top, bottom, far and near planes.
    for (const glm::vec3& p : {glm::vec3(20, 0, -10), glm::vec3(-20, 0, -10), glm::vec3(0, 20, -10),
                               glm::vec3(0, -20, -10), glm::vec3(0, 0, -150), glm::vec3(0, 0, -0.05f)})
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
