#pragma once
// Model files into meshes through Assimp, every mesh of every model in one list, and the drawing
// of that list with a frustum test. The one loader also holds the physics world.
#include <GL/glew.h>

#include <string>
#include <unordered_map>
#include <vector>

#include <glm/mat4x4.hpp>

#include "assets/ModelImport.h"

struct aiMesh;
struct aiNode;
struct aiScene;
class Mesh;
class PhysicsWorld;

class sceneLoader {
public:
    PhysicsWorld* physicsWorld = nullptr;
    // Six planes of four floats; not owned. Set by the world assembly to the global plane table.
    float* frustumPlanes = nullptr;
    // Owned; every mesh of every loaded model, in load order.
    std::vector<Mesh*> meshes;
    bool cullingDisabled = false;

    // Starts the physics world.
    sceneLoader();
    // Destroys every mesh and drops the kept imports; the physics world is left alone.
    virtual ~sceneLoader();
    sceneLoader(const sceneLoader&) = delete;
    sceneLoader& operator=(const sceneLoader&) = delete;

    // Appends one mesh per mesh of the file, each with modelMatrix unchanged, in depth-first node
    // order (a node's own meshes before its children's); the nodes' own transformations are not
    // used. A path is read on its first load only; later loads of it build their own meshes from
    // what that import kept, until forgetImportedModels. A file that cannot be read, or that yields
    // no mesh, prints "File was not loaded <path>: <reason>" on every load and adds nothing; lines
    // and points are left out with one line naming the file. Returns whether any mesh was added.
    bool loadModel(const char* path, const glm::mat4& modelMatrix, bool isStatic, bool hasPhysicsBody);
    // The two steps of a file's first load: each node's own meshes, then its children, depth first;
    // each mesh becomes a Mesh of this load and is kept for the file's later loads.
    void processNode(const aiNode* node, const aiScene* scene, const glm::mat4& modelMatrix, bool isStatic,
                     bool hasPhysicsBody);
    void processMesh(const aiMesh* mesh, const aiScene* scene, const glm::mat4& modelMatrix, bool isStatic,
                     bool hasPhysicsBody);
    // Drops what the imports kept, so the next load of any path reads its file again. The world
    // assembly calls it once the world is built: nothing loads a model after that.
    void forgetImportedModels();

    // Draws every mesh not culled by frustumPlanes (all of them while cullingDisabled or while
    // there is no plane table) with `program`, which the caller has made current.
    virtual void draw(GLuint program);
    // As draw, also leaving out every mesh outside `planes` (six planes as in frustumPlanes): the
    // shadow pass passes the flashlight's own view, since nothing outside it can cast a shadow.
    void drawSeenBy(GLuint program, const float* planes);

private:
    // One Mesh of `data`, placed by this load, with its own uses of the textures.
    void addMesh(const MeshData& data, const glm::mat4& modelMatrix, bool isStatic, bool hasPhysicsBody);

    // Where processMesh keeps what it imports: the entry of the file being read for the first time.
    std::vector<MeshData>* keeping = nullptr;
    // Every mesh of each file read so far, by path, in the order loadModel appends them: the statues
    // and crates share one file each, which would otherwise be read once per node.
    std::unordered_map<std::string, std::vector<MeshData>> importedModels;
};

// The one model loader of the game, made by the world assembly; it holds the physics world.
extern sceneLoader* loader;
