// Shows the screen images the way the game's overlay draws them: each DDS file uploaded level by level
// as a compressed texture, drawn as a square in the 1600 x 1200 overlay space with v = 0 at its lower
// edge, then read back from a real OpenGL window. Usage: vellmar_overlay_view <Scene folder> <output folder>
// (needs a display; under Xvfb: xvfb-run -s "-screen 0 800x600x24" vellmar_overlay_view ...).
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "assets/DdsFile.h"

namespace {

const int windowWidth = 800, windowHeight = 600;

// Through the game's own DDS parser, which never reads past the file whatever its header says.
GLuint loadDds(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const DdsImage image = parseDds(b.data(), b.size());
    if (image.status != DdsStatus::Usable) return 0;
    const GLenum format = image.format == DdsFormat::Dxt1   ? GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
                          : image.format == DdsFormat::Dxt3 ? GL_COMPRESSED_RGBA_S3TC_DXT3_EXT
                                                            : GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t level = 0; level < image.levels.size(); ++level) {
        const DdsLevel& l = image.levels[level];
        glCompressedTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), format, l.width, l.height, 0,
                               static_cast<GLsizei>(l.size), &b[l.offset]);
    }
    return texture;
}

// The overlay's square: (x, y) gets texture coordinates (0, 0), (x + size, y + size) gets (1, 1).
void drawImage(GLuint texture, float x, float y, float size)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_TRIANGLES);
    const float quad[6][4] = {{x, y + size, 0, 1}, {x, y, 0, 0},           {x + size, y + size, 1, 1},
                              {x + size, y, 1, 0}, {x + size, y + size, 1, 1}, {x, y, 0, 0}};
    for (const auto& q : quad) {
        glTexCoord2f(q[2], q[3]);
        glVertex2f(q[0], q[1]);
    }
    glEnd();
}

// Text as the HUD draws it: square glyphs side by side, code c from column c mod 16, row c div 16 from v = 1.
void drawText(GLuint font, const std::string& text, float x, float y, float size)
{
    glBindTexture(GL_TEXTURE_2D, font);
    glBegin(GL_TRIANGLES);
    for (size_t i = 0; i < text.size(); ++i) {
        int c = static_cast<signed char>(text[i]);
        float left = x + i * size, right = left + size, u0 = (c % 16) * 0.0625f, u1 = u0 + 0.0625f;
        float vTop = 1 - (c / 16) * 0.0625f, vBottom = vTop - 0.0625f;
        const float quad[6][4] = {{left, y + size, u0, vTop},  {left, y, u0, vBottom},        {right, y + size, u1, vTop},
                                  {right, y, u1, vBottom},     {right, y + size, u1, vTop},    {left, y, u0, vBottom}};
        for (const auto& q : quad) {
            glTexCoord2f(q[2], q[3]);
            glVertex2f(q[0], q[1]);
        }
    }
    glEnd();
}

void clearTo(float r, float g, float b)
{
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

bool screenshot(const std::string& path)
{
    std::vector<unsigned char> pixels(windowWidth * windowHeight * 3), flipped(pixels.size());
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < windowHeight; ++y)
        std::memcpy(&flipped[y * windowWidth * 3], &pixels[(windowHeight - 1 - y) * windowWidth * 3], windowWidth * 3);
    return stbi_write_png(path.c_str(), windowWidth, windowHeight, 3, flipped.data(), windowWidth * 3) != 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <Scene folder> <output folder>\n", argv[0]);
        return 2;
    }
    const std::string scene = argv[1], out = argv[2];
    if (!glfwInit()) return 1;
    GLFWwindow* window = glfwCreateWindow(windowWidth, windowHeight, "Vellmar overlay view", nullptr, nullptr);
    if (!window) return 1;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) return 1;
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1600, 0, 1200, -1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    for (const char* name : {"start", "pause", "pause1", "pause2", "pause3", "gameWon", "gameOver"}) {
        clearTo(0, 0, 0);
        drawImage(loadDds(scene + "/" + name + ".dds"), 0, 0, 1600);
        screenshot(out + "/overlay_" + name + ".png");
    }
    GLuint font = loadDds(scene + "/VellmarFontDark.dds");
    // The HUD over a dim hall: help pictures, warning and statistics.
    clearTo(0.12f, 0.11f, 0.10f);
    drawImage(loadDds(scene + "/Infos.dds"), 0, 700, 500);
    drawImage(loadDds(scene + "/mouse.dds"), 1300, 0, 300);
    drawImage(loadDds(scene + "/wasd.dds"), 0, 0, 300);
    drawText(font, "WARNING: DEATH IMMINENT", 400, 600, 40);
    drawText(font, "60FPS", 1160, 1100, 70);
    drawText(font, "123.45sec", 1160, 1000, 40);
    screenshot(out + "/overlay_hud.png");
    // The statistics over the bright won screen.
    clearTo(0, 0, 0);
    drawImage(loadDds(scene + "/gameWon.dds"), 0, 0, 1600);
    drawText(font, "60FPS", 1160, 1100, 70);
    drawText(font, "123.45sec", 1160, 1000, 40);
    drawText(font, "The quick brown fox jumps {0-9}", 20, 300, 40);
    screenshot(out + "/overlay_won_text.png");
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
