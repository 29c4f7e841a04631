// libFuzzer target for model textures: each input is written under the name of the kind its first
// bytes announce (GIF, BMP, PGM/PPM, PNG, JPEG; anything else a Targa file, as every texture of the
// game's materials is) and read through the game's picture reader. A picture that loads holds
// width × height RGBA bytes, all read here, so AddressSanitizer sees a shorter buffer. A Targa
// picture has a reference: where stb_image decodes the same bytes, the pixels are the same.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/ImageFile.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_ONLY_TGA
#include <stb_image.h>
#pragma GCC diagnostic pop

static std::string path;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/vellmar-image-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    path = pattern;
    std::atexit([] { rmdir(path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const struct { const char* magic; const char* name; } kinds[] = {
        {"GIF8", "/picture.gif"}, {"BM", "/picture.bmp"}, {"P5", "/picture.pgm"}, {"P6", "/picture.ppm"},
        {"P2", "/picture.pgm"},   {"\x89PNG", "/picture.png"}, {"\xff\xd8", "/picture.jpg"}};
    std::string name = path + "/picture.tga";
    for (const auto& kind : kinds)
        if (size >= std::strlen(kind.magic) && std::memcmp(data, kind.magic, std::strlen(kind.magic)) == 0)
            name = path + kind.name;
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size))
        std::abort();
    std::fclose(file);
    RgbaImage image = readRgbaImage(name.c_str());
    std::remove(name.c_str());
    if ((image.image == 0) != (image.failure != nullptr))
        std::abort();
    if (image.image == 0)
        return 0;
    const ILint width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
    if (ilGetInteger(IL_IMAGE_FORMAT) != IL_RGBA || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE || width <= 0 ||
        height <= 0 || width > ILint(largestImageSide) || height > ILint(largestImageSide))
        std::abort();
    const ILubyte* pixels = ilGetData();
    int referenceWidth = 0, referenceHeight = 0, channels = 0;
    stbi_uc* reference = name.compare(name.size() - 4, 4, ".tga") != 0 ? nullptr
        : stbi_load_from_memory(data, static_cast<int>(size), &referenceWidth, &referenceHeight, &channels, 4);
    if (reference != nullptr && (referenceWidth != width || referenceHeight != height ||
                                 std::memcmp(reference, pixels, size_t(width) * size_t(height) * 4) != 0))
        std::abort();
    stbi_image_free(reference);
    unsigned checksum = 0;
    for (size_t i = 0; i < size_t(width) * size_t(height) * 4; ++i)
        checksum += pixels[i];
    ilDeleteImages(1, &image.image);
    return static_cast<int>(checksum & 0);
}
