#pragma once
// The part of model import that needs no OpenGL: reading a model file through Assimp with the
// game's flags and the loader's acceptance checks, and turning one imported mesh into vertex
// records, indices and the paths of its textures. The sceneLoader builds its meshes from this.
#include <string>
#include <vector>

#include "assets/Vertex.h"

struct aiMesh;
struct aiScene;
namespace Assimp {
class Importer;
}

// What one imported mesh gives the game before anything goes to the graphics card.
struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    // "Scene/" + the material's texture names, in the material's order.
    std::vector<std::string> diffuseTexturePaths;
    // The game's material files keep their normal maps in the opacity-map entries.
    std::vector<std::string> normalTexturePaths;
};

// Reads the file with the game's import flags. Returns the scene (owned by the importer), or null
// when there is none, it is flagged incomplete, it has no root node, or a material library it names
// (whatever that file is called, the model itself included) sets anything before its first "newmtl"
// line (which the import library cannot survive).
const aiScene* importModel(Assimp::Importer& importer, const char* path);

// The vertex records, indices and texture paths of one mesh of the scene.
MeshData extractMesh(const aiMesh* mesh, const aiScene* scene);

// "Scene/" followed by a material's texture name. A name that is empty, or that would make the
// path longer than 1023 characters, is not appended, leaving "Scene/" alone.
std::string sceneTexturePath(const std::string& textureName);
