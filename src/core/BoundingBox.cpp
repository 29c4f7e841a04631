#include "core/BoundingBox.h"

#include <cmath>

#include <glm/common.hpp>
#include <glm/vec4.hpp>

#include "core/Camera.h"

glm::mat4 viewProjectionMatrix(1.0f);
float* frustumPlanes = nullptr;

namespace {

constexpr int planeCount = 6;

float distance(const glm::vec3& a, const glm::vec3& b)
{
    glm::vec3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

float planeValue(const float* plane, const glm::vec3& p)
{
    return plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
}

bool isInsideAllPlanes(const float* planes, const glm::vec3& p)
{
    for (int j = 0; j < planeCount; ++j) {
        if (!(planeValue(planes + 4 * j, p) > 0.0f))
            return false;
    }
    return true;
}

}  // namespace

BoundingBox::BoundingBox(const glm::vec3& minCorner, const glm::vec3& maxCorner)
    : minCorner(minCorner), maxCorner(maxCorner)
{
    const glm::vec3& a = minCorner;
    const glm::vec3& b = maxCorner;
    float diagonal = distance(a, b);
    touchRadius = diagonal / 1.5f;
    nearRadius = diagonal;
    cullRadius = diagonal;

    center = (a + b) * 0.5f;
    float my = (a.y + b.y) * 0.5f;
    samplePoints[0] = {b.x, b.y, a.z};
    samplePoints[1] = {b.x, a.y, a.z};
    samplePoints[2] = {a.x, b.y, a.z};
    samplePoints[3] = {a.x, a.y, a.z};
    samplePoints[4] = {b.x, b.y, b.z};
    samplePoints[5] = {b.x, a.y, b.z};
    samplePoints[6] = {a.x, b.y, b.z};
    samplePoints[7] = {a.x, a.y, b.z};
    samplePoints[8] = center;
    samplePoints[9] = {a.x, my, a.z};
    samplePoints[10] = {b.x, my, b.z};
    samplePoints[11] = {a.x, my, b.z};
    samplePoints[12] = {b.x, my, a.z};

    halfExtents = glm::abs(center - a);
}

glm::vec3 BoundingBox::worldPoint(const glm::vec3& modelPoint) const
{
    return glm::vec3(boxMatrix * glm::vec4(modelPoint, 1.0f));
}

bool BoundingBox::isNear(const glm::vec3& p) const
{
    return nearRadius > distance(p, worldPoint(samplePoints[8]));
}

bool BoundingBox::isTouching(const glm::vec3& p) const
{
    return touchRadius > distance(p, worldPoint(samplePoints[0]));
}

bool BoundingBox::isInFrustum() const
{
    if (frustumPlanes == nullptr)
        return true;
    for (const glm::vec3& q : samplePoints) {
        if (isInsideAllPlanes(frustumPlanes, worldPoint(q)))
            return true;
    }
    return false;
}

bool BoundingBox::isOutside(const float* planes) const
{
    if (planes == nullptr)
        return false;
    glm::vec3 c = worldPoint(center);
    for (int j = 0; j < planeCount; ++j) {
        if (planeValue(planes + 4 * j, c) < -cullRadius)
            return true;
    }
    return false;
}

glm::mat4 computeViewProjection()
{
    viewProjectionMatrix = projectionMatrix * viewMatrix;
    return viewProjectionMatrix;
}

void extractPlanes(const glm::mat4& m, float* planes)
{
    auto row = [&m](int k) { return glm::vec4(m[0][k], m[1][k], m[2][k], m[3][k]); };
    const glm::vec4 rows[planeCount] = {
        row(3) - row(0),  // right
        row(3) + row(0),  // left
        row(3) - row(1),  // top
        row(3) + row(1),  // bottom
        row(3) - row(2),  // far
        row(3) + row(2),  // near
    };
    for (int j = 0; j < planeCount; ++j) {
        // Normalised, a plane's value at a point is the point's distance from it in world units,
        // which the culling compares with a radius in world units. A plane without a normal
        // (a degenerate matrix) is kept as it is.
        glm::vec4 plane = rows[j];
        const float length = std::sqrt(plane.x * plane.x + plane.y * plane.y + plane.z * plane.z);
        if (length > 0.0f)
            plane /= length;
        for (int k = 0; k < 4; ++k)
            planes[4 * j + k] = plane[k];
    }
}

void extractFrustumPlanes()
{
    if (frustumPlanes != nullptr)
        extractPlanes(viewProjectionMatrix, frustumPlanes);
}
