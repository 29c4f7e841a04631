#pragma once
// An RGBA picture in floating point (0..1 per channel, straight alpha) with antialiased shape painting.
#include <functional>
#include <vector>

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color mixColor(const Color& a, const Color& b, float t);
Color shade(const Color& c, float factor);

class Canvas {
public:
    int width = 0;
    int height = 0;
    // Row 0 is the top row of the picture.
    std::vector<Color> pixels;

    Canvas(int w, int h, Color fill = {0, 0, 0, 0});

    Color& at(int x, int y) { return pixels[y * width + x]; }
    const Color& at(int x, int y) const { return pixels[y * width + x]; }
    // Bilinear sample with wrap-around, in pixel units.
    Color sampleWrapped(float x, float y) const;

    // Blends color over the pixel with the given coverage (0..1).
    void blend(int x, int y, const Color& c, float coverage);
    // Paints where the signed distance (pixels, negative inside) is below zero, antialiased over one pixel.
    void paint(float x0, float y0, float x1, float y1, const std::function<float(float, float)>& distance,
               const std::function<Color(float, float)>& color);
    void fillRect(float x0, float y0, float x1, float y1, const Color& c);
    void fillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Color& c);
    void strokeRoundedRect(float x0, float y0, float x1, float y1, float radius, float thickness, const Color& c);
    void fillCircle(float cx, float cy, float radius, const Color& c);
    void strokeCircle(float cx, float cy, float radius, float thickness, const Color& c);
    void drawLine(float x0, float y0, float x1, float y1, float thickness, const Color& c);
    void fillPolygon(const std::vector<float>& xy, const Color& c);
    // Vertical gradient from top colour to bottom colour over the whole canvas.
    void verticalGradient(const Color& top, const Color& bottom);
    // Copies another canvas over this one at (x, y), blended by its alpha.
    void drawCanvas(const Canvas& other, int x, int y);
    // Halves the size by averaging 2x2 blocks (alpha-weighted colour).
    Canvas halved() const;
};

float roundedRectDistance(float px, float py, float x0, float y0, float x1, float y1, float radius);
float segmentDistance(float px, float py, float x0, float y0, float x1, float y1);
