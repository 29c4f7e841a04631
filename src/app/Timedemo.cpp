#include "app/Timedemo.h"

#include <array>
#include <chrono>
#include <cstdio>

#include "core/FrameTimes.h"
#include "core/GameState.h"
#include "render/FramePasses.h"
#include "render/RenderScale.h"

namespace {

using Clock = std::chrono::steady_clock;

std::array<Clock::time_point, framePhaseCount> phaseBegan;
std::array<double, framePhaseCount> phaseMicros;
std::array<Samples, framePhaseCount> phases;
Samples phasedFrames;
Samples wholeFrames;
Samples scales;
Clock::time_point frameBegan;
bool timing = false;
bool phased = false;

double microsSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

void timePhase(FramePhase phase, bool begins)
{
    if (isDrawingPhase(phase))
        finishDrawing();
    const int i = static_cast<int>(phase);
    if (begins)
        phaseBegan[i] = Clock::now();
    else
        phaseMicros[i] += microsSince(phaseBegan[i]);
}

}  // namespace

void beginTimedFrame(bool inPlay)
{
    timing = inPlay;
    phased = inPlay && (phasedFrames.micros.size() + wholeFrames.micros.size()) % 2 == 1;
    framePhaseHook = phased ? timePhase : nullptr;
    phaseMicros.fill(0.0);
    frameBegan = Clock::now();
}

void endTimedFrame()
{
    finishDrawing();
    framePhaseHook = nullptr;
    if (!timing)
        return;
    (phased ? phasedFrames : wholeFrames).add(microsSince(frameBegan));
    for (int i = 0; phased && i < framePhaseCount; ++i)
        phases[i].add(phaseMicros[i]);
    scales.add(renderScale);
}

std::string timedemoReport()
{
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
