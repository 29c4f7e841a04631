#pragma once
// Helpers for the content tests: the generated models as the game imports them, as plain boxes.
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

namespace content {

// The import flags of the game's model loader.
constexpr unsigned gameImportFlags =
    aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs;

struct Box {
    glm::vec3 lo{1e30f};
    glm::vec3 hi{-1e30f};
    void add(const glm::vec3& p)
    {
        lo = glm::min(lo, p);
        hi = glm::max(hi, p);
    }
    void add(const Box& b)
    {
        add(b.lo);
        add(b.hi);
    }
    Box moved(const glm::vec3& d) const { return {lo + d, hi + d}; }
    glm::vec3 size() const { return hi - lo; }
};

struct ImportedMesh {
    std::string name;
    Box bounds;
    unsigned triangles = 0;
    std::vector<std::string> diffuseMaps;
    std::vector<std::string> normalMaps;
    bool hasNormals = false;
    bool hasUvs = false;
    // Every vertex lies on the surface of the mesh's bounding box.
    bool onBoxSurface = true;
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
    const aiScene* scene = importer.ReadFile(path, gameImportFlags);
    if (!scene || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || !scene->mRootNode) return model;
    model.loaded = true;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        ImportedMesh out;
        out.name = mesh->mName.C_Str();
        for (unsigned v = 0; v < mesh->mNumVertices; ++v)
            out.bounds.add({mesh->mVertices[v].x, mesh->mVertices[v].y, mesh->mVertices[v].z});
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            glm::vec3 p(mesh->mVertices[v].x, mesh->mVertices[v].y, mesh->mVertices[v].z);
            glm::vec3 dLo = glm::abs(p - out.bounds.lo), dHi = glm::abs(p - out.bounds.hi);
            float nearest = glm::min(glm::min(glm::min(dLo.x, dLo.y), dLo.z), glm::min(glm::min(dHi.x, dHi.y), dHi.z));
            if (nearest > 1e-3f) out.onBoxSurface = false;
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            if (mesh->mFaces[f].mNumIndices == 3) ++out.triangles;
        out.hasNormals = mesh->HasNormals();
        out.hasUvs = mesh->HasTextureCoords(0);
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_OPACITY})
            for (unsigned i = 0; i < material->GetTextureCount(type); ++i) {
                aiString name;
                material->GetTexture(type, i, &name);
                (type == aiTextureType_DIFFUSE ? out.diffuseMaps : out.normalMaps).push_back(name.C_Str());
            }
        model.bounds.add(out.bounds);
        model.triangles += out.triangles;
        model.meshes.push_back(out);
    }
    return model;
}

// Distance from a point to a box (0 inside).
inline float distanceToBox(const glm::vec3& p, const Box& b)
{
    glm::vec3 d = glm::max(glm::max(b.lo - p, p - b.hi), glm::vec3(0));
    return glm::length(d);
}

inline bool overlaps(const Box& a, const Box& b, float tolerance)
{
    return a.lo.x < b.hi.x - tolerance && b.lo.x < a.hi.x - tolerance && a.lo.y < b.hi.y - tolerance &&
           b.lo.y < a.hi.y - tolerance && a.lo.z < b.hi.z - tolerance && b.lo.z < a.hi.z - tolerance;
}

}  // namespace content
