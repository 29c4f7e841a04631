#include "WorldHarness.h"

#include "app/KeyboardCommands.h"
#include "assets/ShaderProgram.h"
#include "render/Light.h"

namespace {

double meanBrightness(const std::vector<unsigned char>& pixels, int width, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            sum += (p[0] + p[1] + p[2]) / 3.0;
            ++count;
        }
    return sum / count;
}

}  // namespace

using WorldView = WorldTest;

TEST_F(WorldView, TheFlashlightLightsWhatThePlayerLooksAt)
{
    play();
    frames(30);
    screenshot("start_view");
    int width = 0, height = 0;
    std::vector<unsigned char> lit = readScreen(width, height);
    const double centreLit = meanBrightness(lit, width, width / 2 - 40, height / 2 - 40, width / 2 + 40, height / 2 + 40);

    input.tap(GLFW_KEY_F);
    frames(3);
    screenshot("start_view_flashlight_off");
    std::vector<unsigned char> dark = readScreen(width, height);
    const double centreDark = meanBrightness(dark, width, width / 2 - 40, height / 2 - 40, width / 2 + 40, height / 2 + 40);
    EXPECT_FALSE(flashlightOn);
    EXPECT_GT(centreLit, centreDark + 10.0) << "the beam brightens the middle of the view";

    // The shader received the switched-off type for the flashlight's slot only.
    const GLuint program = mainProgram->program;
    GLint types[3] = {};
    for (int i = 0; i < 3; ++i)
        glGetUniformiv(program, glGetUniformLocation(program, ("lightType[" + std::to_string(i) + "]").c_str()), &types[i]);
    EXPECT_EQ(types[0], -1);
    EXPECT_EQ(types[1], 0);
    EXPECT_EQ(types[2], 1);
    GLint count = 0;
    glGetUniformiv(program, glGetUniformLocation(program, "NUM_LIGHTS"), &count);
    EXPECT_EQ(count, 3);

    input.tap(GLFW_KEY_F);
    frames(2);
    glGetUniformiv(program, glGetUniformLocation(program, "lightType[0]"), &types[0]);
    EXPECT_EQ(types[0], 1);
}
