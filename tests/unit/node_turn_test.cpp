// A node turned to any heading, with its target straight behind or straight ahead: the angle is
// a number, a target behind turns the node round and a target ahead leaves it be.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <glm/gtc/matrix_transform.hpp>

#include "scene/Node.h"

TEST(NodeTurn, TargetsStraightBehindOrAheadOfATurnedNodeGiveAHalfTurnOrNone)
{
    std::string firstWrong;
    int cases = 0, wrong = 0;
    for (int degrees = 0; degrees < 360; ++degrees) {
        for (float distance : {1.0f, 3.0f, 7.5f, 20.0f}) {
            const glm::vec3 position(2.0f, 0.5f, -3.0f);
            glm::mat4 placed = glm::rotate(glm::translate(glm::mat4(1.0f), position), glm::radians(float(degrees)),
                                           glm::vec3(0.0f, 1.0f, 0.0f));
            const glm::vec3 forward(placed[2]);
            const float behind = angleBetween(-forward * distance, forward);
            const float ahead = angleBetween(forward * distance, forward);

            Node node(placed);
            const glm::vec3 target = position - forward * distance;
            node.faceTowards(target.x, target.y, target.z);
            const float turnedAway = glm::dot(glm::vec3(node.localMatrix[2]), -forward);

            ++cases;
            if (!(std::fabs(behind - 180.0f) < 0.1f) || !(ahead < 0.1f) || !(turnedAway > 0.9999f)) {
                if (wrong++ == 0)
                    firstWrong = std::to_string(degrees) + " degrees, distance " + std::to_string(distance) +
                                 ": behind " + std::to_string(behind) + ", ahead " + std::to_string(ahead);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << cases << " headings and distances; first: " << firstWrong;
}
