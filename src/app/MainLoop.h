#pragma once
// Entry, start-up and the frame loop: the window, the frame clock, the frame-rate counter and
// the start screen. The figures the loop writes for others are in core/GameState.h.
#include "app/Arguments.h"
#include "core/GameState.h"
#include "core/Input.h"
// The window the loop draws into.
#include "app/Window.h"

// False once Escape was down in a frame: the loop ends after that frame.
extern bool running;
extern bool showStartScreen;
// The input of the frame running, or of the last one; taken by runFrame only.
extern InputSnapshot frameInput;

// Starts the frame-rate sampling; called once after the world is built.
void startFrameLoop();
// One pass of the frame loop. Returns false when the loop must end: the window was asked to
// close (then nothing of the pass ran) or Escape was down (then the whole pass ran). Takes the
// frame's input (core/Input.h); writes the frame figures of core/GameState.h, running and
// showStartScreen, then whatever the frame in play writes.
bool runFrame();
// The window and the framebuffer size the frame loop draws with, as the pause menu chooses them.
void setResolution(int width, int height);
// Releases what the game releases, ends the window library and waits at the console.
void shutdown();
// The whole program: configuration, the session's journal, window, world, frames, shutdown.
// Returns the exit status.
int runGame(const Session& session);
