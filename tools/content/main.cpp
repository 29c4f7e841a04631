// Generates every file of the game's Scene/ folder: the hall, the exhibits with their textures, the
// screen images, the bitmap font and the sounds. Usage: vellmar_content <output folder> [level description]
// With --icons <folder> it writes the desktop's icons instead: <folder>/<n>x<n>/apps/vellmar.png.
// The output depends only on this program, the level description and the fonts, never on time or chance.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <functional>
#include <string>
#include <thread>

#include "ImageFiles.h"
#include "Level.h"
#include "Models.h"
#include "Screens.h"
#include "Sounds.h"
#include "TextureGenerator.h"

#ifndef VELLMAR_LEVEL_FILE
#define VELLMAR_LEVEL_FILE "level.txt"
#endif
#ifndef VELLMAR_FONT_DIR
#define VELLMAR_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

Material textured(const std::string& name, const std::string& texture)
{
    return {name, {0.8f, 0.8f, 0.8f}, texture + ".tga", texture + "_normal.tga"};
}

// The hicolor sizes a desktop asks for.
const int iconSizes[] = {16, 24, 32, 48, 64, 128, 256};

int writeIcons(const std::string& out)
{
    for (int size : iconSizes) {
        const std::string folder = out + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec || !writePng(folder + "/vellmar.png", makeIcon(size))) {
            std::fprintf(stderr, "could not write %s/vellmar.png\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--icons")
        return writeIcons(argv[2]);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output folder> [level description] | --icons <folder>\n", argv[0]);
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

    // Every file is independent of the others: the jobs run on all cores, and each writes only its own
    // files, so the result does not depend on their order.
    std::vector<MeshPart> hall = buildLevelMeshes(boxes);
    const MeshPart statue = buildStatue(), cowHigh = buildCow(true), cowLow = buildCow(false);
    const MeshPart combine = buildCombine(), rotor = buildCombineRotor(), crate = buildCrate();
    const std::string monoPath = std::string(VELLMAR_FONT_DIR) + "/DejaVuSansMono-Bold.ttf";
    std::vector<std::function<bool()>> jobs = {
        [&] { return writeObj(out, "tutroom", hall, levelMaterials()); },
        [&] { return saveSurface(out, "hall_floor", makeFlagstones(256), 3.0f); },
        [&] { return saveSurface(out, "hall_wall", makeWallBlocks(256), 3.0f); },
        [&] { return saveSurface(out, "hall_ceiling", makeCeilingSlabs(256), 4.0f); },
        [&] { return saveSurface(out, "hall_trim", makeTrimStone(256), 4.0f); },
        [&] { return writeObj(out, "statue", {statue}, {textured("statueStone", "statue_stone")}); },
        [&] { return saveSurface(out, "statue_stone", makeStatueStone(256), 3.0f); },
        [&] { return writeObj(out, "giantCowHigh", {cowHigh}, {textured("cowHide", "cow_hide")}); },
        [&] { return writeObj(out, "GiantCowLow", {cowLow}, {textured("cowHide", "cow_hide")}); },
        [&] { return saveSurface(out, "cow_hide", makeCowHide(512), 2.0f); },
        [&] { return writeObj(out, "combine", {combine}, {textured("combinePaint", "combine_paint")}); },
        [&] { return writeObj(out, "combineRotor", {rotor}, {textured("combinePaint", "combine_paint")}); },
        [&] { return saveSurface(out, "combine_paint", makeCombineAtlas(512, fonts.sans), 3.0f); },
        [&] { return writeObj(out, "CompanionCube", {crate}, {textured("cratePanel", "crate_panel")}); },
        [&] { return saveSurface(out, "crate_panel", makeCratePanel(256), 5.0f); },
        [&] { return writeDds(out + "/VellmarFontDark.dds", makeFontSheet(monoPath, 1024), DdsFormat::Dxt5); },
        [&] { return writeDds(out + "/Infos.dds", makeKeyList(fonts), DdsFormat::Dxt5); },
        [&] { return writeDds(out + "/mouse.dds", makeMouseHelp(fonts), DdsFormat::Dxt5); },
        [&] { return writeDds(out + "/wasd.dds", makeMoveKeysHelp(fonts), DdsFormat::Dxt5); },
        [&] { return writeDds(out + "/start.dds", makeStartScreen(fonts), DdsFormat::Dxt1); },
        [&] { return writeDds(out + "/pause.dds", makePauseScreen(fonts, 0), DdsFormat::Dxt1); },
        [&] { return writeDds(out + "/pause1.dds", makePauseScreen(fonts, 1), DdsFormat::Dxt1); },
        [&] { return writeDds(out + "/pause2.dds", makePauseScreen(fonts, 2), DdsFormat::Dxt1); },
        [&] { return writeDds(out + "/pause3.dds", makePauseScreen(fonts, 3), DdsFormat::Dxt1); },
        [&] { return writeDds(out + "/gameWon.dds", makeWonScreen(fonts), DdsFormat::Dxt1); },
        [&] { return writeDds(out + "/gameOver.dds", makeGameOverScreen(fonts), DdsFormat::Dxt1); },
    };
    const std::vector<SoundClip> sounds = buildSounds();
    for (const SoundClip& clip : sounds)
        jobs.push_back([&out, &clip] { return writeWav(out + "/" + clip.name + ".wav", clip.samples); });
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            if (!jobs[i]()) ok = false;
    };
    std::vector<std::thread> threads;
    unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    for (unsigned i = 1; i < cores; ++i) threads.emplace_back(worker);
    worker();
    for (auto& t : threads) t.join();

    std::printf("%-18s %6zu triangles in %zu meshes\n", "tutroom.obj", triangleCount(hall), hall.size());
    const std::pair<const char*, const MeshPart*> models[] = {{"statue.obj", &statue},        {"giantCowHigh.obj", &cowHigh},
                                                              {"GiantCowLow.obj", &cowLow},   {"combine.obj", &combine},
                                                              {"combineRotor.obj", &rotor},   {"CompanionCube.obj", &crate}};
    for (const auto& [name, part] : models) std::printf("%-18s %6zu triangles\n", name, part->triangles.size());

    if (!ok) {
        std::fprintf(stderr, "could not write every file into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
