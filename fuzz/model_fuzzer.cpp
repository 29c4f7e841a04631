// libFuzzer target for model import (with -dict=../fuzz/model.dict): each input is a Wavefront
// model read with the game's flags and checks, then turned into vertices, indices and texture
// paths as the sceneLoader does. Every index names a vertex of its mesh, the indices make whole
// triangles at finite positions, and every texture path lies under Scene/ within Assimp's 1023
// characters. The part after a line "#mtl <name>" becomes
// the material file of that name (one of materialNames, else model.mtl) beside model.obj, since
// Assimp opens whatever "mtllib" names; "#mtl model.obj" keeps the whole input as the model.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "assets/ModelImport.h"

namespace {

std::string workDir;
const char* const materialNames[] = {"model.mtl", "model.MTL", "stone.txt", "model.obj"};

void removeFiles()
{
    for (const char* name : materialNames)
        std::remove((workDir + "/" + name).c_str());
}

void writeFile(const std::string& name, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen((workDir + "/" + name).c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size))
        std::abort();
    std::fclose(file);
}

// Under Scene/, with no backslash and no folder climbing out of it.
void checkPaths(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        if (path.compare(0, 6, "Scene/") != 0 || path.size() > 1023 || path.find('\\') != std::string::npos ||
            (path + "/").find("/../") != std::string::npos)
            std::abort();
}

void walk(const aiNode* node, const aiScene* scene)
{
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        if (node->mMeshes[i] >= scene->mNumMeshes || scene->mMeshes[node->mMeshes[i]]->mMaterialIndex >= scene->mNumMaterials)
            std::abort();
        MeshData data = extractMesh(scene->mMeshes[node->mMeshes[i]], scene);
        for (unsigned int index : data.indices)
            if (index >= data.vertices.size())
                std::abort();
        // Only triangles, at finite positions.
        if (data.indices.size() % 3 != 0)
            std::abort();
        for (const Vertex& v : data.vertices)
            if (!std::isfinite(v.position.x) || !std::isfinite(v.position.y) || !std::isfinite(v.position.z))
                std::abort();
        checkPaths(data.diffuseTexturePaths);
        checkPaths(data.normalTexturePaths);
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        walk(node->mChildren[i], scene);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/vellmar-model-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    workDir = pattern;
    std::atexit([] { removeFiles(); rmdir(workDir.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t* end = data + size;
    const auto* split = static_cast<const uint8_t*>(memmem(data, size, "\n#mtl", 5));
    const uint8_t* lineEnd = split ? std::find(split + 5, end, '\n') : end;
    std::string name = materialNames[0];
    const std::string rest(split ? split + 5 : end, lineEnd);
    for (const char* known : materialNames)
        if (rest == std::string(" ") + known)
            name = known;
    removeFiles();
    if (lineEnd == end || name == "model.obj") {
        writeFile("model.obj", data, size);
    } else {
        writeFile("model.obj", data, static_cast<size_t>(split - data));
        writeFile(name, lineEnd + 1, static_cast<size_t>(end - lineEnd - 1));
    }
    Assimp::Importer importer;
    if (const aiScene* scene = importModel(importer, (workDir + "/model.obj").c_str()))
        walk(scene->mRootNode, scene);
    return 0;
}
