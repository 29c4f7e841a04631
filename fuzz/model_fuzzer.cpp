// libFuzzer target for model import: each input is a Wavefront model and its material file, read
// through Assimp with the game's flags and acceptance checks, then walked and turned into
// vertex records, indices and texture paths as the sceneLoader does before anything goes to the
// graphics card. Run from the build folder of a clang build:
//   ./fuzz/model_fuzzer -max_total_time=600 -dict=../fuzz/model.dict ../fuzz/corpus/model
// Every index must name a vertex of its mesh (the index buffer is drawn from as it is), and
// every texture path must lie under Scene/ within Assimp's 1023 characters.
// The part after the first line "#mtl" becomes model.mtl beside model.obj; after "#mtl <name>",
// with a name of materialNames, that file instead. Assimp opens whatever "mtllib" names, so the
// library is written under other names too; the model's own name keeps the whole input as one file.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
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
const char* const separator = "\n#mtl";
const char* const materialNames[] = {"model.mtl", "model.MTL", "stone.txt", "model.obj"};

void removeMaterialFiles()
{
    for (const char* name : materialNames)
        std::remove((workDir + "/" + name).c_str());
}

void removeWorkDir()
{
    removeMaterialFiles();
    rmdir(workDir.c_str());
}

// The material file's name from the rest of the separator line: a known name, or model.mtl.
std::string materialName(const uint8_t* begin, const uint8_t* end)
{
    std::string rest(reinterpret_cast<const char*>(begin), reinterpret_cast<const char*>(end));
    if (rest.size() > 1 && rest[0] == ' ')
        for (const char* name : materialNames)
            if (rest.substr(1) == name)
                return name;
    return materialNames[0];
}

void writeFile(const char* name, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen((workDir + "/" + name).c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size))
        std::abort();
    std::fclose(file);
}

void checkPaths(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        if (path.compare(0, 6, "Scene/") != 0 || path.size() > 1023)
            std::abort();
}

void walk(const aiNode* node, const aiScene* scene)
{
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        if (node->mMeshes[i] >= scene->mNumMeshes)
            std::abort();
        const aiMesh* mesh = scene->mMeshes[node->mMeshes[i]];
        if (mesh->mMaterialIndex >= scene->mNumMaterials)
            std::abort();
        MeshData data = extractMesh(mesh, scene);
        for (unsigned int index : data.indices)
            if (index >= data.vertices.size())
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
    std::atexit(removeWorkDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t separatorLength = std::strlen(separator);
    const uint8_t* end = data + size;
    const uint8_t* split = static_cast<const uint8_t*>(memmem(data, size, separator, separatorLength));
    const uint8_t* lineEnd = split ? std::find(split + separatorLength, end, '\n') : end;
    removeMaterialFiles();
    if (split == nullptr || lineEnd == end) {
        writeFile("model.obj", data, size);
    } else {
        std::string name = materialName(split + separatorLength, lineEnd);
        if (name == "model.obj") {
            writeFile("model.obj", data, size);
        } else {
            writeFile("model.obj", data, static_cast<size_t>(split - data));
            writeFile(name.c_str(), lineEnd + 1, static_cast<size_t>(end - lineEnd - 1));
        }
    }

    // The material file is found beside the model, as the game's are.
    Assimp::Importer importer;
    const aiScene* scene = importModel(importer, (workDir + "/model.obj").c_str());
    if (scene != nullptr)
        walk(scene->mRootNode, scene);
    return 0;
}
