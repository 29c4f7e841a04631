#include <cmath>

#include "Models.h"

MeshPart buildCrate()
{
    MeshPart part;
    part.name = "crate";
    part.material = "cratePanel";
    const float h = 0.5f, bevel = 0.05f, inner = h - bevel;
    const glm::vec3 center(0, 0.2f, 0);
    const glm::vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    // Corner point of a face: the face's normal n pushed out to the surface, the two in-face offsets inset.
    auto facePoint = [&](const glm::vec3& n, const glm::vec3& t, const glm::vec3& b, float st, float sb) {
        return center + n * h + t * (st * inner) + b * (sb * inner);
    };
    auto addFlat = [&](const std::vector<glm::vec3>& points, const std::vector<glm::vec2>& uvs) {
        glm::vec3 n = glm::normalize(glm::cross(points[1] - points[0], points[2] - points[0]));
        glm::vec3 mid(0);
        for (const auto& p : points) mid += p;
        mid /= static_cast<float>(points.size());
        bool flip = glm::dot(n, mid - center) < 0;
        if (flip) n = -n;
        std::vector<uint32_t> ids;
        for (size_t i = 0; i < points.size(); ++i) ids.push_back(part.addVertex(points[i], n, uvs[i]));
        for (size_t i = 1; i + 1 < ids.size(); ++i) {
            if (flip)
                part.addTriangle(ids[0], ids[i + 1], ids[i]);
            else
                part.addTriangle(ids[0], ids[i], ids[i + 1]);
        }
    };
    const float lo = bevel, hi = 1 - bevel;
    for (int axis = 0; axis < 3; ++axis)
        for (float sign : {1.0f, -1.0f}) {
            glm::vec3 n = axes[axis] * sign;
            glm::vec3 b = axis == 1 ? glm::vec3(0, 0, -sign) : glm::vec3(0, 1, 0);
            glm::vec3 t = glm::cross(b, n);
            addFlat({facePoint(n, t, b, -1, -1), facePoint(n, t, b, 1, -1), facePoint(n, t, b, 1, 1),
                     facePoint(n, t, b, -1, 1)},
                    {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}});
        }
    // Bevels along the twelve edges: each joins two faces' inset edges.
    for (int a = 0; a < 3; ++a)
        for (int c = a + 1; c < 3; ++c) {
            int e = 3 - a - c;
            for (float sa : {1.0f, -1.0f})
                for (float sc : {1.0f, -1.0f}) {
                    glm::vec3 na = axes[a] * sa, nc = axes[c] * sc, along = axes[e];
                    glm::vec3 p0 = center + na * h + nc * inner - along * inner;
                    glm::vec3 p1 = center + na * h + nc * inner + along * inner;
                    glm::vec3 p2 = center + nc * h + na * inner + along * inner;
                    glm::vec3 p3 = center + nc * h + na * inner - along * inner;
                    addFlat({p0, p1, p2, p3}, {{0.02f, 0.02f}, {0.98f, 0.02f}, {0.98f, 0.06f}, {0.02f, 0.06f}});
                }
        }
    // Corner facets.
    for (float sx : {1.0f, -1.0f})
        for (float sy : {1.0f, -1.0f})
            for (float sz : {1.0f, -1.0f}) {
                glm::vec3 s(sx, sy, sz);
                glm::vec3 px = center + glm::vec3(sx * h, sy * inner, sz * inner);
                glm::vec3 py = center + glm::vec3(sx * inner, sy * h, sz * inner);
                glm::vec3 pz = center + glm::vec3(sx * inner, sy * inner, sz * h);
                addFlat({px, py, pz}, {{0.02f, 0.02f}, {0.06f, 0.02f}, {0.02f, 0.06f}});
            }
    return part;
}
