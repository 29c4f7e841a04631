// Overlay images in a real 800 x 600 window: where the overlay units land, upright pictures,
// transparency against the scene's depth, the shadow-map preview, and the release at shutdown.
#include "render/OverlayImage.h"

#include <cstdio>
#include <cstdlib>

#include <gmock/gmock.h>

#include "DdsBytes.h"
#include "TempDir.h"
#include "GameHarness.h"
#include "app/WorldAssembly.h"
#include "assets/ShaderProgram.h"
#include "render/FramePasses.h"
#include "render/Hud.h"

namespace {

using ddsbytes::Rgb;

const Rgb red{31, 0, 0};
const Rgb green{0, 63, 0};
const Rgb blue{0, 0, 31};
const Rgb white{31, 63, 31};
const Rgb clear{0, 0, 0, true};

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Pixel& p)
{
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}

// x from the window's left edge, y from its bottom edge, in pixels.
Pixel pixelAt(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

float depthAt(int x, int y)
{
    float depth = -1.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

// Upright picture: lower half red (left) and green (right), upper half blue and white.
Rgb quadrants(double u, double v)
{
    if (v < 0.5)
        return u < 0.5 ? red : green;
    return u < 0.5 ? blue : white;
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
        dir->write("quadrants.dds", ddsbytes::dxt1Picture(64, quadrants));
        dir->write("lefthole.dds", ddsbytes::dxt1Picture(16, [](double u, double) { return u < 0.5 ? clear : blue; }));
        dir->write("green.dds", ddsbytes::dxt1Picture(8, [](double, double) { return green; }));
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    std::unique_ptr<TempDir> dir;
};

TEST_F(OverlayImages, FullScreenImageIsUprightAndItsTopQuarterLiesAboveTheWindow)
{
    OverlayImage image("quadrants.dds");
    ASSERT_NE(image.texture, 0u);
    image.draw(0, 0, 1600);
    // 1600 units cover 800 pixels across and 800 up: the picture's middle is 400 pixels up.
    EXPECT_EQ(pixelAt(5, 5), (Pixel{255, 0, 0}));
    EXPECT_EQ(pixelAt(200, 300), (Pixel{255, 0, 0}));
    EXPECT_EQ(pixelAt(600, 300), (Pixel{0, 255, 0}));
    EXPECT_EQ(pixelAt(794, 5), (Pixel{0, 255, 0}));
    EXPECT_EQ(pixelAt(200, 500), (Pixel{0, 0, 255}));
    EXPECT_EQ(pixelAt(600, 500), (Pixel{255, 255, 255}));
    EXPECT_EQ(pixelAt(5, 594), (Pixel{0, 0, 255}));
    EXPECT_EQ(pixelAt(794, 594), (Pixel{255, 255, 255}));

    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), textProgram->program) << "the text program stays current";
}

TEST_F(OverlayImages, SmallImageTouchesTheRightEdgeExactly)
{
    OverlayImage image("green.dds");
    image.draw(1300, 0, 300);
    // 300 units = 150 pixels across (x 650..800) and 150 up.
    EXPECT_EQ(pixelAt(799, 2), (Pixel{0, 255, 0}));
    EXPECT_EQ(pixelAt(652, 147), (Pixel{0, 255, 0}));
    EXPECT_EQ(pixelAt(647, 75), (Pixel{0, 0, 0}));
    EXPECT_EQ(pixelAt(725, 153), (Pixel{0, 0, 0}));
}

TEST_F(OverlayImages, TransparentTexelsLeaveColourAndDepthAlone)
{
    glEnable(GL_BLEND);
    OverlayImage menu("lefthole.dds");
    menu.draw(0, 0, 1600);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "every draw leaves blending off";
    EXPECT_EQ(pixelAt(200, 300), (Pixel{0, 0, 0}));
    EXPECT_FLOAT_EQ(depthAt(200, 300), 1.0f) << "the scene drawn later shows through the hole";
    EXPECT_EQ(pixelAt(600, 300), (Pixel{0, 0, 255}));
    EXPECT_FLOAT_EQ(depthAt(600, 300), 0.0f) << "overlays sit at the nearest depth";

    // A later overlay still covers an earlier one at the same depth.
    OverlayImage cover("green.dds");
    cover.draw(0, 0, 1600);
    EXPECT_EQ(pixelAt(600, 300), (Pixel{0, 255, 0}));
    EXPECT_EQ(pixelAt(200, 300), (Pixel{0, 255, 0}));
}

TEST_F(OverlayImages, MissingFileGivesAnImageWithoutTextureThatStillDraws)
{
    testing::internal::CaptureStdout();
    OverlayImage image("Scene/none.dds");
    EXPECT_THAT(testing::internal::GetCapturedStdout(), testing::HasSubstr("Scene/none.dds could not be opened."));
    EXPECT_EQ(image.texture, 0u);
    EXPECT_EQ(image.program, textProgram->program);
    EXPECT_NE(image.samplerLocation, -1);
    image.draw(0, 0, 1600);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OverlayImages, StartScreenShowsTheStartImage)
{
    drawStartScreen();
    EXPECT_EQ(pixelAt(200, 300), (Pixel{0, 0, 0})) << "no start image yet: nothing is drawn";
    startImage = new OverlayImage("quadrants.dds");
    drawStartScreen();
    EXPECT_EQ(pixelAt(200, 300), (Pixel{255, 0, 0}));
    EXPECT_EQ(pixelAt(600, 500), (Pixel{255, 255, 255}));
}

TEST_F(OverlayImages, ShadowMapPreviewShowsTheShadowTextureInTheLowerLeftCorner)
{
    fontImage = new OverlayImage("green.dds");
    const float texel[2] = {1.0f, 0.5f};
    std::vector<float> texels(16 * 16 * 2);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = texel[i % 2];
    glGenTextures(1, &shadowTexture);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG32F, 16, 16, 0, GL_RG, GL_FLOAT, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    drawShadowMapPreview();
    // 400 units: 200 pixels each way.
    Pixel inside = pixelAt(100, 100);
    EXPECT_EQ(inside.r, 255);
    EXPECT_NEAR(inside.g, 128, 1);
    EXPECT_EQ(inside.b, 0);
    EXPECT_EQ(pixelAt(197, 197).r, 255);
    EXPECT_EQ(pixelAt(203, 100), (Pixel{0, 0, 0}));
    EXPECT_EQ(pixelAt(100, 203), (Pixel{0, 0, 0}));
}

// A program still current when deleted is only flagged; it goes once nothing uses it.
bool deletedOrFlagged(GLuint program)
{
    if (!glIsProgram(program))
        return true;
    GLint flagged = GL_FALSE;
    glGetProgramiv(program, GL_DELETE_STATUS, &flagged);
    return flagged == GL_TRUE;
}

TEST_F(OverlayImages, ShutdownReleasesTheMainProgramTheFontImageAndTheTextProgram)
{
    const std::string shaders = std::string(VELLMAR_RUN_DIR) + "/Shader/";
    mainProgram = new ShaderProgram(shaders + "test.vert", shaders + "test.frag");
    GLuint mainName = mainProgram->program;
    fontImage = new OverlayImage("green.dds");
    fontImage->draw(0, 0, 100);
    GLuint texture = fontImage->texture;
    GLuint buffers[2] = {fontImage->positionBuffer, fontImage->uvBuffer};
    GLuint vertexArray = fontImage->vertexArray;
    ASSERT_TRUE(glIsTexture(texture) && glIsBuffer(buffers[0]) && glIsBuffer(buffers[1]) &&
                glIsVertexArray(vertexArray));

    releaseWorld();
    EXPECT_EQ(mainProgram, nullptr);
    EXPECT_EQ(fontImage, nullptr);
    EXPECT_TRUE(deletedOrFlagged(mainName));
    EXPECT_TRUE(deletedOrFlagged(textProgram->program)) << "released through the font image";
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(glIsBuffer(buffers[0]));
    EXPECT_FALSE(glIsBuffer(buffers[1]));
    EXPECT_FALSE(glIsVertexArray(vertexArray));
}
