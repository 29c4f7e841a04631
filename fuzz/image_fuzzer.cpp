// libFuzzer target for model textures: each input is written as a picture file of every extension
// the game's materials name and read through the game's DevIL path as a model texture is. Run
// from the build folder of a clang build:
//   ./fuzz/image_fuzzer -max_total_time=600 work/image ../fuzz/corpus/image
// A picture that loads must hold width × height RGBA bytes, all of which are read here, so
// AddressSanitizer sees a buffer shorter than the picture claims.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/ImageFile.h"

namespace {

std::string workDir;
// Every texture of the game's materials is a Targa file.
const char* const extensions[] = {".tga"};

std::string picturePath(const char* extension) { return workDir + "/picture" + extension; }

void removeWorkDir()
{
    for (const char* extension : extensions)
        std::remove(picturePath(extension).c_str());
    rmdir(workDir.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/vellmar-image-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    workDir = pattern;
    std::atexit(removeWorkDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unsigned checksum = 0;
    for (const char* extension : extensions) {
        const std::string path = picturePath(extension);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size))
            std::abort();
        std::fclose(file);

        RgbaImage image = readRgbaImage(path.c_str());
        if ((image.image == 0) != (image.failure != nullptr))
            std::abort();
        if (image.image == 0)
            continue;
        const ILint width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
        if (ilGetInteger(IL_IMAGE_FORMAT) != IL_RGBA || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE ||
            width <= 0 || height <= 0 || width > ILint(largestImageSide) || height > ILint(largestImageSide))
            std::abort();
        const ILubyte* pixels = ilGetData();
        const size_t bytes = size_t(width) * size_t(height) * 4;
        for (size_t i = 0; i < bytes; ++i)
            checksum += pixels[i];
        ilDeleteImages(1, &image.image);
    }
    return static_cast<int>(checksum & 0);
}
