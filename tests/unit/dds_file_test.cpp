// The DDS parser on its own: level arithmetic, rejection, and hostile headers. This file is also
// built with AddressSanitizer, so any read past the given bytes fails the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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

// What must hold for any input: the levels lie back to back after the header, inside the bytes,
// each with the block size of its sides, each side halving down to 1.
void expectLevelsInside(const DdsImage& image, size_t fileSize)
{
    size_t expectedOffset = ddsHeaderBytes;
    for (size_t i = 0; i < image.levels.size(); ++i) {
        const DdsLevel& level = image.levels[i];
        ASSERT_EQ(level.offset, expectedOffset) << "level " << i;
        ASSERT_LE(level.offset + level.size, fileSize) << "level " << i;
        ASSERT_GT(level.width, 0u);
        ASSERT_GT(level.height, 0u);
        size_t blockBytes = image.format == DdsFormat::Dxt1 ? 8 : 16;
        ASSERT_EQ(level.size, size_t((level.width + 3) / 4) * ((level.height + 3) / 4) * blockBytes);
        if (i > 0) {
            ASSERT_EQ(level.width, std::max(image.levels[i - 1].width / 2, 1u));
            ASSERT_EQ(level.height, std::max(image.levels[i - 1].height / 2, 1u));
        }
        expectedOffset += level.size;
    }
}

std::vector<size_t> levelSizes(const DdsImage& image)
{
    std::vector<size_t> sizes;
    for (const DdsLevel& level : image.levels)
        sizes.push_back(level.size);
    return sizes;
}

}  // namespace

TEST(DdsFile, FullDxt5ChainCountsAtLeastOneBlockPerAxis)
{
    // 256 x 64 with 9 levels: the header's buffer is twice level 0, the chain needs less.
    std::string file = ddsbytes::header(256, 64, 16384, 9, "DXT5") + std::string(32768, '\x55');
    DdsImage image = parse(file);
    ASSERT_EQ(image.status, DdsStatus::Usable);
    EXPECT_EQ(image.format, DdsFormat::Dxt5);
    EXPECT_EQ(levelSizes(image), (std::vector<size_t>{16384, 4096, 1024, 256, 64, 32, 16, 16, 16}));
    size_t total = 0;
    for (const DdsLevel& level : image.levels)
        total += level.size;
    EXPECT_EQ(total, 21904u);
    const DdsLevel& last = image.levels.back();
    EXPECT_EQ(last.width, 1u);
    EXPECT_EQ(last.height, 1u);
    EXPECT_EQ(image.levels[5].width, 8u);
    EXPECT_EQ(image.levels[5].height, 2u);
    expectLevelsInside(image, file.size());
}

TEST(DdsFile, FormatsAndBlockSizes)
{
    EXPECT_EQ(parse(ddsbytes::header(8, 8, 32, 1, "DXT1") + std::string(32, 0)).format, DdsFormat::Dxt1);
    EXPECT_EQ(levelSizes(parse(ddsbytes::header(8, 8, 32, 1, "DXT1") + std::string(32, 0))),
              std::vector<size_t>{32});
    DdsImage dxt3 = parse(ddsbytes::header(8, 8, 64, 1, "DXT3") + std::string(64, 0));
    EXPECT_EQ(dxt3.format, DdsFormat::Dxt3);
    EXPECT_EQ(levelSizes(dxt3), std::vector<size_t>{64});
    // A single level reads exactly the linear size; bytes after it are not part of the image.
    DdsImage oneLevel = parse(ddsbytes::header(8, 8, 32, 1, "DXT1") + std::string(1000, 0));
    EXPECT_EQ(levelSizes(oneLevel), std::vector<size_t>{32});
}

TEST(DdsFile, RejectsWrongMagicUnknownFourCCAndShortHeaders)
{
    std::string good = ddsbytes::header(4, 4, 8, 1) + std::string(8, 0);
    ASSERT_EQ(parse(good).status, DdsStatus::Usable);

    std::string noSpace = good;
    noSpace[3] = 'X';
    EXPECT_EQ(parse(noSpace).status, DdsStatus::NotDds);
    std::string lowerCase = good;
    lowerCase[0] = 'd';
    EXPECT_EQ(parse(lowerCase).status, DdsStatus::NotDds);

    for (const char* fourCC : {"DXT2", "DXT4", "ATI2", "dxt1", "\0\0\0\0"}) {
        DdsImage image = parse(ddsbytes::header(4, 4, 8, 1, fourCC) + std::string(8, 0));
        EXPECT_EQ(image.status, DdsStatus::UnknownFormat) << fourCC;
        EXPECT_TRUE(image.levels.empty());
    }

    // Anything shorter than magic and header is not a DDS file, whatever the bytes it has say.
    for (size_t length : {0u, 3u, 4u, 84u, 88u, 127u}) {
        DdsImage image = parse(good.substr(0, length));
        EXPECT_EQ(image.status, DdsStatus::NotDds) << length;
        EXPECT_TRUE(image.levels.empty());
    }
    EXPECT_TRUE(hasDdsMagic(reinterpret_cast<const unsigned char*>("DDS "), 4));
    EXPECT_FALSE(hasDdsMagic(reinterpret_cast<const unsigned char*>("DDS "), 3));
}

TEST(DdsFile, ZeroLevelsZeroSidesOrZeroLinearSizeGiveNoLevels)
{
    EXPECT_TRUE(parse(ddsbytes::header(64, 64, 2048, 0) + std::string(4096, 0)).levels.empty());
    EXPECT_TRUE(parse(ddsbytes::header(0, 64, 2048, 7) + std::string(4096, 0)).levels.empty());
    EXPECT_TRUE(parse(ddsbytes::header(64, 0, 2048, 7) + std::string(4096, 0)).levels.empty());
    DdsImage noLinearSize = parse(ddsbytes::header(64, 64, 0, 7) + std::string(4096, 0));
    EXPECT_EQ(noLinearSize.status, DdsStatus::Usable);
    EXPECT_TRUE(noLinearSize.levels.empty()) << "the header allows no level data at all";
}

TEST(DdsFile, NeverPointsPastTheBytesGivenOrAllowed)
{
    // Small images with many levels: the header's buffer (twice level 0) ends inside the chain.
    DdsImage small = parse(ddsbytes::header(4, 4, 8, 3) + std::string(24, 0));
    EXPECT_EQ(levelSizes(small), (std::vector<size_t>{8, 8})) << "a 16-byte buffer holds two levels";

    // A file cut short in the middle of a level keeps only the levels before it.
    std::string cut = ddsbytes::header(64, 64, 2048, 7) + std::string(2048 + 300, 0);
    EXPECT_EQ(levelSizes(parse(cut)), (std::vector<size_t>{2048})) << "level 1 needs 512 bytes";

    // Headers claiming far more than the file holds.
    const uint32_t most = std::numeric_limits<uint32_t>::max();
    std::vector<std::string> hostile = {
        ddsbytes::header(most, most, most, most) + std::string(64, 0),
        ddsbytes::header(most, 4, 8, 1) + std::string(8, 0),
        ddsbytes::header(4, 4, most, most) + std::string(64, 0),
        ddsbytes::header(1u << 15, 1u << 15, 8, 16) + std::string(1024, 0),
        ddsbytes::header(1, 1, most, most, "DXT5") + std::string(40, 0),
        ddsbytes::header(4, 4, 8, 2),
    };
    for (size_t i = 0; i < hostile.size(); ++i) {
        DdsImage image = parse(hostile[i]);
        SCOPED_TRACE(i);
        expectLevelsInside(image, hostile[i].size());
    }
    // A huge level count stops after the 1 x 1 level instead of repeating it.
    DdsImage manyLevels = parse(hostile[4]);
    EXPECT_EQ(levelSizes(manyLevels), std::vector<size_t>{16});
    EXPECT_EQ(levelSizes(parse(hostile[2])), (std::vector<size_t>{8, 8, 8}));
    EXPECT_TRUE(parse(hostile[3]).levels.empty()) << "level 0 alone would need 512 MiB";
}

TEST(DdsFile, DataSizeFollowsTheLevelCount)
{
    EXPECT_EQ(ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, 32, 0).data())), 32u);
    EXPECT_EQ(ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, 32, 1).data())), 32u);
    EXPECT_EQ(ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, 32, 2).data())), 64u);
    EXPECT_EQ(ddsDataBytes(reinterpret_cast<const unsigned char*>(ddsbytes::header(8, 8, 0xFFFFFFFF, 2).data())),
              0x1FFFFFFFEull) << "no 32-bit overflow";
}

TEST(DdsFile, FuzzCorpusParsesWithinBounds)
{
    const std::filesystem::path corpus = std::filesystem::path(VELLMAR_SOURCE_DIR) / "fuzz/corpus/dds";
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().filename().string());
        expectLevelsInside(parse(bytes), bytes.size());
        ++files;
    }
    EXPECT_GE(files, 8u) << "the seed corpus is missing";
}
