#include "app/Timedemo.h"

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <cstdio>

#include "app/MainLoop.h"
#include "core/FrameTimes.h"
#include "render/RenderScale.h"

namespace {

using Clock = std::chrono::steady_clock;

std::array<Clock::time_point, framePhaseCount> phaseBegan;
std::array<double, framePhaseCount> phaseMicros;

double microsSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

void timePhase(FramePhase phase, bool begins)
{
    if (isDrawingPhase(phase))
        glFinish();
    const int i = static_cast<int>(phase);
    if (begins)
        phaseBegan[i] = Clock::now();
    else
        phaseMicros[i] += microsSince(phaseBegan[i]);
}

}  // namespace

std::string runTimedemo()
{
    std::array<Samples, framePhaseCount> phases;
    Samples phasedFrames;
    Samples wholeFrames;
    Samples scales;
    bool more = true;
    for (unsigned inPlay = 0; more;) {
        const bool play = !showStartScreen;
        const bool phased = play && inPlay % 2 == 1;
        framePhaseHook = phased ? timePhase : nullptr;
        phaseMicros.fill(0.0);
        const Clock::time_point began = Clock::now();
        more = runFrame();
        glFinish();
        if (!play)
            continue;
        (phased ? phasedFrames : wholeFrames).add(microsSince(began));
        for (int i = 0; phased && i < framePhaseCount; ++i)
            phases[i].add(phaseMicros[i]);
        scales.add(renderScale);
        ++inPlay;
    }
    framePhaseHook = nullptr;

    char line[160];
    std::snprintf(line, sizeof line, "Timedemo: %zu frames in play at %d x %d, render scale median %.2f\n",
                  phasedFrames.micros.size() + wholeFrames.micros.size(), framebufferWidth, framebufferHeight,
                  scales.percentile(50));
    std::string out = line;
    out += "per frame, microseconds\n" + frameTimesHeading();
    for (int i = 0; i < framePhaseCount; ++i)
        out += frameTimesRow(framePhaseNames[i], phases[i]);
    out += frameTimesRow("frame, phases timed", phasedFrames);
    out += frameTimesRow("frame in play", wholeFrames);
    // As in the frame benchmark: from the frames that ran as in the game.
    const double seconds = wholeFrames.total() * 1e-6;
    std::snprintf(line, sizeof line, "frames per second: %.1f in play\n",
                  seconds > 0.0 ? wholeFrames.micros.size() / seconds : 0.0);
    return out + line;
}
