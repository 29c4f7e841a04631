#pragma once
// --timedemo: a journal played back as fast as the machine draws. Every other frame in play is
// timed phase by phase (the drawing phases wait for the renderer at their edges, as in the frame
// benchmark, so each is charged with its own drawing); the frames between run exactly as in the
// game and are timed whole. The frame loop brackets each frame with the two calls below.
#include <string>

// Before a frame; only frames in play are timed.
void beginTimedFrame(bool inPlay);
// After the frame, its drawing finished.
void endTimedFrame();
// The table of frame times per phase and the frames per second, ready to print.
std::string timedemoReport();
