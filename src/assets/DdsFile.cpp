#include "assets/DdsFile.h"

#include <algorithm>
#include <cstring>

#include "assets/ByteOrder.h"

namespace {

constexpr size_t flagsOffset = 8;
constexpr size_t heightOffset = 12;
constexpr size_t widthOffset = 16;
constexpr size_t linearSizeOffset = 20;
constexpr size_t mipMapCountOffset = 28;
constexpr size_t pixelFormatFlagsOffset = 80;
constexpr size_t fourCCOffset = 84;

// Header flag: the mip-map count field is set. Pixel format flag: the FourCC field is set.
constexpr uint32_t ddsdMipMapCount = 0x20000;
constexpr uint32_t ddpfFourCC = 0x4;

// The longest texture side any OpenGL implementation takes; longer sides are nonsense headers.
// It also keeps every level's byte size within a GLsizei.
constexpr uint32_t largestSide = 1u << 15;

uint32_t levelCount(const unsigned char* header)
{
    const uint32_t count = littleEndian32(header + mipMapCountOffset);
    return count == 0 && (littleEndian32(header + flagsOffset) & ddsdMipMapCount) == 0 ? 1 : count;
}

// The FourCC as the player would look it up, in quotes, or "uncompressed pixels".
std::string formatName(const unsigned char* header)
{
    if ((littleEndian32(header + pixelFormatFlagsOffset) & ddpfFourCC) == 0)
        return "uncompressed pixels";
    std::string name = "the format \"";
    for (size_t i = 0; i < 4; ++i) {
        const unsigned char c = header[fourCCOffset + i];
        name += c >= 0x20 && c < 0x7f ? std::string(1, char(c)) : "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) +
                                                                    "0123456789abcdef"[c & 15];
    }
    return name + "\"";
}

}  // namespace

bool hasDdsMagic(const unsigned char* bytes, size_t count)
{
    return count >= ddsMagicBytes && std::memcmp(bytes, "DDS ", ddsMagicBytes) == 0;
}

uint64_t ddsDataBytes(const unsigned char* header)
{
    uint64_t linearSize = littleEndian32(header + linearSizeOffset);
    return levelCount(header) > 1 ? linearSize * 2 : linearSize;
}

DdsImage parseDds(const unsigned char* bytes, size_t size)
{
    DdsImage image;
    if (!hasDdsMagic(bytes, size)) {
        image.problem = "not a DDS file";
        return image;
    }
    if (size < ddsHeaderBytes) {
        image.problem = "cut inside its header";
        return image;
    }

    const unsigned char* fourCC = bytes + fourCCOffset;
    uint64_t blockBytes = 0;
    if (std::memcmp(fourCC, "DXT1", 4) == 0) {
        image.format = DdsFormat::Dxt1;
        blockBytes = 8;
    } else if (std::memcmp(fourCC, "DXT3", 4) == 0) {
        image.format = DdsFormat::Dxt3;
        blockBytes = 16;
    } else if (std::memcmp(fourCC, "DXT5", 4) == 0) {
        image.format = DdsFormat::Dxt5;
        blockBytes = 16;
    } else {
        image.status = DdsStatus::UnknownFormat;
        image.problem = formatName(bytes) + " cannot be read (only DXT1, DXT3 and DXT5)";
        return image;
    }
    image.status = DdsStatus::Usable;

    uint32_t width = littleEndian32(bytes + widthOffset);
    uint32_t height = littleEndian32(bytes + heightOffset);
    const uint32_t count = levelCount(bytes);
    if (width == 0 || height == 0 || width > largestSide || height > largestSide) {
        image.problem = "a side of 0 or above 32768 pixels";
        return image;
    }

    const uint64_t dataEnd = ddsHeaderBytes + std::min<uint64_t>(size - ddsHeaderBytes, ddsDataBytes(bytes));
    uint64_t offset = ddsHeaderBytes;
    for (uint32_t level = 0; level < count; ++level) {
        uint64_t levelSize = uint64_t((width + 3) / 4) * ((height + 3) / 4) * blockBytes;
        if (levelSize > dataEnd - offset)
            break;
        image.levels.push_back({width, height, size_t(offset), size_t(levelSize)});
        offset += levelSize;
        if (width == 1 && height == 1)
            break;
        width = std::max(width / 2, 1u);
        height = std::max(height / 2, 1u);
    }
    if (image.levels.empty())
        image.problem = count == 0 ? "no level" : "cut before the end of its first level";
    const DdsLevel* last = image.levels.empty() ? nullptr : &image.levels.back();
    image.partialChain = last != nullptr && (last->width > 1 || last->height > 1);
    return image;
}
