#pragma once
// The game's one window and its OpenGL context, through the window library: made from the
// configuration, shown and hidden, set back to the configured size, presented each frame, closed.

struct GLFWwindow;

extern GLFWwindow* mainWindow;

// Window library, window and OpenGL context from the configuration; fatal on failure.
void createWindow();
// Back to a window of the configured size titled "Vellmar", shown, keeping the OpenGL context and
// everything made in it.
void recreateWindow();
void showGameWindow(bool shown);
// Shows the frame drawn.
void presentFrame();
// Presents without waiting for the display's refresh, whatever the driver's default (a timedemo).
void presentWithoutWaiting();
// Ends the window library; the window is gone.
void closeWindow();
