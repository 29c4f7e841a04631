#include "TextPainter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include <stb_truetype.h>

namespace {

const stbtt_fontinfo* fontOf(const std::vector<unsigned char>& info)
{
    return reinterpret_cast<const stbtt_fontinfo*>(info.data());
}

// Grey-scale dilation with a disc, for outlines.
std::vector<float> dilate(const std::vector<float>& m, int w, int h, float radius)
{
    int r = static_cast<int>(std::ceil(radius));
    std::vector<float> out(m.size(), 0.0f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float best = 0;
            for (int dy = -r; dy <= r; ++dy) {
                int yy = y + dy;
                if (yy < 0 || yy >= h) continue;
                for (int dx = -r; dx <= r; ++dx) {
                    int xx = x + dx;
                    if (xx < 0 || xx >= w) continue;
                    float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    float weight = std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
                    best = std::max(best, m[yy * w + xx] * weight);
                }
            }
            out[y * w + x] = best;
        }
    return out;
}

}  // namespace

TextPainter::TextPainter(const std::string& fontPath) : info(sizeof(stbtt_fontinfo))
{
    std::ifstream file(fontPath, std::ios::binary);
    fontData.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (fontData.empty()) return;
    auto* font = reinterpret_cast<stbtt_fontinfo*>(info.data());
    ok = stbtt_InitFont(font, fontData.data(), stbtt_GetFontOffsetForIndex(fontData.data(), 0)) != 0;
}

float TextPainter::measure(const std::string& text, float pixelHeight) const
{
    if (!ok) return 0;
    const stbtt_fontinfo* font = fontOf(info);
    float scale = stbtt_ScaleForPixelHeight(font, pixelHeight);
    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int advance, lsb;
        stbtt_GetCodepointHMetrics(font, static_cast<unsigned char>(text[i]), &advance, &lsb);
        width += advance * scale;
        if (i + 1 < text.size())
            width += scale * stbtt_GetCodepointKernAdvance(font, static_cast<unsigned char>(text[i]),
                                                           static_cast<unsigned char>(text[i + 1]));
    }
    return width;
}

float TextPainter::capHeight(float pixelHeight) const
{
    if (!ok) return 0;
    const stbtt_fontinfo* font = fontOf(info);
    int x0, y0, x1, y1;
    stbtt_GetCodepointBox(font, 'H', &x0, &y0, &x1, &y1);
    return y1 * stbtt_ScaleForPixelHeight(font, pixelHeight);
}

std::vector<float> TextPainter::mask(const std::string& text, float x, float baseline, float pixelHeight, int width,
                                     int height) const
{
    std::vector<float> m(static_cast<size_t>(width) * height, 0.0f);
    if (!ok) return m;
    const stbtt_fontinfo* font = fontOf(info);
    float scale = stbtt_ScaleForPixelHeight(font, pixelHeight);
    float pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        int c = static_cast<unsigned char>(text[i]);
        int advance, lsb;
        stbtt_GetCodepointHMetrics(font, c, &advance, &lsb);
        float ipen = std::floor(pen);
        float shiftX = pen - ipen;
        int bx0, by0, bx1, by1;
        stbtt_GetCodepointBitmapBoxSubpixel(font, c, scale, scale, shiftX, 0, &bx0, &by0, &bx1, &by1);
        int gw = bx1 - bx0, gh = by1 - by0;
        if (gw > 0 && gh > 0) {
            std::vector<unsigned char> glyph(static_cast<size_t>(gw) * gh);
            stbtt_MakeCodepointBitmapSubpixel(font, glyph.data(), gw, gh, gw, scale, scale, shiftX, 0, c);
            int ox = static_cast<int>(ipen) + bx0;
            int oy = static_cast<int>(std::lround(baseline)) + by0;
            for (int gy = 0; gy < gh; ++gy)
                for (int gx = 0; gx < gw; ++gx) {
                    int px = ox + gx, py = oy + gy;
                    if (px < 0 || py < 0 || px >= width || py >= height) continue;
                    float& dst = m[py * width + px];
                    dst = std::min(1.0f, dst + glyph[gy * gw + gx] / 255.0f);
                }
        }
        pen += advance * scale;
        if (i + 1 < text.size())
            pen += scale * stbtt_GetCodepointKernAdvance(font, c, static_cast<unsigned char>(text[i + 1]));
    }
    return m;
}

void TextPainter::draw(Canvas& canvas, const std::string& text, float x, float baseline, const TextStyle& style) const
{
    if (!ok) return;
    // Work in a local window around the text to keep dilation cheap.
    float pad = style.outlineWidth + style.shadowOffset + 4;
    int left = static_cast<int>(std::floor(x - pad));
    int top = static_cast<int>(std::floor(baseline - style.pixelHeight * 1.1f - pad));
    int w = static_cast<int>(std::ceil(measure(text, style.pixelHeight) + 2 * pad)) + 2;
    int h = static_cast<int>(std::ceil(style.pixelHeight * 1.5f + 2 * pad)) + 2;
    std::vector<float> m = mask(text, x - left, baseline - top, style.pixelHeight, w, h);
    std::vector<float> outline = style.outlineWidth > 0 ? dilate(m, w, h, style.outlineWidth) : m;
    int shift = static_cast<int>(std::lround(style.shadowOffset));
    if (shift > 0) {
        Color shadow = style.outline;
        shadow.a *= 0.6f;
        for (int y = 0; y < h; ++y)
            for (int xx = 0; xx < w; ++xx) canvas.blend(left + xx + shift, top + y + shift, shadow, outline[y * w + xx]);
    }
    if (style.outlineWidth > 0)
        for (int y = 0; y < h; ++y)
            for (int xx = 0; xx < w; ++xx) canvas.blend(left + xx, top + y, style.outline, outline[y * w + xx]);
    for (int y = 0; y < h; ++y)
        for (int xx = 0; xx < w; ++xx) canvas.blend(left + xx, top + y, style.fill, m[y * w + xx]);
}

void TextPainter::drawCentered(Canvas& canvas, const std::string& text, float centerX, float baseline,
                               const TextStyle& style) const
{
    draw(canvas, text, centerX - measure(text, style.pixelHeight) * 0.5f, baseline, style);
}
