#pragma once
// The whole game world, assembled as the game does it, driven frame by frame (see GameHarness.h).
#include <GL/glew.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GameHarness.h"
#include "app/WorldAssembly.h"
#include "assets/Mesh.h"
#include "physics/Engine.h"
#include "physics/Player.h"
#include "scene/Pursuit.h"
#include "scene/Node.h"
#include "scene/Registries.h"

class WorldTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (IsSkipped())
            return;
        worldAssembly();
        startFrameLoop();
    }

    void play()
    {
        frame();
        tap(GLFW_KEY_ENTER);
        ASSERT_FALSE(showStartScreen);
    }

    void frames(int count, double dt = 1.0 / 60.0)
    {
        for (int i = 0; i < count; ++i)
            frame(dt);
    }

    // A key tapped between frames, then that many frames.
    void tap(int key, int count = 1)
    {
        input.tap(key);
        frames(count);
    }

    // Puts the player's body (centre 1 above the floor) at (x, y, z), at rest.
    void teleport(float x, float y, float z)
    {
        player->body->setGlobalPose(phys::Transform(glm::vec3(x, y, z)), true);
        player->body->setLinearVelocity(glm::vec3(0.0f), true);
    }

    void expectWindow(int width, int height)
    {
        int w = 0, h = 0;
        glfwGetWindowSize(mainWindow, &w, &h);
        EXPECT_EQ(glm::ivec4(w, h, framebufferWidth, framebufferHeight), glm::ivec4(width, height, width, height));
    }

    glm::vec3 playerPosition() const { return player->body->getGlobalPose().p; }
    glm::vec3 statuePosition(size_t i) const { return pursuers[i]->mesh->physicsActor->getGlobalPose().p; }
    float horizontalDistanceToStatue(size_t i) const
    {
        glm::vec3 d = statuePosition(i) - playerPosition();
        return std::hypot(d.x, d.z);
    }

    // Turns the view with the mouse by the given radians at the next player update.
    void turn(float yawRadians, float pitchRadians = 0.0f)
    {
        input.moveCursor(cursorCentreX - yawRadians / mouseSpeed, cursorCentreY - pitchRadians / mouseSpeed);
    }

    // The last frame, RGB (still in the back buffer: the software renderer presents by copying).
    std::vector<unsigned char> readScreen(int& width, int& height)
    {
        glfwGetFramebufferSize(mainWindow, &width, &height);
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};
