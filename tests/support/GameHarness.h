#pragma once
// The real game in a real window (under Xvfb) with scripted input and a fixed clock; one game
// per process, as the game keeps its state in globals (ctest runs each test alone).
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/Config.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "render/RenderScale.h"

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        static bool used = false;
        if (used)
            GTEST_SKIP() << "one game per process: run this test through ctest";
        used = true;
        platform = &input;
        screenWidth = windowWidth;
        screenHeight = windowHeight;
        // Full resolution: the scale the game would pick depends on how busy the machine is.
        renderScaleSetting = 100;
        createWindow();
    }

    bool frame(double dt = 1.0 / 60.0)
    {
        input.now += dt;
        return runFrame();
    }

    ScriptedPlatform input;
    // Tests that only listen draw a smaller window: the software renderer's cost is its pixels.
    int windowWidth = 800, windowHeight = 600;
};
