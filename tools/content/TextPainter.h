#pragma once
// Draws text from a TrueType font into a canvas: light glyphs with a dark outline and a soft drop shadow.
#include <string>
#include <vector>

#include "Canvas.h"

struct TextStyle {
    float pixelHeight = 32;
    Color fill{1, 1, 1, 1};
    Color outline{0, 0, 0, 1};
    float outlineWidth = 0;
    float shadowOffset = 0;
};

class TextPainter {
public:
    explicit TextPainter(const std::string& fontPath);
    bool loaded() const { return ok; }

    float measure(const std::string& text, float pixelHeight) const;
    // Ascent of capital letters above the baseline, in pixels.
    float capHeight(float pixelHeight) const;
    // x is the left edge of the text, baseline the y of the baseline (canvas rows, top-down).
    void draw(Canvas& canvas, const std::string& text, float x, float baseline, const TextStyle& style) const;
    void drawCentered(Canvas& canvas, const std::string& text, float centerX, float baseline,
                      const TextStyle& style) const;
    // Coverage mask (0..1) of the text, width x height, drawn at the given pen position.
    std::vector<float> mask(const std::string& text, float x, float baseline, float pixelHeight, int width,
                            int height) const;

private:
    std::vector<unsigned char> fontData;
    std::vector<unsigned char> info;
    bool ok = false;
};
