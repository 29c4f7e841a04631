// Overlay images in a real 800 x 600 window: where they land, transparency against the scene's
// depth, and the shadow-map preview.
#include "render/OverlayImage.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "DdsBytes.h"
#include "TempDir.h"
#include "GameHarness.h"
#include "app/WorldAssembly.h"
#include "assets/ShaderProgram.h"
#include "render/FramePasses.h"

namespace {

using ddsbytes::Rgb;
const Rgb green{0, 63, 0}, blue{0, 0, 31}, clear{0, 0, 0, true};

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
    // 300 units = 150 pixels across (x 650..800) and 150 up (the start picture is checked whole
    // by the black-box start screen test).
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

TEST_F(OverlayImages, ShadowMapPreviewShowsTheShadowTextureInTheLowerLeftCorner)
{
    fontImage = new OverlayImage("green.dds");
    std::vector<float> texels(16 * 16 * 2, 1.0f);
    for (size_t i = 1; i < texels.size(); i += 2)
        texels[i] = 0.5f;
    glGenTextures(1, &shadowTexture);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG32F, 16, 16, 0, GL_RG, GL_FLOAT, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    drawShadowMapPreview();
    // 400 units: 200 pixels each way.
    EXPECT_NEAR(pixelAt(100, 100), 0xff8000, 0x100);
    EXPECT_EQ(pixelAt(197, 197) >> 16, 0xff);
    EXPECT_EQ(pixelAt(203, 100), 0);
    EXPECT_EQ(pixelAt(100, 203), 0);
}
