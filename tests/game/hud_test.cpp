#include "render/Hud.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "DdsBytes.h"
#include "TempDir.h"
#include "WorldHarness.h"
#include "app/KeyboardCommands.h"
#include "app/OptionsPage.h"
#include "core/Bindings.h"
#include "core/Captions.h"
#include "physics/PhysicsWorld.h"
#include "render/OverlayImage.h"

namespace {

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

// The font's texture coordinates read back as the text they were built for (16 x 16 cells).
std::string uploadedText()
{
    const std::vector<float> uv = bufferContents(fontImage->uvBuffer);
    std::string text;
    for (size_t i = 0; i + 12 <= uv.size(); i += 12)
        text += static_cast<char>(std::lround((1.0f - uv[i + 1]) * 16) * 16 + std::lround(uv[i] * 16));
    return text;
}

// Fragments that pass the depth test while the HUD is drawn on a cleared screen.
GLuint samplesDrawnByHud()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLuint query = 0, samples = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    drawHud(frameInput);
    glEndQuery(GL_SAMPLES_PASSED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);
    return samples;
}

}  // namespace

using Hud = WorldTest;

TEST_F(Hud, GlyphsTakeTheirCellOfTheFontGridAndTheStatisticsTheirLines)
{
    play();
    drawText("A", 100, 200, 40);
    EXPECT_EQ(bufferContents(fontImage->positionBuffer),
              (std::vector<float>{100, 240, 100, 200, 140, 240, 140, 200, 140, 240, 100, 200}));
    drawText("A!A", 20, 0, 30);
    const std::vector<float> positions = bufferContents(fontImage->positionBuffer);
    ASSERT_EQ(positions.size(), 36u);
    EXPECT_EQ(positions[24], 80.0f) << "fixed pitch: the n-th glyph starts n sizes further right";
    EXPECT_EQ(uploadedText(), "A!A");

    EXPECT_STREQ(formatStats(0, 0.5).rate, "FPS") << "no digits before the first second";
    EXPECT_STREQ(formatStats(57, 12.3456).time, "12.35sec");
    frames(3);
    EXPECT_EQ(uploadedText(), formatStats(0, input.now).time) << "the time line, drawn last, counts the start screen";
    EXPECT_EQ(bufferContents(fontImage->positionBuffer)[3], 1000.0f);
    for (int command = 0; command < commandCount; ++command)  // every key moved: the last line is still on the screen
        boundKeys[command] = GLFW_KEY_F13 + command;
    drawChangedKeys();
    EXPECT_EQ(bufferContents(fontImage->positionBuffer)[3], 20.0f);
    resetBindings();
}

TEST_F(Hud, WonAndGameOverBothDrawInOneFrameGameOverOnTop)
{
    play();
    showStats = false;
    player->fellOut = true;
    const GLuint won = samplesDrawnByHud();
    player->fellOut = false;
    caught = true;
    const GLuint gameOver = samplesDrawnByHud();
    int width = 0, height = 0;
    const std::vector<unsigned char> gameOverAlone = readScreen(width, height);
    ASSERT_TRUE(won > 0 && gameOver > 0);
    player->fellOut = true;
    EXPECT_EQ(samplesDrawnByHud(), won + gameOver) << "both screens are drawn";
    EXPECT_EQ(readScreen(width, height), gameOverAlone) << "the game-over screen covers the won screen";
}

TEST_F(Hud, DeathWarningNearAStatueButNeverOnceCaught)
{
    play();
    showStats = false;
    const glm::vec3 statue = statuePosition(0);
    teleport(statue.x, 1.0f, statue.z - 3.5f);
    frames(2);
    ASSERT_TRUE(dangerNear);
    ASSERT_FALSE(caught);
    EXPECT_EQ(uploadedText(), "WARNING: DEATH IMMINENT");
    EXPECT_EQ(bufferContents(fontImage->positionBuffer)[0], 400.0f);

    teleport(statue.x, 1.0f, statue.z - 2.0f);
    frames(2);
    ASSERT_TRUE(caught);
    drawText("~", 0, 0, 10);
    frames(2);
    EXPECT_TRUE(dangerNear) << "the statue is still near";
    EXPECT_EQ(uploadedText(), "~") << "no warning over the game-over screen";
}

// Every caption at once stays clear of the death warning and the help pictures; a fading one is
// fainter; with CAPTIONS=0 none shows.
TEST_F(Hud, CaptionsStayClearOfTheDeathWarningAndTheHelpPicturesAndFade)
{
    play();
    showStats = false, showHelp = true, dangerNear = true;
    ASSERT_TRUE(helpImage && mouseImage && keysImage);
    int width = 0, height = 0;
    const auto picture = [&](float showing) {
        for (Caption& shown : shownCaptions)
            shown.showing = showing, std::strcpy(shown.where, "behind left");
        samplesDrawnByHud();
        return readScreen(width, height);
    };
    const std::vector<unsigned char> plain = picture(0.0f);
    EXPECT_EQ(picture(captionFade), plain) << "CAPTIONS=0";
    captions = 1;
    const std::vector<unsigned char> full = picture(captionFade), half = picture(0.5f * captionFade);
    // In overlay units (x0, y0, x1, y1): the help's three pictures and the warning's line.
    const int kept[][4] = {{0, 700, 500, 1200}, {1300, 0, 1600, 300}, {0, 0, 300, 300}, {400, 600, 1320, 640}};
    long fullChange = 0, halfChange = 0, overKept = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        const int change = std::abs(full[i] - plain[i]);
        const int x = static_cast<int>(i / 3 % width) * 1600 / width, y = static_cast<int>(i / 3 / width) * 1200 / height;
        for (const auto& r : kept)
            overKept += change && x >= r[0] && x < r[2] && y >= r[1] && y < r[3];
        fullChange += change, halfChange += std::abs(half[i] - plain[i]);
    }
    captions = 0;
    EXPECT_EQ(overKept, 0) << "no caption over the warning or the help";
    EXPECT_GT(fullChange, 0) << "the captions show";
    EXPECT_TRUE(halfChange > 0 && halfChange < fullChange) << halfChange << " of " << fullChange;
}

class PauseMenu : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        if (IsSkipped())
            return;
        play();
        frame();  // P starts latched: it must be seen up once in play
    }

    void clickAfterARelease()
    {
        input.releaseButton(GLFW_MOUSE_BUTTON_LEFT);
        frame();
        input.pressButton(GLFW_MOUSE_BUTTON_LEFT);
        frames(3);
    }
};

TEST_F(PauseMenu, HoverZonesOfA1280By720WindowExcludeTheirBoundaries)
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
    setResolution(1280, 720);
    frame();
    expectWindow(1280, 720);

    // Window size, cursor, entry hovered (0 none); whole-pixel bounds are excluded.
    const struct { int width, height; double x, y; int entry; } cases[] = {
        {1280, 720, 320.5, 180.5, 1}, {1280, 720, 959.5, 299.5, 1}, {1280, 720, 320, 240, 0},
        {1280, 720, 960, 240, 0},     {1280, 720, 640, 300, 0},     {1280, 720, 640, 361, 2},
        {1280, 720, 640, 480, 0},     {1280, 720, 640, 600, 3},     {1023, 767, 255.5, 250, 1},
        {1023, 767, 767.2, 250, 0},   {1023, 767, 500, 319.5, 0},   {1023, 767, 500, 383.2, 2}};
    const glm::u8vec3 shown[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (const auto& c : cases) {
        InputSnapshot at;
        at.framebufferWidth = c.width, at.framebufferHeight = c.height, at.cursorX = c.x, at.cursorY = c.y;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPauseMenu(at);
        glm::u8vec3 seen;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(5, 5, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, &seen);
        EXPECT_EQ(seen, shown[c.entry]) << c.width << "x" << c.height << " at " << c.x << "," << c.y;
    }
}

TEST_F(PauseMenu, AClickCountsOncePerPressAfterAReleaseOverAnEntry)
{
    input.moveCursor(10, 10);  // outside every entry
    tap(GLFW_KEY_P);
    ASSERT_TRUE(paused);
    EXPECT_TRUE(input.cursorVisible);

    input.moveCursor(400, 200);
    input.pressButton(GLFW_MOUSE_BUTTON_LEFT);
    frames(3);
    expectWindow(800, 600);  // pressed over the first entry, but not yet seen released over one
    clickAfterARelease();
    expectWindow(1024, 768);

    input.moveCursor(512, 450);  // held while moving onto the second entry: nothing
    frames(3);
    expectWindow(1024, 768);
    clickAfterARelease();
    expectWindow(1280, 720);

    // A release outside every entry does not arm the next click.
    input.moveCursor(10, 10);
    clickAfterARelease();
    input.moveCursor(640, 240);
    frames(3);
    expectWindow(1280, 720);
}

TEST_F(PauseMenu, TheOptionsPageChangesSettingsAtOnceAndSavesThemIntoConfigIniOnLeaving)
{
    TempDir dir;
    dir.write("config.ini", "# mine\r\nBRIGHTNESS=100\r\nODD=1");
    tap(GLFW_KEY_P);
    input.moveCursor(700, 350);  // "Options", right of the middle resolution
    clickAfterARelease();
    ASSERT_TRUE(optionsOpen);
    tap(GLFW_KEY_RIGHT);  // the first row, the volume, is chosen
    input.moveCursor(630, 350);  // the brightness's ">"
    clickAfterARelease();
    EXPECT_EQ(glm::ivec2(volume, brightnessPercent), glm::ivec2(90, 110));
    input.releaseButton(GLFW_MOUSE_BUTTON_LEFT);  // left released: the next visit's opening click is no click on it
    frame();
    tap(GLFW_KEY_P);
    std::ifstream saved("config.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "# mine\r\nBRIGHTNESS=110\r\nODD=1\r\nVOLUME=90\r\n");
    EXPECT_FALSE(optionsOpen);

    // A replay goes through the page as recorded and writes nothing.
    optionsSaveOnLeaving = false;
    frame();
    tap(GLFW_KEY_P);
    input.moveCursor(630, 350);  // "Options", where the page shows the brightness's ">": chosen, not clicked
    clickAfterARelease();
    ASSERT_TRUE(optionsOpen);
    // The render scale, the second row, steps from automatic to half and back, never below.
    const int scaleBefore = std::exchange(renderScaleSetting, 0);
    input.tap(GLFW_KEY_DOWN);
    std::string scales;
    for (int key : {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_RIGHT, GLFW_KEY_LEFT, GLFW_KEY_LEFT}) {
        frame();
        tap(key);
        scales += std::to_string(renderScaleSetting) + " ";
    }
    EXPECT_EQ(scales, "0 50 55 50 0 ");
    renderScaleSetting = scaleBefore;
    input.moveCursor(630, 190);  // straight up onto the look speed's ">", which chooses its row for the arrow keys
    tap(GLFW_KEY_RIGHT);
    EXPECT_EQ(mouseSpeedPercent, 110);
    input.moveCursor(630, 350);
    clickAfterARelease();
    tap(GLFW_KEY_P);
    optionsSaveOnLeaving = true;
    EXPECT_EQ(brightnessPercent, 120);
    std::ifstream again("config.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), "# mine\r\nBRIGHTNESS=110\r\nODD=1\r\nVOLUME=90\r\n");
}

TEST_F(PauseMenu, ControlsBindAPickedCommandToTheNextKeyRefuseATakenOneAndSaveItsKeyLine)
{
    TempDir dir;
    dir.write("config.ini", "# mine\nKEY_FORWARD=W\nVOLUME=80\n");
    tap(GLFW_KEY_P);
    input.moveCursor(767, 350);  // just right of "Options": a little beyond the glyphs still counts
    clickAfterARelease();
    auto taps = [&](std::initializer_list<std::pair<int, int>> steps) {
        for (const auto& [key, times] : steps)
            for (int i = 0; i < times; ++i)
                tap(key, 2);
    };
    taps({{GLFW_KEY_DOWN, 9}, {GLFW_KEY_ENTER, 2}, {GLFW_KEY_Z, 1}});  // "Controls", open it, pick "Forward": Z
    taps({{GLFW_KEY_DOWN, 12}, {GLFW_KEY_ENTER, 1}});  // "Reset"
    EXPECT_EQ(boundKeys[0], GLFW_KEY_W);
    // Down to "Back", the last row, which leaves on "Controls": open it again and pick "Forward": Z, then "Pause": Q.
    taps({{GLFW_KEY_DOWN, 2}, {GLFW_KEY_ENTER, 3}, {GLFW_KEY_Z, 1}, {GLFW_KEY_DOWN, 8}, {GLFW_KEY_ENTER, 1}, {GLFW_KEY_Q, 1}});
    taps({{GLFW_KEY_UP, 4}, {GLFW_KEY_ENTER, 1}, {GLFW_KEY_Z, 1}});  // "Jump": Z is taken, Escape never bound
    taps({{GLFW_KEY_ENTER, 1}, {GLFW_KEY_F1, 1}});  // F1, taken by the help, is refused and shows no help either
    EXPECT_FALSE(showHelp);
    taps({{GLFW_KEY_ENTER, 1}});  // so is I, which does not move the harvester off its vehicle box either
    tap(GLFW_KEY_I);
    EXPECT_EQ(combine->localMatrix[3].z, vehicleBox->getGlobalPose().p.z);
    EXPECT_EQ(glm::ivec3(boundKeys[0], boundKeys[4], boundKeys[8]), glm::ivec3(GLFW_KEY_Z, GLFW_KEY_SPACE, GLFW_KEY_Q));
    EXPECT_EQ(bindKey(Command::jump, GLFW_KEY_ESCAPE), commandCount);
    EXPECT_EQ(bindKey(Command::jump, GLFW_KEY_SPACE), -1) << "a command's own key is no clash";
    tap(GLFW_KEY_Q, 3);  // the new pause key ends the pause and saves
    ASSERT_FALSE(paused);
    std::ifstream saved("config.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "# mine\nKEY_FORWARD=Z\nVOLUME=80\nKEY_PAUSE=Q\n");
    const float z = playerPosition().z;
    input.press(GLFW_KEY_W);
    frames(10);
    EXPECT_NEAR(playerPosition().z, z, 0.01f) << "W walks no more";
    input.release(GLFW_KEY_W);
    input.press(GLFW_KEY_Z);
    frames(10);
    EXPECT_GT(playerPosition().z, z + 0.3f) << "Z walks forward";
}
