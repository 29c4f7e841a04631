#include "core/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 projectionMatrix(1.0f);
glm::mat4 viewMatrix(1.0f);
glm::vec3 viewDirection(0.0f, 0.0f, 1.0f);

glm::mat4 cameraProjection()
{
    return glm::perspective(glm::radians(cameraFieldOfViewDegrees), cameraAspect, cameraNear, cameraFar);
}
