#pragma once
// --timedemo: a journal played back as fast as the machine draws. Every other frame in play is
// timed phase by phase (the drawing phases wait for the renderer at their edges, as in the frame
// benchmark, so each is charged with its own drawing); the frames between run exactly as in the
// game and are timed whole.
#include <string>

// Runs the frame loop to its end, timing it; returns the table of frame times and the frames per
// second, ready to print.
std::string runTimedemo();
