#pragma once
// The times of the phases of frames in play, as the frame benchmark and --timedemo print them: the
// median, 95th and 99th percentile and maximum of each, in microseconds.
#include <string>
#include <vector>

#include "core/FramePhase.h"

constexpr int framePhaseCount = static_cast<int>(FramePhase::swap) + 1;
// Indented names are phases inside the one above.
extern const char* const framePhaseNames[framePhaseCount];

// The phases that hand work to the renderer: timed alone, they wait for it at their edges.
bool isDrawingPhase(FramePhase phase);

struct Samples {
    std::vector<double> micros;

    void add(double us) { micros.push_back(us); }
    // Nearest rank; 0 for no samples.
    double percentile(double p) const;
    double total() const;
};

// The table's heading, and one row: the name, then median, p95, p99 and maximum (lines ended).
std::string frameTimesHeading();
std::string frameTimesRow(const char* name, const Samples& samples);
