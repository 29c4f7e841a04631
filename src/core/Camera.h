#pragma once
// The camera as the rest of the game reads it: the player update writes the matrices and the view
// direction once per frame of play; the frustum, the culling and the frame passes read them.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// The camera's projection at the default settings: a 60 degree vertical field of view over a 4:3
// picture whatever the window's shape, from 0.1 to 100 units.
constexpr float cameraFieldOfViewDegrees = 60.0f;
constexpr float cameraAspect = 4.0f / 3.0f;
constexpr float cameraNear = 0.1f;
constexpr float cameraFar = 100.0f;
// Mouse look puts the cursor back at this point every frame, whatever the window's size.
constexpr double cursorCentreX = 512.0;
constexpr double cursorCentreY = 384.0;

// Identity until the first player update.
extern glm::mat4 projectionMatrix;
extern glm::mat4 viewMatrix;
// Where the camera looks; +z at start.
extern glm::vec3 viewDirection;

// The camera's one projection, which the lit pass draws with and the statues' frustum and the
// loader's culling are cut from: FIELD_OF_VIEW vertically, over 4:3 or, with PICTURE_SHAPE=1, over
// the window's own shape (framebufferWidth x framebufferHeight; 4:3 while there is no size yet).
glm::mat4 cameraProjection();
