#pragma once
// The procedural surface textures of the models: each is an albedo picture and a height field, saved as
// a TGA colour map and a tangent-space normal map (RGB = normal * 0.5 + 0.5, green towards the picture's top).
#include <string>

#include "Canvas.h"
#include "TextPainter.h"

struct SurfaceTexture {
    Canvas albedo;
    Canvas height;  // height in the red channel, 0..1
    explicit SurfaceTexture(int size) : albedo(size, size, {0.5f, 0.5f, 0.5f, 1}), height(size, size, {0.5f, 0, 0, 1}) {}
};

// A 4x4 grid of swatches in the combine's texture: (column, row), row 0 at the top of the picture.
struct AtlasCell {
    int column;
    int row;
};

Canvas normalMapFromHeight(const Canvas& height, float strength);
// Writes <name>.tga and <name>_normal.tga into the folder.
bool saveSurface(const std::string& folder, const std::string& name, const SurfaceTexture& surface, float strength);

SurfaceTexture makeFlagstones(int size);
SurfaceTexture makeWallBlocks(int size);
SurfaceTexture makeCeilingSlabs(int size);
SurfaceTexture makeTrimStone(int size);
SurfaceTexture makeStatueStone(int size);
SurfaceTexture makeCowHide(int size);
SurfaceTexture makeCombineAtlas(int size, const TextPainter& text);
SurfaceTexture makeCratePanel(int size);

// Cells of the combine atlas.
namespace combine_cells {
constexpr AtlasCell green{0, 0}, yellow{1, 0}, red{2, 0}, darkMetal{3, 0};
constexpr AtlasCell tyre{0, 1}, rim{1, 1}, glass{2, 1}, grille{3, 1};
constexpr AtlasCell steel{0, 2}, lamp{1, 2}, rubber{2, 2}, decal{3, 2};
constexpr AtlasCell blade{0, 3}, hazard{1, 3};
}  // namespace combine_cells
