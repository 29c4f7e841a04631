#include "WorldHarness.h"

#include <chrono>
#include <numeric>
#include <thread>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "app/KeyboardCommands.h"
#include "assets/ImageFile.h"
#include "assets/SceneLoader.h"
#include "assets/ShaderProgram.h"
#include "core/FramePhase.h"
#include "render/FramePasses.h"
#include "render/Hud.h"
#include "render/Light.h"
#include "render/RenderScale.h"
#include "core/BoundingBox.h"

namespace {

template <typename T>
T uniform(const std::string& name)
{
    T v(0.0f);
    const GLint location = glGetUniformLocation(mainProgram->program, name.c_str());
    EXPECT_GE(location, 0) << name;
    glGetUniformfv(mainProgram->program, location, glm::value_ptr(v));
    return v;
}

int uniformInt(const std::string& name)
{
    GLint value = 99;
    glGetUniformiv(mainProgram->program, glGetUniformLocation(mainProgram->program, name.c_str()), &value);
    return value;
}

void expectNear(const glm::mat4& a, const glm::mat4& b, const char* what)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_LT(glm::length(a[i] - b[i]), 1e-4f) << what << " column " << i;
}

GLuint primitivesQuery = 0;
GLuint shadowPrimitives = 0;

void countShadowPass(FramePhase phase, bool begins)
{
    if (phase != FramePhase::shadowPass)
        return;
    if (begins) {
        glBeginQuery(GL_PRIMITIVES_GENERATED, primitivesQuery);
    } else {
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(primitivesQuery, GL_QUERY_RESULT, &shadowPrimitives);
    }
}

}  // namespace

using FramePasses = WorldTest;
using LightUniforms = WorldTest;
using ShadowCulling = WorldTest;
using RenderScaleTest = WorldTest;

// The lit program's constants (exposure, fill, sheen, the shadow's variance floor and bleed cut) show
// only in the picture itself: the start view against the one kept beside this file, a level apart at most.
TEST_F(FramePasses, TheStartViewIsDrawnAsItWasAndWithShadowsOffTheirPassDoesNotRun)
{
    play();
    frames(6, 0.25);
    int width = 0, height = 0;
    const std::vector<unsigned char> now = readScreen(width, height);
    const RgbaImage kept = readRgbaImage(VELLMAR_SOURCE_DIR "/tests/game/start_view.png");
    const bool fits = !kept.failure && ilGetInteger(IL_IMAGE_WIDTH) == width && ilGetInteger(IL_IMAGE_HEIGHT) == height;
    const ILubyte* before = fits ? ilGetData() : nullptr;  // top row first, the screen's bottom row first
    size_t moved = fits ? 0 : now.size();
    for (size_t i = 0; fits && i < now.size(); ++i)
        moved += std::abs(now[i] - before[((height - 1 - i / 3 / width) * width + i / 3 % width) * 4 + i % 3]) > 1;
    ilDeleteImages(1, &kept.image);
    std::filesystem::create_directories(VELLMAR_RUN_DIR "/../screenshots");
    stbi_flip_vertically_on_write(1);
    if (moved > 0)
        stbi_write_png(VELLMAR_RUN_DIR "/../screenshots/start_view.png", width, height, 3, now.data(), width * 3);
    EXPECT_EQ(moved, 0u) << "the start view changed; where that is meant, build/screenshots/start_view.png is the new one";

    tap(GLFW_KEY_F6, 2);
    const std::vector<unsigned char> without = readScreen(width, height);
    EXPECT_EQ(uniform<glm::mat4>("dV"), glm::mat4(1.0f)) << "no shadow lookups with shadows off";
    EXPECT_EQ(uniform<glm::mat4>("lightProj"), glm::mat4(1.0f));
    EXPECT_GT(std::inner_product(now.begin(), now.end(), without.begin(), size_t(0), std::plus<>(),
                                 [](int shaded, int off) { return shaded + 12 < off; }),
              now.size() / 3000) << "the shadows leave the view";
    tap(GLFW_KEY_F6, 2);
    EXPECT_NE(uniform<glm::mat4>("dV"), glm::mat4(1.0f)) << "shadows back on";
}

TEST_F(LightUniforms, EverySlotAndTheShadowPassMatricesReachTheLitPass)
{
    play();
    frames(6, 0.25);  // at rest; a long frame snaps the flashlight to the view
    const glm::vec3 body = playerPosition();
    const struct { int type; glm::vec3 position, direction, power; float cutoff, exponent; } slots[] = {
        {1, body + glm::vec3(0.0f, eyeHeight - 0.5f, 0.0f), {0, 0, 1}, glm::vec3(0.6f), 30.0f, 0.15f},
        {0, {0, 0, 0}, {0, -1, 0}, glm::vec3(0.3f), 0.0f, 0.15f},
        {1, {-2, 3, 1}, {0, -0.7f, 0.1f}, glm::vec3(7.0f), 30.0f, 0.15f},
        {0, {}, {}, {}, 0.0f, 0.0f},  // every slot after the placed ones
    };
    EXPECT_EQ(uniformInt("NUM_LIGHTS"), 3);
    for (int i = 0; i < maxLights; ++i) {
        const std::string at = "[" + std::to_string(i) + "]";
        const auto& slot = slots[std::min(i, 3)];
        EXPECT_EQ(uniformInt("lightType" + at), slot.type) << i;
        const glm::vec3 expected[3] = {slot.position, slot.direction, slot.power};
        const char* names[3] = {"lightPosition", "lightDirection", "lightPower"};
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(glm::length(glm::vec3(uniform<glm::vec4>(names[k] + at)) - expected[k]), 0.0f, 1e-3f) << names[k] << at;
        EXPECT_FLOAT_EQ(uniform<glm::vec4>("cutoff" + at).x, slot.cutoff) << i;
        EXPECT_FLOAT_EQ(uniform<glm::vec4>("exponent" + at).x, slot.exponent) << i;
    }

    const glm::vec3 p = flashlight->position, d = flashlight->direction;
    expectNear(uniform<glm::mat4>("lightProj"), glm::perspective(glm::radians(60.0f), 1.0f, 0.01f, 100.0f), "lightProj");
    expectNear(uniform<glm::mat4>("dV"), glm::lookAt(p, p + d, glm::vec3(0.0f, 1.0f, 0.0f)), "dV");
    expectNear(uniform<glm::mat4>("projectionMatrix"), glm::perspective(glm::radians(60.0f), 4.0f / 3.0f, 0.1f, 100.0f),
               "projectionMatrix");
    expectNear(uniform<glm::mat4>("viewMatrix"), viewMatrix, "viewMatrix");

    tap(GLFW_KEY_F, 2);
    EXPECT_EQ(glm::ivec3(uniformInt("lightType[0]"), uniformInt("lightType[1]"), uniformInt("lightType[2]")),
              glm::ivec3(-1, 0, 1)) << "F switches off only the flashlight's slot";
    tap(GLFW_KEY_F, 2);
    EXPECT_EQ(uniformInt("lightType[0]"), 1);
}

TEST_F(LightUniforms, TheProgramsLinkedForTheFixedLightsDrawAsTheMainProgramForEverySlotAndState)
{
    play();
    frames(6, 0.25);
    int width = 0, height = 0;
    // One still frame drawn with the fixed lights' programs, or with the main program alone.
    auto picture = [&](bool fixed) {
        ShaderProgram* kept[fixedLightVariants];
        std::copy(fixedLightPrograms, fixedLightPrograms + fixedLightVariants, kept);
        if (!fixed)
            std::fill(fixedLightPrograms, fixedLightPrograms + fixedLightVariants, nullptr);
        frame(0.0);
        std::copy(kept, kept + fixedLightVariants, fixedLightPrograms);
        return readScreen(width, height);
    };
    auto expectSameAsMain = [&](const std::string& what) {
        EXPECT_NE(fixedLightProgram(shadowsEnabled), nullptr) << what;
        const std::vector<unsigned char> fixed = picture(true), general = picture(false);
        EXPECT_LE(std::inner_product(fixed.begin(), fixed.end(), general.begin(), 0, [](int a, int b) { return std::max(a, b); },
                                     [](int a, int b) { return std::abs(a - b); }), 1) << what << ": the largest difference";
        return fixed;
    };
    const int placed[3] = {lightTypes[0], lightTypes[1], lightTypes[2]};
    const glm::vec3 at = lights[2]->position, axis = lights[2]->direction, beam = flashlight->direction;
    // On the flashlight's beam: its pool shows and holds shadows that must not dim it; unround, it needs many digits.
    lights[2]->setLightPosition(flashlight->position.x, flashlight->position.y + 0.1234567f, flashlight->position.z);
    lights[2]->setLightDirection(beam.x, beam.y, beam.z);
    std::fill(lightTypes, lightTypes + 3, -1);
    const std::vector<unsigned char> dark = picture(false);
    for (int slot = 0; slot < 3; ++slot) {
        for (int i = 0; i < 3; ++i)
            lightTypes[i] = i == slot ? placed[i] : -1;
        buildFixedLightPrograms();
        EXPECT_NE(expectSameAsMain("slot " + std::to_string(slot) + " alone"), dark) << "each light shows";
    }
    std::copy(placed, placed + 3, lightTypes);
    lights[2]->setLightPosition(at.x, at.y, at.z), lights[2]->setLightDirection(axis.x, axis.y, axis.z);
    buildFixedLightPrograms();
    const std::vector<unsigned char> asPlaced = expectSameAsMain("the lights as placed");

    delete fixedLightPrograms[flashlightWithShadows];
    fixedLightPrograms[flashlightWithShadows] = new ShaderProgram("Shader/test.vert", "Shader/test.frag", "#define FIXED_LIGHTS\n");
    EXPECT_NE(picture(true), asPlaced) << "the lit pass draws with the fixed lights' program";
    buildFixedLightPrograms();

    input.tap(GLFW_KEY_F);
    frame(0.0);
    expectSameAsMain("flashlight off");
    input.tap(GLFW_KEY_F);
    input.tap(GLFW_KEY_F6);
    frame(0.0);
    expectSameAsMain("flashlight on again, shadows off");
    input.tap(GLFW_KEY_F6);
    frame(0.0);
    brightnessPercent = 150;
    expectSameAsMain("BRIGHTNESS=150");
    brightnessPercent = 100;
    for (auto changeALight : {+[] { lights[2]->setLightPosition(0.0f, 3.0f, 4.0f); },
                              +[] { lights[2]->setLightDirection(1.0f, -1.0f, 0.0f); },
                              +[] { lights[1]->setLightPower(1.0f, 1.0f, 1.0f); }}) {
        changeALight();
        EXPECT_EQ(fixedLightProgram(shadowsEnabled), nullptr) << "a fixed light changed: the main program draws";
        buildFixedLightPrograms();
    }
    EXPECT_NE(picture(true), asPlaced) << "and the programs linked again show the changes";
}

TEST_F(ShadowCulling, TheShadowPassSkipsAMeshBehindTheFlashlight)
{
    play();
    frames(3);
    // One statue alone beyond its cull radius and no camera planes: only the flashlight's view can cull it.
    loader->frustumPlanes = nullptr;
    Mesh* statue = pursuers[0]->mesh;
    for (Mesh* mesh : loader->meshes)
        mesh->visible = mesh == statue;
    const glm::vec3 eye = flashlight->position, ahead = flashlight->direction;
    statue->setModelMatrix(glm::mat4(1.0f));
    const glm::vec3 centre = statue->boundingBox->worldPoint(statue->boundingBox->center);
    ASSERT_LT(statue->boundingBox->cullRadius, 8.0f);
    statue->setModelMatrix(glm::translate(glm::mat4(1.0f), eye + 10.0f * ahead - centre));

    glGenQueries(1, &primitivesQuery);
    framePhaseHook = countShadowPass;
    auto shadowTriangles = [&](const glm::vec3& lightDirection) {
        flashlight->position = eye;
        flashlight->direction = lightDirection;
        renderFrame(frameInput);
        return shadowPrimitives;
    };
    EXPECT_EQ(shadowTriangles(ahead), statue->indices.size() / 3) << "lit by the flashlight, it casts a shadow";
    EXPECT_EQ(shadowTriangles(-ahead), 0u) << "behind the flashlight it is not drawn into the shadow map";
    framePhaseHook = nullptr;
}

TEST_F(RenderScaleTest, TheSceneIsDrawnSmallerOrBrighterWhileTheHudStaysAsItIs)
{
    play();
    frames(2);
    int width = 0, height = 0;
    auto pictureAt = [&](int percent) {
        renderScaleSetting = percent;
        frame(0.0);
        return readScreen(width, height);
    };
    // What the flashlight sees at a texel of the shadow target.
    auto moment = [&](int x, int y) {
        std::vector<float> moments(static_cast<size_t>(2) * shadowSide * shadowSide);
        glBindTexture(GL_TEXTURE_2D, shadowTexture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RG, GL_FLOAT, moments.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return moments[(static_cast<size_t>(y) * shadowSide + x) * 2];
    };
    const std::vector<unsigned char> full = pictureAt(100);
    EXPECT_EQ(shadowSide, 1024);
    // Texel 149 lies just beyond the cone's edge on its diagonal, where the lit pass's filter still reads.
    EXPECT_TRUE(moment(0, 0) == 0.15f && moment(1023, 1023) == 0.15f && moment(0, 512) < 0.15f && moment(149, 149) < 0.15f &&
                moment(874, 149) < 0.15f && moment(149, 874) < 0.15f && moment(874, 874) < 0.15f)
        << "the corners beyond the flashlight's cone are left clear, the middles of the sides and the cone's rim drawn";
    const float fullAhead = moment(shadowSide / 2, shadowSide / 2);  // straight ahead
    brightnessPercent = 200;
    const std::vector<unsigned char> bright = pictureAt(100);
    EXPECT_GT(std::inner_product(full.begin(), full.end(), bright.begin(), size_t(0), std::plus<>(),
                                 [](int before, int after) { return after > before + 8; }),
              full.size() / 8) << "BRIGHTNESS=200 lifts the dark hall";
    brightnessPercent = 100;
    const std::vector<unsigned char> half = pictureAt(50);
    EXPECT_NE(half, full) << "the scene itself is drawn at half of each side";
    EXPECT_EQ(renderScale, 0.5f);
    size_t unevenSquares = 0;
    for (int y = 0; y < height / 2; y += 2)  // below the HUD's lines
        for (int x = 0; x < width; x += 2)
            unevenSquares += half[(static_cast<size_t>(y) * width + x) * 3] != half[((y + 1) * width + x + 1) * 3];
    EXPECT_EQ(unevenSquares, 0u) << "at half of each side each scene pixel becomes a square of four";
    EXPECT_EQ(shadowSide, 512) << "the shadow target follows the scene's scale";
    EXPECT_NEAR(moment(shadowSide / 2, shadowSide / 2), fullAhead, 0.01f * fullAhead) << "and still holds the whole view";
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width) << "the window is bound again at its full size";

    // The full-window game-over screen hides the scene's scale, but for the statistics line.
    caught = true;
    ASSERT_TRUE(showStats);
    const std::vector<unsigned char> overFull = pictureAt(100);
    brightnessPercent = 50;
    EXPECT_EQ(pictureAt(100), overFull) << "the screen images and the HUD keep their brightness";
    const std::vector<unsigned char> overHalf = pictureAt(50);
    size_t onScaleLine = 0, elsewhere = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = (static_cast<size_t>(y) * width + x) * 3;
            const bool differs = !std::equal(&overFull[i], &overFull[i + 3], &overHalf[i]);
            // 40 overlay units high from (1160, 940), in a window of 1600 x 1200 units.
            const bool scaleLine = x >= width * 1160 / 1600 && y >= height * 940 / 1200 && y < height * 980 / 1200;
            (scaleLine ? onScaleLine : elsewhere) += differs;
        }
    EXPECT_EQ(elsewhere, 0u) << "the HUD is drawn at full resolution";
    EXPECT_GT(onScaleLine, 100u) << "the statistics show the reduced scale";
    caught = false, paused = true;
    EXPECT_EQ(pictureAt(50), pictureAt(100)) << "paused, the scene and F2 are at full size";
}

TEST_F(RenderScaleTest, TheFramesOwnWorkIsTimedAndAnIncompleteTargetFallsBackToFullSize)
{
    play();
    renderScaleSetting = 0;
    renderScale = 0.5f;
    for (int i = 0; i < 39; ++i) {  // 33 frames held 20 ms by the display, then 6 paused ones of 50 ms work
        paused = i >= 33;
        updateRenderScale();
        std::this_thread::sleep_for(std::chrono::milliseconds(paused ? 50 : 0));
        timeFrameWork();
        std::this_thread::sleep_for(std::chrono::milliseconds(paused ? 0 : 20));
    }
    EXPECT_EQ(renderScale, 1.0f) << "neither the display's wait nor paused frames keep the scale down";
    paused = false, renderScale = 0.5f;
    GLint largest = 0, bound = -1, viewport[4] = {};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    framebufferWidth = 4 * largest, framebufferHeight = 600;
    testing::internal::CaptureStdout();
    renderFrame(frameInput);
    renderFrame(frameInput);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Render scale: the scene target of " + std::to_string(2 * largest) +
                                                          " x 300 is incomplete, the scene is drawn at full size\n");
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(bound == 0 && viewport[3] == 600 && sceneScale() == 1.0f && shadowSide == 1024) << "drawn to the window";
}
