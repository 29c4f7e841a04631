#pragma once
// The vertex record of every mesh, as model import makes it and the shaders read it.
#include <cstddef>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

// One vertex record, uploaded as it is: 14 floats, interleaved.
struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec3 tangent;
    glm::vec3 color;
    glm::vec2 uv;
};
static_assert(sizeof(Vertex) == 56, "the shaders read 56-byte vertex records");
static_assert(offsetof(Vertex, position) == 0, "position at byte 0");
static_assert(offsetof(Vertex, normal) == 12, "normal at byte 12");
static_assert(offsetof(Vertex, tangent) == 24, "tangent at byte 24");
static_assert(offsetof(Vertex, color) == 36, "color at byte 36");
static_assert(offsetof(Vertex, uv) == 48, "uv at byte 48");
