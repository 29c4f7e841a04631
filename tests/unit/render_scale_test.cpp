// The render scale follows the frame time: smaller while frames run over a 60th, back to 1 when fast.
#include "render/RenderScale.h"

#include <gtest/gtest.h>

TEST(RenderScale, ShrinksWhileFramesRunOverSixtyASecondAndGrowsBackToOneWhenTheyAreFast)
{
    const struct {
        float scale;
        double seconds;
        float expected;
    } cases[] = {
        {1.0f, 1.0 / 60.0, 1.0f}, {1.0f, 0.0172, 1.0f},  // refresh wait and a little jitter keep full size
        {1.0f, 0.018, 0.85f},     {1.0f, 0.037, 0.6f},   // over: straight to the scale that fits
        {0.6f, 0.2, 0.5f},        {0.8f, 0.0178, 0.7f},  // never below half of each side
        {0.6f, 0.0125, 0.6f},     {0.6f, 0.008, 0.65f},  // one step larger only when it would fit
        {0.95f, 0.004, 1.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(nextRenderScale(c.scale, c.seconds), c.expected) << c.scale << " at " << c.seconds << " s";
    float scale = smallestRenderScale;
    for (int i = 0; i < 20; ++i)
        scale = nextRenderScale(scale, 0.002);
    EXPECT_EQ(scale, 1.0f);
}
