#include "ImageFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include <stb_dxt.h>
#include <stb_image_write.h>

namespace {

// Fast deflate: the files are rebuilt on every change. Set once before any writer thread starts.
const bool pngLevelSet = (stbi_write_png_compression_level = 4, true);

unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

void putU32(std::vector<unsigned char>& out, size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<unsigned char>(v >> (8 * i));
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
    std::vector<unsigned char> bytes = toBytes(canvas);
    return stbi_write_png(path.c_str(), canvas.width, canvas.height, 4, bytes.data(), canvas.width * 4) != 0;
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

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(levels.data()), static_cast<std::streamsize>(levels.size()));
    return static_cast<bool>(file);
}
