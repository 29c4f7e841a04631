// Overlay images in a real 800 x 600 window: where they land, transparency against the scene's depth.
#include "render/OverlayImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "DdsBytes.h"
#include "TempDir.h"
#include "GameHarness.h"
#include "assets/ShaderProgram.h"

namespace {

const ddsbytes::Rgb green{0, 63, 0}, blue{0, 0, 31}, clear{0, 0, 0, true};

// x from the window's left edge, y from its bottom edge, in pixels; RGB as one number.
int pixelAt(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0] << 16 | rgba[1] << 8 | rgba[2];
}

float depthAt(int x, int y)
{
    float depth = -1.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

}  // namespace

class OverlayImages : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (IsSkipped())
            return;
        if (!std::freopen("/dev/null", "r", stdin))
            std::abort();
        textProgram = new ShaderProgram("Shader/TextShader.vert", "Shader/TextShader.frag");
        dir = std::make_unique<TempDir>();
        dir->write("lefthole.dds", ddsbytes::dxt1Picture(16, [](double u, double) { return u < 0.5 ? clear : blue; }));
        dir->write("green.dds", ddsbytes::dxt1Picture(8, [](double, double) { return green; }));
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    std::unique_ptr<TempDir> dir;
};

TEST_F(OverlayImages, ImagesArePlacedInUnitsOfHalfAPixelFromTheLowerLeftCorner)
{
    // 300 units = 150 pixels across (x 650..800) and 150 up.
    OverlayImage small("green.dds");
    small.draw(1300, 0, 300);
    EXPECT_EQ(pixelAt(799, 2), 0x00ff00);
    EXPECT_EQ(pixelAt(652, 147), 0x00ff00);
    EXPECT_EQ(pixelAt(647, 75), 0);
    EXPECT_EQ(pixelAt(725, 153), 0);
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), textProgram->program) << "the text program stays current";
}

TEST_F(OverlayImages, TransparentTexelsLeaveColourAndDepthAlone)
{
    glEnable(GL_BLEND);
    OverlayImage menu("lefthole.dds");
    menu.draw(0, 0, 1600);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "every draw leaves blending off";
    EXPECT_EQ(pixelAt(200, 300), 0);
    EXPECT_FLOAT_EQ(depthAt(200, 300), 1.0f) << "the scene drawn later shows through the hole";
    EXPECT_EQ(pixelAt(600, 300), 0x0000ff);
    EXPECT_FLOAT_EQ(depthAt(600, 300), 0.0f) << "overlays sit at the nearest depth";
    OverlayImage cover("green.dds");
    cover.draw(0, 0, 1600);
    EXPECT_EQ(pixelAt(600, 300), 0x00ff00) << "a later overlay covers an earlier one";
}
