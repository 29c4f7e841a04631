// The command keys in the running game with scripted keys: once per press through their latches,
// the keys held when play begins, the render and window switches, the vehicle keys, I and N.
#include "app/KeyboardCommands.h"

#include <cmath>
#include <set>

#include "WorldHarness.h"
#include "assets/SceneLoader.h"
#include "physics/PhysicsWorld.h"
#include "render/Hud.h"

namespace {

GLint polygonMode()
{
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

bool windowVisible() { return glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE); }

}  // namespace

class Keys : public WorldTest {
protected:
    glm::vec3 vehicleVelocity() const { return vehicleBox->getLinearVelocity(); }
    glm::vec3 vehiclePosition() const { return vehicleBox->getGlobalPose().p; }
    int windowWidth()
    {
        int width = 0, height = 0;
        glfwGetWindowSize(mainWindow, &width, &height);
        return width;
    }

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
        frames(2);
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

    input.tap(GLFW_KEY_F1);
    frame();
    EXPECT_TRUE(showHelp) << "pressed and released before the next frame: still one press";
    input.tap(GLFW_KEY_F1);
    frame();
    EXPECT_TRUE(showHelp) << "tapped again before a frame saw it up: the latch holds";
    frame();
    input.tap(GLFW_KEY_F1);
    frame();
    EXPECT_FALSE(showHelp);
}

TEST_F(Keys, KeysHeldWhenPlayBeginsActOnlyWhenTheirLatchStartsClear)
{
    setResolution(1024, 768);
    frame();
    const bool walking = walkMode;
    for (int key : {GLFW_KEY_P, GLFW_KEY_F1, GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_F6, GLFW_KEY_F8, GLFW_KEY_C,
                    GLFW_KEY_H, GLFW_KEY_R, GLFW_KEY_N})
        input.press(key);
    frame();
    input.tap(GLFW_KEY_ENTER);
    frame();
    ASSERT_FALSE(showStartScreen);
    EXPECT_FALSE(showHelp) << "the frame that leaves the start screen polls no command key";
    frames(5);

    // F1, F2, F3, F6, F8 act; P, C, R, H and N start latched.
    EXPECT_EQ((std::vector<bool>{showHelp, showStats, wireframe, shadowsEnabled, loader->cullingDisabled, paused,
                                 showShadowMap, walkMode}),
              (std::vector<bool>{true, false, true, false, true, false, false, walking}));
    EXPECT_TRUE(windowVisible()) << "H waits for a release";
    EXPECT_EQ(windowWidth(), 1024) << "N waits for a release";
}

TEST_F(Keys, SwitchKeysToggleTheirFlagsAndTheWindowKeysHideAndShow)
{
    playAndRelease();
    struct Switch {
        int key;
        bool* flag;
    } switches[] = {{GLFW_KEY_F2, &showStats},         {GLFW_KEY_F3, &wireframe},
                    {GLFW_KEY_F6, &shadowsEnabled},    {GLFW_KEY_F8, &loader->cullingDisabled},
                    {GLFW_KEY_C, &showShadowMap},      {GLFW_KEY_R, &walkMode}};
    for (const Switch& s : switches) {
        const bool before = *s.flag;
        tapKey(s.key);
        EXPECT_EQ(*s.flag, !before) << "key " << s.key;
        if (s.key == GLFW_KEY_F3) {
            EXPECT_EQ(polygonMode(), GL_LINE);
        }
        tapKey(s.key);
        EXPECT_EQ(*s.flag, before) << "key " << s.key;
    }
    EXPECT_EQ(polygonMode(), GL_FILL);

    const bool flags[] = {paused, showHelp, showStats, wireframe, shadowsEnabled, showShadowMap, walkMode};
    for (int key : {GLFW_KEY_Q, GLFW_KEY_E, GLFW_KEY_J, GLFW_KEY_U, GLFW_KEY_F4, GLFW_KEY_F9})
        input.tap(key);
    frames(2);
    const bool after[] = {paused, showHelp, showStats, wireframe, shadowsEnabled, showShadowMap, walkMode};
    EXPECT_TRUE(std::equal(std::begin(flags), std::end(flags), std::begin(after))) << "keys without a command";

    tapKey(GLFW_KEY_H);
    EXPECT_FALSE(windowVisible());
    tapKey(GLFW_KEY_G);
    EXPECT_TRUE(windowVisible());
}

TEST_F(Keys, VehicleKeysPushAlongWorldAxesAndTheHarvesterFollows)
{
    play();
    frames(6, 0.25);
    const glm::vec3 rest = vehiclePosition();
    ASSERT_LT(glm::length(vehicleVelocity()), 1e-3f) << "the vehicle box has settled";
    const glm::mat4& shown = combine->mesh->modelMatrix;
    EXPECT_NEAR(shown[3].x, rest.x, 1e-3f);
    EXPECT_NEAR(shown[3].z, rest.z, 1e-3f);

    const glm::mat4 rotor = combineRotor->localMatrix;
    frame(0.01);  // ten degrees
    const float turned = std::acos(std::min(1.0f, glm::dot(glm::vec3(rotor[0]), glm::vec3(combineRotor->localMatrix[0]))));
    EXPECT_NEAR(glm::degrees(turned), 10.0f, 0.1f) << "the rotor spins";

    input.press(GLFW_KEY_I);
    frames(3);
    EXPECT_NEAR(shown[3].z, vehiclePosition().z - 1.0f, 1e-3f) << "I shows it one unit further, not more";
    input.release(GLFW_KEY_I);
    frames(3);
    EXPECT_NEAR(shown[3].z, vehiclePosition().z, 1e-3f);

    input.press(GLFW_KEY_UP);
    input.press(GLFW_KEY_DOWN);
    frames(3);
    EXPECT_LT(glm::length(vehicleVelocity()), 1e-3f) << "up and down cancel";
    input.release(GLFW_KEY_DOWN);
    frames(3);
    EXPECT_LT(vehicleVelocity().z, -0.01f) << "up pushes towards -z";
    input.release(GLFW_KEY_UP);

    // With M every frame starts from rest: each frame moves it by one push's worth.
    input.press(GLFW_KEY_M);
    input.press(GLFW_KEY_RIGHT);
    frames(2);
    float x = vehiclePosition().x;
    frame();
    const float oneStep = vehiclePosition().x - x;
    EXPECT_GT(oneStep, 0.0f) << "right pushes towards +x";
    for (int i = 0; i < 3; ++i) {
        x = vehiclePosition().x;
        frame();
        EXPECT_NEAR(vehiclePosition().x - x, oneStep, oneStep * 0.05f);
        EXPECT_LT(glm::length(vehicleVelocity()), 1e-3f) << "M stops it";
    }
    input.release(GLFW_KEY_M);
    frames(5);
    x = vehiclePosition().x;
    frame();
    EXPECT_GT(vehiclePosition().x - x, 3.0f * oneStep) << "without M the pushes add up";
}

TEST_F(Keys, NLeavesFullScreenForAWindowOfTheConfiguredSizeWithEverythingStillDrawn)
{
    playAndRelease();
    frames(6, 0.25);
    int width = 0, height = 0;
    const std::vector<unsigned char> before = readScreen(width, height);

    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    ASSERT_NE(monitor, nullptr);
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    glfwSetWindowMonitor(mainWindow, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    frames(2);
    ASSERT_EQ(glfwGetWindowMonitor(mainWindow), monitor);

    input.tap(GLFW_KEY_N);
    frames(3);
    EXPECT_EQ(glfwGetWindowMonitor(mainWindow), nullptr);
    EXPECT_EQ(windowWidth(), screenWidth);
    EXPECT_EQ(framebufferWidth, screenWidth);
    EXPECT_EQ(framebufferHeight, screenHeight);
    EXPECT_EQ(glfwGetCurrentContext(), mainWindow);
    screenshot("after_n");

    // Same view, same textures: the picture matches the one from before, statistics aside.
    const std::vector<unsigned char> after = readScreen(width, height);
    ASSERT_EQ(after.size(), before.size());
    const size_t compared = after.size() * 3 / 4;
    double difference = 0.0;
    std::set<unsigned> colours;
    for (size_t i = 0; i < compared; ++i)
        difference += std::abs(int(before[i]) - int(after[i]));
    for (size_t i = 0; i < after.size(); i += 3)
        colours.insert(after[i] << 16 | after[i + 1] << 8 | after[i + 2]);
    EXPECT_LT(difference / compared, 2.0);
    EXPECT_GT(colours.size(), 1000u) << "a textured scene, not a black or empty screen";
}
