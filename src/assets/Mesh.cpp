#include "assets/Mesh.h"

#include <string_view>
#include <unordered_map>

#include <glm/gtc/type_ptr.hpp>
#include <glm/vec4.hpp>

#include "assets/Textures.h"
#include "core/Console.h"
#include "physics/PhysicsWorld.h"
#include "core/BoundingBox.h"

namespace {

struct Attribute {
    const char* name;
    GLint components;
    std::size_t offset;
};

const Attribute attributes[] = {
    {"position", 3, offsetof(Vertex, position)},
    {"normal", 3, offsetof(Vertex, normal)},
    {"tangent", 3, offsetof(Vertex, tangent)},
    {"color", 3, offsetof(Vertex, color)},
    {"uv", 2, offsetof(Vertex, uv)},
};
constexpr int attributeCount = sizeof(attributes) / sizeof(attributes[0]);

BoundingBox* boxAround(const std::vector<Vertex>& vertices)
{
    glm::vec3 low(0.0f);
    glm::vec3 high(0.0f);
    if (!vertices.empty()) {
        low = high = vertices.front().position;
        for (const Vertex& v : vertices) {
            for (int k = 0; k < 3; ++k) {
                if (v.position[k] < low[k])
                    low[k] = v.position[k];
                if (v.position[k] > high[k])
                    high[k] = v.position[k];
            }
        }
    }
    return new BoundingBox(low, high);
}

// Model import gives every corner of every face a vertex of its own. The buffers the renderer
// draws from share byte-identical corners instead, so each distinct vertex is shaded once per
// draw rather than up to six times; the triangles and their order stay exactly as imported.
struct SharedCorners {
    std::vector<Vertex> vertices;
    std::vector<GLuint> indices;
};

SharedCorners shareIdenticalCorners(const std::vector<Vertex>& vertices, const std::vector<GLuint>& indices)
{
    SharedCorners shared;
    std::vector<GLuint> renumbered(vertices.size());
    std::unordered_map<std::string_view, GLuint> seen(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const std::string_view bytes(reinterpret_cast<const char*>(&vertices[i]), sizeof(Vertex));
        const auto found = seen.emplace(bytes, static_cast<GLuint>(shared.vertices.size()));
        if (found.second)
            shared.vertices.push_back(vertices[i]);
        renumbered[i] = found.first->second;
    }
    shared.indices.reserve(indices.size());
    for (GLuint index : indices)
        shared.indices.push_back(index < renumbered.size() ? renumbered[index] : index);
    return shared;
}

}  // namespace

Mesh::Mesh(const std::vector<Vertex>& vertices, const std::vector<GLuint>& indices,
           const glm::mat4& modelMatrix, PhysicsWorld* physicsWorld, bool isStatic, bool hasPhysicsBody)
    : Mesh(vertices, indices, {}, {}, modelMatrix, physicsWorld, isStatic, hasPhysicsBody)
{
}

Mesh::Mesh(const std::vector<Vertex>& vertices, const std::vector<GLuint>& indices,
           const std::vector<GLuint>& diffuseTextures, const std::vector<GLuint>& normalTextures,
           const glm::mat4& modelMatrix, PhysicsWorld* physicsWorld, bool isStatic, bool hasPhysicsBody)
    : modelMatrix(modelMatrix), vertices(vertices), diffuseTextures(diffuseTextures),
      normalTextures(normalTextures), indices(indices)
{
    const SharedCorners drawn = shareIdenticalCorners(this->vertices, this->indices);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);

    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(drawn.vertices.size() * sizeof(Vertex)),
                 drawn.vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // Unbinding while the vertex array is bound leaves it without an element buffer: draw binds one.
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(drawn.indices.size() * sizeof(GLuint)),
                 drawn.indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    boundingBox = boxAround(this->vertices);
    // The empty line after each mesh's texture list is the game's console output, kept on purpose.
    notice("%s", "");
    boundingBox->boxMatrix = modelMatrix;

    if (hasPhysicsBody && physicsWorld != nullptr) {
        glm::vec3 c = boundingBox->worldPoint(boundingBox->center);
        const glm::vec3& h = boundingBox->halfExtents;
        if (isStatic)
            physicsWorld->createStaticBox(c.x, c.y, c.z, h.x, h.y, h.z);
        else
            physicsActor = physicsWorld->createDynamicBox(c.x, c.y, c.z, h.x, h.y, h.z);
    }
}

Mesh::~Mesh()
{
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    for (GLuint texture : diffuseTextures)
        releaseModelTexture(texture);
    for (GLuint texture : normalTextures)
        releaseModelTexture(texture);
    delete boundingBox;
}

void Mesh::draw(GLuint program)
{
    if (!visible)
        return;

    glBindVertexArray(vertexArray);

    GLint locations[attributeCount];
    for (int a = 0; a < attributeCount; ++a)
        locations[a] = glGetAttribLocation(program, attributes[a].name);

    int unit = 0;
    GLint sampler = glGetUniformLocation(program, "myTextureSampler");
    for (GLuint texture : diffuseTextures) {
        if (unit >= maxBoundTextures)
            break;
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, texture);
        glUniform1i(sampler, unit);
        ++unit;
    }
    GLint normalMap = glGetUniformLocation(program, "normalMap");
    for (GLuint texture : normalTextures) {
        if (unit >= maxBoundTextures)
            break;
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, texture);
        glUniform1i(normalMap, unit);
        ++unit;
    }
    const int boundUnits = unit;

    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);

    for (int a = 0; a < attributeCount; ++a) {
        if (locations[a] == -1)
            continue;
        GLuint location = static_cast<GLuint>(locations[a]);
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, attributes[a].components, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<const void*>(attributes[a].offset));
    }

    glUniformMatrix4fv(glGetUniformLocation(program, "modelMatrix"), 1, GL_FALSE, glm::value_ptr(modelMatrix));

    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);

    for (int a = 0; a < attributeCount; ++a) {
        if (locations[a] != -1)
            glDisableVertexAttribArray(static_cast<GLuint>(locations[a]));
    }

    // Only the mesh's own units are cleared: a mesh without textures must not unbind whatever
    // the active unit holds (in the lit pass that is the shadow map on unit 10).
    for (int u = 0; u < boundUnits; ++u) {
        glActiveTexture(GL_TEXTURE0 + u);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void Mesh::setModelMatrix(const glm::mat4& matrix)
{
    modelMatrix = matrix;
    boundingBox->boxMatrix = matrix;
}
