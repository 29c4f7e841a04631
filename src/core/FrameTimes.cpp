#include "core/FrameTimes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

const char* const framePhaseNames[framePhaseCount] = {
    "frame update", "  player", "  pursuit", "  physics step", "keyboard commands", "shadow pass", "lit pass", "HUD",
    "sound", "swap",
};

bool isDrawingPhase(FramePhase phase)
{
    return phase == FramePhase::shadowPass || phase == FramePhase::litPass || phase == FramePhase::hud ||
           phase == FramePhase::swap;
}

double Samples::percentile(double p) const
{
    if (micros.empty())
        return 0.0;
    std::vector<double> sorted = micros;
    std::sort(sorted.begin(), sorted.end());
    const size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * sorted.size()));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

double Samples::total() const
{
    double sum = 0.0;
    for (double us : micros)
        sum += us;
    return sum;
}

std::string frameTimesHeading()
{
    char line[128];
    std::snprintf(line, sizeof line, "%-20s %10s %10s %10s %10s\n", "phase", "median", "p95", "p99", "max");
    return line;
}

std::string frameTimesRow(const char* name, const Samples& samples)
{
    char line[128];
    std::snprintf(line, sizeof line, "%-20s %10.0f %10.0f %10.0f %10.0f\n", name, samples.percentile(50),
                  samples.percentile(95), samples.percentile(99), samples.percentile(100));
    return line;
}
