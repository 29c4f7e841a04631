#include "app/KeyboardCommands.h"


#include "WorldHarness.h"
#include "assets/SceneLoader.h"
#include "core/Bindings.h"
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

    void playAndRelease()
    {
        play();
        frame();
    }

    void tapKey(int key)
    {
        tap(key, 2);
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

    tap(GLFW_KEY_F1);
    EXPECT_TRUE(showHelp) << "pressed and released before the next frame: still one press";
    tap(GLFW_KEY_F1);
    EXPECT_TRUE(showHelp) << "tapped again before a frame saw it up: the latch holds";
    frame();
    tap(GLFW_KEY_F1);
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
    tap(GLFW_KEY_ENTER);
    ASSERT_FALSE(showStartScreen);
    EXPECT_FALSE(showHelp) << "the frame that leaves the start screen polls no command key";
    frames(5);

    // F1, F2, F3, F6, F8 act; P, C, R, H and N start latched.
    EXPECT_EQ((std::vector<bool>{showHelp, showStats, wireframe, shadowsEnabled, loader->cullingDisabled, paused,
                                 showShadowMap, walkMode}),
              (std::vector<bool>{true, false, true, false, true, false, false, walking}));
    EXPECT_TRUE(windowVisible()) << "H waits for a release";
    expectWindow(1024, 768);  // N waits for a release
}

TEST_F(Keys, SwitchKeysToggleTheirFlags)
{
    playAndRelease();
    struct { int key; bool* flag; } switches[] = {{GLFW_KEY_F2, &showStats},         {GLFW_KEY_F3, &wireframe},
                    {GLFW_KEY_F6, &shadowsEnabled},    {GLFW_KEY_F8, &loader->cullingDisabled},
                    {GLFW_KEY_C, &showShadowMap},      {GLFW_KEY_R, &walkMode}};
    for (const auto& s : switches) {
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
}

TEST_F(Keys, VehicleKeysPushAlongWorldAxesAndTheHarvesterFollows)
{
    play();
    frames(6, 0.25);
    EXPECT_NEAR(combine->mesh->modelMatrix[3].x, vehiclePosition().x, 1e-3f) << "the harvester follows";
    for (int key : {GLFW_KEY_UP, GLFW_KEY_DOWN, GLFW_KEY_LEFT, GLFW_KEY_RIGHT})
        input.press(key);
    frames(3);
    EXPECT_LT(glm::length(vehicleVelocity()), 1e-3f) << "opposite arrows cancel";
    input.release(GLFW_KEY_DOWN);
    input.release(GLFW_KEY_LEFT);
    frames(3);
    EXPECT_LT(vehicleVelocity().z, -0.01f) << "up pushes towards -z";
    EXPECT_GT(vehicleVelocity().x, 0.01f) << "right pushes towards +x";
}
