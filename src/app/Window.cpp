#include "app/Window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/Config.h"
#include "core/Camera.h"
#include "core/Console.h"
#include "core/GameState.h"
#include "core/Platform.h"
#include "render/FramePasses.h"

GLFWwindow* mainWindow = nullptr;

namespace {

constexpr int largestWindowSide = 16384;

// The loader's own lookup of these four can miss on some drivers; the window library's is authoritative.
void refetchEntryPoints()
{
    if (auto p = reinterpret_cast<PFNGLGENVERTEXARRAYSPROC>(glfwGetProcAddress("glGenVertexArrays")))
        __glewGenVertexArrays = p;
    if (auto p = reinterpret_cast<PFNGLBINDVERTEXARRAYPROC>(glfwGetProcAddress("glBindVertexArray")))
        __glewBindVertexArray = p;
    if (auto p = reinterpret_cast<PFNGLDELETEVERTEXARRAYSPROC>(glfwGetProcAddress("glDeleteVertexArrays")))
        __glewDeleteVertexArrays = p;
    if (auto p = reinterpret_cast<PFNGLGENERATEMIPMAPPROC>(glfwGetProcAddress("glGenerateMipmap")))
        __glewGenerateMipmap = p;
}

}  // namespace

void createWindow()
{
    if (!glfwInit())
        fatalError("GLFW failed to load!");
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
    glewExperimental = GL_TRUE;

    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    const char* title = fullscreen ? "Vellmar Fullscreen" : "Vellmar";
    // The window library asserts on negative sizes, and the X server and software renderer abort
    // on sides beyond what OpenGL can render to: such sizes fail here like any refused window.
    if (screenWidth > 0 && screenHeight > 0 && screenWidth <= largestWindowSide && screenHeight <= largestWindowSide)
        mainWindow = glfwCreateWindow(screenWidth, screenHeight, title, monitor, nullptr);
    if (!mainWindow) {
        glfwTerminate();
        fatalError("Window failed to load!");
    }
    glfwMakeContextCurrent(mainWindow);
    if (glewInit() != GLEW_OK)
        fatalError("Failed to initialize glew");
    refetchEntryPoints();
    // One frame per refresh: frames the display cannot show are not drawn, and the render scale,
    // timed on the frame's own work, does not see the wait.
    glfwSwapInterval(1);

    glfwSetInputMode(mainWindow, GLFW_STICKY_KEYS, GLFW_TRUE);
    platform->setCursorPos(cursorCentreX, cursorCentreY);
    setUpDrawingState(screenWidth, screenHeight);
}


void recreateWindow()
{
    // A new window would need a new context and every texture, buffer and program made again;
    // changing the existing window's mode gives the same window the player expects.
    if (glfwGetWindowMonitor(mainWindow))
        glfwSetWindowMonitor(mainWindow, nullptr, 0, 0, screenWidth, screenHeight, GLFW_DONT_CARE);
    else
        glfwSetWindowSize(mainWindow, screenWidth, screenHeight);
    glfwSetWindowTitle(mainWindow, "Vellmar");
    glfwShowWindow(mainWindow);
    glfwMakeContextCurrent(mainWindow);
    glfwSetInputMode(mainWindow, GLFW_STICKY_KEYS, GLFW_TRUE);
    windowViewport(framebufferWidth, framebufferHeight, false);
}

void showGameWindow(bool shown)
{
    if (shown)
        glfwShowWindow(mainWindow);
    else
        glfwHideWindow(mainWindow);
}

void presentWithoutWaiting()
{
    glfwSwapInterval(0);
}

void presentFrame() { glfwSwapBuffers(mainWindow); }

void closeWindow()
{
    glfwTerminate();
    mainWindow = nullptr;
}
