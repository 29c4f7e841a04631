// The command keys in the running game with scripted keys: once per press through their latches,
// the keys held when play begins, the render switches, the vehicle keys, I and N.
#include "app/KeyboardCommands.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "WorldHarness.h"
#include "assets/SceneLoader.h"
#include "physics/PhysicsWorld.h"
#include "render/Hud.h"

// From the window library's X11 interface; its header drags in Xlib's macros, which clash with the
// test framework, so only this one function is declared.
extern "C" unsigned long glfwGetX11Window(GLFWwindow* window);

namespace {

// The title the X server holds for the game's window.
std::string windowTitle()
{
    const std::string command = "xdotool getwindowname " + std::to_string(glfwGetX11Window(mainWindow));
    std::string title;
    if (FILE* out = popen(command.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, out))
            title += line;
        pclose(out);
    }
    while (!title.empty() && title.back() == '\n')
        title.pop_back();
    return title;
}

std::pair<GLint, GLint> polygonMode()
{
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return {modes[0], modes[1]};
}

// Mean absolute difference of two RGB screens over the rows below the statistics.
double meanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, int width, int rows)
{
    double sum = 0.0;
    const size_t count = static_cast<size_t>(width) * rows * 3;
    for (size_t i = 0; i < count; ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / count;
}

}  // namespace

class Keys : public WorldTest {
protected:
    glm::vec3 vehicleVelocity() const { return vehicleBox->getLinearVelocity(); }
    glm::vec3 vehiclePosition() const { return vehicleBox->getGlobalPose().p; }

    void holdFrames(std::initializer_list<int> keys, int count)
    {
        for (int key : keys)
            input.press(key);
        frames(count);
        for (int key : keys)
            input.release(key);
        frame();
    }

    void windowSize(int& width, int& height) { glfwGetWindowSize(mainWindow, &width, &height); }

    // Into play with every command key seen released once, so that their latches are clear.
    void playAndRelease()
    {
        play();
        frame();
    }

    // A tap between two frames, then a frame in which the key is seen up again.
    void tapKey(int key)
    {
        input.tap(key);
        frame();
        frame();
    }
};

TEST_F(Keys, HeldPTogglesOnceAndATapBetweenFramesCounts)
{
    play();
    input.press(GLFW_KEY_P);
    frames(3);
    EXPECT_FALSE(paused) << "P starts latched: it was not seen up in play yet";
    // Sticky keys: the frame after a release still reads the key pressed once.
    input.release(GLFW_KEY_P);
    frames(2);
    input.press(GLFW_KEY_P);
    frames(10);
    EXPECT_TRUE(paused);
    input.release(GLFW_KEY_P);
    frames(2);
    EXPECT_TRUE(paused);
    input.press(GLFW_KEY_P);
    frame();
    EXPECT_FALSE(paused) << "released and pressed again";
    input.release(GLFW_KEY_P);
    frames(2);

    // Pressed and released before the next frame: still one press.
    input.tap(GLFW_KEY_F1);
    frame();
    EXPECT_TRUE(showHelp);
    // Tapped again before a frame saw it up: the latch still holds, as for a key held down.
    input.tap(GLFW_KEY_F1);
    frame();
    EXPECT_TRUE(showHelp);
    frame();
    input.tap(GLFW_KEY_F1);
    frame();
    EXPECT_FALSE(showHelp);
    input.tap(GLFW_KEY_P);
    frame();
    EXPECT_TRUE(paused);
}

TEST_F(Keys, KeysHeldWhenPlayBeginsActOnlyWhenTheirLatchStartsClear)
{
    setResolution(1024, 768);
    frame();
    const bool walking = walkMode;
    // Held through the start screen and the Enter that leaves it.
    const int held[] = {GLFW_KEY_P,  GLFW_KEY_F1, GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_F6, GLFW_KEY_F8,
                        GLFW_KEY_C,  GLFW_KEY_H,  GLFW_KEY_R,  GLFW_KEY_N};
    for (int key : held)
        input.press(key);
    frame();
    input.tap(GLFW_KEY_ENTER);
    frame();
    ASSERT_FALSE(showStartScreen);
    // The frame that leaves the start screen polls no command key; the next one does.
    EXPECT_FALSE(showHelp);
    frame();

    EXPECT_TRUE(showHelp);
    EXPECT_FALSE(showStats);
    EXPECT_TRUE(wireframe);
    EXPECT_FALSE(shadowsEnabled);
    EXPECT_TRUE(loader->cullingDisabled);
    EXPECT_FALSE(paused);
    EXPECT_FALSE(showShadowMap);
    EXPECT_EQ(walkMode, walking);
    EXPECT_TRUE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE)) << "H waits for a release";
    int width = 0, height = 0;
    windowSize(width, height);
    EXPECT_EQ(width, 1024) << "N waits for a release";

    frames(5);
    EXPECT_FALSE(paused);
    EXPECT_TRUE(showHelp) << "held, not pressed again";

    input.release(GLFW_KEY_P);
    frames(2);
    input.press(GLFW_KEY_P);
    frame();
    EXPECT_TRUE(paused);
}

TEST_F(Keys, F3TwiceReturnsToFilledPolygons)
{
    playAndRelease();
    EXPECT_EQ(polygonMode(), std::make_pair(GLint(GL_FILL), GLint(GL_FILL)));
    tapKey(GLFW_KEY_F3);
    EXPECT_TRUE(wireframe);
    EXPECT_EQ(polygonMode(), std::make_pair(GLint(GL_LINE), GLint(GL_LINE)));
    screenshot("wireframe");
    tapKey(GLFW_KEY_F3);
    EXPECT_FALSE(wireframe);
    EXPECT_EQ(polygonMode(), std::make_pair(GLint(GL_FILL), GLint(GL_FILL)));
}

TEST_F(Keys, SwitchKeysToggleTheirFlagsAndTheWindowKeysHideAndShow)
{
    playAndRelease();
    struct Switch {
        int key;
        bool* flag;
    } switches[] = {{GLFW_KEY_F2, &showStats},         {GLFW_KEY_F6, &shadowsEnabled},
                    {GLFW_KEY_F8, &loader->cullingDisabled}, {GLFW_KEY_C, &showShadowMap},
                    {GLFW_KEY_R, &walkMode}};
    for (const Switch& s : switches) {
        const bool before = *s.flag;
        tapKey(s.key);
        EXPECT_EQ(*s.flag, !before) << "key " << s.key;
        if (s.key == GLFW_KEY_C)
            screenshot("shadow_map_preview");
        tapKey(s.key);
        EXPECT_EQ(*s.flag, before) << "key " << s.key;
    }

    // Keys without a command change nothing.
    const bool flags[] = {paused, showHelp, showStats, wireframe, shadowsEnabled, showShadowMap, walkMode};
    for (int key : {GLFW_KEY_Q, GLFW_KEY_E, GLFW_KEY_J, GLFW_KEY_K, GLFW_KEY_L, GLFW_KEY_U, GLFW_KEY_V, GLFW_KEY_B,
                    GLFW_KEY_F4, GLFW_KEY_F5, GLFW_KEY_F7, GLFW_KEY_F9})
        input.tap(key);
    frames(2);
    const bool after[] = {paused, showHelp, showStats, wireframe, shadowsEnabled, showShadowMap, walkMode};
    EXPECT_TRUE(std::equal(std::begin(flags), std::end(flags), std::begin(after)));

    tapKey(GLFW_KEY_H);
    EXPECT_FALSE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE));
    tapKey(GLFW_KEY_G);
    EXPECT_TRUE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE));
}

TEST_F(Keys, VehicleKeysPushAlongWorldAxesAndMRestartsFromRest)
{
    play();
    frames(90);
    const glm::vec3 rest = vehiclePosition();
    ASSERT_LT(glm::length(vehicleVelocity()), 1e-3f) << "the vehicle box has settled";

    input.press(GLFW_KEY_UP);
    input.press(GLFW_KEY_DOWN);
    frames(20);
    EXPECT_LT(glm::length(vehicleVelocity()), 1e-3f) << "up and down cancel";
    EXPECT_NEAR(vehiclePosition().z, rest.z, 1e-3f);
    input.release(GLFW_KEY_DOWN);
    frames(20);
    EXPECT_LT(vehicleVelocity().z, -0.01f) << "up pushes towards -z";
    EXPECT_LT(vehiclePosition().z, rest.z);
    input.release(GLFW_KEY_UP);

    input.press(GLFW_KEY_M);
    frame();
    EXPECT_LT(glm::length(vehicleVelocity()), 1e-3f) << "M stops it";

    // With M every frame starts from rest: the push of the frame before moves it by one step's
    // worth, never more, and M stops it again.
    input.press(GLFW_KEY_RIGHT);
    frames(2);
    float x = vehiclePosition().x;
    frame();
    const float oneStep = vehiclePosition().x - x;
    EXPECT_GT(oneStep, 0.0f) << "right pushes towards +x";
    for (int i = 0; i < 10; ++i) {
        x = vehiclePosition().x;
        frame();
        EXPECT_NEAR(vehiclePosition().x - x, oneStep, oneStep * 0.05f);
        EXPECT_LT(glm::length(vehicleVelocity()), 1e-3f);
    }
    input.release(GLFW_KEY_M);
    frames(10);
    x = vehiclePosition().x;
    frame();
    EXPECT_GT(vehiclePosition().x - x, 3.0f * oneStep) << "without M the pushes add up";
    input.release(GLFW_KEY_RIGHT);

    input.press(GLFW_KEY_M);
    input.press(GLFW_KEY_LEFT);
    frames(3);
    x = vehiclePosition().x;
    frame();
    EXPECT_NEAR(vehiclePosition().x - x, -oneStep, oneStep * 0.05f) << "left pushes towards -x from rest";
}

TEST_F(Keys, IShowsTheHarvesterOneUnitFurtherWhileHeld)
{
    play();
    frames(90);
    const glm::vec3 box = vehiclePosition();
    const glm::mat4& shown = combine->mesh->modelMatrix;
    EXPECT_NEAR(shown[3].z, box.z, 1e-3f);

    input.press(GLFW_KEY_I);
    for (int i = 0; i < 5; ++i) {
        frame();
        EXPECT_NEAR(combine->localMatrix[3].z, vehiclePosition().z - 1.0f, 1e-3f);
    }
    EXPECT_NEAR(shown[3].z, vehiclePosition().z - 1.0f, 1e-3f) << "not further than one unit";
    EXPECT_NEAR(shown[3].x, vehiclePosition().x, 1e-3f);
    input.release(GLFW_KEY_I);
    frames(3);
    EXPECT_NEAR(shown[3].z, vehiclePosition().z, 1e-3f) << "back where the vehicle is";
}

TEST_F(Keys, NReturnsToAWindowOfTheConfiguredSizeWithEverythingStillDrawn)
{
    playAndRelease();
    frames(60);
    int width = 0, height = 0;
    const std::vector<unsigned char> before = readScreen(width, height);
    ASSERT_EQ(width, screenWidth);

    setResolution(1280, 720);
    frames(3);
    glfwSetWindowTitle(mainWindow, "elsewhere");
    windowSize(width, height);
    ASSERT_EQ(width, 1280);

    input.tap(GLFW_KEY_N);
    frame();
    windowSize(width, height);
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(height, screenHeight);
    EXPECT_EQ(windowTitle(), "Vellmar");
    EXPECT_EQ(glfwGetCurrentContext(), mainWindow);
    frames(3);
    EXPECT_EQ(framebufferWidth, screenWidth);
    EXPECT_EQ(framebufferHeight, screenHeight);
    screenshot("after_n");

    // Same view, same textures: the picture matches the one from before, statistics aside.
    const std::vector<unsigned char> after = readScreen(width, height);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_LT(meanDifference(before, after, width, height * 3 / 4), 2.0);
    std::set<unsigned> colours;
    for (size_t i = 0; i < after.size(); i += 3)
        colours.insert(after[i] << 16 | after[i + 1] << 8 | after[i + 2]);
    EXPECT_GT(colours.size(), 1000u) << "a textured scene, not a black or empty screen";
}

TEST_F(Keys, NLeavesFullScreenForAWindow)
{
    playAndRelease();
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    ASSERT_NE(monitor, nullptr);
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    glfwSetWindowMonitor(mainWindow, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    frames(2);
    ASSERT_EQ(glfwGetWindowMonitor(mainWindow), monitor);

    input.tap(GLFW_KEY_N);
    frames(3);
    EXPECT_EQ(glfwGetWindowMonitor(mainWindow), nullptr);
    int width = 0, height = 0;
    windowSize(width, height);
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(height, screenHeight);
    EXPECT_EQ(framebufferWidth, screenWidth);
}
