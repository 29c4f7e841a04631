#include "Level.h"

#include <sstream>

namespace {

struct SurfaceKind {
    const char* name;
    const char* texture;
    float unitsPerRepeat;
};

const SurfaceKind kinds[] = {
    {"floor", "hall_floor", 4.0f},
    {"wall", "hall_wall", 4.0f},
    {"ceiling", "hall_ceiling", 6.0f},
    {"trim", "hall_trim", 2.0f},
};

const SurfaceKind* findKind(const std::string& name)
{
    for (const auto& k : kinds)
        if (name == k.name) return &k;
    return nullptr;
}

// Large faces are split so per-vertex effects (and depth precision) stay even across the hall.
const float cellSize = 12.0f;

}  // namespace

std::vector<LevelBox> parseLevel(const std::string& text, std::string& error)
{
    std::vector<LevelBox> boxes;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream fields(line);
        LevelBox box;
        if (!(fields >> box.name)) continue;
        std::string extra;
        if (!(fields >> box.material >> box.lo.x >> box.lo.y >> box.lo.z >> box.hi.x >> box.hi.y >> box.hi.z) ||
            (fields >> extra)) {
            error = "line " + std::to_string(number) + ": expected name material minX minY minZ maxX maxY maxZ";
            return boxes;
        }
        if (!findKind(box.material)) {
            error = "line " + std::to_string(number) + ": unknown material " + box.material;
            return boxes;
        }
        if (!(box.lo.x < box.hi.x && box.lo.y < box.hi.y && box.lo.z < box.hi.z)) {
            error = "line " + std::to_string(number) + ": box " + box.name + " has no volume";
            return boxes;
        }
        boxes.push_back(box);
    }
    return boxes;
}

std::vector<MeshPart> buildLevelMeshes(const std::vector<LevelBox>& boxes)
{
    std::vector<MeshPart> parts;
    for (const auto& box : boxes) {
        const SurfaceKind* kind = findKind(box.material);
        MeshPart part;
        part.name = box.name;
        part.material = box.material;
        addBox(part, box.lo, box.hi, kind->unitsPerRepeat, cellSize);
        parts.push_back(std::move(part));
    }
    return parts;
}

std::vector<Material> levelMaterials()
{
    std::vector<Material> out;
    for (const auto& k : kinds)
        out.push_back({k.name, {0.8f, 0.78f, 0.74f}, std::string(k.texture) + ".tga",
                       std::string(k.texture) + "_normal.tga"});
    return out;
}
