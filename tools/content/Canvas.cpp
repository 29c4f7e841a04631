#include "Canvas.h"

#include <algorithm>
#include <cmath>

Color mixColor(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color shade(const Color& c, float factor)
{
    return {std::min(1.0f, c.r * factor), std::min(1.0f, c.g * factor), std::min(1.0f, c.b * factor), c.a};
}

Canvas::Canvas(int w, int h, Color fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

Color Canvas::sampleWrapped(float x, float y) const
{
    float fx = std::floor(x), fy = std::floor(y);
    float tx = x - fx, ty = y - fy;
    auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
    int x0 = wrap(static_cast<int>(fx), width), x1 = wrap(x0 + 1, width);
    int y0 = wrap(static_cast<int>(fy), height), y1 = wrap(y0 + 1, height);
    Color top = mixColor(at(x0, y0), at(x1, y0), tx);
    Color bottom = mixColor(at(x0, y1), at(x1, y1), tx);
    return mixColor(top, bottom, ty);
}

void Canvas::blend(int x, int y, const Color& c, float coverage)
{
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0) return;
    Color& d = at(x, y);
    float sa = std::clamp(c.a * coverage, 0.0f, 1.0f);
    float oa = sa + d.a * (1 - sa);
    if (oa <= 0) {
        d = {0, 0, 0, 0};
        return;
    }
    d.r = (c.r * sa + d.r * d.a * (1 - sa)) / oa;
    d.g = (c.g * sa + d.g * d.a * (1 - sa)) / oa;
    d.b = (c.b * sa + d.b * d.a * (1 - sa)) / oa;
    d.a = oa;
}

void Canvas::paint(float x0, float y0, float x1, float y1, const std::function<float(float, float)>& distance,
                   const std::function<Color(float, float)>& color)
{
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    int ix1 = std::min(width - 1, static_cast<int>(std::ceil(x1)) + 1);
    int iy1 = std::min(height - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y <= iy1; ++y)
        for (int x = ix0; x <= ix1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float coverage = std::clamp(0.5f - distance(px, py), 0.0f, 1.0f);
            if (coverage > 0) blend(x, y, color(px, py), coverage);
        }
}

float roundedRectDistance(float px, float py, float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    float hx = (x1 - x0) * 0.5f - radius, hy = (y1 - y0) * 0.5f - radius;
    float dx = std::fabs(px - cx) - hx, dy = std::fabs(py - cy) - hy;
    float outside = std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f));
    float inside = std::min(std::max(dx, dy), 0.0f);
    return outside + inside - radius;
}

float segmentDistance(float px, float py, float x0, float y0, float x1, float y1)
{
    float vx = x1 - x0, vy = y1 - y0;
    float len2 = vx * vx + vy * vy;
    float t = len2 > 0 ? std::clamp(((px - x0) * vx + (py - y0) * vy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - (x0 + t * vx), py - (y0 + t * vy));
}

void Canvas::fillRect(float x0, float y0, float x1, float y1, const Color& c)
{
    fillRoundedRect(x0, y0, x1, y1, 0.0f, c);
}

void Canvas::fillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Color& c)
{
    paint(x0, y0, x1, y1, [=](float px, float py) { return roundedRectDistance(px, py, x0, y0, x1, y1, radius); },
          [&](float, float) { return c; });
}

void Canvas::strokeRoundedRect(float x0, float y0, float x1, float y1, float radius, float thickness, const Color& c)
{
    float h = thickness * 0.5f;
    paint(x0 - h, y0 - h, x1 + h, y1 + h,
          [=](float px, float py) { return std::fabs(roundedRectDistance(px, py, x0, y0, x1, y1, radius)) - h; },
          [&](float, float) { return c; });
}

void Canvas::fillCircle(float cx, float cy, float radius, const Color& c)
{
    paint(cx - radius, cy - radius, cx + radius, cy + radius,
          [=](float px, float py) { return std::hypot(px - cx, py - cy) - radius; }, [&](float, float) { return c; });
}

void Canvas::strokeCircle(float cx, float cy, float radius, float thickness, const Color& c)
{
    float r = radius + thickness;
    paint(cx - r, cy - r, cx + r, cy + r,
          [=](float px, float py) { return std::fabs(std::hypot(px - cx, py - cy) - radius) - thickness * 0.5f; },
          [&](float, float) { return c; });
}

void Canvas::drawLine(float x0, float y0, float x1, float y1, float thickness, const Color& c)
{
    float h = thickness * 0.5f;
    paint(std::min(x0, x1) - h, std::min(y0, y1) - h, std::max(x0, x1) + h, std::max(y0, y1) + h,
          [=](float px, float py) { return segmentDistance(px, py, x0, y0, x1, y1) - h; },
          [&](float, float) { return c; });
}

void Canvas::fillPolygon(const std::vector<float>& xy, const Color& c)
{
    size_t n = xy.size() / 2;
    if (n < 3) return;
    float minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
    for (size_t i = 0; i < n; ++i) {
        minX = std::min(minX, xy[2 * i]);
        maxX = std::max(maxX, xy[2 * i]);
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    auto distance = [&](float px, float py) {
        float best = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            best = std::min(best, segmentDistance(px, py, xi, yi, xj, yj));
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside ? -best : best;
    };
    paint(minX, minY, maxX, maxY, distance, [&](float, float) { return c; });
}

void Canvas::verticalGradient(const Color& top, const Color& bottom)
{
    for (int y = 0; y < height; ++y) {
        Color c = mixColor(top, bottom, static_cast<float>(y) / std::max(1, height - 1));
        for (int x = 0; x < width; ++x) at(x, y) = c;
    }
}

void Canvas::drawCanvas(const Canvas& other, int x, int y)
{
    for (int j = 0; j < other.height; ++j)
        for (int i = 0; i < other.width; ++i) blend(x + i, y + j, other.at(i, j), 1.0f);
}

Canvas Canvas::halved() const
{
    int w = std::max(1, width / 2), h = std::max(1, height / 2);
    Canvas out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            int count = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    int sx = std::min(width - 1, 2 * x + dx), sy = std::min(height - 1, 2 * y + dy);
                    const Color& c = at(sx, sy);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                    ++count;
                }
            Color& o = out.at(x, y);
            o.a = a / count;
            if (a > 0) o = {r / a, g / a, b / a, a / count};
        }
    return out;
}
