// The screen images and the font as the game's DDS reader sees them: block-compressed, complete
// mip chains, and pause pictures whose highlighted entries lie exactly on the hover zones.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/DdsFile.h"

namespace {

struct Picture {
    std::vector<unsigned char> bytes;
    DdsImage image;
};

Picture readPicture(const std::string& name)
{
    std::ifstream file("Scene/" + name, std::ios::binary);
    Picture p{{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()}, {}};
    p.image = parseDds(p.bytes.data(), p.bytes.size());
    return p;
}

// Brightness of level 0, rows in stored order (stored row 0 is drawn at the bottom).
std::vector<int> brightness(const Picture& p)
{
    const DdsLevel& level = p.image.levels.at(0);
    const size_t blockBytes = p.image.format == DdsFormat::Dxt1 ? 8 : 16, blocksX = (level.width + 3) / 4;
    std::vector<int> out(size_t(level.width) * level.height);
    for (size_t b = 0; b < level.size / blockBytes; ++b) {
        // The colour half comes after the alpha half in DXT3 and DXT5 blocks.
        const unsigned char* block = &p.bytes[level.offset + b * blockBytes + blockBytes - 8];
        auto rgb = [](int c) { return ((c >> 11) & 31) * 255 / 31 + ((c >> 5) & 63) * 255 / 63 + (c & 31) * 255 / 31; };
        const int c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8, p0 = rgb(c0) / 3, p1 = rgb(c1) / 3;
        const int palette[4] = {p0, p1, c0 > c1 ? (2 * p0 + p1) / 3 : (p0 + p1) / 2, c0 > c1 ? (p0 + 2 * p1) / 3 : 0};
        for (int i = 0; i < 16; ++i) {
            size_t x = b % blocksX * 4 + i % 4, y = b / blocksX * 4 + i / 4;
            if (x < level.width && y < level.height)
                out[y * level.width + x] = palette[(block[4 + i / 4] >> (2 * (i % 4))) & 3];
        }
    }
    return out;
}

// Mean brightness of a rectangle given in window fractions (fy = 0 at the window's top) of a
// full-screen image, whose top quarter lies above the window.
double meanBrightness(const Picture& p, double fx0, double fx1, double fy0, double fy1)
{
    const std::vector<int> px = brightness(p);
    const size_t w = p.image.levels[0].width, h = p.image.levels[0].height;
    double sum = 0;
    size_t n = 0;
    for (size_t y = size_t(0.75 * (1 - fy1) * h); y < size_t(0.75 * (1 - fy0) * h); ++y)
        for (size_t x = size_t(fx0 * w); x < size_t(fx1 * w); ++x, ++n)
            sum += px[y * w + x];
    return n ? sum / n : 0;
}

}  // namespace

TEST(ContentImages, EveryScreenImageIsASquareDxtPictureWithACompleteMipChain)
{
    for (const char* name : {"VellmarFontDark.dds", "Infos.dds", "mouse.dds", "wasd.dds", "start.dds", "pause.dds",
                             "pause1.dds", "pause2.dds", "pause3.dds", "gameWon.dds", "gameOver.dds"}) {
        Picture p = readPicture(name);
        ASSERT_EQ(p.image.status, DdsStatus::Usable) << name;
        ASSERT_FALSE(p.image.levels.empty()) << name;
        const DdsLevel& first = p.image.levels.front();
        EXPECT_EQ(first.width, first.height) << name << ": overlays are drawn as squares";
        EXPECT_EQ(p.image.levels.back().width, 1u) << name << ": the chain reaches 1 x 1 within the file";
        EXPECT_EQ(p.image.levels.back().offset + p.image.levels.back().size, p.bytes.size()) << name;
    }
}

TEST(ContentImages, PauseEntriesLightUpExactlyInTheirHoverZones)
{
    const double zones[3][2] = {{1.0 / 4, 5.0 / 12}, {1.0 / 2, 8.0 / 12}, {3.0 / 4, 11.0 / 12}};
    const Picture plain = readPicture("pause.dds");
    for (int entry = 1; entry <= 3; ++entry) {
        const Picture lit = readPicture("pause" + std::to_string(entry) + ".dds");
        for (int zone = 0; zone < 3; ++zone) {
            // Inset a little from the zone's edges; the label box fills the zone.
            const double fy0 = zones[zone][0] + 0.01, fy1 = zones[zone][1] - 0.01;
            const double before = meanBrightness(plain, 0.26, 0.74, fy0, fy1);
            const double after = meanBrightness(lit, 0.26, 0.74, fy0, fy1);
            if (zone + 1 == entry)
                EXPECT_GT(after, before + 40) << entry;
            else
                EXPECT_NEAR(after, before, 2) << entry << " in zone " << zone;
        }
        EXPECT_NEAR(meanBrightness(lit, 0.26, 0.74, 0.43, 0.49), meanBrightness(plain, 0.26, 0.74, 0.43, 0.49), 2);
    }
}
