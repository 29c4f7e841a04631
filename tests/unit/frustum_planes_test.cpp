// The camera's frustum planes measure distances in world units, so the loader's culling removes
// what lies more than a mesh's radius outside the view and keeps what does not; the statues' own
// visibility test gives the same answers as from the planes before they were scaled.
#include "scene/BoundingBox.h"

#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace {

// The player's camera: 60 degrees vertically, 4:3, from 0.1 to 100.
const glm::mat4 gameProjection = glm::perspective(glm::radians(60.0f), 4.0f / 3.0f, 0.1f, 100.0f);

glm::mat4 at(const glm::vec3& p)
{
    return glm::translate(glm::mat4(1.0f), p);
}

// Whether some sample point lies inside the six planes taken straight from the matrix's rows,
// as they were stored before being scaled to unit normals.
bool seenByUnscaledPlanes(const BoundingBox& box, const glm::mat4& viewProjection)
{
    auto row = [&](int k) { return glm::vec4(viewProjection[0][k], viewProjection[1][k], viewProjection[2][k], viewProjection[3][k]); };
    const glm::vec4 planes[6] = {row(3) - row(0), row(3) + row(0), row(3) - row(1),
                                 row(3) + row(1), row(3) - row(2), row(3) + row(2)};
    for (const glm::vec3& q : box.samplePoints) {
        const glm::vec3 w = box.worldPoint(q);
        bool inside = true;
        for (const glm::vec4& p : planes)
            inside = inside && p.x * w.x + p.y * w.y + p.z * w.z + p.w > 0.0f;
        if (inside)
            return true;
    }
    return false;
}

}  // namespace

TEST(FrustumPlanes, CullingDropsAMeshJustMoreThanItsRadiusOutsideAndKeepsOneJustWithin)
{
    float planes[24] = {};
    extractPlanes(gameProjection, planes);  // eye at the origin, looking along -z
    BoundingBox box({-1.0f, -1.0f, -1.0f}, {1.0f, 1.0f, 1.0f});
    const float r = box.cullRadius;
    // The right plane through the eye, with its inward normal; tan of half the horizontal angle.
    const float t = std::tan(glm::radians(30.0f)) * 4.0f / 3.0f;
    const glm::vec3 rightInward = glm::normalize(glm::vec3(-1.0f, 0.0f, -t));
    const glm::vec3 onRightPlane(10.0f * t, 0.0f, -10.0f);
    const struct {
        const char* where;
        glm::vec3 kept;     // centre just within the radius of the plane's outside
        glm::vec3 dropped;  // centre just beyond it
    } cases[] = {
        {"far", {0.0f, 0.0f, -(100.0f + r - 0.5f)}, {0.0f, 0.0f, -(100.0f + r + 0.5f)}},
        {"near", {0.0f, 0.0f, -0.1f + r - 0.5f}, {0.0f, 0.0f, -0.1f + r + 0.5f}},
        {"right", onRightPlane - (r - 0.5f) * rightInward, onRightPlane - (r + 0.5f) * rightInward},
    };
    for (const auto& c : cases) {
        box.boxMatrix = at(c.kept);
        EXPECT_FALSE(box.isOutside(planes)) << c.where << " plane: kept";
        box.boxMatrix = at(c.dropped);
        EXPECT_TRUE(box.isOutside(planes)) << c.where << " plane: dropped";
    }
}

TEST(FrustumPlanes, StatuesAreSeenExactlyWhenTheyWereBeforeThePlanesWereScaled)
{
    float planes[24] = {};
    frustumPlanes = planes;
    BoundingBox statue({-0.45f, 0.0f, -0.4f}, {0.45f, 2.1f, 0.4f});
    int seen = 0, checked = 0;
    for (float yaw = 0.0f; yaw < 6.28f; yaw += 0.37f) {
        for (float pitch : {-0.6f, 0.0f, 0.45f}) {
            const glm::vec3 eye(1.3f, 1.7f, 4.1f);
            const glm::vec3 ahead(std::cos(pitch) * std::sin(yaw), std::sin(pitch), -std::cos(pitch) * std::cos(yaw));
            const glm::mat4 viewProjection = gameProjection * glm::lookAt(eye, eye + ahead, glm::vec3(0, 1, 0));
            extractPlanes(viewProjection, planes);
            for (float x = -40.0f; x <= 40.0f; x += 1.7f) {
                for (float z = -110.0f; z <= 40.0f; z += 1.3f) {
                    statue.boxMatrix = glm::rotate(at({x, 0.0f, z}), x * z, glm::vec3(0, 1, 0));
                    const bool before = seenByUnscaledPlanes(statue, viewProjection);
                    ASSERT_EQ(statue.isInFrustum(), before) << "yaw " << yaw << " pitch " << pitch << " at " << x << ", " << z;
                    seen += before;
                    ++checked;
                }
            }
        }
    }
    frustumPlanes = nullptr;
    EXPECT_GT(seen, checked / 20) << "the sweep must see statues as well as miss them";
    EXPECT_LT(seen, checked / 2);
}
