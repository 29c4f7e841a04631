#include "app/WorldAssembly.h"

#include <GL/glew.h>

#include <cstdio>

#include "app/Platform.h"
#include "assets/ShaderProgram.h"
#include "render/OverlayImage.h"

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

    // 2. The three programs; the text program must exist before the first image.
    mainProgram = new ShaderProgram("Shader/test.vert", "Shader/test.frag");
    textProgram = new ShaderProgram("Shader/TextShader.vert", "Shader/TextShader.frag");
    depthProgram = new ShaderProgram("Shader/depthShader.vert", "Shader/depthShader.frag");

    // 3. The screen images, the font first.
    fontImage = new OverlayImage("Scene/VellmarFontDark.dds");
    helpImage = new OverlayImage("Scene/Infos.dds");
    mouseImage = new OverlayImage("Scene/mouse.dds");
    keysImage = new OverlayImage("Scene/wasd.dds");
    startImage = new OverlayImage("Scene/start.dds");
    pauseImage = new OverlayImage("Scene/pause.dds");
    pauseImage1 = new OverlayImage("Scene/pause1.dds");
    pauseImage2 = new OverlayImage("Scene/pause2.dds");
    pauseImage3 = new OverlayImage("Scene/pause3.dds");
    wonImage = new OverlayImage("Scene/gameWon.dds");
    gameOverImage = new OverlayImage("Scene/gameOver.dds");
}

void releaseWorld()
{
    // 1. The main program: the program, then its two shaders.
    delete mainProgram;
    mainProgram = nullptr;

    // 2.-3. The model loader with its meshes, then the flashlight and the third light, go here.

    // 4. The font image, then the text program it draws with (shared by every image).
    if (fontImage) {
        GLuint sharedTextProgram = fontImage->program;
        delete fontImage;
        fontImage = nullptr;
        glDeleteProgram(sharedTextProgram);
    }
}
