#pragma once
// Everything movable in the scene is a Node: a matrix relative to an optional parent and a list
// of children. The subclasses attach a node to the meshes the loader draws and to the bodies the
// physics world simulates. Nodes never draw and never free their meshes (the loader owns them).
//
// A node that loads a model takes the mesh the load appended last. When a load appends nothing
// (the file cannot be read, or holds no mesh) the node keeps no mesh rather than another node's,
// says so once on the console, and every operation skips the missing mesh; a statue or crate whose
// mesh has no body is never moved through it.
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

class Mesh;
class sceneLoader;
struct Player;

// The angle between two directions in degrees, never negative; 0 when either has no length.
float angleBetween(const glm::vec3& u, const glm::vec3& v);

class Node {
public:
    glm::mat4 localMatrix;
    Node* parent = nullptr;
    // Not owned; empty entries are allowed and skipped.
    std::vector<Node*> children;

    explicit Node(const glm::mat4& model);
    virtual ~Node();

    // Once per frame; updates the children in order.
    virtual void update(double dt);
    // Makes the mesh's matrix the node's world matrix; nothing for a plain node.
    virtual void refresh();
    // Turns towards the point, then steps `step` along the node's own z axis.
    virtual void approach(float x, float y, float z, float step);

    // The parent's world matrix times localMatrix.
    glm::mat4 worldMatrix() const;
    // Drops any rotation or scale.
    void setPosition(float x, float y, float z);
    // Along the node's own axes.
    void translate(float x, float y, float z);
    // About the node's own y axis.
    void rotateY(float degrees);
    // Turns about the own y axis until the own z axis points towards the point (the angle is
    // the full 3-D angle, so a target above or below still turns by it).
    void faceTowards(float x, float y, float z);
    // Takes the child from its previous parent.
    void addChild(Node* child);
    // Removes the first entry equal to child.
    void removeChild(Node* child);
};

class Object : public Node {
public:
    Mesh* mesh = nullptr;

    Object(const char* path, sceneLoader* loader, const glm::mat4& model, bool isStatic, bool hasPhysicsBody);

    void update(double dt) override;
    void refresh() override;
};

// A statue: its x and z follow its dynamic body; while chasing it is pushed towards a point.
class PhysicsObject : public Object {
public:
    glm::vec3 target{0.0f};
    bool bodyDriven = true;
    bool chasing = false;

    explicit PhysicsObject(const glm::mat4& model);

    void update(double dt) override;
    // Pushes the body towards the point with a force equal to the offset; `step` is not used.
    void approach(float x, float y, float z, float step) override;
};

// A pushable crate: its x and z follow the body the crate makes for its mesh.
class Crate : public Node {
public:
    Mesh* mesh = nullptr;

    explicit Crate(const glm::mat4& model);

    void update(double dt) override;
};

// Shows its detailed mesh while the player's eye is closer than lodDistance, else its coarse one.
class LodObject : public Node {
public:
    static constexpr float lodDistance = 40.0f;

    Mesh* highMesh = nullptr;
    Mesh* lowMesh = nullptr;
    Player* player = nullptr;

    // Takes the global player, which must exist already.
    explicit LodObject(const glm::mat4& model);

    // Places both meshes by localMatrix (the parent is ignored); children are not updated.
    void update(double dt) override;
};
