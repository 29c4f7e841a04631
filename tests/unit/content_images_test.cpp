// The screen images and the font: block-compressed DDS files with complete mip chains, stored bottom row
// first so that the overlay shows them upright, with the pause entries exactly on their hover zones.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Dds {
    bool ok = false;
    uint32_t width = 0, height = 0, linearSize = 0, mipCount = 0;
    std::string fourCC;
    std::vector<unsigned char> data;  // the level data after the 128-byte header
    size_t fileSize = 0;
};

uint32_t u32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

Dds readDds(const std::string& path)
{
    Dds dds;
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    dds.fileSize = bytes.size();
    if (bytes.size() < 128 || std::string(bytes.begin(), bytes.begin() + 4) != "DDS ") return dds;
    dds.height = u32(bytes, 12);
    dds.width = u32(bytes, 16);
    dds.linearSize = u32(bytes, 20);
    dds.mipCount = u32(bytes, 28);
    dds.fourCC.assign(bytes.begin() + 84, bytes.begin() + 88);
    dds.data.assign(bytes.begin() + 128, bytes.end());
    dds.ok = true;
    return dds;
}

size_t blockBytes(const Dds& dds)
{
    return dds.fourCC == "DXT1" ? 8 : 16;
}

size_t levelSize(const Dds& dds, uint32_t w, uint32_t h)
{
    return ((w + 3) / 4) * ((h + 3) / 4) * blockBytes(dds);
}

// Level 0 decoded to RGBA, rows in stored order (stored row 0 is drawn at v = 0, the bottom).
std::vector<std::array<unsigned char, 4>> decodeLevel0(const Dds& dds)
{
    std::vector<std::array<unsigned char, 4>> pixels(static_cast<size_t>(dds.width) * dds.height);
    size_t bytes = blockBytes(dds);
    size_t blocksX = (dds.width + 3) / 4;
    for (size_t by = 0; by < (dds.height + 3) / 4; ++by)
        for (size_t bx = 0; bx < blocksX; ++bx) {
            const unsigned char* block = &dds.data[(by * blocksX + bx) * bytes];
            std::array<unsigned char, 16> alpha;
            alpha.fill(255);
            if (bytes == 16) {
                int a0 = block[0], a1 = block[1];
                int table[8] = {a0, a1};
                for (int i = 2; i < 8; ++i)
                    table[i] = a0 > a1 ? ((8 - i) * a0 + (i - 1) * a1) / 7
                                       : (i < 6 ? ((6 - i) * a0 + (i - 1) * a1) / 5 : (i == 6 ? 0 : 255));
                uint64_t bits = 0;
                for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
                for (int i = 0; i < 16; ++i) alpha[i] = static_cast<unsigned char>(table[(bits >> (3 * i)) & 7]);
                block += 8;
            }
            int c0 = block[0] | (block[1] << 8), c1 = block[2] | (block[3] << 8);
            auto rgb = [](int c) {
                return std::array<int, 3>{((c >> 11) & 31) * 255 / 31, ((c >> 5) & 63) * 255 / 63, (c & 31) * 255 / 31};
            };
            std::array<int, 3> p0 = rgb(c0), p1 = rgb(c1), p2, p3;
            for (int k = 0; k < 3; ++k) {
                p2[k] = c0 > c1 ? (2 * p0[k] + p1[k]) / 3 : (p0[k] + p1[k]) / 2;
                p3[k] = c0 > c1 ? (p0[k] + 2 * p1[k]) / 3 : 0;
            }
            const std::array<int, 3> palette[4] = {p0, p1, p2, p3};
            uint32_t indices = u32(std::vector<unsigned char>(block + 4, block + 8), 0);
            for (int i = 0; i < 16; ++i) {
                size_t x = bx * 4 + i % 4, y = by * 4 + i / 4;
                if (x >= dds.width || y >= dds.height) continue;
                const auto& c = palette[(indices >> (2 * i)) & 3];
                pixels[y * dds.width + x] = {static_cast<unsigned char>(c[0]), static_cast<unsigned char>(c[1]),
                                             static_cast<unsigned char>(c[2]), alpha[i]};
            }
        }
    return pixels;
}

const char* const imageFiles[] = {"VellmarFontDark.dds", "Infos.dds", "mouse.dds", "wasd.dds",
                                  "start.dds",           "pause.dds", "pause1.dds", "pause2.dds",
                                  "pause3.dds",          "gameWon.dds", "gameOver.dds"};

// Mean brightness of a rectangle given in window fractions (fy = 0 at the window's top) of a full-screen
// image: fy maps to the height fraction 0.75 * (1 - fy) from the picture's bottom, which is stored first.
double meanBrightness(const Dds& dds, const std::vector<std::array<unsigned char, 4>>& px, double fx0, double fx1,
                      double fy0, double fy1)
{
    double sum = 0;
    size_t n = 0;
    size_t row0 = static_cast<size_t>(0.75 * (1 - fy1) * dds.height), row1 = static_cast<size_t>(0.75 * (1 - fy0) * dds.height);
    for (size_t y = row0; y < row1; ++y)
        for (size_t x = static_cast<size_t>(fx0 * dds.width); x < static_cast<size_t>(fx1 * dds.width); ++x) {
            const auto& p = px[y * dds.width + x];
            sum += (p[0] + p[1] + p[2]) / 3.0;
            ++n;
        }
    return n ? sum / n : 0;
}

}  // namespace

TEST(ContentImages, EveryScreenImageIsDxtWithACompleteMipChain)
{
    for (const char* name : imageFiles) {
        SCOPED_TRACE(name);
        Dds dds = readDds(std::string("Scene/") + name);
        ASSERT_TRUE(dds.ok);
        EXPECT_TRUE(dds.fourCC == "DXT1" || dds.fourCC == "DXT5") << dds.fourCC;
        EXPECT_EQ(dds.width, dds.height);  // overlays are drawn as squares
        uint32_t levels = 1;
        for (uint32_t s = std::max(dds.width, dds.height); s > 1; s /= 2) ++levels;
        EXPECT_EQ(dds.mipCount, levels);
        size_t total = 0;
        uint32_t w = dds.width, h = dds.height;
        for (uint32_t level = 0; level < dds.mipCount; ++level) {
            total += levelSize(dds, w, h);
            w = std::max(1u, w / 2);
            h = std::max(1u, h / 2);
        }
        EXPECT_EQ(dds.linearSize, levelSize(dds, dds.width, dds.height));
        EXPECT_EQ(dds.fileSize, 128 + total);
        // The game's loader reads at most twice the first level.
        EXPECT_LE(total, 2u * dds.linearSize);
    }
}

TEST(ContentImages, HelpPicturesAndFontAreTransparentAroundTheirContent)
{
    for (const char* name : {"VellmarFontDark.dds", "mouse.dds", "wasd.dds", "Infos.dds"}) {
        SCOPED_TRACE(name);
        Dds dds = readDds(std::string("Scene/") + name);
        ASSERT_TRUE(dds.ok);
        EXPECT_EQ(dds.fourCC, "DXT5");
        auto px = decodeLevel0(dds);
        size_t clear = 0, solid = 0;
        for (const auto& p : px) {
            clear += p[3] == 0;
            solid += p[3] > 200;
        }
        EXPECT_GT(clear, px.size() / 100);
        EXPECT_GT(solid, px.size() / 50);
    }
}

TEST(ContentImages, FontCellsHoldTheirCharactersWithRowZeroAtTheTop)
{
    Dds dds = readDds("Scene/VellmarFontDark.dds");
    ASSERT_TRUE(dds.ok);
    auto px = decodeLevel0(dds);
    size_t cell = dds.width / 16;
    auto coverage = [&](int code) {
        // Row r of the grid spans v from 1 - r/16 down to 1 - (r+1)/16; stored rows run from v = 0 upwards.
        size_t col = code % 16, row = code / 16;
        size_t firstStored = dds.height - (row + 1) * cell;
        size_t covered = 0;
        for (size_t y = firstStored; y < firstStored + cell; ++y)
            for (size_t x = col * cell; x < (col + 1) * cell; ++x) covered += px[y * dds.width + x][3] > 128;
        return static_cast<double>(covered) / (cell * cell);
    };
    EXPECT_EQ(coverage(' '), 0.0);
    for (int code = 0; code < 32; ++code) EXPECT_EQ(coverage(code), 0.0) << code;
    for (int code = 33; code < 127; ++code) EXPECT_GT(coverage(code), 0.01) << static_cast<char>(code);
    // Full letters fill their cells well enough to read at the HUD's sizes.
    for (int code : {'M', 'W', '0', '8'}) EXPECT_GT(coverage(code), 0.2) << static_cast<char>(code);
    // The glyph of 'A' is upright: its wide legs are in the lower half of the cell, its apex above.
    size_t col = 'A' % 16, row = 'A' / 16, firstStored = dds.height - (row + 1) * cell;
    auto rowWidth = [&](size_t y) {
        size_t n = 0;
        for (size_t x = col * cell; x < (col + 1) * cell; ++x) n += px[y * dds.width + x][3] > 128;
        return n;
    };
    size_t lowWidth = 0, highWidth = 0;
    for (size_t y = firstStored + cell / 4; y < firstStored + cell / 2; ++y) lowWidth += rowWidth(y);
    for (size_t y = firstStored + cell / 2; y < firstStored + 3 * cell / 4; ++y) highWidth += rowWidth(y);
    EXPECT_GT(lowWidth, highWidth);
}

TEST(ContentImages, PauseEntriesLightUpExactlyInTheirHoverZones)
{
    const double zones[3][2] = {{1.0 / 4, 5.0 / 12}, {1.0 / 2, 8.0 / 12}, {3.0 / 4, 11.0 / 12}};
    Dds plain = readDds("Scene/pause.dds");
    ASSERT_TRUE(plain.ok);
    auto plainPx = decodeLevel0(plain);
    for (int entry = 1; entry <= 3; ++entry) {
        SCOPED_TRACE(entry);
        Dds lit = readDds("Scene/pause" + std::to_string(entry) + ".dds");
        ASSERT_TRUE(lit.ok);
        auto litPx = decodeLevel0(lit);
        for (int zone = 0; zone < 3; ++zone) {
            // Inset a little from the zone's edges; the label box fills the zone.
            double fy0 = zones[zone][0] + 0.01, fy1 = zones[zone][1] - 0.01;
            double before = meanBrightness(plain, plainPx, 0.26, 0.74, fy0, fy1);
            double after = meanBrightness(lit, litPx, 0.26, 0.74, fy0, fy1);
            if (zone + 1 == entry)
                EXPECT_GT(after, before + 40);
            else
                EXPECT_NEAR(after, before, 2);
        }
        // Just outside the zones the highlighted and plain pictures match.
        EXPECT_NEAR(meanBrightness(lit, litPx, 0.26, 0.74, 0.43, 0.49), meanBrightness(plain, plainPx, 0.26, 0.74, 0.43, 0.49), 2);
    }
}
