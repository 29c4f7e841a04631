// The world's three lights placed by the world's own calls, and the light slots.
#include <gtest/gtest.h>

#include <vector>

#include "app/WorldAssembly.h"
#include "render/Light.h"

TEST(WorldLights, TheFlashlightTogglesOnlyItsOwnSlotAndEasesTowardsTheView)
{
    testing::internal::CaptureStdout();
    placeLights();
    testing::internal::GetCapturedStdout();
    flashlightOn = true;
    toggleFlashlight();
    EXPECT_EQ(glm::ivec2(lightTypes[0], lightTypes[2]), glm::ivec2(-1, 1));
    EXPECT_EQ(lights[0]->type, 1) << "the light itself keeps its type";
    toggleFlashlight();
    EXPECT_EQ(lightTypes[0], 1);

    const glm::vec3 eye(1.0f, 3.5f, 1.0f), view(0.0f, 0.0f, 1.0f);
    updateFlashlight(eye, view, 0.0f);
    EXPECT_EQ(lights[0]->direction, glm::vec3(1.0f, 0.0f, 0.0f)) << "dt 0 does not move it";
    EXPECT_EQ(lightPositions[0], glm::vec3(1.0f, 3.0f, 1.0f)) << "half a unit below the eye";
    updateFlashlight(eye, view, 1.0f / 60.0f);
    EXPECT_LT(glm::length(lights[0]->direction - glm::vec3(0.9f, 0.0f, 0.1f)), 1e-5f) << "a tenth of the way";
    updateFlashlight(eye, view, 0.25f);
    EXPECT_EQ(lightDirections[0], view) << "a long frame snaps it to the view";
    flashlight = nullptr;
    lightCount = 0;
}

TEST(WorldLights, AnEleventhLightIsRefusedWithoutWritingPastTheArrays)
{
    std::vector<Light*> all;
    for (int i = 0; i < maxLights; ++i)
        all.push_back(new Light(glm::mat4(1.0f), 1));
    testing::internal::CaptureStdout();
    Light extra(glm::mat4(1.0f), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Light refused"), std::string::npos);
    extra.setLightPower(9.0f, 9.0f, 9.0f);
    EXPECT_EQ(lightCount, maxLights);
    EXPECT_EQ(extra.number, -1);
    EXPECT_EQ(lightPowers[maxLights - 1], glm::vec3(1.0f));
    for (Light* light : all)
        delete light;
    lightCount = 0;
}
