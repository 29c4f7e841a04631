#include "scene/Node.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/vec4.hpp>

#include "assets/Mesh.h"
#include "assets/SceneLoader.h"
#include "core/Console.h"
#include "physics/Engine.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "core/BoundingBox.h"

namespace {

constexpr float radiansPerDegree = 0.017453292f;
// Turns smaller than this (in degrees) are not made.
constexpr float facingTolerance = 0.01f;

float length(const glm::vec3& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

glm::vec3 translationOf(const glm::mat4& m)
{
    return glm::vec3(m[3]);
}

// Loads the model and returns the mesh it appended last, or null (reported once) when it
// appended none: the newest mesh in the list would then belong to some other node.
Mesh* loadOwnMesh(sceneLoader* loader, const char* path, const glm::mat4& model, bool isStatic,
                  bool hasPhysicsBody)
{
    if (loader == nullptr) {
        notice("No model loader for %s; the node has no mesh", path);
        return nullptr;
    }
    std::size_t before = loader->meshes.size();
    loader->loadModel(path, model, isStatic, hasPhysicsBody);
    if (loader->meshes.size() == before) {
        notice("No mesh loaded from %s; the node has no mesh", path);
        return nullptr;
    }
    return loader->meshes.back();
}

phys::RigidDynamic* bodyOf(const Mesh* mesh)
{
    return mesh != nullptr ? mesh->physicsActor : nullptr;
}

}  // namespace

float angleBetween(const glm::vec3& u, const glm::vec3& v)
{
    float lu = length(u);
    float lv = length(v);
    if (lu == 0.0f || lv == 0.0f)
        return 0.0f;
    glm::vec3 un = u / lu;
    glm::vec3 vn = v / lv;
    // Rounding carries the cosine of nearly parallel or opposite directions just past 1 or -1,
    // where acos has no value: a target straight behind must still read as a half turn.
    float c = glm::dot(un, vn) / (length(un) * length(vn));
    c = std::min(1.0f, std::max(-1.0f, c));
    const double pi = std::atan(1.0) * 4.0;
    return static_cast<float>(std::acos(c) * 180.0 / pi);
}

Node::Node(const glm::mat4& model) : localMatrix(model)
{
}

Node::~Node()
{
    parent = nullptr;
}

void Node::update(double dt)
{
    // The size is read on every pass: an update may append children.
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i] != nullptr)
            children[i]->update(dt);
    }
}

void Node::refresh()
{
}

void Node::approach(float x, float y, float z, float step)
{
    faceTowards(x, y, z);
    translate(0.0f, 0.0f, step);
}

glm::mat4 Node::worldMatrix() const
{
    if (parent != nullptr)
        return parent->worldMatrix() * localMatrix;
    return localMatrix;
}

void Node::setPosition(float x, float y, float z)
{
    localMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

void Node::translate(float x, float y, float z)
{
    localMatrix = glm::translate(localMatrix, glm::vec3(x, y, z));
}

void Node::rotateY(float degrees)
{
    localMatrix = glm::rotate(localMatrix, degrees * radiansPerDegree, glm::vec3(0.0f, 1.0f, 0.0f));
}

void Node::faceTowards(float x, float y, float z)
{
    glm::vec3 d = glm::vec3(x, y, z) - translationOf(localMatrix);
    glm::vec3 up(localMatrix[1]);
    glm::vec3 forward(localMatrix[2]);
    glm::vec3 left = glm::cross(forward, up);
    float a = angleBetween(d, forward);
    float l = angleBetween(d, left);
    float r = angleBetween(d, -left);
    if (a > facingTolerance)
        rotateY(r > l ? -a : a);
}

void Node::addChild(Node* child)
{
    if (child == nullptr)
        return;
    if (child->parent != nullptr)
        child->parent->removeChild(child);
    child->parent = this;
    children.push_back(child);
}

void Node::removeChild(Node* child)
{
    if (children.empty() || child == nullptr)
        return;
    for (auto it = children.begin(); it != children.end(); ++it) {
        if (*it == child) {
            children.erase(it);
            return;
        }
    }
}

Object::Object(const char* path, sceneLoader* loader, const glm::mat4& model, bool isStatic, bool hasPhysicsBody)
    : Node(model), mesh(loadOwnMesh(loader, path, model, isStatic, hasPhysicsBody))
{
}

void Object::update(double dt)
{
    if (mesh != nullptr)
        mesh->setModelMatrix(worldMatrix());
    Node::update(dt);
}

void Object::refresh()
{
    if (mesh != nullptr)
        mesh->setModelMatrix(worldMatrix());
}

PhysicsObject::PhysicsObject(const glm::mat4& model) : Object("Scene/statue.obj", loader, model, false, true)
{
}

void PhysicsObject::update(double dt)
{
    phys::RigidDynamic* body = bodyOf(mesh);
    if (bodyDriven && body != nullptr) {
        glm::vec3 p = body->getGlobalPose().p;
        body->setAngularVelocity(glm::vec3(0.0f), true);
        // The node keeps its own height; the body's height and rotation are not shown.
        setPosition(p.x, localMatrix[3].y, p.z);
    }
    if (target.x != 0.0f && target.z != 0.0f)
        faceTowards(target.x, target.y, target.z);
    Object::update(dt);
}

void PhysicsObject::approach(float x, float y, float z, float /*step*/)
{
    if (!chasing)
        return;
    target = glm::vec3(x, y, z);
    phys::RigidDynamic* body = bodyOf(mesh);
    if (body == nullptr)
        return;
    glm::vec3 d = target - body->getGlobalPose().p;
    // The push grows with the distance on purpose: it is not normalised.
    if (bodyDriven)
        body->addForce(d, phys::ForceMode::eFORCE, true);
}

Crate::Crate(const glm::mat4& model) : Node(model), mesh(loadOwnMesh(loader, "Scene/CompanionCube.obj", model, false, false))
{
    if (mesh == nullptr || loader->physicsWorld == nullptr)
        return;
    const BoundingBox& box = *mesh->boundingBox;
    glm::vec3 c = box.worldPoint(box.center);
    const glm::vec3& h = box.halfExtents;
    mesh->physicsActor = loader->physicsWorld->createCrateBody(c.x, c.y, c.z, h.x, h.y, h.z);
}

void Crate::update(double dt)
{
    phys::RigidDynamic* body = bodyOf(mesh);
    if (body != nullptr) {
        glm::vec3 p = body->getGlobalPose().p;
        body->setAngularVelocity(glm::vec3(0.0f), true);
        setPosition(p.x, localMatrix[3].y, p.z);
    }
    if (mesh != nullptr)
        mesh->setModelMatrix(worldMatrix());
    Node::update(dt);
}

LodObject::LodObject(const glm::mat4& model)
    : Node(model), highMesh(loadOwnMesh(loader, "Scene/giantCowHigh.obj", model, true, true)),
      lowMesh(loadOwnMesh(loader, "Scene/GiantCowLow.obj", model, true, true)), player(::player)
{
}

void LodObject::update(double /*dt*/)
{
    if (lowMesh != nullptr)
        lowMesh->setModelMatrix(localMatrix);
    if (highMesh != nullptr)
        highMesh->setModelMatrix(localMatrix);
    if (player == nullptr || player->body == nullptr)
        return;
    glm::vec3 eye = player->body->getGlobalPose().p + glm::vec3(0.0f, eyeHeight, 0.0f);
    float dist = length(eye - translationOf(localMatrix));
    bool close = dist < lodDistance;
    if (highMesh != nullptr)
        highMesh->visible = close;
    if (lowMesh != nullptr)
        lowMesh->visible = !close;
}
