#pragma once
// The layout of a DDS file holding DXT1/DXT3/DXT5 data, parsed without OpenGL: which compressed
// levels the bytes really contain. Files come from disk and are not trusted; the parser never
// points past the bytes it is given, whatever the header claims.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Magic "DDS " and the 124-byte header in front of the level data.
constexpr size_t ddsMagicBytes = 4;
constexpr size_t ddsHeaderBytes = 128;

enum class DdsFormat { Dxt1, Dxt3, Dxt5 };
enum class DdsStatus { Usable, NotDds, UnknownFormat };

// One compressed level; offset counts from the start of the file.
struct DdsLevel {
    uint32_t width = 0;
    uint32_t height = 0;
    size_t offset = 0;
    size_t size = 0;
};

struct DdsImage {
    DdsStatus status = DdsStatus::NotDds;
    DdsFormat format = DdsFormat::Dxt1;
    std::vector<DdsLevel> levels;
    // Why the file gives no level to show, for the player; empty when it gives one.
    std::string problem;
    // Fewer levels than the whole chain down to 1 x 1.
    bool partialChain = false;
};

// Whether the file starts with the four characters "DDS " (count is how many bytes there are).
bool hasDdsMagic(const unsigned char* bytes, size_t count);

// How many bytes of level data the loader reads after the header: twice the linear size when the
// header names more than one level, otherwise the linear size. `header` holds all 128 bytes.
uint64_t ddsDataBytes(const unsigned char* header);

// The levels found in the first `size` bytes of a file. Levels follow the header back to back,
// each ceil(w/4) x ceil(h/4) blocks of 8 (DXT1) or 16 bytes, halving each side down to 1. Only
// levels lying wholly inside both the bytes given and the data size the header allows are listed;
// the list ends at the first that does not, after the 1 x 1 level or after the header's count.
// The count is read only when the header's flags say it is there (DDSD_MIPMAPCOUNT): a file without
// the flag and with a count of 0 holds one level. A file shorter than magic and header is NotDds;
// a zero side or level count gives no levels.
DdsImage parseDds(const unsigned char* bytes, size_t size);
