#include "core/Camera.h"

#include <cmath>

#include <glm/trigonometric.hpp>

#include "core/GameState.h"

glm::mat4 projectionMatrix(1.0f);
glm::mat4 viewMatrix(1.0f);
glm::vec3 viewDirection(0.0f, 0.0f, 1.0f);

glm::mat4 cameraProjection()
{
    // The scaled scene target has the window's shape give or take a rounded pixel: the window's
    // own size gives the shape, so the picture and the statues' view stay one.
    const bool ownShape = pictureShape != 0 && framebufferWidth > 0 && framebufferHeight > 0;
    const float aspect = ownShape ? static_cast<float>(framebufferWidth) / static_cast<float>(framebufferHeight)
                                  : cameraAspect;
    // glm::perspective's right-handed matrix, with the tangent taken in double precision and rounded
    // once: the C library's tanf can miss the correctly rounded value by one unit in the last place,
    // which at 60 degrees moves some pixel edges of the picture the game always drew.
    const float halfAngle = glm::radians(static_cast<float>(fieldOfView)) / 2.0f;
    const float tanHalf = static_cast<float>(std::tan(static_cast<double>(halfAngle)));
    glm::mat4 projection(0.0f);
    projection[0][0] = 1.0f / (aspect * tanHalf);
    projection[1][1] = 1.0f / tanHalf;
    projection[2][2] = -(cameraFar + cameraNear) / (cameraFar - cameraNear);
    projection[2][3] = -1.0f;
    projection[3][2] = -(2.0f * cameraFar * cameraNear) / (cameraFar - cameraNear);
    return projection;
}
