#include "render/OverlayImage.h"

#include "assets/ShaderProgram.h"
#include "assets/Textures.h"

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

// Two triangles of a square, positions in overlay units; v = 1 along the upper edge.
void fillQuad(GLuint positionBuffer, GLuint uvBuffer, float x, float y, float size)
{
    const GLfloat positions[12] = {
        x, y + size, x, y, x + size, y + size,
        x + size, y, x + size, y + size, x, y,
    };
    const GLfloat uvs[12] = {
        0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f,
        1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f,
    };
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof positions, positions, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, uvBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof uvs, uvs, GL_STATIC_DRAW);
}

void drawQuad(GLuint program, GLint samplerLocation, GLuint texture, GLuint positionBuffer, GLuint uvBuffer,
              GLsizei vertexCount = 6)
{
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(samplerLocation, 0);

    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(1);
    glBindBuffer(GL_ARRAY_BUFFER, uvBuffer);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    glDisable(GL_BLEND);

    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindVertexArray(0);
}

}  // namespace

OverlayImage::OverlayImage(const char* path)
{
    texture = loadDDS(path);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &uvBuffer);
    program = textProgram->program;
    samplerLocation = glGetUniformLocation(program, "myTextureSampler");
    glBindVertexArray(0);
}

OverlayImage::~OverlayImage()
{
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteTextures(1, &texture);
}

void OverlayImage::draw(int x, int y, int size)
{
    glBindVertexArray(vertexArray);
    fillQuad(positionBuffer, uvBuffer, static_cast<float>(x), static_cast<float>(y), static_cast<float>(size));
    drawQuad(program, samplerLocation, texture, positionBuffer, uvBuffer);
}

void OverlayImage::drawBuffers(GLuint boundTexture, GLsizei vertexCount)
{
    glBindVertexArray(vertexArray);
    drawQuad(program, samplerLocation, boundTexture, positionBuffer, uvBuffer, vertexCount);
}

void releaseFontImage()
{
    if (!fontImage)
        return;
    const GLuint sharedProgram = fontImage->program;
    delete fontImage;
    fontImage = nullptr;
    glDeleteProgram(sharedProgram);
}

void drawShadowMapPreview(GLuint shadowTexture)
{
    glBindVertexArray(fontImage->vertexArray);
    fillQuad(fontImage->positionBuffer, fontImage->uvBuffer, 0.0f, 0.0f, 400.0f);
    drawQuad(fontImage->program, fontImage->samplerLocation, shadowTexture, fontImage->positionBuffer,
             fontImage->uvBuffer);
}
