// The render scale: how the scene's size follows the frame time.
#include <gtest/gtest.h>

#include "render/RenderScale.h"

// Smaller while frames run over a 60th of a second, back to 1 when they are fast.
TEST(RenderScale, ShrinksWhileFramesRunOverSixtyASecondAndGrowsBackToOneWhenTheyAreFast)
{
    const struct { float scale; double seconds; float expected; } cases[] = {
        {1.0f, 1.0 / 60.0, 1.0f}, {1.0f, 0.0172, 1.0f},  // refresh wait and a little jitter keep full size
        {1.0f, 0.018, 0.85f},     {1.0f, 0.037, 0.6f},   // over: straight to the scale that fits
        {0.6f, 0.2, 0.5f},        {0.8f, 0.0178, 0.7f},  // never below half of each side
        {0.6f, 0.0125, 0.6f},     {0.6f, 0.008, 0.65f},  // one step larger only when it would fit
        {0.95f, 0.004, 1.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(nextRenderScale(c.scale, c.seconds), c.expected) << c.scale << " at " << c.seconds << " s";
    // Frame by frame, three to a decision: a single long gap is left out, a steady run of slow frames is not.
    const struct { double seconds; int frames; float expected; } runs[] = {
        {0.004, 3, 1.0f}, {2.0, 1, 1.0f}, {0.004, 3, 1.0f}, {0.3, 4, 0.5f}, {0.004, 30, 1.0f},
        {0.03, 1, 1.0f},  {0.004, 2, 1.0f},
    };
    for (const auto& r : runs) {
        for (int i = 0; i < r.frames; ++i)
            adaptRenderScale(r.seconds);
        EXPECT_EQ(renderScale, r.expected) << r.frames << " frames of " << r.seconds << " s";
    }
}
