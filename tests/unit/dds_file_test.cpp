// The DDS parser: level arithmetic, rejection, and headers claiming more than the file holds.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "DdsBytes.h"
#include "assets/DdsFile.h"

namespace {

// Parses a copy in a buffer of exactly the file's size, so that ASan sees any overrun.
DdsImage parse(const std::string& file)
{
    std::vector<unsigned char> bytes(file.begin(), file.end());
    return parseDds(bytes.data(), bytes.size());
}

}  // namespace

TEST(DdsFile, LevelsHaveTheBlockSizeOfTheirSidesAndBrokenHeadersAreRefused)
{
    const uint32_t most = std::numeric_limits<uint32_t>::max();
    const struct {
        uint32_t width, height, linearSize, levels;
        const char* fourCC;
        size_t data;
        std::vector<size_t> sizes;
        uint32_t flags = ddsbytes::withLevelCount;
    } cases[] = {
        // The header's buffer is twice level 0; the whole chain needs less.
        {256, 64, 16384, 9, "DXT5", 32768, {16384, 4096, 1024, 256, 64, 32, 16, 16, 16}},
        {8, 8, 32, 1, "DXT1", 1000, {32}},  // one level reads the linear size only
        {8, 8, 64, 1, "DXT3", 64, {64}}, {4, 4, 8, 3, "DXT1", 24, {8, 8}},  // a 16-byte buffer holds two levels
        {64, 64, 2048, 7, "DXT1", 2348, {2048}},     // cut inside level 1
        {1, 1, most, most, "DXT5", 40, {16}}, {4, 4, most, most, "DXT1", 64, {8, 8, 8}},  // stop after 1 x 1
        {1u << 15, 1u << 15, 8, 16, "DXT1", 1024, {}},  // level 0 needs 512 MiB
        {most, most, most, most, "DXT1", 64, {}}, {most, 4, 8, 1, "DXT1", 8, {}}, {4, most, 8, 1, "DXT1", 8, {}},
        {64, 64, 2048, 0, "DXT1", 4096, {}},      {0, 64, 2048, 7, "DXT1", 4096, {}},
        {64, 64, 2048, 0, "DXT1", 4096, {2048}, ddsbytes::withoutLevelCount},  // no count: one level
        {64, 0, 2048, 7, "DXT1", 4096, {}},       {64, 64, 0, 7, "DXT1", 4096, {}}, {4, 4, 8, 2, "DXT1", 0, {}},
    };
    for (const auto& c : cases) {
        const std::string file = ddsbytes::header(c.width, c.height, c.linearSize, c.levels, c.fourCC, c.flags) +
                                 std::string(c.data, '\0');
        std::vector<size_t> sizes;
        size_t offset = ddsHeaderBytes;
        for (const DdsLevel& level : parse(file).levels) {
            EXPECT_EQ(level.offset, offset) << "levels lie back to back after the header";
            offset += level.size;
            sizes.push_back(level.size);
        }
        EXPECT_EQ(sizes, c.sizes) << c.width << " x " << c.height << ", " << c.levels << " levels";
        EXPECT_LE(offset, file.size());
    }
    DdsImage chain = parse(ddsbytes::header(256, 64, 16384, 9, "DXT5") + std::string(32768, '\0'));
    EXPECT_EQ(chain.format, DdsFormat::Dxt5);
    EXPECT_EQ(chain.levels[5].width * 100 + chain.levels[5].height, 802u);
    EXPECT_EQ(parse(ddsbytes::header(8, 8, 32, 1, "DXT1") + std::string(32, '\0')).format, DdsFormat::Dxt1);
    EXPECT_EQ(parse(ddsbytes::header(8, 8, 64, 1, "DXT3") + std::string(64, '\0')).format, DdsFormat::Dxt3);
    EXPECT_EQ(parse(ddsbytes::header(64, 64, 0, 7)).status, DdsStatus::Usable) << "usable, with no level data";
    // The loader reads twice the linear size for a chain, without overflow.
    EXPECT_EQ(ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, 32, 1).data())), 32u);
    EXPECT_EQ(ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, most, 2).data())),
              0x1FFFFFFFEull);

    // Wrong magic, an unknown FourCC, or a file shorter than magic and header is refused.
    std::string good = ddsbytes::header(4, 4, 8, 1) + std::string(8, 0);
    ASSERT_EQ(parse(good).status, DdsStatus::Usable);
    EXPECT_EQ(parse("d" + good.substr(1)).status, DdsStatus::NotDds);
    EXPECT_EQ(parse("DDSX" + good.substr(4)).status, DdsStatus::NotDds);
    for (size_t length : {0u, 3u, 4u, 88u, 127u})
        EXPECT_EQ(parse(good.substr(0, length)).status, DdsStatus::NotDds) << length;
    const std::pair<std::string, const char*> problems[] = {
        {"d" + good.substr(1), "not a DDS file"}, {good.substr(0, 100), "cut inside its header"},
        {ddsbytes::header(4, 4, 8, 1, "DX10") + good, "the format \"DX10\" cannot be read (only DXT1, DXT3 and DXT5)"},
        {ddsbytes::header(4, 4, 8, 1, "\0\0\0\0") + good, "uncompressed pixels cannot be read (only DXT1, DXT3 and DXT5)"},
        {ddsbytes::header(4, 0, 8, 1), "a side of 0 or above 32768 pixels"}, {ddsbytes::header(4, 4, 8, 0), "no level"},
        {good.substr(0, 135), "cut before the end of its first level"}, {good, ""}};
    for (const auto& [file, problem] : problems)
        EXPECT_EQ(parse(file).problem, problem);
    for (const char* fourCC : {"DXT2", "DXT4", "ATI2", "dxt1", "\0\0\0\0"})
        EXPECT_EQ(parse(ddsbytes::header(4, 4, 8, 1, fourCC) + std::string(8, 0)).status, DdsStatus::UnknownFormat);
}
