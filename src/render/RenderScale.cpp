#include "render/RenderScale.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/Console.h"
#include "core/GameState.h"

int renderScaleSetting = 0;
float renderScale = 1.0f;

namespace {

// The one wall clock a frame reads: it decides only the picture's resolution, never what happens in
// the world, so a replayed session stays exact whatever the machine's speed.
using Clock = std::chrono::steady_clock;

constexpr double frameBudget = 1.0 / 60.0;
// A display that waits for its refresh shows frames of exactly the budget, give or take a little.
constexpr double overBudget = frameBudget * 1.05;
// Grow only while the larger scale leaves this share of the budget, so the scale does not swing.
constexpr double growBudget = frameBudget * 0.85;
constexpr float scaleStep = 0.05f;
// Frames averaged before each decision: few, so that a slow machine is slow only briefly.
constexpr int framesPerDecision = 3;
// A single longer frame is loading, a moved window or a debugger, not drawing.
constexpr double longestFrame = 0.25;

Clock::time_point frameStart;
bool lastFrameLong = false;
double secondsSinceDecision = 0.0;
int framesSinceDecision = 0;
// Set once a scaled target turned out incomplete: the scene is drawn at full size from then on.
bool scaleUnavailable = false;

GLuint sceneFramebuffer = 0;
GLuint sceneColour = 0;
GLuint sceneDepth = 0;
int sceneWidth = 0;
int sceneHeight = 0;

float snapDown(float scale)
{
    return std::floor(scale / scaleStep + 1e-3f) * scaleStep;
}

}  // namespace

float sceneScale()
{
    return paused || scaleUnavailable ? 1.0f : renderScale;
}

int scaledSide(int side)
{
    return std::max(1, static_cast<int>(std::lround(side * sceneScale())));
}

float nextRenderScale(float scale, double frameSeconds)
{
    // The lit pass costs about its pixel count, the square of the scale.
    if (frameSeconds > overBudget) {
        const float fits = scale * static_cast<float>(std::sqrt(growBudget / frameSeconds));
        return std::max(smallestRenderScale, std::min(snapDown(fits), scale - scaleStep));
    }
    const float larger = std::min(1.0f, scale + scaleStep);
    if (larger > scale && frameSeconds * (larger * larger) / (scale * scale) < growBudget)
        return larger;
    return scale;
}

void updateRenderScale()
{
    if (renderScaleSetting != 0)
        renderScale = renderScaleSetting / 100.0f;
    frameStart = Clock::now();
}

void timeFrameWork()
{
    if (renderScaleSetting != 0 || paused)
        return;
    // The drawing is still queued: waiting for it here counts it, and leaves out the display's wait in the swap.
    glFinish();
    adaptRenderScale(std::chrono::duration<double>(Clock::now() - frameStart).count());
}

void adaptRenderScale(double seconds)
{
    const bool isLong = seconds > longestFrame;
    const bool single = isLong && !lastFrameLong;
    lastFrameLong = isLong;
    if (single)
        return;
    secondsSinceDecision += seconds;
    if (++framesSinceDecision < framesPerDecision)
        return;
    renderScale = nextRenderScale(renderScale, secondsSinceDecision / framesSinceDecision);
    secondsSinceDecision = 0.0;
    framesSinceDecision = 0;
}

bool scaledTargetComplete(const char* target, int width, int height)
{
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
        return true;
    notice("Render scale: the %s of %d x %d is incomplete, the scene is drawn at full size", target, width, height);
    scaleUnavailable = true;
    return false;
}

bool beginScaledScene(int windowWidth, int windowHeight)
{
    const int width = scaledSide(windowWidth);
    const int height = scaledSide(windowHeight);
    if (sceneFramebuffer == 0) {
        glGenFramebuffers(1, &sceneFramebuffer);
        glGenRenderbuffers(1, &sceneColour);
        glGenRenderbuffers(1, &sceneDepth);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
    if (width != sceneWidth || height != sceneHeight) {
        glBindRenderbuffer(GL_RENDERBUFFER, sceneColour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, sceneDepth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, sceneColour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, sceneDepth);
        sceneWidth = width;
        sceneHeight = height;
        if (!scaledTargetComplete("scene target", width, height)) {
            sceneWidth = sceneHeight = 0;
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glViewport(0, 0, windowWidth, windowHeight);
            return false;
        }
    }
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

void endScaledScene(int windowWidth, int windowHeight)
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // At exactly twice each side every scene pixel becomes a square of four: as sharp as the
    // picture can be, and the stretch costs a software renderer 40 % less than filtering.
    const bool doubled = sceneWidth * 2 == windowWidth && sceneHeight * 2 == windowHeight;
    glBlitFramebuffer(0, 0, sceneWidth, sceneHeight, 0, 0, windowWidth, windowHeight, GL_COLOR_BUFFER_BIT,
                      doubled ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
}
