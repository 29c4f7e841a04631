#include "ImageFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <stb_dxt.h>
#include <stb_image_write.h>

#include "FileOutput.h"

namespace {

unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

// One mip level, compressed; rows taken bottom-up.
void compressLevel(const Canvas& level, DdsFormat format, std::vector<unsigned char>& out)
{
    std::vector<unsigned char> rgba = toBytes(level);
    int w = level.width, h = level.height;
    int blocksX = (w + 3) / 4, blocksY = (h + 3) / 4;
    unsigned char block[64];
    unsigned char packed[16];
    for (int by = 0; by < blocksY; ++by)
        for (int bx = 0; bx < blocksX; ++bx) {
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i) {
                    int storedRow = std::min(by * 4 + j, h - 1);
                    int srcY = h - 1 - storedRow;
                    int srcX = std::min(bx * 4 + i, w - 1);
                    std::memcpy(block + (j * 4 + i) * 4, &rgba[(static_cast<size_t>(srcY) * w + srcX) * 4], 4);
                }
            bool alpha = format == DdsFormat::Dxt5;
            stb_compress_dxt_block(packed, block, alpha ? 1 : 0, STB_DXT_HIGHQUAL);
            out.insert(out.end(), packed, packed + (alpha ? 16 : 8));
        }
}

}  // namespace

std::vector<unsigned char> toBytes(const Canvas& canvas)
{
    std::vector<unsigned char> bytes(canvas.pixels.size() * 4);
    for (size_t i = 0; i < canvas.pixels.size(); ++i) {
        const Color& c = canvas.pixels[i];
        bytes[i * 4 + 0] = toByte(c.r);
        bytes[i * 4 + 1] = toByte(c.g);
        bytes[i * 4 + 2] = toByte(c.b);
        bytes[i * 4 + 3] = toByte(c.a);
    }
    return bytes;
}

bool writePng(const std::string& path, const Canvas& canvas)
{
    std::vector<unsigned char> file;
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<unsigned char>*>(context);
        out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    };
    const std::vector<unsigned char> rgba = toBytes(canvas);
    return stbi_write_png_to_func(append, &file, canvas.width, canvas.height, 4, rgba.data(), canvas.width * 4) &&
           writeWholeFile(path, file);
}

bool writeTga(const std::string& path, const Canvas& canvas)
{
    constexpr size_t headerBytes = 18;
    constexpr unsigned char trueColour = 2;
    constexpr unsigned char alphaBits = 8;
    constexpr unsigned char topRowFirst = 0x20;
    std::vector<unsigned char> out(headerBytes, 0);
    out[2] = trueColour;
    putU16(out, 12, static_cast<uint16_t>(canvas.width));
    putU16(out, 14, static_cast<uint16_t>(canvas.height));
    out[16] = 32;
    out[17] = alphaBits | topRowFirst;
    std::vector<unsigned char> rgba = toBytes(canvas);
    out.reserve(headerBytes + rgba.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned char bgra[4] = {rgba[i + 2], rgba[i + 1], rgba[i], rgba[i + 3]};
        out.insert(out.end(), bgra, bgra + 4);
    }
    return writeWholeFile(path, out);
}

bool writeDds(const std::string& path, const Canvas& canvas, DdsFormat format)
{
    std::vector<unsigned char> levels;
    uint32_t mipCount = 0;
    uint32_t linearSize = 0;
    Canvas level = canvas;
    while (true) {
        size_t before = levels.size();
        compressLevel(level, format, levels);
        if (mipCount == 0) linearSize = static_cast<uint32_t>(levels.size() - before);
        ++mipCount;
        if (level.width == 1 && level.height == 1) break;
        level = level.halved();
    }

    std::vector<unsigned char> header(128, 0);
    std::memcpy(header.data(), "DDS ", 4);
    putU32(header, 4, 124);
    putU32(header, 8, 0x1 | 0x2 | 0x4 | 0x1000 | 0x20000 | 0x80000);
    putU32(header, 12, static_cast<uint32_t>(canvas.height));
    putU32(header, 16, static_cast<uint32_t>(canvas.width));
    putU32(header, 20, linearSize);
    putU32(header, 28, mipCount);
    putU32(header, 76, 32);
    putU32(header, 80, 0x4);
    std::memcpy(header.data() + 84, format == DdsFormat::Dxt5 ? "DXT5" : "DXT1", 4);
    putU32(header, 108, 0x1000 | 0x400000 | 0x8);

    header.insert(header.end(), levels.begin(), levels.end());
    return writeWholeFile(path, header);
}
