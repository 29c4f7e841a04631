#include "render/FramePasses.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/mat4x4.hpp>

#include "core/Camera.h"
#include "core/Console.h"
#include "core/FramePhase.h"
#include "core/GameState.h"
#include "core/Input.h"
#include "assets/SceneLoader.h"
#include "assets/ShaderProgram.h"
#include "render/Hud.h"
#include "render/Light.h"
#include "render/OverlayImage.h"
#include "render/RenderScale.h"
#include "core/BoundingBox.h"

GLuint shadowFramebuffer = 0;
GLuint shadowTexture = 0;
GLuint shadowDepthBuffer = 0;
int shadowSide = 0;

namespace {

// The flashlight's view for its shadow, as wide as the flashlight's 30 degree cone.
constexpr float shadowFieldOfView = 60.0f;

void setMatrix(GLuint program, const char* name, const glm::mat4& matrix)
{
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(matrix));
}

// The octagon round the flashlight's cone in its view (see depthShader.vert), a few texels wider so
// that the filter at the cone's edge reads drawn texels; 2 clips nothing inside the view. The lit
// shader's cone takes the cutoff's cosine, so a negative cutoff lights as much as its opposite.
float coneReach(float cutoff)
{
    const float angle = std::abs(cutoff);
    if (angle >= 89.0f)
        return 2.0f;
    const float radius = std::tan(glm::radians(angle)) / std::tan(glm::radians(shadowFieldOfView / 2.0f));
    return std::min(2.0f, std::sqrt(2.0f) * (radius + 0.02f));
}

// Sizes the shadow target for the scene's scale, when that changed its side; says whether it did.
bool fitShadowTarget()
{
    const int side = scaledSide(shadowMapSize);
    if (side == shadowSide)
        return false;
    shadowSide = side;
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG32F, side, side, 0, GL_RG, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, shadowDepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, side, side);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return true;
}

}  // namespace

void createShadowTarget()
{
    glGenFramebuffers(1, &shadowFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);

    glGenTextures(1, &shadowTexture);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glGenRenderbuffers(1, &shadowDepthBuffer);
    shadowSide = 0;
    fitShadowTarget();
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, shadowTexture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, shadowDepthBuffer);

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        // "blur FBO" is the game's own wording for the shadow target; the message is kept as it is.
        notice("GL_FRAMEBUFFER_COMPLETE failed for blur FBO, CANNOT use FBO");

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void setUpDrawingState(int width, int height)
{
    glViewport(0, 0, width, height);
    glClearColor(0.15f, 0.15f, 0.15f, 0.15f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Overlays all sit at the nearest depth; a later overlay must still cover an earlier one.
    glDepthFunc(GL_LEQUAL);
}

void setWireframe(bool outlines) { glPolygonMode(GL_FRONT_AND_BACK, outlines ? GL_LINE : GL_FILL); }

void discardGlErrors() { glGetError(); }
void finishDrawing() { glFinish(); }

void reportContext()
{
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    notice("GL Vendor : %s", reinterpret_cast<const char*>(glGetString(GL_VENDOR)));
    notice("GL Renderer : %s", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    notice("GL Version (string) : %s", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    notice("GL Version (integer) : %d.%d", major, minor);
    notice("GLSL Version : %s", reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION)));
}

void windowViewport(int width, int height, bool clear)
{
    glViewport(0, 0, width, height);
    // The window's depth buffer shares each pixel's word with a stencil byte that nothing uses.
    // Clearing depth alone must keep that byte, which a software renderer does pixel by pixel;
    // clearing both is one fill, half the cost of a frame that only clears and swaps.
    if (clear)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

ResolutionChoice renderFrame(const InputSnapshot& input)
{
    glm::mat4 lightView(1.0f);
    glm::mat4 lightProjection(1.0f);
    glm::mat4 lightViewProjection(1.0f);

    // 1. Shadow pass: the scene from the flashlight, culled by the camera's frustum and the
    //    flashlight's own, into a target sized by the render scale.
    if (shadowsEnabled && flashlight) {
        markFramePhase(FramePhase::shadowPass, true);
        const bool resized = fitShadowTarget();
        glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
        if (resized && shadowSide != shadowMapSize && !scaledTargetComplete("shadow target", shadowSide, shadowSide))
            fitShadowTarget();
        glViewport(0, 0, shadowSide, shadowSide);
        const glm::vec3 p = flashlight->position;
        const glm::vec3 d = flashlight->direction;
        lightProjection = glm::perspective(glm::radians(shadowFieldOfView), 1.0f, 0.01f, 100.0f);
        lightView = glm::lookAt(p, p + d, glm::vec3(0.0f, 1.0f, 0.0f));
        lightViewProjection = lightProjection * lightView;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glUseProgram(depthProgram->program);
        glUniform1f(glGetUniformLocation(depthProgram->program, "coneReach"), coneReach(flashlight->cutoff));
        for (int plane = 0; plane < 4; ++plane)
            glEnable(GL_CLIP_DISTANCE0 + plane);
        setMatrix(depthProgram->program, "dVP", lightViewProjection);
        setMatrix(depthProgram->program, "dV", lightView);
        float lightPlanes[24];
        extractPlanes(lightViewProjection, lightPlanes);
        loader->drawSeenBy(depthProgram->program, lightPlanes);
        for (int plane = 0; plane < 4; ++plane)
            glDisable(GL_CLIP_DISTANCE0 + plane);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        markFramePhase(FramePhase::shadowPass, false);
    }

    // 2. Lit pass: drawn with the camera this frame's player update made, at the render scale;
    //    the shadow-map preview after it is drawn at full resolution.
    markFramePhase(FramePhase::litPass, true);
    const GLuint program = mainProgram->program;
    // The pause menu is drawn inside this pass; the scene's scale is 1 while paused, so it stays whole.
    const bool scaled = sceneScale() < 1.0f && beginScaledScene(framebufferWidth, framebufferHeight);
    if (!scaled)
        glViewport(0, 0, framebufferWidth, framebufferHeight);
    glCullFace(GL_BACK);
    glUseProgram(program);
    uploadLights();
    const glm::mat4 projection = projectionMatrix;
    const glm::mat4 view = viewMatrix;
    auto setPassUniforms = [&](GLuint into) {
        if (shadowsEnabled) {
            glActiveTexture(GL_TEXTURE10);
            glBindTexture(GL_TEXTURE_2D, shadowTexture);
            glUniform1i(glGetUniformLocation(into, "shadowMap"), 10);
            setMatrix(into, "dVP", lightViewProjection);
        }
        setMatrix(into, "dV", lightView);
        setMatrix(into, "lightProj", lightProjection);
        setMatrix(into, "projectionMatrix", projection);
        setMatrix(into, "viewMatrix", view);
        glUniform1f(glGetUniformLocation(into, "sceneBrightness"), static_cast<float>(brightnessPercent) / 100.0f);
    };
    setPassUniforms(program);

    ResolutionChoice chosen;
    // The options page is drawn over the scene by the frame loop, after this pass.
    if (paused && !optionsOpen)
        chosen = drawPauseMenu(input);

    // The pause menu leaves the text program current. The main program holds every uniform the game
    // sends; the program linked for the fixed lights draws while the lights are as it was linked for.
    GLuint drawing = program;
    if (const ShaderProgram* fixed = fixedLightProgram(shadowsEnabled)) {
        drawing = fixed->program;
        glUseProgram(drawing);
        setPassUniforms(drawing);
        uploadLights(drawing);
    }
    glUseProgram(drawing);
    loader->draw(drawing);
    if (scaled)
        endScaledScene(framebufferWidth, framebufferHeight);

    if (showShadowMap && fontImage)
        drawShadowMapPreview(shadowTexture);
    markFramePhase(FramePhase::litPass, false);
    return chosen;
}
