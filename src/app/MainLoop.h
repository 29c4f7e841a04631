#pragma once
// Entry, start-up and the frame loop: the window, the frame clock, the frame-rate counter and
// the start screen, which every other subsystem reads.

struct GLFWwindow;

extern GLFWwindow* mainWindow;
extern bool running;
extern bool showStartScreen;
extern bool enterLatch;
extern double deltaTime;
extern double lastFrameTime;
extern int framesPerSecond;
extern int framebufferWidth;
extern int framebufferHeight;
extern double cursorX;
extern double cursorY;

// Window library, window and OpenGL context from the configuration; fatal on failure.
void createWindow();
// Starts the frame-rate sampling; called once after the world is built.
void startFrameLoop();
// One pass of the frame loop. Returns false when the loop must end: the window was asked to
// close (then nothing of the pass ran) or Escape was down (then the whole pass ran).
bool runFrame();
// Releases what the game releases, ends the window library and waits at the console.
void shutdown();
// The whole program: configuration, window, world, frames, shutdown. Returns the exit status.
int runGame();
