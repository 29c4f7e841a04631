// The DDS parser on its own: level arithmetic, rejection, and headers that claim more than the
// file holds (the sanitizer build sees any read past the bytes given).
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

// Level sizes; levels lie back to back after the header, inside the file.
std::vector<size_t> levelSizes(const std::string& file)
{
    std::vector<size_t> sizes;
    size_t offset = ddsHeaderBytes;
    for (const DdsLevel& level : parse(file).levels) {
        EXPECT_EQ(level.offset, offset);
        EXPECT_LE(level.offset + level.size, file.size());
        offset += level.size;
        sizes.push_back(level.size);
    }
    return sizes;
}

}  // namespace

TEST(DdsFile, LevelsHaveTheBlockSizeOfTheirSidesDownToOneByOne)
{
    using Sizes = std::vector<size_t>;
    const uint32_t most = std::numeric_limits<uint32_t>::max();
    const struct {
        std::string file;
        Sizes sizes;
    } cases[] = {
        // The header's buffer is twice level 0; the whole chain needs less.
        {ddsbytes::header(256, 64, 16384, 9, "DXT5") + std::string(32768, 0),
         {16384, 4096, 1024, 256, 64, 32, 16, 16, 16}},
        {ddsbytes::header(8, 8, 32, 1, "DXT1") + std::string(1000, 0), {32}},  // one level reads the linear size only
        {ddsbytes::header(8, 8, 64, 1, "DXT3") + std::string(64, 0), {64}},
        {ddsbytes::header(4, 4, 8, 3) + std::string(24, 0), {8, 8}},  // a 16-byte buffer holds two levels
        {ddsbytes::header(64, 64, 2048, 7) + std::string(2048 + 300, 0), {2048}},  // cut inside level 1
        {ddsbytes::header(1, 1, most, most, "DXT5") + std::string(40, 0), {16}},    // stops after 1 x 1
        {ddsbytes::header(4, 4, most, most) + std::string(64, 0), {8, 8, 8}},
        {ddsbytes::header(1u << 15, 1u << 15, 8, 16) + std::string(1024, 0), {}},  // level 0 needs 512 MiB
        {ddsbytes::header(most, most, most, most) + std::string(64, 0), {}},
        {ddsbytes::header(most, 4, 8, 1) + std::string(8, 0), {}},
        {ddsbytes::header(64, 64, 2048, 0) + std::string(4096, 0), {}},
        {ddsbytes::header(0, 64, 2048, 7) + std::string(4096, 0), {}},
        {ddsbytes::header(64, 0, 2048, 7) + std::string(4096, 0), {}},
        {ddsbytes::header(64, 64, 0, 7) + std::string(4096, 0), {}},
        {ddsbytes::header(4, 4, 8, 2), {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(levelSizes(cases[i].file), cases[i].sizes) << "case " << i;

    DdsImage chain = parse(cases[0].file);
    EXPECT_EQ(chain.format, DdsFormat::Dxt5);
    EXPECT_EQ(chain.levels[5].width * 100 + chain.levels[5].height, 802u);
    EXPECT_EQ(parse(cases[1].file).format, DdsFormat::Dxt1);
    EXPECT_EQ(parse(cases[2].file).format, DdsFormat::Dxt3);
    EXPECT_EQ(parse(cases[13].file).status, DdsStatus::Usable) << "usable, with no level data allowed";
}

TEST(DdsFile, RejectsWrongMagicUnknownFourCCAndShortHeaders)
{
    std::string good = ddsbytes::header(4, 4, 8, 1) + std::string(8, 0);
    ASSERT_EQ(parse(good).status, DdsStatus::Usable);
    EXPECT_EQ(parse("d" + good.substr(1)).status, DdsStatus::NotDds);
    EXPECT_EQ(parse("DDSX" + good.substr(4)).status, DdsStatus::NotDds);
    for (const char* fourCC : {"DXT2", "DXT4", "ATI2", "dxt1", "\0\0\0\0"})
        EXPECT_EQ(parse(ddsbytes::header(4, 4, 8, 1, fourCC) + std::string(8, 0)).status, DdsStatus::UnknownFormat);
    // Shorter than magic and header is not a DDS file, whatever its bytes say.
    for (size_t length : {0u, 3u, 4u, 88u, 127u})
        EXPECT_EQ(parse(good.substr(0, length)).status, DdsStatus::NotDds) << length;
}

TEST(DdsFile, DataSizeIsTwiceTheLinearSizeForAChainWithoutOverflow)
{
    auto bytes = [](uint32_t linearSize, uint32_t levels) {
        return ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, linearSize, levels).data()));
    };
    EXPECT_EQ(bytes(32, 1), 32u);
    EXPECT_EQ(bytes(32, 2), 64u);
    EXPECT_EQ(bytes(0xFFFFFFFF, 2), 0x1FFFFFFFEull);
}
