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

// `alpha` scales the picture's own alpha: a fading caption; 1 leaves every texel as it is.
void drawQuad(const OverlayImage& image, GLuint texture, GLsizei vertexCount = 6, float alpha = 1.0f)
{
    glUseProgram(image.program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(image.samplerLocation, 0);
    glUniform1f(image.alphaLocation, alpha);

    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, image.positionBuffer);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(1);
    glBindBuffer(GL_ARRAY_BUFFER, image.uvBuffer);
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
    alphaLocation = glGetUniformLocation(program, "alpha");
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
    drawQuad(*this, texture);
}

void OverlayImage::drawBuffers(GLuint boundTexture, GLsizei vertexCount, float alpha)
{
    glBindVertexArray(vertexArray);
    drawQuad(*this, boundTexture, vertexCount, alpha);
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
    drawQuad(*fontImage, shadowTexture);
}
