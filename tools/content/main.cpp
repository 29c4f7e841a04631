// Generates every file of the game's Scene/ folder: the hall, the exhibits with their textures, the
// screen images and the bitmap font. Usage: vellmar_content <output folder> [level description]
// The output depends only on this program, the level description and the fonts, never on time or chance.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ImageFiles.h"
#include "Level.h"
#include "Models.h"
#include "Screens.h"
#include "Textures.h"

#ifndef VELLMAR_LEVEL_FILE
#define VELLMAR_LEVEL_FILE "level.txt"
#endif
#ifndef VELLMAR_FONT_DIR
#define VELLMAR_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

bool writeModel(const std::string& folder, const std::string& name, const MeshPart& part, const Material& material)
{
    bool ok = writeObj(folder, name, {part}, {material});
    std::printf("%-16s %6zu triangles\n", (name + ".obj").c_str(), part.triangles.size());
    return ok;
}

Material textured(const std::string& name, const std::string& texture)
{
    return {name, {0.8f, 0.8f, 0.8f}, texture + ".png", texture + "_normal.png"};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output folder> [level description]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const std::string levelPath = argc == 3 ? argv[2] : VELLMAR_LEVEL_FILE;
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "cannot create %s: %s\n", out.c_str(), ec.message().c_str());
        return 1;
    }

    std::ifstream levelFile(levelPath);
    std::stringstream levelText;
    levelText << levelFile.rdbuf();
    std::string error;
    std::vector<LevelBox> boxes = parseLevel(levelText.str(), error);
    if (!levelFile || !error.empty() || boxes.empty()) {
        std::fprintf(stderr, "%s: %s\n", levelPath.c_str(), error.empty() ? "no boxes" : error.c_str());
        return 1;
    }

    Fonts fonts{TextPainter(std::string(VELLMAR_FONT_DIR) + "/DejaVuSans-Bold.ttf"),
                TextPainter(std::string(VELLMAR_FONT_DIR) + "/DejaVuSansMono-Bold.ttf")};
    if (!fonts.sans.loaded() || !fonts.mono.loaded()) {
        std::fprintf(stderr, "cannot read the DejaVu fonts in %s\n", VELLMAR_FONT_DIR);
        return 1;
    }

    bool ok = true;
    // The hall.
    std::vector<MeshPart> hall = buildLevelMeshes(boxes);
    ok &= writeObj(out, "tutroom", hall, levelMaterials());
    std::printf("%-16s %6zu triangles in %zu meshes\n", "tutroom.obj", triangleCount(hall), hall.size());
    ok &= saveSurface(out, "hall_floor", makeFlagstones(512), 6.0f);
    ok &= saveSurface(out, "hall_wall", makeWallBlocks(512), 6.0f);
    ok &= saveSurface(out, "hall_ceiling", makeCeilingSlabs(256), 4.0f);
    ok &= saveSurface(out, "hall_trim", makeTrimStone(256), 4.0f);

    // The exhibits.
    ok &= writeModel(out, "statue", buildStatue(), textured("statueStone", "statue_stone"));
    ok &= saveSurface(out, "statue_stone", makeStatueStone(256), 3.0f);
    ok &= writeModel(out, "giantCowHigh", buildCow(true), textured("cowHide", "cow_hide"));
    ok &= writeModel(out, "GiantCowLow", buildCow(false), textured("cowHide", "cow_hide"));
    ok &= saveSurface(out, "cow_hide", makeCowHide(512), 2.0f);
    ok &= writeModel(out, "combine", buildCombine(), textured("combinePaint", "combine_paint"));
    ok &= writeModel(out, "combineRotor", buildCombineRotor(), textured("combinePaint", "combine_paint"));
    ok &= saveSurface(out, "combine_paint", makeCombineAtlas(512, fonts.sans), 3.0f);
    ok &= writeModel(out, "CompanionCube", buildCrate(), textured("cratePanel", "crate_panel"));
    ok &= saveSurface(out, "crate_panel", makeCratePanel(256), 5.0f);

    // Screen images and the font.
    ok &= writeDds(out + "/VellmarFontDark.dds", makeFontSheet(std::string(VELLMAR_FONT_DIR) + "/DejaVuSansMono-Bold.ttf", 1024), DdsFormat::Dxt5);
    ok &= writeDds(out + "/Infos.dds", makeKeyList(fonts), DdsFormat::Dxt5);
    ok &= writeDds(out + "/mouse.dds", makeMouseHelp(fonts), DdsFormat::Dxt5);
    ok &= writeDds(out + "/wasd.dds", makeMoveKeysHelp(fonts), DdsFormat::Dxt5);
    ok &= writeDds(out + "/start.dds", makeStartScreen(fonts), DdsFormat::Dxt1);
    ok &= writeDds(out + "/pause.dds", makePauseScreen(fonts, 0), DdsFormat::Dxt1);
    for (int i = 1; i <= 3; ++i)
        ok &= writeDds(out + "/pause" + std::to_string(i) + ".dds", makePauseScreen(fonts, i), DdsFormat::Dxt1);
    ok &= writeDds(out + "/gameWon.dds", makeWonScreen(fonts), DdsFormat::Dxt1);
    ok &= writeDds(out + "/gameOver.dds", makeGameOverScreen(fonts), DdsFormat::Dxt1);

    if (!ok) {
        std::fprintf(stderr, "could not write every file into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
