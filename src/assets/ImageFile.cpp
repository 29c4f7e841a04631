#include "assets/ImageFile.h"

#include <IL/ilu.h>

#include <fcntl.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr size_t targaHeaderBytes = 18;

// Targa image types: colour-mapped, true-colour, grey; each raw or run-length encoded.
enum TargaType : uint8_t { Mapped = 1, TrueColour = 2, Grey = 3, MappedRle = 9, TrueColourRle = 10, GreyRle = 11 };

unsigned littleEndian16(const uint8_t* bytes) { return bytes[0] | (bytes[1] << 8); }

bool depthFits(uint8_t type, unsigned depth)
{
    switch (type) {
    case Mapped:
    case MappedRle:
        return depth == 8;
    case TrueColour:
    case TrueColourRle:
        return depth == 15 || depth == 16 || depth == 24 || depth == 32;
    case Grey:
    case GreyRle:
        return depth == 8 || depth == 16;
    }
    return false;
}

// Whether every index among count pixels of a colour-mapped picture names a colour of its map;
// DevIL converts the others by reading past the end of its copy of the map.
bool indicesInMap(const uint8_t* pixels, size_t count, unsigned mapLength)
{
    for (size_t i = 0; i < count; ++i)
        if (pixels[i] >= mapLength)
            return false;
    return true;
}

bool hasTargaName(const char* path)
{
    const size_t length = std::strlen(path);
    return length >= 4 && strcasecmp(path + length - 4, ".tga") == 0;
}

// A regular file mapped read-only: only the pages the check touches are read, which for a raw
// picture is the header alone. Anything else is left unmapped, for DevIL to report.
class MappedFile {
public:
    explicit MappedFile(const char* path)
    {
        const int descriptor = open(path, O_RDONLY);
        if (descriptor < 0)
            return;
        struct stat status;
        if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
            opened = true;
            size = static_cast<size_t>(status.st_size);
            void* mapped = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0) : MAP_FAILED;
            if (mapped != MAP_FAILED)
                bytes = static_cast<const uint8_t*>(mapped);
            else
                size = 0;
        }
        close(descriptor);
    }
    ~MappedFile()
    {
        if (bytes != nullptr)
            munmap(const_cast<uint8_t*>(bytes), size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool opened = false;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

void initImageLibrary()
{
    static bool initialised = false;
    if (initialised)
        return;
    ilInit();
    iluInit();
    initialised = true;
}

RgbaImage failed(ILuint image, const char* step, ILenum error)
{
    if (image != 0)
        ilDeleteImages(1, &image);
    return {0, step, error};
}

}  // namespace

ILenum checkTarga(const uint8_t* bytes, size_t size)
{
    if (size < targaHeaderBytes)
        return IL_FILE_READ_ERROR;
    const uint8_t idLength = bytes[0], mapType = bytes[1], type = bytes[2];
    const unsigned mapLength = littleEndian16(bytes + 5), mapEntryBits = bytes[7];
    const unsigned width = littleEndian16(bytes + 12), height = littleEndian16(bytes + 14), depth = bytes[16];
    const bool mapped = type == Mapped || type == MappedRle;
    if (!depthFits(type, depth) || mapType > 1 || (mapped && (mapType != 1 || mapLength == 0)) ||
        (mapType == 1 && mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32) ||
        width == 0 || height == 0 || width > largestImageSide || height > largestImageSide)
        return IL_INVALID_FILE_HEADER;

    const size_t pixelBytes = (depth + 7) / 8;
    const size_t pixels = static_cast<size_t>(width) * height;
    size_t at = targaHeaderBytes + idLength + (mapType == 1 ? mapLength * ((mapEntryBits + 7) / 8) : 0);
    if (type < MappedRle) {
        if (at > size || (size - at) / pixelBytes < pixels)
            return IL_FILE_READ_ERROR;
        return mapped && !indicesInMap(bytes + at, pixels, mapLength) ? IL_ILLEGAL_FILE_VALUE : IL_NO_ERROR;
    }
    // Run-length packets: a count byte, then one pixel repeated or that many literal pixels. A packet
    // running past the picture's last pixel is damage too, though DevIL would drop the excess.
    for (size_t done = 0; done < pixels;) {
        if (at >= size)
            return IL_FILE_READ_ERROR;
        const size_t count = (bytes[at] & 0x7f) + 1u;
        const size_t stored = (bytes[at] & 0x80) ? 1 : count;
        ++at;
        if (count > pixels - done)
            return IL_ILLEGAL_FILE_VALUE;
        if ((size - at) / pixelBytes < stored)
            return IL_FILE_READ_ERROR;
        if (mapped && !indicesInMap(bytes + at, stored, mapLength))
            return IL_ILLEGAL_FILE_VALUE;
        at += stored * pixelBytes;
        done += count;
    }
    return IL_NO_ERROR;
}

RgbaImage readRgbaImage(const char* path)
{
    initImageLibrary();
    // An error left over from an earlier picture would be taken for this one's.
    while (ilGetError() != IL_NO_ERROR) {
    }
    // A file that cannot be opened is left to DevIL, which reports it as it does for any format.
    if (hasTargaName(path)) {
        MappedFile file(path);
        const ILenum error = file.opened ? checkTarga(file.bytes, file.size) : IL_NO_ERROR;
        if (error != IL_NO_ERROR)
            return failed(0, "Image load failed", error);
    }

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // This DevIL takes narrow file names, which it passes to the system as the UTF-8 they are. It
    // reports some damaged files as loaded, with an error pending.
    ILboolean loaded = ilLoadImage(path);
    ILenum error = ilGetError();
    if (!loaded || error != IL_NO_ERROR)
        return failed(image, "Image load failed", error);
    if (!ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE))
        return failed(image, "Image conversion failed", ilGetError());
    return {image, nullptr, IL_NO_ERROR};
}
