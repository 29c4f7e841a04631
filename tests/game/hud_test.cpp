// The HUD, bitmap text and pause menu in the running game: glyph cells read back from the font's
// buffers, the statistics lines, the end screens and the warning, and the menu's hover zones and
// clicks with the scripted mouse.
#include "render/Hud.h"

#include <cmath>
#include <memory>
#include <string>

#include "DdsBytes.h"
#include "TempDir.h"
#include "WorldHarness.h"
#include "app/KeyboardCommands.h"
#include "render/OverlayImage.h"

namespace {

constexpr float cell = 1.0f / 16.0f;

std::vector<float> bufferContents(GLuint buffer)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLint bytes = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    std::vector<float> values(static_cast<size_t>(bytes) / sizeof(float));
    if (!values.empty())
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, bytes, values.data());
    return values;
}

// The texture coordinates of the font's buffers read back as the text they were built for.
std::string uploadedText()
{
    const std::vector<float> uv = bufferContents(fontImage->uvBuffer);
    std::string text;
    for (size_t i = 0; i + 12 <= uv.size(); i += 12) {
        const int column = static_cast<int>(std::lround(uv[i] / cell));
        const int row = static_cast<int>(std::lround((1.0f - uv[i + 1]) / cell));
        text += static_cast<char>(row * 16 + column);
    }
    return text;
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb pixelAt(int x, int y)
{
    unsigned char rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

// Fragments that pass the depth test while the HUD is drawn.
GLuint samplesDrawnByHud()
{
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    drawHud();
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);
    return samples;
}

// Pixels of the font's face colour in a rectangle of the last frame (x, y from the lower left).
int fontPixels(int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb p = pixelAt(x, y);
            if (p.r >= 250 && std::abs(p.g - 247) <= 4 && std::abs(p.b - 222) <= 4)
                ++count;
        }
    return count;
}

void clearScreen()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace

using Hud = WorldTest;

TEST_F(Hud, GlyphsTakeTheirCellOfTheFontGrid)
{
    play();
    drawText("A", 100, 200, 40);
    const std::vector<float> expectedPositions = {100, 240, 100, 200, 140, 240, 140, 200, 140, 240, 100, 200};
    const std::vector<float> expectedUv = {0.0625f, 0.75f,   0.0625f, 0.6875f, 0.125f,  0.75f,
                                           0.125f,  0.6875f, 0.125f,  0.75f,   0.0625f, 0.6875f};
    EXPECT_EQ(bufferContents(fontImage->positionBuffer), expectedPositions);
    EXPECT_EQ(bufferContents(fontImage->uvBuffer), expectedUv) << "'A' is column 1, row 4";

    // Fixed pitch: the n-th glyph starts n sizes further right.
    drawText("A!A", 20, 0, 30);
    const std::vector<float> positions = bufferContents(fontImage->positionBuffer);
    ASSERT_EQ(positions.size(), 36u);
    EXPECT_EQ(positions[24], 80.0f);
    EXPECT_EQ(positions[28], 110.0f);
    EXPECT_EQ(positions[25], 30.0f);
    EXPECT_EQ(uploadedText(), "A!A");

    drawText("", 0, 0, 40);
    EXPECT_TRUE(bufferContents(fontImage->positionBuffer).empty()) << "an empty line uploads nothing";
    EXPECT_TRUE(bufferContents(fontImage->uvBuffer).empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Hud, FrameRateShowsNoDigitsBeforeTheFirstSecond)
{
    const StatsLines start = formatStats(0, 0.5);
    EXPECT_STREQ(start.rate, "FPS");
    EXPECT_STREQ(start.time, "0.50sec");
    const StatsLines later = formatStats(57, 12.3456);
    EXPECT_STREQ(later.rate, "57FPS");
    EXPECT_STREQ(later.time, "12.35sec") << "two decimals, no space";

    // In the game: the time line, drawn last, counts the start screen too.
    play();
    frames(3);
    EXPECT_EQ(framesPerSecond, 0);
    EXPECT_EQ(uploadedText(), formatStats(0, input.now).time);
    const std::vector<float> positions = bufferContents(fontImage->positionBuffer);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions[2], 1160.0f);
    EXPECT_EQ(positions[3], 1000.0f);
    screenshot("hud_frame_rate_before_first_second");
    // The rate line's glyphs are 35 pixels square from x 580, y 550: "FPS" ends at x 685, where a
    // line with digits goes on.
    EXPECT_GT(fontPixels(580, 552, 685, 583), 100) << "FPS is shown";
    EXPECT_EQ(fontPixels(688, 552, 760, 583), 0) << "and nothing after it";
    frames(60);
    EXPECT_GT(framesPerSecond, 9);
    screenshot("hud_frame_rate_and_time");
    EXPECT_GT(fontPixels(688, 552, 760, 583), 50) << "digits push the line further right";
}

TEST_F(Hud, WonAndGameOverBothDrawInOneFrameGameOverOnTop)
{
    play();
    showStats = false;
    clearScreen();
    player->fellOut = true;
    const GLuint won = samplesDrawnByHud();
    player->fellOut = false;
    caught = true;
    clearScreen();
    const GLuint gameOver = samplesDrawnByHud();
    int width = 0, height = 0;
    const std::vector<unsigned char> gameOverAlone = readScreen(width, height);
    ASSERT_GT(won, 0u);
    ASSERT_GT(gameOver, 0u);

    player->fellOut = true;
    clearScreen();
    EXPECT_EQ(samplesDrawnByHud(), won + gameOver) << "both screens are drawn";
    EXPECT_EQ(readScreen(width, height), gameOverAlone) << "the game-over screen covers the won screen";

    // And in a whole frame of the game.
    frame();
    screenshot("won_and_game_over");
    EXPECT_EQ(readScreen(width, height), gameOverAlone);
}

TEST_F(Hud, DeathWarningNearAStatueButNeverOnceCaught)
{
    play();
    // The statue that chases from the start stands at z 21 in front of the player, who looks at it.
    const glm::vec3 statue = statuePosition(0);
    float z = statue.z - 12.0f;
    while (!dangerNear && z < statue.z) {
        teleport(statue.x, 1.0f, z);
        frames(2);
        z += 0.25f;
    }
    ASSERT_TRUE(dangerNear);
    ASSERT_FALSE(caught);
    screenshot("death_warning");
    showStats = false;
    frame();
    EXPECT_EQ(uploadedText(), "WARNING: DEATH IMMINENT");
    const std::vector<float> positions = bufferContents(fontImage->positionBuffer);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions[0], 400.0f);
    EXPECT_EQ(positions[1], 640.0f);

    for (int i = 0; i < 200 && !caught; ++i) {
        const glm::vec3 p = playerPosition();
        teleport(p.x, 1.0f, p.z + 0.1f);
        frame();
    }
    ASSERT_TRUE(caught);
    drawText("~", 0, 0, 10);
    frames(2);
    EXPECT_TRUE(dangerNear) << "the statue is still near";
    EXPECT_EQ(uploadedText(), "~") << "no warning over the game-over screen";
    screenshot("game_over");
}

class PauseMenu : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        if (IsSkipped())
            return;
        play();
        // P starts latched: it must be seen up once in play.
        frame();
    }

    // One flat colour per menu picture, so the picture drawn tells the hovered entry.
    void useFlatMenuPictures()
    {
        TempDir dir;
        const ddsbytes::Rgb colours[] = {{31, 0, 0}, {0, 63, 0}, {0, 0, 31}, {31, 63, 31}};
        OverlayImage** images[] = {&pauseImage, &pauseImage1, &pauseImage2, &pauseImage3};
        for (int i = 0; i < 4; ++i) {
            const std::string name = "menu" + std::to_string(i) + ".dds";
            dir.write(name, ddsbytes::dxt1Picture(8, [&](double, double) { return colours[i]; }));
            delete *images[i];
            *images[i] = new OverlayImage(name.c_str());
        }
    }

    // The entry the menu shows hovered for a cursor at (x, y): 0 for none.
    int hoveredAt(double x, double y)
    {
        cursorX = x;
        cursorY = y;
        clearScreen();
        drawPauseMenu();
        const Rgb seen = pixelAt(5, 5);
        const Rgb shown[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        for (int i = 0; i < 4; ++i)
            if (seen == shown[i])
                return i;
        ADD_FAILURE() << "no menu picture at " << x << "," << y;
        return -1;
    }

    void expectWindow(int width, int height)
    {
        int w = 0, h = 0;
        glfwGetWindowSize(mainWindow, &w, &h);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        EXPECT_EQ(framebufferWidth, width);
        EXPECT_EQ(framebufferHeight, height);
    }
};

TEST_F(PauseMenu, HoverZonesOfA1280By720WindowExcludeTheirBoundaries)
{
    useFlatMenuPictures();
    setResolution(1280, 720);
    frame();
    expectWindow(1280, 720);

    // Window size, cursor, entry hovered (0 none). Bounds are whole pixels and excluded: in
    // 1023 x 767 entry 1 spans x 255..767 and y 191..319, entry 2 y 383..511.
    const struct {
        int width, height;
        double x, y;
        int entry;
    } cases[] = {
        {1280, 720, 640, 240, 1},   {1280, 720, 320.5, 180.5, 1}, {1280, 720, 959.5, 299.5, 1},
        {1280, 720, 320, 240, 0},   {1280, 720, 960, 240, 0},     {1280, 720, 640, 180, 0},
        {1280, 720, 640, 300, 0},   {1280, 720, 640, 330, 0},     {1280, 720, 640, 360, 0},
        {1280, 720, 640, 361, 2},   {1280, 720, 640, 479.9, 2},   {1280, 720, 640, 480, 0},
        {1280, 720, 640, 540, 0},   {1280, 720, 640, 600, 3},     {1280, 720, 640, 660, 0},
        {1280, 720, 100, 600, 0},   {1023, 767, 255.5, 250, 1},   {1023, 767, 767.2, 250, 0},
        {1023, 767, 500, 319.5, 0}, {1023, 767, 500, 383.2, 2},
    };
    for (const auto& c : cases) {
        framebufferWidth = c.width;
        framebufferHeight = c.height;
        EXPECT_EQ(hoveredAt(c.x, c.y), c.entry) << c.width << "x" << c.height << " at " << c.x << "," << c.y;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PauseMenu, AClickCountsOncePerPressAfterAReleaseOverAnEntry)
{
    // Outside every entry, so the menu's first frame does not see the button up over one.
    input.moveCursor(10, 10);
    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_TRUE(paused);
    EXPECT_TRUE(input.cursorVisible);
    expectWindow(800, 600);

    // Pressed over the first entry from the start: not yet seen released over one.
    input.moveCursor(400, 200);
    input.pressButton(GLFW_MOUSE_BUTTON_LEFT);
    frames(3);
    expectWindow(800, 600);

    input.releaseButton(GLFW_MOUSE_BUTTON_LEFT);
    frame();
    input.pressButton(GLFW_MOUSE_BUTTON_LEFT);
    frame();
    EXPECT_EQ(framebufferWidth, 1024) << "set at once by the click";
    frames(2);
    expectWindow(1024, 768);

    // Held while moving onto the second entry (y 384..512 now): nothing.
    input.moveCursor(512, 450);
    frames(3);
    expectWindow(1024, 768);

    // Released over it and pressed again: it counts.
    input.releaseButton(GLFW_MOUSE_BUTTON_LEFT);
    frame();
    input.pressButton(GLFW_MOUSE_BUTTON_LEFT);
    frames(3);
    expectWindow(1280, 720);

    // A release outside every entry does not arm the next click.
    input.moveCursor(10, 10);
    input.releaseButton(GLFW_MOUSE_BUTTON_LEFT);
    frame();
    input.pressButton(GLFW_MOUSE_BUTTON_LEFT);
    frame();
    input.moveCursor(640, 240);
    frames(3);
    expectWindow(1280, 720);
    EXPECT_TRUE(menuClickLatch);
}

TEST_F(PauseMenu, NewResolutionSetsTheViewportAndTheNextLitPassFillsIt)
{
    input.tap(GLFW_KEY_P);
    frames(2);
    ASSERT_TRUE(paused);
    setResolution(1280, 720);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 720);

    // Without the menu in the way, the scene reaches the new right edge.
    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_FALSE(paused);
    expectWindow(1280, 720);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 720);
    screenshot("resized_1280x720");

    int width = 0, height = 0;
    const std::vector<unsigned char> screen = readScreen(width, height);
    int drawn = 0, total = 0;
    for (int y = 0; y < 700; y += 10)
        for (int x = 1200; x < 1280; x += 10, ++total) {
            const unsigned char* p = &screen[(static_cast<size_t>(y) * width + x) * 3];
            if (p[0] != 38 || p[1] != 38 || p[2] != 38)
                ++drawn;
        }
    EXPECT_GT(drawn, total * 9 / 10) << "beyond the old 800 x 600 the scene is drawn, not the clear colour";
}
