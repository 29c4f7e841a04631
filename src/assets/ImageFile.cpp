#include "assets/ImageFile.h"

#include <IL/ilu.h>

#include <fcntl.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "assets/ByteOrder.h"

// Third-party code: its own warnings are not ours to fix.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#ifndef __clang__
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_PNM
#define STBI_ONLY_TGA
#define STBI_ONLY_PNG
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace {

constexpr size_t targaHeaderBytes = 18;

// Targa image types: colour-mapped, true-colour, grey; each raw or run-length encoded.
enum TargaType : uint8_t { Mapped = 1, TrueColour = 2, Grey = 3, MappedRle = 9, TrueColourRle = 10, GreyRle = 11 };


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

enum class Reader { Targa, DevIL, Stb, None };

// Which reader takes a picture, by the ending of its name.
constexpr struct {
    const char* ending;
    Reader reader;
} pictureKinds[] = {{".tga", Reader::Targa}, {".png", Reader::DevIL}, {".jpg", Reader::DevIL},
                    {".jpeg", Reader::DevIL}, {".bmp", Reader::Stb},  {".gif", Reader::Stb},
                    {".pgm", Reader::Stb},    {".ppm", Reader::Stb},  {".pnm", Reader::Stb}};

Reader readerFor(const char* path)
{
    const size_t length = std::strlen(path);
    for (const auto& kind : pictureKinds) {
        const size_t ending = std::strlen(kind.ending);
        if (length >= ending && strcasecmp(path + length - ending, kind.ending) == 0)
            return kind.reader;
    }
    return Reader::None;
}

// Targa kinds DevIL reads wrong: grey with alpha loses its alpha, 15- or 16-bit colour-map entries
// come out as uninitialised memory, and 15- or 16-bit colour is widened by a shift, so that its
// white is 248. The bytes have passed checkTarga.
bool targaForStb(const uint8_t* bytes)
{
    const uint8_t type = bytes[2], mapEntryBits = bytes[7], depth = bytes[16];
    return ((type == Grey || type == GreyRle) && depth == 16) ||
           ((type == Mapped || type == MappedRle) && (mapEntryBits == 15 || mapEntryBits == 16)) ||
           ((type == TrueColour || type == TrueColourRle) && (depth == 15 || depth == 16));
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

RgbaImage failed(ILuint image, const char* step, ILenum error, const std::string& reason = "")
{
    if (image != 0)
        ilDeleteImages(1, &image);
    return {0, step, error, reason};
}

const char* const tooLarge = "a side above 16384 pixels";
const char* const fewerPixels = "fewer pixels than its header declares";

bool sidesFit(unsigned width, unsigned height) { return width <= largestImageSide && height <= largestImageSide; }

// DevIL's JPEG reader skips a marker segment it has no use for in a loop that never ends when the
// file ends inside that segment, so the game would hang while it builds the world. The segments are
// walked here as libjpeg finds them: a marker is 0xFF, any more 0xFF, then a code; whatever else
// lies between segments, the coded data of a scan included, is passed over, as are a stuffed 0
// and the markers without a length. A file that is no JPEG, or ends between segments, is left to DevIL.
// The frame is read from the first frame header: stb_image, which reads the sides of the other
// kinds, writes past its Huffman tables on a damaged JPEG.
struct JpegFrame {
    bool found = false;
    unsigned width = 0, height = 0;
    // libjpeg makes up whatever a scan cut short lacks, so 141 bytes may decode to a gigabyte. With
    // Huffman coding every 8 × 8 block of every component takes at least one bit.
    uint64_t leastBytes = 0;
};

bool jpegSegmentsFit(const uint8_t* bytes, size_t size, JpegFrame& frame)
{
    if (size < 2 || bytes[0] != 0xff || bytes[1] != 0xd8)
        return true;
    for (size_t at = 2; at < size;) {
        const void* marker = std::memchr(bytes + at, 0xff, size - at);
        if (!marker)
            return true;
        at = static_cast<size_t>(static_cast<const uint8_t*>(marker) - bytes);
        while (at < size && bytes[at] == 0xff)
            ++at;
        if (at == size)
            return true;
        const uint8_t code = bytes[at++];
        if (code == 0 || code == 0x01 || (code >= 0xd0 && code <= 0xd7))
            continue;
        // The end of the picture, or a second start, which libjpeg refuses.
        if (code == 0xd8 || code == 0xd9)
            return true;
        // A file cut within a length is one libjpeg waits for without skipping.
        if (size - at < 2)
            return true;
        const size_t length = bigEndian16(bytes + at);
        if (length > size - at)
            return false;
        const bool header = code >= 0xc0 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc;
        if (header && !frame.found && length >= 8) {
            // Precision, height, width, then each component's number, sampling factors and table.
            const uint8_t* fields = bytes + at + 2;
            frame = {true, bigEndian16(fields + 3), bigEndian16(fields + 1), 0};
            const unsigned components = std::min<unsigned>(fields[5], (length - 8) / 3);
            auto sampling = [fields](unsigned c, unsigned shift) { return unsigned{fields[7 + 3 * c]} >> shift & 15u; };
            unsigned widest = 1, tallest = 1;
            for (unsigned c = 0; c < components; ++c)
                widest = std::max(widest, sampling(c, 4)), tallest = std::max(tallest, sampling(c, 0));
            uint64_t blocks = 0;
            for (unsigned c = 0; code < 0xc8 && c < components; ++c) {  // the rest are coded arithmetically
                const uint64_t across = (uint64_t{frame.width} * sampling(c, 4) + widest - 1) / widest;
                const uint64_t down = (uint64_t{frame.height} * sampling(c, 0) + tallest - 1) / tallest;
                blocks += (across + 7) / 8 * ((down + 7) / 8);
            }
            frame.leastBytes = (blocks + 7) / 8;
        }
        at += length < 2 ? 2 : length;
    }
    return true;
}

// DevIL gives libpng a read that leaves the rest of the buffer as it was when the file ends, so a
// PNG file cut short has libpng working on memory that nothing wrote. Each chunk up to the last,
// IEND, must lie within the file: its length, type, data and check sum.
bool pngChunksFit(const uint8_t* bytes, size_t size)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size == 0 || std::memcmp(bytes, signature, size < 8 ? size : 8) != 0)
        return true;
    for (size_t at = 8;;) {
        if (size < at || size - at < 12)
            return false;
        const size_t length = bigEndian32(bytes + at);
        if (length > size - at - 12)
            return false;
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0)
            return true;
        at += 12 + length;
    }
}

// stb_image fills whatever a BMP file lacks of its pixels with zeros, so 34 bytes may declare a
// picture of 13442 × 12880 and take gigabytes. The kinds it reads hold their rows unpacked from the
// offset in the header on; a file shorter than that is refused, as a Targa file cut short is.
bool bmpPixelsFit(const uint8_t* bytes, size_t size)
{
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return true;
    // stb_image reads a cut header as zeros too; a file that ends within it holds no pixels at all.
    if (size < 26)
        return false;
    const uint32_t offset = littleEndian32(bytes + 10);
    int64_t width = littleEndian16(bytes + 18), height = littleEndian16(bytes + 20);
    unsigned depth = littleEndian16(bytes + 24);
    int32_t compression = 0;
    if (littleEndian32(bytes + 14) != 12) {  // all but the oldest header have sides of 32 bits
        if (size < 34)
            return false;
        width = static_cast<int32_t>(littleEndian32(bytes + 18));
        height = static_cast<int32_t>(littleEndian32(bytes + 22));
        depth = littleEndian16(bytes + 28);
        compression = static_cast<int32_t>(littleEndian32(bytes + 30));
    }
    // Run-length and other packed kinds, and sides stb_image refuses, are left to it. It reads the
    // kind as a signed number and takes a negative one for unpacked rows.
    if (compression == 1 || compression == 2 || compression >= 4 || width <= 0 || height == 0 || height == INT32_MIN)
        return true;
    // Rows are padded to four bytes; the last one may come without its padding.
    const uint64_t rowBits = static_cast<uint64_t>(width) * depth;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    return offset + (rowBits + 31) / 32 * 4 * (rows - 1) + (rowBits + 7) / 8 <= size;
}

// A file read byte by byte as stb_image reads it: past the end, every byte is 0.
struct StbBytes {
    const uint8_t* bytes;
    size_t size, at;
    bool atEnd() const { return at >= size; }
    unsigned next() { return at < size ? bytes[at++] : 0; }
    unsigned next16()
    {
        const unsigned low = next();
        return low | next() << 8;
    }
    void skip(size_t count) { at = count < size - at ? at + count : size; }
};

// A binary PGM/PPM header as stb_image reads it: three numbers past blanks and comments, then one
// character, after which the samples begin.
struct PnmHeader {
    unsigned longestNumber = 0;  // in digits
    uint64_t sampleBytes = 0;
    size_t samplesAt = 0;
};

PnmHeader pnmHeader(const uint8_t* bytes, size_t size)
{
    PnmHeader header;
    if (size < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6'))
        return header;
    StbBytes in{bytes, size, 2};
    unsigned c = in.next();
    auto blank = [](unsigned byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); };
    uint64_t numbers[3];
    for (uint64_t& number : numbers) {
        for (;;) {
            while (!in.atEnd() && blank(c))
                c = in.next();
            if (in.atEnd() || c != '#')
                break;
            while (!in.atEnd() && c != '\n' && c != '\r')
                c = in.next();
        }
        unsigned digits = 0;
        for (number = 0; !in.atEnd() && c >= '0' && c <= '9'; ++digits, c = in.next())
            number = digits < 9 ? number * 10 + (c - '0') : number;
        header.longestNumber = std::max(header.longestNumber, digits);
    }
    header.samplesAt = in.at;
    header.sampleBytes = numbers[0] * numbers[1] * (bytes[1] == '6' ? 3 : 1) * (numbers[2] > 255 ? 2 : 1);
    return header;
}

// stb_image sets aside nine bytes for every pixel of a GIF picture's canvas before it reads on, and
// gives the first frame the background wherever the frame's codes do not reach: 38 bytes may take
// two gigabytes. So the first frame must cover the canvas, and its codes, followed as stb_image
// follows them, must give every pixel before they end or the file does.
bool gifPixelsFit(const uint8_t* bytes, size_t size)
{
    if (size < 6 || std::memcmp(bytes, "GIF8", 4) != 0)
        return true;
    StbBytes in{bytes, size, 6};
    const unsigned canvasWidth = in.next16(), canvasHeight = in.next16(), flags = in.next();
    in.skip(2);
    if (flags & 0x80)
        in.skip(3u * (2u << (flags & 7)));
    unsigned tag;
    while ((tag = in.next()) == 0x21) {
        if (in.next() == 0xf9) {
            const unsigned length = in.next();
            in.skip(length);
            if (length != 4)
                continue;
        }
        while (const unsigned length = in.next())
            in.skip(length);
    }
    if (tag != 0x2c)
        return false;
    const unsigned x = in.next16(), y = in.next16(), width = in.next16(), height = in.next16(), frameFlags = in.next();
    if (x != 0 || y != 0 || width != canvasWidth || height != canvasHeight || !((flags | frameFlags) & 0x80))
        return false;
    if (frameFlags & 0x80)
        in.skip(3u * (2u << (frameFlags & 7)));
    const uint64_t needed = static_cast<uint64_t>(width) * height;
    const unsigned smallest = in.next();
    if (smallest > 12)
        return false;
    // Each code gives the pixels of its string: one for a colour, one more than the string it grew from.
    const unsigned clear = 1u << smallest;
    std::vector<uint32_t> lengths(8192, 1);
    unsigned codeBits = smallest + 1, next = clear + 2, bits = 0, held = 0, block = 0;
    int previous = -1;
    bool cleared = false;
    for (uint64_t pixels = 0; pixels < needed;) {
        if (held < codeBits) {
            if (block == 0 && (block = in.next()) == 0)
                return false;
            --block;
            if (in.atEnd())
                return false;
            bits |= in.next() << held;
            held += 8;
            continue;
        }
        const unsigned code = bits & ((1u << codeBits) - 1);
        bits >>= codeBits;
        held -= codeBits;
        if (code == clear) {
            codeBits = smallest + 1;
            next = clear + 2;
            previous = -1;
            cleared = true;
            continue;
        }
        if (code == clear + 1)
            return false;
        if (!cleared || code > next || (previous < 0 && code == next) || (previous >= 0 && next >= 8192))
            return false;
        if (previous >= 0)
            lengths[next++] = lengths[previous] + 1;
        pixels += lengths[code];
        if ((next & ((1u << codeBits) - 1)) == 0 && next <= 0xfff)
            ++codeBits;
        previous = static_cast<int>(code);
    }
    return true;
}

// The bound image as 8-bit RGBA.
RgbaImage converted(ILuint image)
{
    if (!ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE))
        return failed(image, "Image conversion failed", ilGetError());
    return {image, nullptr, IL_NO_ERROR, ""};
}


// The picture in a DevIL image, so that every reader hands the caller the same thing. stb_image
// gives its own channels (asking it for four converts 16-bit PGM files past its buffer), which
// DevIL makes RGBA.
RgbaImage decodeWithStb(const uint8_t* bytes, size_t size)
{
    static const ILenum formats[] = {IL_LUMINANCE, IL_LUMINANCE_ALPHA, IL_RGB, IL_RGBA};
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = size > 0 && size <= INT_MAX
                          ? stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 0)
                          : nullptr;
    if (pixels == nullptr)
        return failed(0, "Image load failed", IL_ILLEGAL_FILE_VALUE, size > 0 ? stbi_failure_reason() : "empty file");
    // DevIL takes a side of 0 for 1 and would read past the pixels.
    if (width < 1 || height < 1 || channels < 1 || channels > 4 || !sidesFit(width, height)) {
        stbi_image_free(pixels);
        return failed(0, "Image load failed", IL_INVALID_FILE_HEADER, width < 1 || height < 1 ? "a side of 0" : tooLarge);
    }
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    const ILboolean made =
        ilTexImage(width, height, 1, static_cast<ILubyte>(channels), formats[channels - 1], IL_UNSIGNED_BYTE, pixels);
    stbi_image_free(pixels);
    if (!made)
        return failed(image, "Image load failed", ilGetError());
    return converted(image);
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
    // A colour map stored from a later entry than the first is read by DevIL as if it began at
    // the first, and by stb_image from the wrong bytes: either way the colours would be wrong.
    const unsigned firstEntry = littleEndian16(bytes + 3);
    if (!depthFits(type, depth) || mapType > 1 || (mapped && (mapType != 1 || mapLength == 0 || firstEntry != 0)) ||
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
    Reader reader = readerFor(path);
    if (reader == Reader::None)
        return failed(0, "Image load failed", IL_INVALID_EXTENSION,
                      "pictures of this kind are not read (only .tga, .png, .jpg, .jpeg, .bmp, .gif, .pgm, .ppm, .pnm)");
    // A file that cannot be opened is left to DevIL, which reports it as it does for any kind.
    MappedFile file(path);
    // stb_image reads the header's numbers into an int without a bound. A side within the limit
    // and the largest sample value each take at most five digits.
    const PnmHeader pnm = pnmHeader(file.bytes, file.size);
    if (file.opened && pnm.longestNumber > 5)
        return failed(0, "Image load failed", IL_INVALID_FILE_HEADER, tooLarge);
    JpegFrame jpeg;
    if (file.opened && reader == Reader::DevIL && !jpegSegmentsFit(file.bytes, file.size, jpeg))
        return failed(0, "Image load failed", IL_FILE_READ_ERROR, "a marker segment runs past the end of the file");
    if (!sidesFit(jpeg.width, jpeg.height))
        return failed(0, "Image load failed", IL_INVALID_FILE_HEADER, tooLarge);
    if (jpeg.leastBytes > file.size)
        return failed(0, "Image load failed", IL_FILE_READ_ERROR, fewerPixels);
    if (file.opened && reader == Reader::Targa) {
        const ILenum error = checkTarga(file.bytes, file.size);
        if (error != IL_NO_ERROR)
            return failed(0, "Image load failed", error);
        if (targaForStb(file.bytes))
            reader = Reader::Stb;
    } else if (file.opened && file.size > 0 && file.size <= INT_MAX) {
        // Both readers would take whatever size the header claims.
        const int size = static_cast<int>(file.size);
        int width = 0, height = 0, channels = 0;
        if (stbi_info_from_memory(file.bytes, size, &width, &height, &channels) && !sidesFit(width, height))
            return failed(0, "Image load failed", IL_INVALID_FILE_HEADER, tooLarge);
        // This stb_image converts 16-bit PGM and PPM samples to 8 bits from the wrong byte.
        if (reader == Reader::Stb && stbi_is_16_bit_from_memory(file.bytes, size))
            return failed(0, "Image load failed", IL_FORMAT_NOT_SUPPORTED, "16-bit samples are not read");
    }
    if (file.opened && reader == Reader::Stb) {
        // stb_image makes up what a file lacks of its pixels: a BMP file's as zeros, a GIF file's as
        // the background, a PGM/PPM file's as whatever memory held.
        if (!bmpPixelsFit(file.bytes, file.size) || !gifPixelsFit(file.bytes, file.size) ||
            pnm.sampleBytes > file.size - pnm.samplesAt)
            return failed(0, "Image load failed", IL_FILE_READ_ERROR, fewerPixels);
        return decodeWithStb(file.bytes, file.size);
    }

    if (file.opened && reader == Reader::DevIL && !pngChunksFit(file.bytes, file.size))
        return failed(0, "Image load failed", IL_FILE_READ_ERROR, "a PNG chunk runs past the end of the file");
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // This DevIL takes narrow file names, which it passes to the system as the UTF-8 they are. It
    // reports some damaged files as loaded, with an error pending.
    ILboolean loaded = ilLoadImage(path);
    ILenum error = ilGetError();
    if (!loaded || error != IL_NO_ERROR)
        return failed(image, "Image load failed", error);
    if (!sidesFit(ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT)))
        return failed(image, "Image load failed", IL_INVALID_FILE_HEADER, tooLarge);
    // DevIL keeps the rows in the file's order; a Targa stored from its bottom row (the kind's
    // default) is turned the right way up.
    if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT)
        iluFlipImage();
    return converted(image);
}

