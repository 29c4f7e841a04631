#include "assets/DdsFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t heightOffset = 12;
constexpr size_t widthOffset = 16;
constexpr size_t linearSizeOffset = 20;
constexpr size_t mipMapCountOffset = 28;
constexpr size_t fourCCOffset = 84;

// The longest texture side any OpenGL implementation takes; longer sides are nonsense headers.
// It also keeps every level's byte size within a GLsizei.
constexpr uint32_t largestSide = 1u << 15;

uint32_t readLittleEndian(const unsigned char* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

}  // namespace

bool hasDdsMagic(const unsigned char* bytes, size_t count)
{
    return count >= ddsMagicBytes && std::memcmp(bytes, "DDS ", ddsMagicBytes) == 0;
}

uint64_t ddsDataBytes(const unsigned char* header)
{
    uint64_t linearSize = readLittleEndian(header + linearSizeOffset);
    return readLittleEndian(header + mipMapCountOffset) > 1 ? linearSize * 2 : linearSize;
}

DdsImage parseDds(const unsigned char* bytes, size_t size)
{
    DdsImage image;
    if (size < ddsHeaderBytes || !hasDdsMagic(bytes, size))
        return image;

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
        return image;
    }
    image.status = DdsStatus::Usable;

    uint32_t width = readLittleEndian(bytes + widthOffset);
    uint32_t height = readLittleEndian(bytes + heightOffset);
    uint32_t levelCount = readLittleEndian(bytes + mipMapCountOffset);
    if (width == 0 || height == 0 || width > largestSide || height > largestSide)
        return image;

    const uint64_t dataEnd = ddsHeaderBytes + std::min<uint64_t>(size - ddsHeaderBytes, ddsDataBytes(bytes));
    uint64_t offset = ddsHeaderBytes;
    for (uint32_t level = 0; level < levelCount; ++level) {
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
    return image;
}
