#include "assets/SceneLoader.h"

#include <malloc.h>

#include <iostream>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "assets/Mesh.h"
#include "assets/Textures.h"
#include "physics/PhysicsWorld.h"
#include "scene/BoundingBox.h"

namespace {

constexpr unsigned importFlags =
    aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs;

// Assimp's own strings hold at most this many characters.
constexpr std::size_t longestPath = 1023;

// A point or line mesh gets no generated normals; it faces up.
const glm::vec3 normalWithoutNormals(0.0f, 1.0f, 0.0f);

std::vector<GLuint> loadTextures(const aiMaterial* material, aiTextureType type)
{
    std::vector<GLuint> textures;
    for (unsigned i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString name;
        aiGetMaterialTexture(material, type, i, &name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        textures.push_back(loadImageTexture(sceneTexturePath(name.C_Str()).c_str()));
    }
    return textures;
}

}  // namespace

std::string sceneTexturePath(const std::string& textureName)
{
    std::string path = "Scene/";
    if (!textureName.empty() && path.size() + textureName.size() <= longestPath)
        path += textureName;
    return path;
}

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
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, importFlags);
    if (scene == nullptr || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || scene->mRootNode == nullptr) {
        std::cout << "File was not loaded " << path << std::endl;
        return;
    }
    processNode(scene->mRootNode, scene, modelMatrix, isStatic, hasPhysicsBody);
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
    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    aiColor4D diffuse(0.0f, 0.0f, 0.0f, 0.0f);
    aiGetMaterialColor(material, AI_MATKEY_COLOR_DIFFUSE, &diffuse);

    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        Vertex v;
        const aiVector3D& p = mesh->mVertices[i];
        v.position = {p.x, p.y, p.z};
        if (mesh->mNormals != nullptr)
            v.normal = {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z};
        else
            v.normal = normalWithoutNormals;
        if (mesh->mTangents != nullptr)
            v.tangent = {mesh->mTangents[i].x, mesh->mTangents[i].y, mesh->mTangents[i].z};
        else
            v.tangent = {1.0f, 0.0f, 0.0f};
        if (mesh->mColors[0] != nullptr)
            v.color = {mesh->mColors[0][i].r, mesh->mColors[0][i].g, mesh->mColors[0][i].b};
        else
            v.color = {diffuse.r, diffuse.g, diffuse.b};
        if (mesh->mTextureCoords[0] != nullptr)
            v.uv = {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y};
        else
            v.uv = {0.0f, 0.0f};
        vertices.push_back(v);
    }

    std::vector<GLuint> indices;
    indices.reserve(static_cast<std::size_t>(mesh->mNumFaces) * 3);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }

    std::vector<GLuint> diffuseTextures = loadTextures(material, aiTextureType_DIFFUSE);
    // The game's material files keep their normal maps in the opacity-map entries.
    std::vector<GLuint> normalTextures = loadTextures(material, aiTextureType_OPACITY);

    meshes.push_back(new Mesh(vertices, indices, diffuseTextures, normalTextures, modelMatrix, physicsWorld,
                              isStatic, hasPhysicsBody));
}

void sceneLoader::draw(GLuint program)
{
    for (Mesh* mesh : meshes) {
        if (cullingDisabled || !mesh->boundingBox->isOutside(frustumPlanes))
            mesh->draw(program);
    }
}
