#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

const float pi = 3.14159265358979f;

glm::vec3 anyPerpendicular(const glm::vec3& d)
{
    glm::vec3 ref = std::fabs(d.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    return glm::normalize(glm::cross(ref, d));
}

// Texture axes of a flat face: t x b = n, b is "up" on walls and "away" (-z) on floors and ceilings.
void faceAxes(const glm::vec3& n, glm::vec3& t, glm::vec3& b)
{
    if (std::fabs(n.y) > 0.5f)
        b = n.y > 0 ? glm::vec3(0, 0, -1) : glm::vec3(0, 0, 1);
    else
        b = glm::vec3(0, 1, 0);
    t = glm::cross(b, n);
}

void addFace(MeshPart& part, const glm::vec3& origin, const glm::vec3& edgeU, const glm::vec3& edgeV,
             const glm::vec3& n, int cellsU, int cellsV, float unitsPerRepeat, const UvRect* rect)
{
    glm::vec3 t, b;
    faceAxes(n, t, b);
    std::vector<uint32_t> ids;
    for (int j = 0; j <= cellsV; ++j)
        for (int i = 0; i <= cellsU; ++i) {
            float fu = static_cast<float>(i) / cellsU, fv = static_cast<float>(j) / cellsV;
            glm::vec3 p = origin + edgeU * fu + edgeV * fv;
            glm::vec2 uv;
            if (rect)
                uv = {rect->u0 + (rect->u1 - rect->u0) * fu, rect->v0 + (rect->v1 - rect->v0) * fv};
            else
                uv = {glm::dot(p, t) / unitsPerRepeat, glm::dot(p, b) / unitsPerRepeat};
            ids.push_back(part.addVertex(p, n, uv));
        }
    for (int j = 0; j < cellsV; ++j)
        for (int i = 0; i < cellsU; ++i) {
            uint32_t a = ids[j * (cellsU + 1) + i], c = ids[(j + 1) * (cellsU + 1) + i];
            part.addQuad(a, a + 1, c + 1, c);
        }
}

void addBoxFaces(MeshPart& part, const glm::vec3& lo, const glm::vec3& hi, float unitsPerRepeat, float cellSize,
                 const UvRect* rect)
{
    glm::vec3 size = hi - lo;
    auto cells = [&](float length) { return std::max(1, static_cast<int>(std::ceil(length / cellSize - 1e-4f))); };
    // Each face: origin, edge along its texture u, edge along v, with u x v pointing outwards.
    addFace(part, {lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}, {0, 0, 1}, cells(size.x), cells(size.y),
            unitsPerRepeat, rect);
    addFace(part, {hi.x, lo.y, lo.z}, {-size.x, 0, 0}, {0, size.y, 0}, {0, 0, -1}, cells(size.x), cells(size.y),
            unitsPerRepeat, rect);
    addFace(part, {hi.x, lo.y, hi.z}, {0, 0, -size.z}, {0, size.y, 0}, {1, 0, 0}, cells(size.z), cells(size.y),
            unitsPerRepeat, rect);
    addFace(part, {lo.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}, {-1, 0, 0}, cells(size.z), cells(size.y),
            unitsPerRepeat, rect);
    addFace(part, {lo.x, hi.y, hi.z}, {size.x, 0, 0}, {0, 0, -size.z}, {0, 1, 0}, cells(size.x), cells(size.z),
            unitsPerRepeat, rect);
    addFace(part, {lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}, {0, -1, 0}, cells(size.x), cells(size.z),
            unitsPerRepeat, rect);
}

std::string number(float v)
{
    char buffer[32];
    if (std::fabs(v) < 5e-6f) v = 0.0f;
    std::snprintf(buffer, sizeof buffer, "%.5f", static_cast<double>(v));
    return buffer;
}

}  // namespace

uint32_t MeshPart::addVertex(const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv)
{
    positions.push_back(p);
    normals.push_back(n);
    uvs.push_back(uv);
    return static_cast<uint32_t>(positions.size() - 1);
}

void MeshPart::addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void MeshPart::append(const MeshPart& other)
{
    uint32_t base = static_cast<uint32_t>(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (const auto& t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void MeshPart::transform(const glm::mat4& m)
{
    glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(m)));
    for (auto& p : positions) p = glm::vec3(m * glm::vec4(p, 1));
    for (auto& n : normals) n = glm::normalize(normalMatrix * n);
}

glm::vec3 MeshPart::boundsMin() const
{
    glm::vec3 lo(1e30f);
    for (const auto& p : positions) lo = glm::min(lo, p);
    return lo;
}

glm::vec3 MeshPart::boundsMax() const
{
    glm::vec3 hi(-1e30f);
    for (const auto& p : positions) hi = glm::max(hi, p);
    return hi;
}

void addBox(MeshPart& part, const glm::vec3& lo, const glm::vec3& hi, float unitsPerRepeat, float cellSize)
{
    addBoxFaces(part, lo, hi, unitsPerRepeat, cellSize, nullptr);
}

void addBoxMapped(MeshPart& part, const glm::vec3& lo, const glm::vec3& hi, const UvRect& rect)
{
    addBoxFaces(part, lo, hi, 1.0f, 1e9f, &rect);
}

void addTube(MeshPart& part, const std::vector<Section>& sections, int segments, const glm::vec3& firstSide,
             const UvRect& rect, float ripple, int rippleCount)
{
    size_t rings = sections.size();
    if (rings < 2 || segments < 3) return;
    std::vector<glm::vec3> grid(rings * segments);
    glm::vec3 side = firstSide;
    for (size_t r = 0; r < rings; ++r) {
        glm::vec3 prev = sections[r > 0 ? r - 1 : 0].center, next = sections[std::min(r + 1, rings - 1)].center;
        glm::vec3 dir = next - prev;
        dir = glm::length(dir) > 1e-6f ? glm::normalize(dir) : glm::vec3(0, 1, 0);
        side = side - dir * glm::dot(side, dir);
        side = glm::length(side) > 1e-5f ? glm::normalize(side) : anyPerpendicular(dir);
        glm::vec3 other = glm::cross(dir, side);
        for (int s = 0; s < segments; ++s) {
            float a = 2 * pi * s / segments;
            float wobble = 1.0f + ripple * std::cos(a * rippleCount);
            grid[r * segments + s] = sections[r].center + side * (std::cos(a) * sections[r].radiusX * wobble) +
                                     other * (std::sin(a) * sections[r].radiusY * wobble);
        }
    }
    // Smooth normals from the surrounding grid triangles, shared across the seam.
    std::vector<glm::vec3> normals(grid.size(), glm::vec3(0));
    for (size_t r = 0; r + 1 < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            size_t a = r * segments + s, b = r * segments + (s + 1) % segments;
            size_t c = (r + 1) * segments + (s + 1) % segments, d = (r + 1) * segments + s;
            glm::vec3 n1 = glm::cross(grid[b] - grid[a], grid[c] - grid[a]);
            glm::vec3 n2 = glm::cross(grid[c] - grid[a], grid[d] - grid[a]);
            normals[a] += n1 + n2;
            normals[b] += n1;
            normals[c] += n1 + n2;
            normals[d] += n2;
        }
    // Rings that collapse to a point take the direction of the path's end.
    for (size_t r = 0; r < rings; ++r) {
        float radius = std::max(sections[r].radiusX, sections[r].radiusY);
        if (radius > 1e-4f) continue;
        glm::vec3 dir = r == 0 ? sections[0].center - sections[1].center
                               : sections[r].center - sections[r - 1].center;
        for (int s = 0; s < segments; ++s) normals[r * segments + s] = dir;
    }
    // Texture coordinates: u around, v along the path by arc length, both spread over the rectangle.
    std::vector<float> along(rings, 0.0f);
    for (size_t r = 1; r < rings; ++r) along[r] = along[r - 1] + glm::length(sections[r].center - sections[r - 1].center);
    float total = along.back() > 0 ? along.back() : 1.0f;
    uint32_t base = static_cast<uint32_t>(part.positions.size());
    for (size_t r = 0; r < rings; ++r)
        for (int s = 0; s <= segments; ++s) {
            size_t g = r * segments + s % segments;
            glm::vec3 n = glm::length(normals[g]) > 1e-9f ? glm::normalize(normals[g]) : glm::vec3(0, 1, 0);
            float u = rect.u0 + (rect.u1 - rect.u0) * s / segments;
            float v = rect.v0 + (rect.v1 - rect.v0) * along[r] / total;
            part.addVertex(grid[g], n, {u, v});
        }
    uint32_t row = static_cast<uint32_t>(segments + 1);
    for (size_t r = 0; r + 1 < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            uint32_t a = base + static_cast<uint32_t>(r) * row + s;
            part.addQuad(a, a + 1, a + row + 1, a + row);
        }
}

std::vector<Section> capsuleSections(const glm::vec3& a, const glm::vec3& b, float ra, float rb, int bodyRings,
                                     int capRings)
{
    std::vector<Section> out;
    glm::vec3 dir = glm::normalize(b - a);
    for (int i = 0; i < capRings; ++i) {
        float t = 0.5f * pi * i / capRings;
        out.push_back({a - dir * (ra * std::cos(t)), ra * std::sin(t), ra * std::sin(t)});
    }
    for (int i = 0; i <= bodyRings; ++i) {
        float t = static_cast<float>(i) / bodyRings;
        float r = ra + (rb - ra) * t;
        out.push_back({a + (b - a) * t, r, r});
    }
    for (int i = capRings - 1; i >= 0; --i) {
        float t = 0.5f * pi * i / capRings;
        out.push_back({b + dir * (rb * std::cos(t)), rb * std::sin(t), rb * std::sin(t)});
    }
    return out;
}

std::vector<Section> ellipsoidSections(const glm::vec3& center, const glm::vec3& radii, int rings)
{
    std::vector<Section> out;
    for (int i = 0; i <= rings; ++i) {
        float t = pi * i / rings;
        out.push_back({center + glm::vec3(0, -radii.y * std::cos(t), 0), radii.x * std::sin(t), radii.z * std::sin(t)});
    }
    return out;
}

void addCylinder(MeshPart& part, const glm::vec3& a, const glm::vec3& b, float radius, int segments,
                 const UvRect& side, const UvRect& cap)
{
    glm::vec3 dir = glm::normalize(b - a);
    glm::vec3 x = anyPerpendicular(dir), y = glm::cross(dir, x);
    uint32_t base = static_cast<uint32_t>(part.positions.size());
    for (int s = 0; s <= segments; ++s) {
        float t = 2 * pi * s / segments;
        glm::vec3 n = x * std::cos(t) + y * std::sin(t);
        float u = side.u0 + (side.u1 - side.u0) * s / segments;
        part.addVertex(a + n * radius, n, {u, side.v0});
        part.addVertex(b + n * radius, n, {u, side.v1});
    }
    for (int s = 0; s < segments; ++s) {
        uint32_t i = base + 2 * s;
        part.addQuad(i, i + 2, i + 3, i + 1);
    }
    for (int end = 0; end < 2; ++end) {
        glm::vec3 c = end ? b : a;
        glm::vec3 n = end ? dir : -dir;
        float cu = (cap.u0 + cap.u1) * 0.5f, cv = (cap.v0 + cap.v1) * 0.5f;
        float hu = (cap.u1 - cap.u0) * 0.5f, hv = (cap.v1 - cap.v0) * 0.5f;
        uint32_t center = part.addVertex(c, n, {cu, cv});
        uint32_t ring = static_cast<uint32_t>(part.positions.size());
        for (int s = 0; s < segments; ++s) {
            float t = 2 * pi * s / segments;
            part.addVertex(c + (x * std::cos(t) + y * std::sin(t)) * radius, n,
                           {cu + hu * std::cos(t), cv + hv * std::sin(t)});
        }
        for (int s = 0; s < segments; ++s) {
            uint32_t p = ring + s, q = ring + (s + 1) % segments;
            if (end)
                part.addTriangle(center, p, q);
            else
                part.addTriangle(center, q, p);
        }
    }
}

bool writeObj(const std::string& folder, const std::string& baseName, const std::vector<MeshPart>& parts,
              const std::vector<Material>& materials)
{
    std::ostringstream mtl;
    mtl << "# Vellmar materials for " << baseName << ".obj\n";
    for (const auto& m : materials) {
        mtl << "\nnewmtl " << m.name << "\n";
        mtl << "Ka 0.00000 0.00000 0.00000\n";
        mtl << "Kd " << number(m.diffuse.x) << " " << number(m.diffuse.y) << " " << number(m.diffuse.z) << "\n";
        mtl << "Ks 0.20000 0.20000 0.20000\nNs 16.00000\nd 1.00000\nillum 2\n";
        if (!m.diffuseMap.empty()) mtl << "map_Kd " << m.diffuseMap << "\n";
        if (!m.normalMap.empty()) mtl << "map_d " << m.normalMap << "\n";
    }
    std::ostringstream obj;
    obj << "# Vellmar model " << baseName << ", generated\n";
    obj << "mtllib " << baseName << ".mtl\n";
    size_t offset = 1;
    for (const auto& part : parts) {
        obj << "o " << part.name << "\n";
        for (const auto& p : part.positions) obj << "v " << number(p.x) << " " << number(p.y) << " " << number(p.z) << "\n";
        for (const auto& t : part.uvs) obj << "vt " << number(t.x) << " " << number(t.y) << "\n";
        for (const auto& n : part.normals) obj << "vn " << number(n.x) << " " << number(n.y) << " " << number(n.z) << "\n";
        obj << "usemtl " << part.material << "\ns off\n";
        for (const auto& tri : part.triangles) {
            obj << "f";
            for (uint32_t i : tri) {
                size_t k = i + offset;
                obj << " " << k << "/" << k << "/" << k;
            }
            obj << "\n";
        }
        offset += part.positions.size();
    }
    std::ofstream objFile(folder + "/" + baseName + ".obj", std::ios::binary);
    objFile << obj.str();
    std::ofstream mtlFile(folder + "/" + baseName + ".mtl", std::ios::binary);
    mtlFile << mtl.str();
    return static_cast<bool>(objFile) && static_cast<bool>(mtlFile);
}

size_t triangleCount(const std::vector<MeshPart>& parts)
{
    size_t n = 0;
    for (const auto& p : parts) n += p.triangles.size();
    return n;
}
