#pragma once
// Picture files read into 8-bit RGBA, top row first, before anything goes to the graphics card.
// The kind goes by the name's ending. DevIL reads PNG and JPEG files, and Targa files (every model
// texture is one) once they are checked: DevIL 1.7.8 reports a cut Targa as loaded and trusts
// whatever size its header claims. BMP, GIF and binary PGM/PPM files, and the Targa kinds DevIL gets
// wrong (grey with alpha, 15- or 16-bit colour maps), are decoded by stb_image: DevIL writes or
// reads past its buffers on damaged ones. Other kinds are refused.
#include <IL/il.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Sides beyond this are refused: no graphics card takes such a texture.
constexpr unsigned largestImageSide = 16384;

// What reading one picture gave: on success a bound DevIL image holding RGBA bytes, which the
// caller deletes; on failure no image, the step that failed and DevIL's code for the reason.
struct RgbaImage {
    ILuint image = 0;
    const char* failure = nullptr;  // "Image load failed" or "Image conversion failed"
    ILenum error = IL_NO_ERROR;
    // Why, for the player, when DevIL's description of the code does not say it.
    std::string reason;
};

// IL_NO_ERROR when the Targa bytes hold the whole picture their header describes, in a kind
// DevIL reads; IL_INVALID_FILE_HEADER for a header it must not act on; IL_FILE_READ_ERROR when
// the bytes end before the picture does; IL_ILLEGAL_FILE_VALUE for a colour index outside the
// colour map or a run past the last pixel.
ILenum checkTarga(const uint8_t* bytes, size_t size);

// Reads the picture at path and converts it to 8-bit RGBA; a side above largestImageSide is refused.
RgbaImage readRgbaImage(const char* path);
