#pragma once
// The hall (tutroom.obj): a list of solid boxes read from a text description, one mesh per box.
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "MeshBuilder.h"

struct LevelBox {
    std::string name;
    std::string material;
    glm::vec3 lo;
    glm::vec3 hi;
};

// Parses "name material minX minY minZ maxX maxY maxZ" lines; '#' starts a comment. Sets `error` and
// returns what was read so far on a malformed line or an unknown material.
std::vector<LevelBox> parseLevel(const std::string& text, std::string& error);
// One mesh per box with world-scaled texture coordinates.
std::vector<MeshPart> buildLevelMeshes(const std::vector<LevelBox>& boxes);
std::vector<Material> levelMaterials();
