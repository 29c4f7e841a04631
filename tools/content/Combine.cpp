#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "Models.h"
#include "TextureGenerator.h"

namespace {

// Rectangle of an atlas swatch in texture coordinates (v up), inset so filtering stays inside it.
UvRect cellUv(AtlasCell cell)
{
    const float inset = 0.01f;
    float u0 = cell.column * 0.25f, v1 = 1.0f - cell.row * 0.25f;
    return {u0 + inset, v1 - 0.25f + inset, u0 + 0.25f - inset, v1 - inset};
}

void box(MeshPart& part, glm::vec3 lo, glm::vec3 hi, AtlasCell cell)
{
    addBoxMapped(part, lo, hi, cellUv(cell));
}

void wheel(MeshPart& part, const glm::vec3& center, float radius, float width, bool rightSide)
{
    using namespace combine_cells;
    float outer = rightSide ? 1.0f : -1.0f;
    glm::vec3 inSide = center - glm::vec3(outer * width * 0.5f, 0, 0);
    glm::vec3 outSide = center + glm::vec3(outer * width * 0.5f, 0, 0);
    addCylinder(part, inSide, outSide, radius, 20, cellUv(tyre), cellUv(rubber));
    // Rim and hub stand out from the tyre's outer side.
    glm::vec3 rimEnd = outSide + glm::vec3(outer * 0.04f, 0, 0);
    addCylinder(part, outSide - glm::vec3(outer * 0.02f, 0, 0), rimEnd, radius * 0.62f, 16, cellUv(rim), cellUv(rim));
    addCylinder(part, rimEnd, rimEnd + glm::vec3(outer * 0.08f, 0, 0), radius * 0.2f, 10, cellUv(steel), cellUv(steel));
}

}  // namespace

MeshPart buildCombine()
{
    using namespace combine_cells;
    MeshPart part;
    part.name = "combine";
    part.material = "combinePaint";
    // Chassis and body.
    box(part, {-1.0f, -0.6f, -2.0f}, {1.0f, -0.3f, 1.6f}, darkMetal);
    box(part, {-1.3f, -0.3f, -2.2f}, {1.3f, 1.2f, 1.6f}, green);
    // The side panels carry the maker's name from the middle band of their swatch, so it keeps its shape.
    UvRect band = cellUv(decal);
    float middle = (band.v0 + band.v1) * 0.5f, halfBand = (band.u1 - band.u0) * 0.7f / 1.6f * 0.5f;
    addBoxMapped(part, {-1.31f, 0.25f, -1.7f}, {1.31f, 0.95f, -0.1f}, {band.u0, middle - halfBand, band.u1, middle + halfBand});
    box(part, {-1.32f, -0.3f, -2.2f}, {1.32f, -0.15f, 1.6f}, hazard);
    box(part, {-1.0f, 0.15f, -2.26f}, {1.0f, 1.0f, -2.2f}, grille);
    // Grain tank with its yellow rim.
    box(part, {-1.2f, 1.2f, -1.9f}, {1.2f, 1.9f, 0.2f}, green);
    box(part, {-1.25f, 1.9f, -1.95f}, {1.25f, 2.0f, 0.25f}, yellow);
    // Cab: glass box, corner posts and roof with lamps.
    box(part, {-0.8f, 1.2f, 0.4f}, {0.8f, 2.5f, 1.5f}, glass);
    for (float x : {-0.82f, 0.74f})
        for (float z : {0.38f, 1.44f}) box(part, {x, 1.2f, z}, {x + 0.08f, 2.5f, z + 0.08f}, darkMetal);
    box(part, {-0.9f, 2.5f, 0.3f}, {0.9f, 2.65f, 1.6f}, yellow);
    for (float x : {-0.65f, 0.45f}) box(part, {x, 2.42f, 1.6f}, {x + 0.2f, 2.58f, 1.68f}, lamp);
    // Feeder housing and the cutting header with its side plates and reel.
    box(part, {-0.6f, -0.5f, 1.6f}, {0.6f, 0.3f, 2.45f}, green);
    box(part, {-2.2f, -0.75f, 2.4f}, {2.2f, -0.45f, 3.3f}, red);
    box(part, {-2.2f, -0.45f, 2.4f}, {2.2f, 0.2f, 2.55f}, red);
    for (float x : {-2.2f, 2.1f}) box(part, {x, -0.75f, 2.4f}, {x + 0.1f, 0.35f, 3.4f}, darkMetal);
    addCylinder(part, {-2.05f, 0.25f, 3.0f}, {2.05f, 0.25f, 3.0f}, 0.3f, 12, cellUv(blade), cellUv(steel));
    box(part, {-2.1f, -0.72f, 3.3f}, {2.1f, -0.62f, 3.42f}, steel);
    // Wheels: big drive wheels in front, small steering wheels behind; all touch y = -1.
    for (bool right : {false, true}) {
        float s = right ? 1.0f : -1.0f;
        wheel(part, {s * 1.55f, -0.15f, 0.9f}, 0.85f, 0.5f, right);
        wheel(part, {s * 1.22f, -0.5f, -1.7f}, 0.5f, 0.34f, right);
    }
    // Unloading auger along the left side, exhaust stack, and the rotor mast at the origin.
    addCylinder(part, {-1.38f, 1.4f, -2.0f}, {-1.38f, 2.05f, 0.3f}, 0.12f, 10, cellUv(green), cellUv(darkMetal));
    addCylinder(part, {0.9f, 1.9f, -1.6f}, {0.9f, 2.45f, -1.6f}, 0.07f, 8, cellUv(darkMetal), cellUv(rubber));
    addCylinder(part, {0, 1.95f, 0}, {0, 2.75f, 0}, 0.12f, 12, cellUv(darkMetal), cellUv(darkMetal));
    return part;
}

MeshPart buildCombineRotor()
{
    using namespace combine_cells;
    MeshPart part;
    part.name = "combineRotor";
    part.material = "combinePaint";
    addCylinder(part, {0, 2.72f, 0}, {0, 3.0f, 0}, 0.22f, 16, cellUv(yellow), cellUv(hazard));
    // Four pitched blades; the hazard-painted tips show the spin.
    for (int i = 0; i < 4; ++i) {
        glm::mat4 m = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f * i), glm::vec3(0, 1, 0));
        m = glm::translate(m, glm::vec3(0, 2.86f, 0));
        m = glm::rotate(m, glm::radians(14.0f), glm::vec3(0, 0, 1));
        MeshPart blade;
        addBoxMapped(blade, {-0.16f, -0.025f, 0.18f}, {0.16f, 0.025f, 1.25f}, cellUv(combine_cells::blade));
        addBoxMapped(blade, {-0.17f, -0.03f, 1.25f}, {0.17f, 0.03f, 1.5f}, cellUv(hazard));
        blade.transform(m);
        part.append(blade);
    }
    return part;
}
