// Bounding boxes, their sample points and radii, and the camera frustum the statues hide from.
#include "scene/BoundingBox.h"

#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "physics/Player.h"

namespace {

// The camera of the player update: 60 degrees vertically, 4:3, from 0.1 to 100.
glm::mat4 gameProjection()
{
    return cameraProjection();
}

glm::mat4 translation(float x, float y, float z)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

// A fresh plane table filled from the given camera.
class Frustum : public testing::Test {
protected:
    void SetUp() override { frustumPlanes = planes; }
    void TearDown() override
    {
        frustumPlanes = nullptr;
        projectionMatrix = glm::mat4(1.0f);
        viewMatrix = glm::mat4(1.0f);
        viewProjectionMatrix = glm::mat4(1.0f);
    }
    void look(const glm::mat4& projection, const glm::mat4& view)
    {
        projectionMatrix = projection;
        viewMatrix = view;
        computeViewProjection();
        extractFrustumPlanes();
    }
    // A single point, as a box with both corners on it.
    static bool pointSeen(const glm::vec3& p)
    {
        BoundingBox box(p, p);
        return box.isInFrustum();
    }
    float plane(int j, const glm::vec3& p) const
    {
        return planes[4 * j] * p.x + planes[4 * j + 1] * p.y + planes[4 * j + 2] * p.z + planes[4 * j + 3];
    }

    float planes[24] = {};
};

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
    EXPECT_EQ(box.boxMatrix, glm::mat4(1.0f));

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
    EXPECT_FLOAT_EQ(swapped.nearRadius, 13.0f);
}

TEST(BoundingBox, DegenerateBoxIsNeverNearNorTouched)
{
    BoundingBox box({2.0f, 3.0f, 4.0f}, {2.0f, 3.0f, 4.0f});
    EXPECT_EQ(box.nearRadius, 0.0f);
    EXPECT_EQ(box.touchRadius, 0.0f);
    EXPECT_EQ(box.cullRadius, 0.0f);
    EXPECT_EQ(box.halfExtents, glm::vec3(0.0f));
    for (const glm::vec3& p : box.samplePoints)
        EXPECT_EQ(p, glm::vec3(2.0f, 3.0f, 4.0f));
    EXPECT_FALSE(box.isNear(box.center));
    EXPECT_FALSE(box.isTouching(box.center));
    EXPECT_FALSE(box.isNear({2.0f, 3.0f, 4.5f}));
}

TEST(BoundingBox, NearAndTouchAreStrictAndFollowTheBoxMatrix)
{
    // Diagonal 5: near within 5 of the centre, touching within 5/1.5 of the corner (3, 4, 0).
    BoundingBox box({0.0f, 0.0f, 0.0f}, {3.0f, 4.0f, 0.0f});
    EXPECT_FALSE(box.isNear({1.5f, 7.0f, 0.0f})) << "exactly on the near radius";
    EXPECT_TRUE(box.isNear({1.5f, 6.99f, 0.0f}));

    EXPECT_TRUE(box.isTouching({3.0f, 4.0f, 3.3f}));
    EXPECT_FALSE(box.isTouching({3.0f, 4.0f, 3.34f}));
    // Touching is measured from sample point 0, not the centre: the opposite corner is far from it.
    EXPECT_FALSE(box.isTouching({0.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(box.isNear({0.0f, 0.0f, 0.0f}));

    box.boxMatrix = translation(100.0f, 0.0f, 0.0f);
    EXPECT_FALSE(box.isNear({1.5f, 2.0f, 0.0f}));
    EXPECT_TRUE(box.isNear({101.5f, 2.0f, 0.0f}));
    EXPECT_TRUE(box.isTouching({103.0f, 4.0f, 0.0f}));
    EXPECT_EQ(box.worldPoint(box.samplePoints[0]), glm::vec3(103.0f, 4.0f, 0.0f));
}

TEST_F(Frustum, IdentityCameraSeesTheOpenCube)
{
    look(glm::mat4(1.0f), glm::mat4(1.0f));
    EXPECT_EQ(viewProjectionMatrix, glm::mat4(1.0f));
    // Right, left, top, bottom, far, near.
    const float expected[24] = {-1, 0, 0, 1, 1, 0, 0, 1, 0, -1, 0, 1, 0, 1, 0, 1, 0, 0, -1, 1, 0, 0, 1, 1};
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(planes[i], expected[i]) << "plane entry " << i;

    EXPECT_TRUE(pointSeen({0.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(pointSeen({0.999f, -0.999f, 0.999f}));
    EXPECT_TRUE(pointSeen({-0.999f, 0.999f, -0.999f}));
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {-1.0f, 1.0f}) {
            glm::vec3 onPlane(0.0f);
            onPlane[axis] = side;
            EXPECT_FALSE(pointSeen(onPlane)) << "a point on a plane is outside it";
            onPlane[axis] = side * 2.0f;
            EXPECT_FALSE(pointSeen(onPlane));
        }
    }
}

TEST_F(Frustum, PlanesOfTheGameCameraComeInTheirOrder)
{
    look(gameProjection(), glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f)));
    // Each point lies outside exactly one plane: right, left, top, bottom, far, near.
    const glm::vec3 outside[6] = {
        {20.0f, 0.0f, -10.0f}, {-20.0f, 0.0f, -10.0f}, {0.0f, 20.0f, -10.0f},
        {0.0f, -20.0f, -10.0f}, {0.0f, 0.0f, -150.0f}, {0.0f, 0.0f, -0.05f},
    };
    for (int which = 0; which < 6; ++which) {
        for (int j = 0; j < 6; ++j) {
            if (j == which)
                EXPECT_LT(plane(j, outside[which]), 0.0f) << "point " << which << " plane " << j;
            else
                EXPECT_GT(plane(j, outside[which]), 0.0f) << "point " << which << " plane " << j;
        }
        EXPECT_FALSE(pointSeen(outside[which]));
    }
    EXPECT_TRUE(pointSeen({0.0f, 0.0f, -10.0f}));
}

TEST_F(Frustum, StatueFillingTheViewWithNoSamplePointInsideIsUnseen)
{
    // The eye stands inside a statue-sized box: it covers the whole view, yet its corners and edge
    // midpoints are off to the sides and its centre is at the eye.
    glm::vec3 eye(0.0f, 1.0f, 0.0f);
    look(gameProjection(), glm::lookAt(eye, eye + glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f)));
    BoundingBox statue({-1.0f, 0.0f, -1.0f}, {1.0f, 2.0f, 1.0f});
    EXPECT_FALSE(statue.isInFrustum());

    // Moved forward until its back corners come into view, it is seen.
    statue.boxMatrix = translation(0.0f, 0.0f, -2.0f);
    EXPECT_TRUE(statue.isInFrustum());
    // Behind the eye it is not.
    statue.boxMatrix = translation(0.0f, 0.0f, 5.0f);
    EXPECT_FALSE(statue.isInFrustum());
}

TEST_F(Frustum, WithoutAPlaneTableEveryBoxCountsAsSeenAndNothingIsWritten)
{
    frustumPlanes = nullptr;
    look(glm::mat4(1.0f), glm::mat4(1.0f));
    EXPECT_TRUE(pointSeen({50.0f, 0.0f, 0.0f}));
    for (float entry : planes)
        EXPECT_EQ(entry, 0.0f);

    // The zeroed table of the world assembly, before it is filled, shows nothing.
    frustumPlanes = planes;
    EXPECT_FALSE(pointSeen({0.0f, 0.0f, 0.0f}));
}

TEST_F(Frustum, CullingKeepsACentreExactlyOneRadiusBehindAPlane)
{
    look(glm::mat4(1.0f), glm::mat4(1.0f));
    // Diagonal 2, centre at the origin of the model.
    BoundingBox box({-1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    // The right plane gives 1 - x: at x = 3 the centre lies exactly 2 behind it.
    box.boxMatrix = translation(3.0f, 0.0f, 0.0f);
    EXPECT_FALSE(box.isOutside(planes));
    box.boxMatrix = translation(std::nextafter(3.0f, 4.0f), 0.0f, 0.0f);
    EXPECT_TRUE(box.isOutside(planes));
    box.boxMatrix = translation(-3.0f, 0.0f, 0.0f);
    EXPECT_FALSE(box.isOutside(planes));
    box.boxMatrix = translation(0.0f, 0.0f, -3.5f);
    EXPECT_TRUE(box.isOutside(planes)) << "beyond the far plane";

    // Planes are used as stored: doubling one doubles the distance behind it.
    for (int k = 0; k < 4; ++k)
        planes[k] *= 2.0f;
    box.boxMatrix = translation(2.5f, 0.0f, 0.0f);
    EXPECT_TRUE(box.isOutside(planes));

    // No table, or the zeroed one, culls nothing.
    EXPECT_FALSE(box.isOutside(nullptr));
    float zeroed[24] = {};
    box.boxMatrix = translation(1000.0f, 0.0f, 0.0f);
    EXPECT_FALSE(box.isOutside(zeroed));

    // A degenerate box has radius 0: its centre on a plane is kept, just behind it is culled.
    BoundingBox point({1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    for (int k = 0; k < 4; ++k)
        planes[k] *= 0.5f;
    EXPECT_FALSE(point.isOutside(planes));
    point.boxMatrix = translation(0.001f, 0.0f, 0.0f);
    EXPECT_TRUE(point.isOutside(planes));
}
