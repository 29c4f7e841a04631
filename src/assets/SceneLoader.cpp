#include "assets/SceneLoader.h"

#include <malloc.h>

#include <algorithm>
#include <utility>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "assets/Mesh.h"
#include "assets/ModelImport.h"
#include "assets/Textures.h"
#include "core/Console.h"
#include "physics/PhysicsWorld.h"
#include "core/BoundingBox.h"

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

}  // namespace

sceneLoader::sceneLoader() : physicsWorld(new PhysicsWorld())
{
    // Assimp's Wavefront reader takes a fresh 16 MB line buffer for every file. Left to itself, glibc
    // maps the first one apart and the second one anew in the heap, and a page fault is dear on a
    // virtual machine (4,100 of them, 45 ms). From the heap and kept there, every file after the first
    // reuses the same pages.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

sceneLoader::~sceneLoader()
{
    for (Mesh* mesh : meshes)
        delete mesh;
}

bool sceneLoader::loadModel(const char* path, const glm::mat4& modelMatrix, bool isStatic, bool hasPhysicsBody)
{
    const std::size_t before = meshes.size();
    auto kept = importedModels.find(path);
    if (kept != importedModels.end()) {
        for (const MeshData& data : kept->second)
            addMesh(data, modelMatrix, isStatic, hasPhysicsBody);
        return meshes.size() > before;
    }
    Assimp::Importer importer;
    std::string reason;
    const aiScene* scene = importModel(importer, path, &reason);
    if (scene == nullptr) {
        notice("File was not loaded %s: %s", path, reason.c_str());
        return false;
    }
    std::vector<MeshData>& imported = importedModels[path];
    keeping = &imported;
    processNode(scene->mRootNode, scene, modelMatrix, isStatic, hasPhysicsBody);
    keeping = nullptr;
    if (std::any_of(imported.begin(), imported.end(), [](const MeshData& data) { return data.leftOutFaces > 0; }))
        notice("%s: lines and points left out, only triangles are drawn", path);
    return meshes.size() > before;
}

void sceneLoader::processNode(const aiNode* node, const aiScene* scene, const glm::mat4& modelMatrix,
                              bool isStatic, bool hasPhysicsBody)
{
    for (unsigned i = 0; i < node->mNumMeshes; ++i)
        processMesh(scene->mMeshes[node->mMeshes[i]], scene, modelMatrix, isStatic, hasPhysicsBody);
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        processNode(node->mChildren[i], scene, modelMatrix, isStatic, hasPhysicsBody);
}

void sceneLoader::processMesh(const aiMesh* mesh, const aiScene* scene, const glm::mat4& modelMatrix,
                              bool isStatic, bool hasPhysicsBody)
{
    MeshData data = extractMesh(mesh, scene);
    addMesh(data, modelMatrix, isStatic, hasPhysicsBody);
    if (keeping != nullptr)
        keeping->push_back(std::move(data));
}

void sceneLoader::addMesh(const MeshData& data, const glm::mat4& modelMatrix, bool isStatic, bool hasPhysicsBody)
{
    std::vector<GLuint> diffuseTextures = loadTextures(data.diffuseTexturePaths);
    std::vector<GLuint> normalTextures = loadTextures(data.normalTexturePaths);
    meshes.push_back(new Mesh(data.vertices, data.indices, diffuseTextures, normalTextures, modelMatrix,
                              physicsWorld, isStatic, hasPhysicsBody));
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
