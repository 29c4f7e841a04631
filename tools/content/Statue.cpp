#include <cmath>

#include "Models.h"

namespace {

// Texture rectangle for a tube so the stone keeps roughly one repeat per unit around and along.
UvRect stoneRect(float circumference, float length)
{
    return {0.0f, 0.0f, std::max(0.25f, circumference), std::max(0.25f, length)};
}

float pathLength(const std::vector<Section>& s)
{
    float length = 0;
    for (size_t i = 1; i < s.size(); ++i) length += glm::length(s[i].center - s[i - 1].center);
    return length;
}

void limb(MeshPart& part, const glm::vec3& a, const glm::vec3& b, float ra, float rb, int segments)
{
    std::vector<Section> s = capsuleSections(a, b, ra, rb, 1, 1);
    addTube(part, s, segments, {0, 0, 1}, stoneRect(6.283f * ra, pathLength(s)));
}

}  // namespace

MeshPart buildStatue()
{
    MeshPart part;
    part.name = "statue";
    part.material = "statueStone";
    addBox(part, {-0.5f, -0.3f, -0.35f}, {0.5f, 0.0f, 0.35f}, 1.0f);

    // The robe: falls in folds from the waist to the plinth.
    std::vector<Section> robe = {
        {{0, 0.00f, 0}, 0.37f, 0.26f}, {{0, 0.10f, 0}, 0.37f, 0.26f}, {{0, 0.45f, 0}, 0.34f, 0.24f},
        {{0, 0.85f, 0}, 0.31f, 0.21f}, {{0, 1.25f, 0}, 0.28f, 0.19f}, {{0, 1.60f, 0}, 0.25f, 0.165f},
        {{0, 1.85f, 0}, 0.225f, 0.145f}, {{0, 2.00f, 0}, 0.21f, 0.13f}, {{0, 2.02f, 0}, 0.0f, 0.0f}};
    addTube(part, robe, 14, {1, 0, 0}, stoneRect(2.0f, 2.0f), 0.05f, 7);
    // Chest, shoulders and neck.
    std::vector<Section> torso = {
        {{0, 1.85f, 0}, 0.0f, 0.0f},       {{0, 1.86f, 0}, 0.245f, 0.155f}, {{0, 2.20f, 0.01f}, 0.265f, 0.165f},
        {{0, 2.45f, 0.02f}, 0.28f, 0.175f}, {{0, 2.68f, 0.0f}, 0.29f, 0.155f}, {{0, 2.80f, 0}, 0.21f, 0.12f},
        {{0, 2.90f, 0}, 0.085f, 0.08f},     {{0, 3.10f, 0.01f}, 0.075f, 0.075f}};
    addTube(part, torso, 10, {1, 0, 0}, stoneRect(1.6f, 1.3f));
    // The head, slightly bowed forward.
    std::vector<Section> head = ellipsoidSections({0, 3.29f, 0.03f}, {0.145f, 0.21f, 0.165f}, 6);
    addTube(part, head, 10, {1, 0, 0}, stoneRect(1.0f, 0.7f));
    // Arms in wide sleeves, forearms raised, hands folded before the chest.
    for (float side : {-1.0f, 1.0f}) {
        glm::vec3 shoulder(side * 0.27f, 2.70f, 0.0f), elbow(side * 0.33f, 2.22f, 0.04f);
        glm::vec3 wrist(side * 0.09f, 2.46f, 0.21f), fingers(side * 0.025f, 2.66f, 0.25f);
        limb(part, shoulder, elbow, 0.085f, 0.10f, 6);
        limb(part, elbow, wrist, 0.085f, 0.055f, 6);
        limb(part, wrist, fingers, 0.045f, 0.03f, 5);
        // Toes showing under the hem.
        std::vector<Section> foot = ellipsoidSections({side * 0.11f, 0.04f, 0.23f}, {0.075f, 0.05f, 0.09f}, 3);
        addTube(part, foot, 6, {1, 0, 0}, stoneRect(0.5f, 0.2f));
    }
    return part;
}
