#pragma once
// Builds DDS files in memory for the loader's tests: a header with chosen fields, and DXT1 level
// data whose every 4 x 4 block is one flat colour (or fully transparent).
#include <cstdint>
#include <functional>
#include <string>

namespace ddsbytes {

inline void putWord(std::string& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Header flags as tools write them: caps, height, width, pixel format and linear size, and the
// mip-map count flag.
constexpr uint32_t withLevelCount = 0x000A1007, withoutLevelCount = 0x00081007;

// Magic and header: flags, height, width, linear size, level count and FourCC at their offsets;
// the pixel format says a FourCC is set unless it is empty.
inline std::string header(uint32_t width, uint32_t height, uint32_t linearSize, uint32_t levels,
                          const char* fourCC = "DXT1", uint32_t flags = withLevelCount)
{
    std::string bytes(128, '\0');
    bytes.replace(0, 4, "DDS ");
    putWord(bytes, 4, 124);
    putWord(bytes, 8, flags);
    putWord(bytes, 80, *fourCC ? 4 : 0x40);
    putWord(bytes, 12, height);
    putWord(bytes, 16, width);
    putWord(bytes, 20, linearSize);
    putWord(bytes, 28, levels);
    putWord(bytes, 76, 32);
    bytes.replace(84, 4, fourCC, 4);
    return bytes;
}

struct Rgb {
    int r, g, b;
    bool transparent = false;
};

// One DXT1 block of a single colour given in 5/6/5 bits, or fully transparent.
inline std::string block(Rgb c)
{
    std::string bytes(8, '\0');
    uint32_t packed = static_cast<uint32_t>(c.r << 11 | c.g << 5 | c.b);
    bytes[0] = static_cast<char>(packed & 0xFF);
    bytes[1] = static_cast<char>(packed >> 8);
    bytes[2] = bytes[0];
    bytes[3] = bytes[1];
    // Equal end points select the three-colour mode, where index 3 is transparent black.
    if (c.transparent)
        bytes.replace(4, 4, 4, '\xFF');
    return bytes;
}

// A whole DXT1 file: each level's blocks from colourAt(u, v) with u, v in 0..1 at the block's
// centre, blocks stored bottom row first (v grows with the stored row), down to 1 x 1.
inline std::string dxt1Picture(uint32_t side, const std::function<Rgb(double, double)>& colourAt)
{
    uint32_t levels = 1;
    for (uint32_t s = side; s > 1; s /= 2)
        ++levels;
    uint32_t linearSize = ((side + 3) / 4) * ((side + 3) / 4) * 8;
    std::string bytes = header(side, side, linearSize, levels);
    for (uint32_t s = side; s >= 1; s /= 2) {
        uint32_t blocks = (s + 3) / 4;
        for (uint32_t row = 0; row < blocks; ++row)
            for (uint32_t col = 0; col < blocks; ++col)
                bytes += block(colourAt((col + 0.5) / blocks, (row + 0.5) / blocks));
        if (s == 1)
            break;
    }
    return bytes;
}

}  // namespace ddsbytes
