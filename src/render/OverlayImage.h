#pragma once
// A picture from a DDS file drawn flat over the window as a textured square, with the text program.
// Positions are overlay units: the window spans x 0..1600 (left to right) and y 0..1200 (bottom
// to top), whatever its size in pixels.
#include <GL/glew.h>

class OverlayImage {
public:
    // Loads the picture (texture 0 when the file cannot be used) and takes the text program.
    explicit OverlayImage(const char* path);
    // Releases the buffers, the vertex array and the texture; the text program is shared by every
    // image and stays.
    ~OverlayImage();
    OverlayImage(const OverlayImage&) = delete;
    OverlayImage& operator=(const OverlayImage&) = delete;

    // The picture as a size x size square with its lower left corner at (x, y), blended with its
    // alpha. Leaves the text program current and blending off.
    void draw(int x, int y, int size);
    // Draws the first vertexCount vertices already in this image's buffers with the given
    // texture, as draw does, its alpha scaled by `alpha`; text fills the font image's buffers with
    // its glyphs and uses this.
    void drawBuffers(GLuint boundTexture, GLsizei vertexCount, float alpha = 1.0f);
    GLuint texture = 0;
    GLuint positionBuffer = 0;
    GLuint uvBuffer = 0;
    GLuint program = 0;
    GLint samplerLocation = 0;
    GLint alphaLocation = -1;
    GLuint vertexArray = 0;
};

// The screen images, made by the world assembly in this order.
extern OverlayImage* fontImage;
extern OverlayImage* helpImage;
extern OverlayImage* mouseImage;
extern OverlayImage* keysImage;
extern OverlayImage* startImage;
extern OverlayImage* pauseImage;
extern OverlayImage* pauseImage1;
extern OverlayImage* pauseImage2;
extern OverlayImage* pauseImage3;
extern OverlayImage* wonImage;
extern OverlayImage* gameOverImage;

// Deletes the font image and the text program every image shares.
void releaseFontImage();

// The shadow texture as the text program samples it, in a 400-unit square at the lower left
// corner, through fontImage's buffers and program.
void drawShadowMapPreview(GLuint shadowTexture);
