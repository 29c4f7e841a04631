// Model textures read through DevIL: damaged Targa files are refused before DevIL, which would
// report them as loaded, with the load-failed reason the game prints.
#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "assets/ImageFile.h"

namespace {

std::string header(int kind, int width, int height, int depth, int mapLength = 0)
{
    const unsigned char bytes[18] = {0, static_cast<unsigned char>(mapLength ? 1 : 0), static_cast<unsigned char>(kind),
        0, 0, static_cast<unsigned char>(mapLength), static_cast<unsigned char>(mapLength >> 8),
        static_cast<unsigned char>(mapLength ? 24 : 0), 0, 0, 0, 0,
        static_cast<unsigned char>(width), static_cast<unsigned char>(width >> 8),
        static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8),
        static_cast<unsigned char>(depth), 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

struct Picture {
    const char* what;
    std::string bytes;
    ILenum error;
};

}  // namespace

TEST(ImageFile, DamagedTargaFilesAreRefusedAndWholeOnesRead)
{
    const std::string pixels(4 * 4 * 3, '\x40');
    const std::string map = std::string(6, '\x7f');
    const Picture cases[] = {
        {"whole", header(2, 4, 4, 24) + pixels, IL_NO_ERROR},
        {"whole, run-length", header(10, 4, 4, 24) + "\x8f\x10\x20\x30", IL_NO_ERROR},
        {"whole, colour-mapped", header(1, 2, 1, 8, 2) + map + std::string("\x01\x00", 2), IL_NO_ERROR},
        {"cut in its header", header(2, 4, 4, 24).substr(0, 10), IL_FILE_READ_ERROR},
        {"cut in its pixels", header(2, 4, 4, 24) + pixels.substr(1), IL_FILE_READ_ERROR},
        {"cut in its runs", header(10, 4, 4, 24) + "\x87\x10\x20\x30\x87\x10\x20", IL_FILE_READ_ERROR},
        {"a run past the last pixel", header(10, 4, 4, 24) + "\x90\x10\x20\x30\x8e\x10\x20\x30", IL_ILLEGAL_FILE_VALUE},
        {"an index past its colour map", header(1, 2, 1, 8, 2) + map + "\x01\x02", IL_ILLEGAL_FILE_VALUE},
        {"a huge size claimed", header(10, 65535, 65535, 32) + std::string(100, '\xff'), IL_INVALID_FILE_HEADER},
        {"no width", header(2, 0, 4, 24) + pixels, IL_INVALID_FILE_HEADER},
        {"an unknown kind", header(7, 4, 4, 24) + pixels, IL_INVALID_FILE_HEADER},
    };
    for (const Picture& c : cases) {
        TempDir dir;
        dir.write("picture.tga", c.bytes);
        RgbaImage image = readRgbaImage("picture.tga");
        EXPECT_EQ(image.error, c.error) << c.what;
        EXPECT_EQ(image.failure != nullptr, c.error != IL_NO_ERROR) << c.what;
        if (image.image != 0) {
            EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA) << c.what;
            ilDeleteImages(1, &image.image);
        }
    }
}
