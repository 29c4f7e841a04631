#include <algorithm>
#include <cmath>

#include "Models.h"

namespace {

// Texture regions of the hide picture: patched hide on the left three quarters, horn and hoof grey,
// then the pink of the muzzle and udder.
const UvRect hide{0.0f, 0.0f, 0.75f, 1.0f};
const UvRect horn{0.76f, 0.0f, 0.865f, 1.0f};
const UvRect pink{0.885f, 0.0f, 0.99f, 1.0f};

// Key sections of a tube along a path, refined by Catmull-Rom interpolation into `rings` sections.
std::vector<Section> smoothPath(const std::vector<Section>& keys, int rings)
{
    std::vector<Section> out;
    size_t n = keys.size();
    for (int i = 0; i <= rings; ++i) {
        float t = static_cast<float>(i) / rings * (n - 1);
        size_t k = std::min(static_cast<size_t>(t), n - 2);
        float f = t - k;
        const Section& p0 = keys[k > 0 ? k - 1 : 0];
        const Section& p1 = keys[k];
        const Section& p2 = keys[k + 1];
        const Section& p3 = keys[std::min(k + 2, n - 1)];
        auto cr = [f](float a, float b, float c, float d) {
            return 0.5f * (2 * b + (-a + c) * f + (2 * a - 5 * b + 4 * c - d) * f * f + (-a + 3 * b - 3 * c + d) * f * f * f);
        };
        Section s;
        s.center = {cr(p0.center.x, p1.center.x, p2.center.x, p3.center.x),
                    cr(p0.center.y, p1.center.y, p2.center.y, p3.center.y),
                    cr(p0.center.z, p1.center.z, p2.center.z, p3.center.z)};
        s.radiusX = std::max(0.0f, cr(p0.radiusX, p1.radiusX, p2.radiusX, p3.radiusX));
        s.radiusY = std::max(0.0f, cr(p0.radiusY, p1.radiusY, p2.radiusY, p3.radiusY));
        if (i == 0) s = keys.front();
        if (i == rings) s = keys.back();
        out.push_back(s);
    }
    return out;
}

}  // namespace

MeshPart buildCow(bool high)
{
    MeshPart part;
    part.name = high ? "giantCowHigh" : "giantCowLow";
    part.material = "cowHide";
    int around = high ? 32 : 8;
    int bodyRings = high ? 34 : 7;
    int limbAround = high ? 14 : 4;
    int limbRings = high ? 10 : 2;

    // Body along +x; radiusX is vertical, radiusY sideways.
    std::vector<Section> body = {
        {{-2.78f, 0.48f, 0}, 0.0f, 0.0f},   {{-2.70f, 0.48f, 0}, 0.45f, 0.40f}, {{-2.45f, 0.45f, 0}, 0.78f, 0.68f},
        {{-1.80f, 0.36f, 0}, 0.95f, 0.84f}, {{-0.80f, 0.24f, 0}, 1.05f, 0.94f}, {{0.20f, 0.26f, 0}, 1.05f, 0.94f},
        {{1.10f, 0.36f, 0}, 1.00f, 0.84f},  {{1.70f, 0.52f, 0}, 0.85f, 0.68f},  {{2.05f, 0.70f, 0}, 0.55f, 0.48f},
        {{2.20f, 0.80f, 0}, 0.0f, 0.0f}};
    addTube(part, smoothPath(body, bodyRings), around, {0, 1, 0}, hide);

    // Neck and head, bowed towards the muzzle.
    std::vector<Section> head = {
        {{1.70f, 0.72f, 0}, 0.0f, 0.0f},    {{1.75f, 0.72f, 0}, 0.58f, 0.48f}, {{2.25f, 0.88f, 0}, 0.50f, 0.40f},
        {{2.65f, 0.92f, 0}, 0.42f, 0.34f},  {{2.98f, 0.66f, 0}, 0.36f, 0.31f}, {{3.26f, 0.26f, 0}, 0.30f, 0.27f},
        {{3.40f, 0.06f, 0}, 0.26f, 0.25f},  {{3.46f, -0.02f, 0}, 0.0f, 0.0f}};
    addTube(part, smoothPath(head, high ? 16 : 4), high ? 24 : 6, {0, 1, 0}, hide);
    if (high) {
        // Muzzle, eyes.
        addTube(part, ellipsoidSections({3.30f, 0.05f, 0}, {0.27f, 0.2f, 0.27f}, 8), 14, {1, 0, 0}, pink);
        for (float side : {-1.0f, 1.0f})
            addTube(part, ellipsoidSections({2.96f, 0.78f, side * 0.30f}, {0.07f, 0.07f, 0.05f}, 5), 8, {1, 0, 0},
                    horn);
    }

    // Legs: front pair straight, hind pair with the hock bent backwards; dark hooves with flat soles.
    for (float legX : {1.30f, -1.85f})
        for (float side : {-1.0f, 1.0f}) {
            float z = side * 0.52f;
            bool hind = legX < 0;
            std::vector<Section> leg = {
                {{legX, -0.15f, z}, 0.0f, 0.0f},
                {{legX, -0.10f, z}, 0.30f, 0.28f},
                {{legX + (hind ? -0.18f : 0.02f), -0.90f, z}, 0.24f, 0.22f},
                {{legX + (hind ? 0.02f : 0.0f), -1.45f, z}, 0.17f, 0.16f},
                {{legX + 0.02f, -1.74f, z}, 0.16f, 0.15f}};
            addTube(part, smoothPath(leg, limbRings + 2), limbAround, {1, 0, 0}, hide);
            std::vector<Section> hoof = {{{legX + 0.02f, -1.72f, z}, 0.0f, 0.0f},
                                         {{legX + 0.02f, -1.73f, z}, 0.17f, 0.16f},
                                         {{legX + 0.02f, -1.99f, z}, 0.20f, 0.18f},
                                         {{legX + 0.02f, -2.0f, z}, 0.0f, 0.0f}};
            addTube(part, hoof, limbAround, {1, 0, 0}, horn);
        }

    // Ears, horns, tail and udder give the silhouette its cow.
    for (float side : {-1.0f, 1.0f}) {
        std::vector<Section> ear = {{{2.62f, 1.00f, side * 0.28f}, 0.0f, 0.0f},
                                    {{2.62f, 1.00f, side * 0.36f}, 0.10f, 0.07f},
                                    {{2.64f, 0.96f, side * 0.58f}, 0.12f, 0.05f},
                                    {{2.66f, 0.92f, side * 0.72f}, 0.0f, 0.0f}};
        addTube(part, high ? smoothPath(ear, 6) : ear, high ? 10 : 4, {1, 0, 0}, hide);
        std::vector<Section> hornPath = {{{2.60f, 1.18f, side * 0.22f}, 0.09f, 0.09f},
                                         {{2.58f, 1.30f, side * 0.38f}, 0.07f, 0.07f},
                                         {{2.55f, 1.48f, side * 0.50f}, 0.045f, 0.045f},
                                         {{2.50f, 1.62f, side * 0.52f}, 0.0f, 0.0f}};
        addTube(part, high ? smoothPath(hornPath, 6) : hornPath, high ? 8 : 3, {1, 0, 0}, horn);
    }
    std::vector<Section> tail = {{{-2.70f, 1.05f, 0}, 0.07f, 0.07f},  {{-2.86f, 0.70f, 0}, 0.06f, 0.06f},
                                 {{-2.88f, -0.20f, 0}, 0.05f, 0.05f}, {{-2.84f, -0.90f, 0}, 0.05f, 0.05f},
                                 {{-2.84f, -1.00f, 0}, 0.10f, 0.10f}, {{-2.84f, -1.30f, 0}, 0.08f, 0.08f},
                                 {{-2.84f, -1.42f, 0}, 0.0f, 0.0f}};
    addTube(part, high ? smoothPath(tail, 12) : tail, high ? 8 : 3, {1, 0, 0}, horn);
    addTube(part, ellipsoidSections({-1.25f, -0.78f, 0}, {0.36f, 0.26f, 0.32f}, high ? 8 : 3), high ? 14 : 4,
            {1, 0, 0}, pink);
    return part;
}
