#include "assets/SceneLoader.h"

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

// The heap keeps glibc's own thresholds. With each file read once, glibc already takes Assimp's 16 MB
// line buffer from the heap from the second file on; fixing them (mmap 64 MB, trim 256 MB) saved the
// first file's 4,100 page faults, 0.237 s against 0.239 s of processor time to the first frame in
// play (medians of 12 runs, spread 0.21-0.27 s), and a malloc_trim once the world is built gave back
// 3 MB only to fault it in again (0.240 s). The peak is 163 MB in every case.
sceneLoader::sceneLoader() : physicsWorld(new PhysicsWorld())
{
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
