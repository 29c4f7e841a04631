// At a reduced render scale the 3D scene is drawn smaller and stretched; everything 2D is not.
#include "WorldHarness.h"

#include "app/KeyboardCommands.h"
#include "scene/Pursuit.h"
#include "render/RenderScale.h"

using RenderScaleTest = WorldTest;

TEST_F(RenderScaleTest, TheSceneIsDrawnSmallerWhileTheHudStaysAtFullResolution)
{
    play();
    frames(30);
    int width = 0, height = 0;
    auto pictureAt = [&](int percent) {
        renderScaleSetting = percent;
        frame(0.0);
        return readScreen(width, height);
    };
    const std::vector<unsigned char> full = pictureAt(100);
    const std::vector<unsigned char> half = pictureAt(50);
    EXPECT_EQ(renderScale, 0.5f);
    EXPECT_NE(full, half) << "the scene itself is drawn at half of each side";
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width) << "the window is bound again at its full size";
    EXPECT_EQ(viewport[3], height);

    // The game-over screen covers the whole window: drawn at full resolution, it looks the same
    // over a scene at any scale. Only the statistics differ, by the line that shows the scale.
    caught = true;
    ASSERT_TRUE(showStats);
    const std::vector<unsigned char> overFull = pictureAt(100);
    const std::vector<unsigned char> overHalf = pictureAt(50);
    screenshot("render_scale_game_over_at_half");
    size_t onScaleLine = 0, elsewhere = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = (static_cast<size_t>(y) * width + x) * 3;
            const bool differs = overFull[i] != overHalf[i] || overFull[i + 1] != overHalf[i + 1] ||
                                 overFull[i + 2] != overHalf[i + 2];
            // The scale line: 40 overlay units high from (1160, 940), in a window of 1600 x 1200 units.
            const bool scaleLine = x >= width * 1160 / 1600 && y >= height * 940 / 1200 && y < height * 980 / 1200;
            (scaleLine ? onScaleLine : elsewhere) += differs;
        }
    }
    EXPECT_EQ(elsewhere, 0u) << "the HUD is drawn at full resolution";
    EXPECT_GT(onScaleLine, 100u) << "the statistics show the reduced scale";
}
