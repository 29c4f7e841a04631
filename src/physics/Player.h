#pragma once
// The player's body, movement and camera.
#include <glm/mat4x4.hpp>

// Camera matrices, written at the end of every player update.
extern glm::mat4 projectionMatrix;
extern glm::mat4 viewMatrix;
