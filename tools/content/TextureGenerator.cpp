#include "TextureGenerator.h"

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>

#include "ImageFiles.h"
#include "Noise.h"

namespace {

float smoothstep(float e0, float e1, float x)
{
    float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

struct MasonryStyle {
    int rows;               // stone courses per picture height
    int minStones, maxStones;  // stones per course across the picture width
    float mortar;           // joint half-width as a fraction of the course height
    Color base;
    Color mortarColor;
    float tintVariation;
    float roughness;        // surface noise amplitude in the height field
    uint32_t seed;
};

// Courses of stones with random widths per course and random offsets; tiles in both directions.
SurfaceTexture makeMasonry(int size, const MasonryStyle& s)
{
    SurfaceTexture out(size);
    float rowHeight = static_cast<float>(size) / s.rows;
    for (int y = 0; y < size; ++y) {
        int row = static_cast<int>(y / rowHeight);
        float inRow = y - row * rowHeight;
        int stones = s.minStones + static_cast<int>(hashUnit(row, 7, s.seed) * (s.maxStones - s.minStones + 1));
        stones = std::clamp(stones, s.minStones, s.maxStones);
        float width = static_cast<float>(size) / stones;
        float offset = hashUnit(row, 3, s.seed) * width;
        for (int x = 0; x < size; ++x) {
            float sx = std::fmod(x - offset + size, static_cast<float>(size));
            int stone = static_cast<int>(sx / width);
            float inStone = sx - stone * width;
            float edge = std::min({inStone, width - inStone, inRow, rowHeight - inRow});
            float joint = s.mortar * rowHeight;
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float grain = tiledFractal(u * 16, v * 16, 16, 4, s.seed + 11);
            float blotch = tiledFractal(u * 4, v * 4, 4, 3, s.seed + 23);
            float stoneTint = (hashUnit(stone, row, s.seed + 5) - 0.5f) * s.tintVariation;
            float body = smoothstep(joint, joint + rowHeight * 0.12f, edge);
            // Chips along the edges: the noise lowers the bevel in places.
            float chip = tiledFractal(u * 32, v * 32, 32, 2, s.seed + 31);
            body *= smoothstep(0.25f, 0.45f, chip + body * 0.5f);
            float h = 0.15f + 0.7f * body + s.roughness * (grain - 0.5f) + 0.1f * (blotch - 0.5f) * body;
            out.height.at(x, y).r = std::clamp(h, 0.0f, 1.0f);
            float light = 1.0f + stoneTint + 0.35f * (grain - 0.5f) + 0.25f * (blotch - 0.5f);
            Color stoneColor = shade(s.base, light);
            Color mortarColor = shade(s.mortarColor, 0.9f + 0.3f * grain);
            Color c = mixColor(mortarColor, stoneColor, std::clamp(body * 1.4f, 0.0f, 1.0f));
            c.a = 1;
            out.albedo.at(x, y) = c;
        }
    }
    return out;
}

// Rectangle of a swatch in pixels.
void cellRect(int size, AtlasCell cell, int& x0, int& y0, int& x1, int& y1)
{
    int c = size / 4;
    x0 = cell.column * c;
    y0 = cell.row * c;
    x1 = x0 + c;
    y1 = y0 + c;
}

void fillCell(SurfaceTexture& t, AtlasCell cell, const Color& base, float noiseAmount, uint32_t seed)
{
    int x0, y0, x1, y1;
    cellRect(t.albedo.width, cell, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float u = static_cast<float>(x - x0) / (x1 - x0), v = static_cast<float>(y - y0) / (y1 - y0);
            float n = tiledFractal(u * 8, v * 8, 8, 4, seed);
            Color c = shade(base, 1.0f + noiseAmount * (n - 0.5f));
            c.a = 1;
            t.albedo.at(x, y) = c;
            t.height.at(x, y).r = 0.5f + 0.08f * (n - 0.5f);
        }
}

}  // namespace

Canvas normalMapFromHeight(const Canvas& height, float strength)
{
    int w = height.width, h = height.height;
    Canvas out(w, h);
    auto hAt = [&](int x, int y) { return height.at((x + w) % w, (y + h) % h).r; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float dx = (hAt(x + 1, y) - hAt(x - 1, y)) * 0.5f * strength;
            // Rows run downwards; the normal's green axis points up the picture.
            float dyUp = (hAt(x, y - 1) - hAt(x, y + 1)) * 0.5f * strength;
            glm::vec3 n = glm::normalize(glm::vec3(-dx, -dyUp, 1.0f));
            out.at(x, y) = {n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f, 1.0f};
        }
    return out;
}

bool saveSurface(const std::string& folder, const std::string& name, const SurfaceTexture& surface, float strength)
{
    bool ok = writeTga(folder + "/" + name + ".tga", surface.albedo);
    return writeTga(folder + "/" + name + "_normal.tga", normalMapFromHeight(surface.height, strength)) && ok;
}

SurfaceTexture makeFlagstones(int size)
{
    return makeMasonry(size, {4, 2, 4, 0.05f, {0.50f, 0.47f, 0.43f, 1}, {0.22f, 0.21f, 0.20f, 1}, 0.22f, 0.12f, 101});
}

SurfaceTexture makeWallBlocks(int size)
{
    return makeMasonry(size, {8, 3, 4, 0.07f, {0.52f, 0.50f, 0.47f, 1}, {0.26f, 0.25f, 0.23f, 1}, 0.18f, 0.16f, 202});
}

SurfaceTexture makeCeilingSlabs(int size)
{
    return makeMasonry(size, {2, 2, 2, 0.04f, {0.36f, 0.34f, 0.32f, 1}, {0.15f, 0.14f, 0.13f, 1}, 0.10f, 0.10f, 303});
}

SurfaceTexture makeTrimStone(int size)
{
    return makeMasonry(size, {2, 1, 1, 0.03f, {0.58f, 0.55f, 0.50f, 1}, {0.30f, 0.28f, 0.26f, 1}, 0.06f, 0.10f, 404});
}

SurfaceTexture makeStatueStone(int size)
{
    SurfaceTexture out(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float n = tiledFractal(u * 8, v * 8, 8, 5, 505);
            float vein = std::fabs(std::sin((u * 3 + n * 2.5f) * 6.2831853f));
            float veinDark = 1.0f - 0.25f * (1.0f - smoothstep(0.0f, 0.12f, vein));
            float moss = smoothstep(0.62f, 0.75f, tiledFractal(u * 4, v * 4, 4, 3, 506));
            Color c = shade({0.66f, 0.65f, 0.62f, 1}, (0.85f + 0.3f * n) * veinDark);
            c = mixColor(c, {0.40f, 0.43f, 0.36f, 1}, moss * 0.5f);
            c.a = 1;
            out.albedo.at(x, y) = c;
            float crack = 1.0f - smoothstep(0.0f, 0.05f, vein);
            out.height.at(x, y).r = 0.5f + 0.25f * (n - 0.5f) - 0.2f * crack;
        }
    return out;
}

SurfaceTexture makeCowHide(int size)
{
    SurfaceTexture out(size);
    int hideWidth = size * 3 / 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float v = static_cast<float>(y) / size;
            float fur = tiledFractal(static_cast<float>(x) / size * 64, v * 16, 64, 2, 611);
            Color c;
            if (x < hideWidth) {
                float u = static_cast<float>(x) / hideWidth;
                float patch = tiledFractal(u * 6, v * 4, 6, 4, 612);
                float black = smoothstep(0.52f, 0.56f, patch);
                c = mixColor({0.80f, 0.76f, 0.68f, 1}, {0.12f, 0.10f, 0.09f, 1}, black);
                c = shade(c, 0.9f + 0.2f * fur);
            } else if (x < size * 7 / 8) {
                c = shade({0.30f, 0.27f, 0.24f, 1}, 0.9f + 0.2f * fur);
            } else {
                c = shade({0.78f, 0.55f, 0.52f, 1}, 0.95f + 0.1f * fur);
            }
            c.a = 1;
            out.albedo.at(x, y) = c;
            out.height.at(x, y).r = 0.5f + 0.2f * (fur - 0.5f);
        }
    return out;
}

SurfaceTexture makeCombineAtlas(int size, const TextPainter& text)
{
    using namespace combine_cells;
    SurfaceTexture out(size);
    fillCell(out, green, {0.22f, 0.50f, 0.20f, 1}, 0.25f, 701);
    fillCell(out, yellow, {0.85f, 0.70f, 0.15f, 1}, 0.2f, 702);
    fillCell(out, red, {0.70f, 0.16f, 0.12f, 1}, 0.2f, 703);
    fillCell(out, darkMetal, {0.25f, 0.25f, 0.26f, 1}, 0.3f, 704);
    fillCell(out, rim, {0.80f, 0.66f, 0.18f, 1}, 0.2f, 705);
    fillCell(out, glass, {0.30f, 0.42f, 0.50f, 1}, 0.15f, 706);
    fillCell(out, steel, {0.60f, 0.61f, 0.62f, 1}, 0.2f, 707);
    fillCell(out, lamp, {0.95f, 0.92f, 0.75f, 1}, 0.05f, 708);
    fillCell(out, rubber, {0.12f, 0.12f, 0.12f, 1}, 0.2f, 709);
    fillCell(out, decal, {0.22f, 0.50f, 0.20f, 1}, 0.25f, 710);
    fillCell(out, blade, {0.72f, 0.72f, 0.70f, 1}, 0.25f, 711);
    fillCell(out, hazard, {0.85f, 0.70f, 0.15f, 1}, 0.1f, 712);
    int x0, y0, x1, y1;
    // Tyre tread: chevron lugs across the cell.
    cellRect(size, tyre, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float u = static_cast<float>(x - x0) / (x1 - x0), v = static_cast<float>(y - y0) / (y1 - y0);
            float chevron = std::fmod(v * 8 + std::fabs(u - 0.5f) * 2.0f, 1.0f);
            float lug = smoothstep(0.35f, 0.45f, chevron) * (1 - smoothstep(0.85f, 0.95f, chevron));
            out.albedo.at(x, y) = shade({0.13f, 0.13f, 0.13f, 1}, 0.8f + 0.4f * lug);
            out.height.at(x, y).r = 0.2f + 0.6f * lug;
        }
    // Grille: horizontal slots.
    cellRect(size, grille, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float v = static_cast<float>(y - y0) / (y1 - y0);
            float slot = smoothstep(0.3f, 0.4f, std::fabs(std::fmod(v * 10, 1.0f) - 0.5f) * 2);
            out.albedo.at(x, y) = shade({0.20f, 0.20f, 0.21f, 1}, 0.4f + 0.8f * slot);
            out.height.at(x, y).r = 0.3f + 0.5f * slot;
        }
    // Hazard stripes.
    cellRect(size, hazard, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float stripe = std::fmod((x - x0 + y - y0) / 32.0f, 1.0f);
            if (stripe > 0.5f) out.albedo.at(x, y) = {0.12f, 0.12f, 0.12f, 1};
        }
    // Glass: a sky reflection streak.
    cellRect(size, glass, x0, y0, x1, y1);
    out.albedo.drawLine(x0 + 20, y1 - 20, x0 + 70, y0 + 20, 14, {0.55f, 0.65f, 0.72f, 1});
    // Decal: the maker's name on the green side panel.
    cellRect(size, decal, x0, y0, x1, y1);
    TextStyle style;
    style.pixelHeight = (x1 - x0) * 0.16f;
    style.fill = {0.92f, 0.80f, 0.20f, 1};
    style.outline = {0.08f, 0.15f, 0.06f, 1};
    style.outlineWidth = 2;
    text.drawCentered(out.albedo, "VELLMAR", (x0 + x1) * 0.5f, (y0 + y1) * 0.5f + style.pixelHeight * 0.35f, style);
    // Panel seams around every painted cell.
    for (AtlasCell cell : {green, yellow, red, decal}) {
        cellRect(size, cell, x0, y0, x1, y1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                int e = std::min({x - x0, x1 - 1 - x, y - y0, y1 - 1 - y});
                if (e < 3) out.height.at(x, y).r = 0.3f;
            }
    }
    return out;
}

SurfaceTexture makeCratePanel(int size)
{
    SurfaceTexture out(size);
    float s = static_cast<float>(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = x / s, v = y / s;
            float n = tiledFractal(u * 8, v * 8, 8, 4, 801);
            out.albedo.at(x, y) = shade({0.55f, 0.56f, 0.58f, 1}, 0.85f + 0.3f * n);
            out.height.at(x, y).r = 0.6f + 0.05f * n;
        }
    // Recessed inner panel, raised frame.
    float m = s * 0.12f;
    Canvas panelMask(size, size);
    panelMask.fillRoundedRect(m, m, s - m, s - m, s * 0.06f, {1, 1, 1, 1});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float k = panelMask.at(x, y).a;
            out.height.at(x, y).r -= 0.3f * k;
            out.albedo.at(x, y) = mixColor(out.albedo.at(x, y), shade(out.albedo.at(x, y), 0.75f), k);
        }
    // Orange corner brackets and a round emblem with a chevron.
    Color orange{0.90f, 0.45f, 0.12f, 1};
    for (int cy = 0; cy < 2; ++cy)
        for (int cx = 0; cx < 2; ++cx) {
            float x0 = cx ? s - m * 1.9f : m * 0.3f, y0 = cy ? s - m * 1.9f : m * 0.3f;
            out.albedo.fillRoundedRect(x0, y0, x0 + m * 1.6f, y0 + m * 1.6f, m * 0.3f, orange);
            out.albedo.fillCircle(x0 + m * 0.8f, y0 + m * 0.8f, m * 0.18f, {0.3f, 0.3f, 0.3f, 1});
        }
    out.albedo.fillCircle(s * 0.5f, s * 0.5f, s * 0.2f, {0.35f, 0.36f, 0.38f, 1});
    out.albedo.strokeCircle(s * 0.5f, s * 0.5f, s * 0.2f, s * 0.025f, orange);
    out.albedo.fillPolygon({s * 0.38f, s * 0.40f, s * 0.5f, s * 0.62f, s * 0.62f, s * 0.40f, s * 0.55f, s * 0.40f,
                            s * 0.5f, s * 0.50f, s * 0.45f, s * 0.40f},
                           orange);
    Canvas emblem(size, size);
    emblem.fillCircle(s * 0.5f, s * 0.5f, s * 0.21f, {1, 1, 1, 1});
    for (int cy = 0; cy < 2; ++cy)
        for (int cx = 0; cx < 2; ++cx) {
            float x0 = cx ? s - m * 1.9f : m * 0.3f, y0 = cy ? s - m * 1.9f : m * 0.3f;
            emblem.fillRoundedRect(x0, y0, x0 + m * 1.6f, y0 + m * 1.6f, m * 0.3f, {1, 1, 1, 1});
        }
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) out.height.at(x, y).r += 0.25f * emblem.at(x, y).a;
    return out;
}
