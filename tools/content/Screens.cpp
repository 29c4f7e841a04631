#include "Screens.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace {

const int screenSize = 1024;
// First canvas row that shows: the top quarter of a full-screen picture lies above the window.
const float visibleTop = screenSize * 0.25f;

const Color ink{0.02f, 0.02f, 0.03f, 1};
const Color paper{0.97f, 0.95f, 0.88f, 1};
const Color gold{0.98f, 0.80f, 0.38f, 1};

TextStyle style(float height, Color fill, Color outline, float outlineWidth, float shadow = 0)
{
    TextStyle s;
    s.pixelHeight = height;
    s.fill = fill;
    s.outline = outline;
    s.outlineWidth = outlineWidth;
    s.shadowOffset = shadow;
    return s;
}

// Soft round light, added to the picture.
void glow(Canvas& c, float cx, float cy, float radius, const Color& color, float strength)
{
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float d = std::hypot(x - cx, y - cy) / radius;
            float k = strength * std::exp(-d * d * 2.5f);
            Color& p = c.at(x, y);
            p.r = std::min(1.0f, p.r + color.r * k);
            p.g = std::min(1.0f, p.g + color.g * k);
            p.b = std::min(1.0f, p.b + color.b * k);
        }
}

// Film grain and darkening towards the window's edges, so flat backgrounds do not band.
void grainAndVignette(Canvas& c, float strength, uint32_t seed)
{
    float cx = c.width * 0.5f, cy = visibleTop + (c.height - visibleTop) * 0.5f;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float d = std::hypot((x - cx) / c.width, (y - cy) / (c.height * 0.75f));
            float v = 1.0f - strength * d * d;
            float n = (hashUnit(x, y, seed) - 0.5f) * 0.03f;
            Color& p = c.at(x, y);
            p = {std::clamp(p.r * v + n, 0.0f, 1.0f), std::clamp(p.g * v + n, 0.0f, 1.0f),
                 std::clamp(p.b * v + n, 0.0f, 1.0f), p.a};
        }
}

// A robed statue seen from the front, as a silhouette with a faint rim, standing on its plinth.
void statueSilhouette(Canvas& c, float cx, float baseRow, float height, const Color& body, const Color& rim)
{
    float s = height / 3.8f;  // canvas pixels per model unit
    // The right half of the outline from the plinth up to the crown; the left half mirrors it.
    const float half[][2] = {{0.5f, -0.3f}, {0.5f, 0.0f},   {0.38f, 0.0f},  {0.33f, 0.5f},  {0.29f, 1.2f},
                             {0.27f, 1.7f}, {0.33f, 2.0f},  {0.37f, 2.3f},  {0.35f, 2.6f},  {0.30f, 2.76f},
                             {0.20f, 2.85f}, {0.08f, 2.92f}, {0.075f, 3.06f}, {0.12f, 3.12f}, {0.145f, 3.22f},
                             {0.145f, 3.32f}, {0.125f, 3.41f}, {0.08f, 3.47f}, {0.0f, 3.5f}};
    const size_t n = sizeof half / sizeof half[0];
    std::vector<float> outline;
    for (size_t i = 0; i < n; ++i) {
        outline.push_back(cx + half[i][0] * s);
        outline.push_back(baseRow - half[i][1] * s);
    }
    for (size_t i = n - 1; i-- > 0;) {
        outline.push_back(cx - half[i][0] * s);
        outline.push_back(baseRow - half[i][1] * s);
    }
    c.fillPolygon(outline, rim);
    for (size_t i = 0; i < outline.size(); i += 2) {
        outline[i] = cx + (outline[i] - cx) * 0.96f;
        outline[i + 1] = baseRow + (outline[i + 1] - baseRow) * 0.99f;
    }
    c.fillPolygon(outline, body);
}

Canvas hallBackground(uint32_t seed)
{
    Canvas c(screenSize, screenSize);
    c.verticalGradient({0.05f, 0.06f, 0.08f, 1}, {0.13f, 0.12f, 0.11f, 1});
    // Floor flagstones in perspective towards a vanishing point.
    float vx = 512, vy = 620;
    for (int i = -12; i <= 12; ++i) c.drawLine(vx, vy, vx + i * 130.0f, 1024, 2, {0.20f, 0.19f, 0.17f, 1});
    for (int k = 1; k < 9; ++k) {
        float t = std::pow(k / 9.0f, 2.0f);
        float y = vy + (1024 - vy) * t;
        c.drawLine(0, y, 1024, y, 1.5f, {0.20f, 0.19f, 0.17f, 1});
    }
    c.fillRect(0, vy - 2, 1024, vy, {0.16f, 0.15f, 0.14f, 1});
    glow(c, 512, 760, 420, {0.35f, 0.30f, 0.22f, 1}, 0.5f);
    grainAndVignette(c, 1.2f, seed);
    return c;
}

void keyCap(Canvas& c, const TextPainter& font, const std::string& label, float x, float y, float w, float h,
            float textHeight)
{
    c.fillRoundedRect(x + 2, y + 4, x + w + 2, y + h + 4, h * 0.2f, {0, 0, 0, 0.5f});
    c.fillRoundedRect(x, y, x + w, y + h, h * 0.2f, {0.86f, 0.84f, 0.78f, 1});
    c.fillRoundedRect(x + h * 0.1f, y + h * 0.08f, x + w - h * 0.1f, y + h * 0.8f, h * 0.15f, {0.96f, 0.94f, 0.88f, 1});
    c.strokeRoundedRect(x, y, x + w, y + h, h * 0.2f, 2.5f, ink);
    float capHeight = font.capHeight(textHeight);
    font.drawCentered(c, label, x + w * 0.5f, y + h * 0.44f + capHeight * 0.5f, style(textHeight, ink, ink, 0));
}

}  // namespace

float screenRow(int size, float fy)
{
    return size * (1.0f - 0.75f * (1.0f - fy));
}

float screenColumn(int size, float fx)
{
    return size * fx;
}

Canvas makeStartScreen(const Fonts& fonts)
{
    Canvas c = hallBackground(901);
    statueSilhouette(c, 890, 930, 380, {0.10f, 0.10f, 0.11f, 1}, {0.45f, 0.42f, 0.38f, 1});
    statueSilhouette(c, 150, 860, 250, {0.08f, 0.08f, 0.09f, 1}, {0.30f, 0.28f, 0.26f, 1});
    fonts.sans.drawCentered(c, "Vellmar", 512, 430, style(150, gold, ink, 5, 6));
    fonts.sans.drawCentered(c, "Keep them in sight. Find the way out.", 512, 490, style(32, paper, ink, 2));
    c.fillRoundedRect(262, 530, 762, 605, 18, {0.08f, 0.08f, 0.10f, 0.85f});
    c.strokeRoundedRect(262, 530, 762, 605, 18, 3, gold);
    fonts.sans.drawCentered(c, "Press Enter to start", 512, 583, style(46, paper, ink, 3));
    const char* keys[][2] = {{"W A S D", "move"},   {"Mouse", "look around"}, {"Space", "jump"},
                             {"F", "flashlight"},   {"P", "pause"},           {"F1", "all keys"},
                             {"R", "walk / fly"},   {"Esc", "quit"}};
    for (int i = 0; i < 8; ++i) {
        float x = i < 4 ? 250 : 560, y = 650 + (i % 4) * 62;
        keyCap(c, fonts.sans, keys[i][0], x, y, 120, 48, 24);
        fonts.sans.draw(c, keys[i][1], x + 136, y + 35, style(28, paper, ink, 2));
    }
    fonts.sans.drawCentered(c, "Statues move only while nobody looks at them.", 512, 955, style(26, paper, ink, 2));
    fonts.sans.drawCentered(c, "The pit at the end of the hall is the only way out.", 512, 992, style(26, paper, ink, 2));
    return c;
}

Canvas makePauseScreen(const Fonts& fonts, int highlighted)
{
    Canvas c = hallBackground(902);
    for (auto& p : c.pixels) p = shade(p, 0.6f);
    fonts.sans.drawCentered(c, "Paused", 512, 375, style(96, gold, ink, 4, 4));
    fonts.sans.drawCentered(c, "Choose a window size", 512, 425, style(30, paper, ink, 2));
    // The entries fill exactly the zones in which the pause menu reacts to the mouse.
    const float zones[3][2] = {{1.0f / 4, 5.0f / 12}, {1.0f / 2, 8.0f / 12}, {3.0f / 4, 11.0f / 12}};
    const char* labels[3] = {"1024 x 768", "1280 x 720", "1920 x 1080"};
    float x0 = screenColumn(screenSize, 0.25f), x1 = screenColumn(screenSize, 0.75f);
    for (int i = 0; i < 3; ++i) {
        float y0 = screenRow(screenSize, zones[i][0]), y1 = screenRow(screenSize, zones[i][1]);
        bool on = highlighted == i + 1;
        Color fill = on ? Color{0.96f, 0.72f, 0.26f, 1} : Color{0.16f, 0.18f, 0.22f, 1};
        Color border = on ? Color{1, 1, 1, 1} : Color{0.55f, 0.55f, 0.58f, 1};
        c.fillRoundedRect(x0, y0, x1, y1, 16, fill);
        c.strokeRoundedRect(x0 + 3, y0 + 3, x1 - 3, y1 - 3, 13, on ? 6 : 3, border);
        float h = 52;
        float baseline = (y0 + y1) * 0.5f + fonts.sans.capHeight(h) * 0.5f;
        if (on)
            fonts.sans.drawCentered(c, labels[i], 512, baseline, style(h, ink, paper, 2));
        else
            fonts.sans.drawCentered(c, labels[i], 512, baseline, style(h, paper, ink, 3));
        if (on) {
            c.fillPolygon({x0 - 60, y0 + 34, x0 - 20, (y0 + y1) * 0.5f, x0 - 60, y1 - 34}, gold);
            c.fillPolygon({x1 + 60, y0 + 34, x1 + 20, (y0 + y1) * 0.5f, x1 + 60, y1 - 34}, gold);
        }
    }
    fonts.sans.drawCentered(c, "P: back to the game      Esc: quit", 512, 1005, style(28, paper, ink, 2));
    return c;
}

Canvas makeWonScreen(const Fonts& fonts)
{
    Canvas c(screenSize, screenSize);
    c.verticalGradient({1.0f, 0.96f, 0.82f, 1}, {0.93f, 0.70f, 0.42f, 1});
    // Rays from the light below: the way out.
    for (int i = 0; i < 18; ++i) {
        float a = -3.1f + i * 0.36f;
        float ex = 512 + std::cos(a) * 1400, ey = 1150 + std::sin(a) * 1400;
        c.fillPolygon({512, 1150, ex - 60, ey, ex + 60, ey}, {1.0f, 0.98f, 0.9f, 0.25f});
    }
    glow(c, 512, 1100, 500, {1.0f, 0.95f, 0.8f, 1}, 0.6f);
    grainAndVignette(c, 0.3f, 903);
    Color brown{0.35f, 0.16f, 0.05f, 1};
    fonts.sans.drawCentered(c, "You escaped!", 512, 470, style(120, brown, paper, 5, 5));
    fonts.sans.drawCentered(c, "You fell out of the world,", 512, 570, style(44, brown, paper, 3));
    fonts.sans.drawCentered(c, "and the statues stay behind in the dark.", 512, 625, style(44, brown, paper, 3));
    fonts.sans.drawCentered(c, "Esc: quit", 512, 960, style(34, brown, paper, 3));
    return c;
}

Canvas makeGameOverScreen(const Fonts& fonts)
{
    Canvas c(screenSize, screenSize);
    c.verticalGradient({0.86f, 0.82f, 0.80f, 1}, {0.62f, 0.30f, 0.28f, 1});
    glow(c, 512, 600, 450, {1.0f, 0.95f, 0.9f, 1}, 0.35f);
    statueSilhouette(c, 512, 1060, 760, {0.30f, 0.28f, 0.28f, 0.55f}, {0.20f, 0.16f, 0.16f, 0.55f});
    grainAndVignette(c, 0.6f, 904);
    Color red{0.55f, 0.04f, 0.03f, 1};
    fonts.sans.drawCentered(c, "GAME OVER", 512, 470, style(130, red, paper, 5, 5));
    fonts.sans.drawCentered(c, "A statue caught you.", 512, 570, style(48, ink, paper, 3));
    fonts.sans.drawCentered(c, "Never take your eyes off them.", 512, 630, style(40, ink, paper, 3));
    fonts.sans.drawCentered(c, "Esc: quit", 512, 960, style(34, ink, paper, 3));
    return c;
}

Canvas makeKeyList(const Fonts& fonts)
{
    const int size = 512;
    Canvas c(size, size);
    c.fillRoundedRect(4, 4, size - 4, size - 4, 22, {0.05f, 0.05f, 0.07f, 0.78f});
    c.strokeRoundedRect(6, 6, size - 6, size - 6, 20, 3, {0.85f, 0.70f, 0.35f, 0.9f});
    fonts.sans.drawCentered(c, "Keys", size * 0.5f, 48, style(36, gold, ink, 2));
    const char* keys[][2] = {
        {"W A S D", "move"},    {"Mouse", "look"},       {"Space", "jump"},      {"Shift", "down (fly)"},
        {"R", "walk / fly"},    {"F", "flashlight"},     {"P", "pause"},         {"Enter", "start"},
        {"Esc", "quit"},        {"F1", "this help"},     {"F2", "statistics"},   {"F3", "wireframe"},
        {"F6", "shadows"},      {"F8", "culling"},       {"C", "shadow map"},    {"G / H", "show / hide"},
        {"N", "reset window"},  {"Arrows", "drive vehicle"}, {"M", "stop vehicle"}, {"I", "nudge vehicle"}};
    for (int i = 0; i < 20; ++i) {
        float x = i < 10 ? 16 : 262, y = 66 + (i % 10) * 43.5f;
        keyCap(c, fonts.sans, keys[i][0], x, y, 92, 36, 18);
        fonts.sans.draw(c, keys[i][1], x + 100, y + 26, style(19, paper, ink, 1.5f));
    }
    return c;
}

Canvas makeMouseHelp(const Fonts& fonts)
{
    const int size = 256;
    Canvas c(size, size);
    // Curved arrows on both sides of the mouse: turning left and right.
    Color arrow{0.98f, 0.80f, 0.38f, 1};
    for (float side : {-1.0f, 1.0f}) {
        for (int pass = 0; pass < 2; ++pass) {
            float width = pass == 0 ? 15.0f : 8.0f;
            const Color& col = pass == 0 ? ink : arrow;
            for (int i = 0; i < 12; ++i) {
                float a0 = -0.55f + i * 0.1f, a1 = a0 + 0.1f;
                c.drawLine(128 + side * 95 * std::cos(a0), 115 + 95 * std::sin(a0), 128 + side * 95 * std::cos(a1),
                           115 + 95 * std::sin(a1), width, col);
            }
        }
        float tipX = 128 + side * 95 * std::cos(-0.6f), tipY = 115 + 95 * std::sin(-0.6f) - 8;
        c.fillPolygon({tipX - 18, tipY + 10, tipX + 18, tipY + 10, tipX, tipY - 16}, ink);
        c.fillPolygon({tipX - 12, tipY + 7, tipX + 12, tipY + 7, tipX, tipY - 10}, arrow);
    }
    Canvas mouse(size, size);
    mouse.fillRoundedRect(86, 40, 170, 190, 40, ink);
    mouse.fillRoundedRect(91, 45, 165, 185, 36, {0.88f, 0.87f, 0.84f, 1});
    mouse.drawLine(128, 45, 128, 100, 4, ink);
    mouse.drawLine(91, 100, 165, 100, 4, ink);
    mouse.fillRoundedRect(122, 60, 134, 86, 5, {0.35f, 0.35f, 0.38f, 1});
    mouse.drawLine(128, 40, 128, 18, 5, ink);
    c.drawCanvas(mouse, 0, 0);
    fonts.sans.drawCentered(c, "Mouse: look", 128, 236, style(30, paper, ink, 3));
    return c;
}

Canvas makeMoveKeysHelp(const Fonts& fonts)
{
    const int size = 256;
    Canvas c(size, size);
    keyCap(c, fonts.sans, "W", 98, 20, 60, 56, 34);
    keyCap(c, fonts.sans, "A", 30, 84, 60, 56, 34);
    keyCap(c, fonts.sans, "S", 98, 84, 60, 56, 34);
    keyCap(c, fonts.sans, "D", 166, 84, 60, 56, 34);
    keyCap(c, fonts.sans, "Space", 30, 152, 196, 44, 24);
    fonts.sans.drawCentered(c, "move, jump", 128, 240, style(30, paper, ink, 3));
    return c;
}

Canvas makeIcon(int size)
{
    const float k = size / 256.0f;  // icon pixels per pixel of the 256 x 256 design
    Canvas art(size, size);
    art.verticalGradient({0.05f, 0.06f, 0.08f, 1}, {0.16f, 0.14f, 0.12f, 1});
    glow(art, 128 * k, 170 * k, 120 * k, {0.60f, 0.50f, 0.32f, 1}, 1.0f);
    // A rim thick enough to read at 16 pixels.
    for (float dx : {-3.0f, 3.0f})
        statueSilhouette(art, (128 + dx) * k, 232 * k, 196 * k, gold, gold);
    statueSilhouette(art, 128 * k, 232 * k, 196 * k, {0.10f, 0.10f, 0.11f, 1}, gold);
    // The tile's corners stay transparent.
    Canvas c(size, size);
    const float edge = 8 * k, radius = 44 * k;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float d = roundedRectDistance(x + 0.5f, y + 0.5f, edge, edge, size - edge, size - edge, radius);
            c.at(x, y) = art.at(x, y);
            c.at(x, y).a = std::clamp(0.5f - d, 0.0f, 1.0f);
        }
    c.strokeRoundedRect(edge, edge, size - edge, size - edge, radius, std::max(1.0f, 6 * k), gold);
    return c;
}
