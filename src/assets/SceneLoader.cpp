#include "assets/SceneLoader.h"

#include <malloc.h>

#include <iostream>
#include <utility>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "assets/Mesh.h"
#include "assets/ModelImport.h"
#include "assets/Textures.h"
#include "physics/PhysicsWorld.h"
#include "scene/BoundingBox.h"

sceneLoader* loader = nullptr;

namespace {

std::vector<GLuint> loadTextures(const std::vector<std::string>& paths)
{
    std::vector<GLuint> textures;
    textures.reserve(paths.size());
    for (const std::string& path : paths)
        textures.push_back(acquireModelTexture(path));
    return textures;
}

// A node's own meshes before its children's.
void collectMeshes(const aiNode* node, const aiScene* scene, std::vector<MeshData>& meshes)
{
    for (unsigned i = 0; i < node->mNumMeshes; ++i)
        meshes.push_back(extractMesh(scene->mMeshes[node->mMeshes[i]], scene));
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        collectMeshes(node->mChildren[i], scene, meshes);
}

}  // namespace

sceneLoader::sceneLoader() : physicsWorld(new PhysicsWorld())
{
    // Assimp's Wavefront reader takes a fresh, zero-filled 16 MB line buffer for every file, and the
    // image library a fresh buffer for every picture; each node reads its model and textures again.
    // Kept in the heap once freed, the next file reuses pages already mapped instead of faulting in
    // new ones, which costs far more than the reading itself.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

sceneLoader::~sceneLoader()
{
    for (Mesh* mesh : meshes)
        delete mesh;
}

void sceneLoader::loadModel(const char* path, const glm::mat4& modelMatrix, bool isStatic, bool hasPhysicsBody)
{
    auto kept = importedModels.find(path);
    if (kept == importedModels.end()) {
        Assimp::Importer importer;
        const aiScene* scene = importModel(importer, path);
        if (scene == nullptr) {
            std::cout << "File was not loaded " << path << std::endl;
            return;
        }
        std::vector<MeshData> meshData;
        collectMeshes(scene->mRootNode, scene, meshData);
        kept = importedModels.emplace(path, std::move(meshData)).first;
    }
    for (const MeshData& data : kept->second) {
        std::vector<GLuint> diffuseTextures = loadTextures(data.diffuseTexturePaths);
        std::vector<GLuint> normalTextures = loadTextures(data.normalTexturePaths);
        meshes.push_back(new Mesh(data.vertices, data.indices, diffuseTextures, normalTextures, modelMatrix,
                                  physicsWorld, isStatic, hasPhysicsBody));
    }
}

void sceneLoader::forgetImportedModels()
{
    importedModels.clear();
}

void sceneLoader::draw(GLuint program)
{
    drawSeenBy(program, nullptr);
}

void sceneLoader::drawSeenBy(GLuint program, const float* planes)
{
    for (Mesh* mesh : meshes) {
        const BoundingBox& box = *mesh->boundingBox;
        if (cullingDisabled || (!box.isOutside(frustumPlanes) && !box.isOutside(planes)))
            mesh->draw(program);
    }
}
