// The render scale: how it follows the frame time, and RENDER_SCALE in config.ini.
#include "render/RenderScale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TempDir.h"
#include "app/Config.h"

TEST(RenderScale, ShrinksWhileFramesRunOverSixtyASecondAndGrowsBackToOneWhenTheyAreFast)
{
    const struct {
        float scale;
        double seconds;
        float expected;
    } cases[] = {
        {1.0f, 1.0 / 60.0, 1.0f},     // a display waiting for its refresh keeps full resolution
        {1.0f, 0.0172, 1.0f},         // and so does a little jitter
        {1.0f, 0.018, 0.85f},         // over: down to what fits with room to spare
        {1.0f, 0.037, 0.6f},          // far over: straight to the scale that fits, about 1/sqrt of it
        {0.6f, 0.2, 0.5f},            // never below half of each side
        {0.5f, 0.05, 0.5f},
        {0.8f, 0.0178, 0.7f},
        {0.6f, 0.0125, 0.6f},         // fits, but one step larger would not: stays
        {0.6f, 0.008, 0.65f},         // fast frames: one step larger
        {0.95f, 0.004, 1.0f},
        {1.0f, 0.001, 1.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(nextRenderScale(c.scale, c.seconds), c.expected) << c.scale << " at " << c.seconds << " s";

    // From the smallest scale, fast frames bring it back to exactly 1.
    float scale = smallestRenderScale;
    for (int i = 0; i < 20; ++i)
        scale = nextRenderScale(scale, 0.002);
    EXPECT_EQ(scale, 1.0f);
}

TEST(RenderScale, ConfigAcceptsZeroAndFiftyToHundredAndRefusesTheRest)
{
    const struct {
        const char* line;
        int expected;
        const char* said;
    } cases[] = {
        {"RENDER_SCALE=75", 75, ""},
        {"RENDER_SCALE=50", 50, ""},
        {"RENDER_SCALE=100", 100, ""},
        {"RENDER_SCALE=0", 0, ""},
        {"RENDER_SCALE=49", 0, "config.ini: RENDER_SCALE=49 is out of range, ignored\n"},
        {"RENDER_SCALE=101", 0, "config.ini: RENDER_SCALE=101 is out of range, ignored\n"},
        {"RENDER_SCALE=-60", 0, "config.ini: RENDER_SCALE=-60 is out of range, ignored\n"},
        {"RENDER_SCALE=fast", 0, ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("config.ini", std::string(c.line) + "\nWIDTH=640\n");
        renderScaleSetting = 33;
        testing::internal::CaptureStdout();
        readConfig();
        std::fflush(stdout);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(renderScaleSetting, c.expected) << c.line;
        EXPECT_EQ(out, std::string(c.said) + "WIDTH=640\nHEIGHT=600\nREFRESH_RATE=60\nFULLSCREEN=false\n") << c.line;
        EXPECT_EQ(screenWidth, 640) << "the other settings are still read after " << c.line;
    }
}
