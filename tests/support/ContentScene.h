#pragma once
// The generated models as the game's own import reads them, summed up as boxes for the content tests.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

#include "assets/ModelImport.h"

namespace content {

struct Box {
    glm::vec3 lo{1e30f};
    glm::vec3 hi{-1e30f};
    void add(const glm::vec3& p) { lo = glm::min(lo, p), hi = glm::max(hi, p); }
    void add(const Box& b) { add(b.lo), add(b.hi); }
    Box moved(const glm::vec3& d) const { return {lo + d, hi + d}; }
    glm::vec3 size() const { return hi - lo; }
};

struct ImportedMesh {
    std::string name;
    Box bounds;
    MeshData data;
    unsigned triangles() const { return static_cast<unsigned>(data.indices.size() / 3); }
    // Every vertex lies on the surface of the mesh's bounding box.
    bool onBoxSurface() const
    {
        for (const Vertex& v : data.vertices) {
            glm::vec3 dLo = glm::abs(v.position - bounds.lo), dHi = glm::abs(v.position - bounds.hi);
            if (glm::min(glm::min(glm::min(dLo.x, dLo.y), dLo.z), glm::min(glm::min(dHi.x, dHi.y), dHi.z)) > 1e-3f)
                return false;
        }
        return true;
    }
};

struct ImportedModel {
    bool loaded = false;
    std::vector<ImportedMesh> meshes;
    Box bounds;
    unsigned triangles = 0;
};

inline ImportedModel readGeneratedModel(const std::string& path)
{
    ImportedModel model;
    Assimp::Importer importer;
    const aiScene* scene = ::importModel(importer, path.c_str());
    model.loaded = scene != nullptr;
    for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m) {
        ImportedMesh mesh{scene->mMeshes[m]->mName.C_Str(), {}, extractMesh(scene->mMeshes[m], scene)};
        for (const Vertex& v : mesh.data.vertices)
            mesh.bounds.add(v.position);
        model.bounds.add(mesh.bounds);
        model.triangles += mesh.triangles();
        model.meshes.push_back(mesh);
    }
    return model;
}

// Distance from a point to a box (0 inside).
inline float distanceToBox(const glm::vec3& p, const Box& b)
{
    return glm::length(glm::max(glm::max(b.lo - p, p - b.hi), glm::vec3(0)));
}

inline bool overlaps(const Box& a, const Box& b, float tolerance)
{
    return a.lo.x < b.hi.x - tolerance && b.lo.x < a.hi.x - tolerance && a.lo.y < b.hi.y - tolerance &&
           b.lo.y < a.hi.y - tolerance && a.lo.z < b.hi.z - tolerance && b.lo.z < a.hi.z - tolerance;
}

}  // namespace content
