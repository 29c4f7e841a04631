#pragma once
// Triangle meshes for the Wavefront models: boxes with world-scaled texture coordinates, lofted tubes,
// and the writer of the .obj and .mtl files.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

struct Material {
    std::string name;
    glm::vec3 diffuse{1, 1, 1};
    std::string diffuseMap;  // relative to Scene/
    std::string normalMap;   // relative to Scene/, written as the opacity map the game reads normals from
};

// One mesh of a model file: one object with one material.
struct MeshPart {
    std::string name;
    std::string material;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<std::array<uint32_t, 3>> triangles;

    uint32_t addVertex(const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c) { triangles.push_back({a, b, c}); }
    // Counter-clockwise seen from the front.
    void addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    void append(const MeshPart& other);
    void transform(const glm::mat4& m);
    glm::vec3 boundsMin() const;
    glm::vec3 boundsMax() const;
};

// One cross-section of a tube: an ellipse in the plane spanned by axisX and axisY.
struct Section {
    glm::vec3 center{0};
    float radiusX = 0.1f;
    float radiusY = 0.1f;
};

// Where a part's texture coordinates go: a rectangle of the texture (u0, v0)-(u1, v1).
struct UvRect {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

// A box with flat faces, each face split into cells no larger than cellSize; texture coordinates are
// world position / unitsPerRepeat projected on the face, so the texture keeps its scale and handedness.
void addBox(MeshPart& part, const glm::vec3& lo, const glm::vec3& hi, float unitsPerRepeat, float cellSize = 1e9f);
// A box whose faces each take the whole rectangle `rect` (for decal-like parts of an atlas).
void addBoxMapped(MeshPart& part, const glm::vec3& lo, const glm::vec3& hi, const UvRect& rect);
// A tube through the sections along a path, `segments` vertices around, smooth normals. The frame of
// every section is found by parallel transport from `firstSide`. Ends shrink to the section given.
void addTube(MeshPart& part, const std::vector<Section>& sections, int segments, const glm::vec3& firstSide,
             const UvRect& rect, float ripple = 0.0f, int rippleCount = 0);
// Sections of a capsule from a to b with radii ra and rb, rounded ends with `capRings` rings each.
std::vector<Section> capsuleSections(const glm::vec3& a, const glm::vec3& b, float ra, float rb, int bodyRings,
                                     int capRings);
// An ellipsoid as sections along its y axis (for tubes).
std::vector<Section> ellipsoidSections(const glm::vec3& center, const glm::vec3& radii, int rings);
// A closed cylinder about the axis through a and b, with flat caps.
void addCylinder(MeshPart& part, const glm::vec3& a, const glm::vec3& b, float radius, int segments,
                 const UvRect& side, const UvRect& cap);

bool writeObj(const std::string& folder, const std::string& baseName, const std::vector<MeshPart>& parts,
              const std::vector<Material>& materials);
size_t triangleCount(const std::vector<MeshPart>& parts);
