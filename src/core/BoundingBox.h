#pragma once
// An axis-aligned box in a mesh's model space, placed in the world by the mesh's model matrix,
// with the thirteen sample points and three radii that the statue pursuit and the loader's
// culling ask about; and the camera's view-projection product with its six frustum planes.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

class BoundingBox {
public:
    static constexpr int sampleCount = 13;

    glm::vec3 minCorner;
    glm::vec3 center;
    glm::vec3 maxCorner;
    glm::vec3 halfExtents;
    glm::mat4 boxMatrix{1.0f};
    // The eight corners, the centre (index 8) and the midpoints of the four vertical edges.
    glm::vec3 samplePoints[sampleCount];
    float touchRadius;
    float nearRadius;
    float cullRadius;

    // The corners are taken as given; the box does not check which one is smaller.
    BoundingBox(const glm::vec3& minCorner, const glm::vec3& maxCorner);

    // A model-space point placed by boxMatrix.
    glm::vec3 worldPoint(const glm::vec3& modelPoint) const;
    // The eye is within nearRadius of the centre (strictly).
    bool isNear(const glm::vec3& p) const;
    // The eye is within touchRadius of sample point 0, the corner (max x, max y, min z) (strictly).
    bool isTouching(const glm::vec3& p) const;
    // Some sample point lies strictly inside all six planes of the global frustumPlanes. A box
    // covering the whole view with every sample point outside counts as unseen. While no plane
    // table exists (frustumPlanes is null) there is no view to hide from: every box counts as seen.
    bool isInFrustum() const;
    // The loader's cull test: the world centre lies more than cullRadius behind one of the
    // planes (a centre exactly cullRadius behind is kept). The planes are used as stored;
    // without a plane table nothing is culled.
    bool isOutside(const float* planes) const;
};

// projectionMatrix × viewMatrix, identity at start.
extern glm::mat4 viewProjectionMatrix;
// Six planes of four floats (a, b, c, d) for a·x + b·y + c·z + d, in the order right, left, top,
// bottom, far, near, each scaled to a unit normal (a, b, c) pointing into the view. The world
// assembly allocates the table; null until then.
extern float* frustumPlanes;

// viewProjectionMatrix = projectionMatrix × viewMatrix; returns a copy.
glm::mat4 computeViewProjection();
// The six normalised planes of the view of a view-projection matrix into `planes` (24 floats).
void extractPlanes(const glm::mat4& viewProjection, float* planes);
// Rewrites frustumPlanes from viewProjectionMatrix; does nothing while there is no table.
void extractFrustumPlanes();
