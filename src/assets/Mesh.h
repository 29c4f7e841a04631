#pragma once
// One drawable piece of an imported model: its vertices and indices on the graphics card, its
// textures, its model matrix, its bounding box and, when asked for, its box-shaped physics body.
// Meshes are created and owned by the sceneLoader; scene nodes only move and switch them.
#include <GL/glew.h>

#include <cstddef>
#include <vector>

#include <glm/mat4x4.hpp>

#include "assets/Vertex.h"

class BoundingBox;
class PhysicsWorld;
namespace phys {
class RigidDynamic;
}

class Mesh {
public:
    // Unit 10 holds the shadow map in the lit pass, so a mesh binds at most ten textures: the
    // diffuse textures first, then the normal maps, as long as units below 10 are left. Any
    // further texture stays loaded (and is released with the mesh) but is never bound.
    static constexpr int maxBoundTextures = 10;

    glm::mat4 modelMatrix;
    // The dynamic body made for this mesh, or set by a crate; null when the mesh has none.
    phys::RigidDynamic* physicsActor = nullptr;
    std::vector<Vertex> vertices;
    std::vector<GLuint> diffuseTextures;
    std::vector<GLuint> normalTextures;
    std::vector<GLuint> indices;
    BoundingBox* boundingBox = nullptr;
    GLuint vertexBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint vertexArray = 0;
    bool visible = true;

    // Needs a current OpenGL context. With hasPhysicsBody the physics world gets a box at the
    // bounding box's centre placed by modelMatrix, with the unscaled half extents: a static one
    // (the mesh keeps nothing) or a dynamic one held in physicsActor. A box the physics world
    // refuses (a flat or empty mesh) leaves physicsActor null. The mesh holds one use of each
    // texture (see releaseModelTexture).
    Mesh(const std::vector<Vertex>& vertices, const std::vector<GLuint>& indices,
         const std::vector<GLuint>& diffuseTextures, const std::vector<GLuint>& normalTextures,
         const glm::mat4& modelMatrix, PhysicsWorld* physicsWorld, bool isStatic, bool hasPhysicsBody);
    // A mesh without textures.
    Mesh(const std::vector<Vertex>& vertices, const std::vector<GLuint>& indices,
         const glm::mat4& modelMatrix, PhysicsWorld* physicsWorld, bool isStatic, bool hasPhysicsBody);
    // Releases the buffers, the vertex array and its use of each texture. The physics body stays in the world.
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Draws with `program`, which the caller has made current; does nothing while not visible.
    // Attribute and uniform locations are looked up by name on every draw.
    void draw(GLuint program);
    // Moves the mesh and its bounding box.
    void setModelMatrix(const glm::mat4& matrix);
};
