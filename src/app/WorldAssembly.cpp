#include "app/WorldAssembly.h"

#include <GL/glew.h>

#include <cstdio>

#include "app/Platform.h"

sceneLoader* loader = nullptr;
Player* player = nullptr;

ShaderProgram* mainProgram = nullptr;
ShaderProgram* textProgram = nullptr;
ShaderProgram* depthProgram = nullptr;

OverlayImage* fontImage = nullptr;
OverlayImage* helpImage = nullptr;
OverlayImage* mouseImage = nullptr;
OverlayImage* keysImage = nullptr;
OverlayImage* startImage = nullptr;
OverlayImage* pauseImage = nullptr;
OverlayImage* pauseImage1 = nullptr;
OverlayImage* pauseImage2 = nullptr;
OverlayImage* pauseImage3 = nullptr;
OverlayImage* wonImage = nullptr;
OverlayImage* gameOverImage = nullptr;

namespace {

void printContextReport()
{
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    std::printf("GL Vendor : %s\n", reinterpret_cast<const char*>(glGetString(GL_VENDOR)));
    std::printf("GL Renderer : %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("GL Version (string) : %s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    std::printf("GL Version (integer) : %d.%d\n", major, minor);
    std::printf("GLSL Version : %s\n", reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION)));
}

}  // namespace

void worldAssembly()
{
    // 1. The system cursor is hidden over the game, and the context reported.
    platform->setCursorVisible(false);
    printContextReport();
}

void releaseWorld()
{
}
