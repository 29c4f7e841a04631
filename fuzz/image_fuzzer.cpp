// libFuzzer target for model textures: each input is written as a Targa file (every texture the
// game's materials name is one) and read through the game's DevIL path. A picture that loads holds
// width × height RGBA bytes, all read here, so AddressSanitizer sees a shorter buffer.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/ImageFile.h"

static std::string path;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/vellmar-image-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    path = std::string(pattern) + "/picture.tga";
    std::atexit([] { std::remove(path.c_str()), rmdir(path.substr(0, path.rfind('/')).c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size))
        std::abort();
    std::fclose(file);
    RgbaImage image = readRgbaImage(path.c_str());
    if ((image.image == 0) != (image.failure != nullptr))
        std::abort();
    if (image.image == 0)
        return 0;
    const ILint width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
    if (ilGetInteger(IL_IMAGE_FORMAT) != IL_RGBA || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE || width <= 0 ||
        height <= 0 || width > ILint(largestImageSide) || height > ILint(largestImageSide))
        std::abort();
    const ILubyte* pixels = ilGetData();
    unsigned checksum = 0;
    for (size_t i = 0; i < size_t(width) * size_t(height) * 4; ++i)
        checksum += pixels[i];
    ilDeleteImages(1, &image.image);
    return static_cast<int>(checksum & 0);
}
