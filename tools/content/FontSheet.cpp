#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include <stb_truetype.h>

#include "Screens.h"

Canvas makeFontSheet(const std::string& monoFontPath, int size)
{
    Canvas sheet(size, size, {0.05f, 0.04f, 0.03f, 0.0f});
    std::ifstream file(monoFontPath, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    stbtt_fontinfo font;
    if (data.empty() || !stbtt_InitFont(&font, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0))) return sheet;

    const int cell = size / 16;
    const float outline = cell * 0.055f;
    // The em is chosen so capitals fill about two thirds of the cell with descenders just inside it, and
    // glyphs are widened to fill the square cell, since the text is drawn with square glyphs side by side.
    int capX0, capY0, capX1, capY1, descX0, descY0, descX1, descY1;
    stbtt_GetCodepointBox(&font, 'H', &capX0, &capY0, &capX1, &capY1);
    stbtt_GetCodepointBox(&font, 'g', &descX0, &descY0, &descX1, &descY1);
    float usable = cell - 2 * outline - 2;
    float scaleY = usable * 0.92f / static_cast<float>(capY1 - descY0);
    int advance, lsb;
    stbtt_GetCodepointHMetrics(&font, 'M', &advance, &lsb);
    float scaleX = usable * 1.0f / static_cast<float>(advance);
    float baseline = outline + 1 + usable * 0.04f + capY1 * scaleY;

    for (int code = 32; code < 127; ++code) {
        int col = code % 16, row = code / 16;
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBox(&font, code, scaleX, scaleY, &x0, &y0, &x1, &y1);
        int gw = x1 - x0, gh = y1 - y0;
        if (gw <= 0 || gh <= 0) continue;
        std::vector<unsigned char> glyph(static_cast<size_t>(gw) * gh);
        stbtt_MakeCodepointBitmap(&font, glyph.data(), gw, gh, gw, scaleX, scaleY, code);
        stbtt_GetCodepointHMetrics(&font, code, &advance, &lsb);
        float penX = (cell - advance * scaleX) * 0.5f;
        int ox = col * cell + static_cast<int>(std::lround(penX)) + x0;
        int oy = row * cell + static_cast<int>(std::lround(baseline)) + y0;
        // Coverage of the glyph in cell-local space, then the outline as a disc dilation of it.
        std::vector<float> coverage(static_cast<size_t>(cell) * cell, 0.0f);
        for (int gy = 0; gy < gh; ++gy)
            for (int gx = 0; gx < gw; ++gx) {
                int cx = ox - col * cell + gx, cy = oy - row * cell + gy;
                if (cx >= 0 && cy >= 0 && cx < cell && cy < cell) coverage[cy * cell + cx] = glyph[gy * gw + gx] / 255.0f;
            }
        int r = static_cast<int>(std::ceil(outline));
        for (int cy = 0; cy < cell; ++cy)
            for (int cx = 0; cx < cell; ++cx) {
                float ring = 0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        int sx = cx + dx, sy = cy + dy;
                        if (sx < 0 || sy < 0 || sx >= cell || sy >= cell) continue;
                        float w = std::clamp(outline + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)), 0.0f, 1.0f);
                        ring = std::max(ring, coverage[sy * cell + sx] * w);
                    }
                int px = col * cell + cx, py = row * cell + cy;
                sheet.blend(px, py, {0.02f, 0.02f, 0.02f, 1.0f}, ring);
                sheet.blend(px, py, {1.0f, 0.96f, 0.86f, 1.0f}, coverage[cy * cell + cx]);
            }
    }
    return sheet;
}
