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
    // Lines and points of the mesh, which are not drawn: only triangles reach the index list.
    unsigned leftOutFaces = 0;
};

// Reads the file with the game's import flags, Assimp checking the scene it builds. Returns the scene
// (owned by the importer), or null, with the reason in `reason` when given, for a file whose name
// does not end in ".obj" (no other importer sees it), a file Assimp cannot read or whose scene fails
// its checks (a scene without any mesh among them), a scene flagged incomplete or without a root
// node, a position that is not a finite number, or a material library it names (whatever that
// file is called, the model itself included) that sets anything before its first "newmtl" line
// (which the import library cannot survive).
const aiScene* importModel(Assimp::Importer& importer, const char* path, std::string* reason = nullptr);

// The vertex records, indices and texture paths of one mesh of the scene.
MeshData extractMesh(const aiMesh* mesh, const aiScene* scene);

// "Scene/" followed by a material's texture name, whose backslashes (written on Windows) separate
// folders as slashes do. "." and empty folder names are dropped and ".." climbs no higher than
// Scene/, so no name leads out of it. A name that is empty, or that would make the path longer
// than 1023 characters, is not appended, leaving "Scene/" alone.
std::string sceneTexturePath(const std::string& textureName);
