#pragma once
// Picture files read through DevIL into 8-bit RGBA, before anything goes to the graphics card.
// Targa files (every model texture is one) are checked before DevIL sees them: DevIL 1.7.8 reports
// a cut Targa as loaded, and trusts whatever size its header claims.
#include <IL/il.h>

#include <cstddef>
#include <cstdint>

// Sides beyond this are refused: no graphics card takes such a texture.
constexpr unsigned largestImageSide = 16384;

// What reading one picture gave: on success a bound DevIL image holding RGBA bytes, which the
// caller deletes; on failure no image, the step that failed and DevIL's code for the reason.
struct RgbaImage {
    ILuint image = 0;
    const char* failure = nullptr;  // "Image load failed" or "Image conversion failed"
    ILenum error = IL_NO_ERROR;
};

// IL_NO_ERROR when the Targa bytes hold the whole picture their header describes, in a kind
// DevIL reads; IL_INVALID_FILE_HEADER for a header it must not act on; IL_FILE_READ_ERROR when
// the bytes end before the picture does; IL_ILLEGAL_FILE_VALUE for a colour index outside the
// colour map or a run past the last pixel.
ILenum checkTarga(const uint8_t* bytes, size_t size);

// Reads the picture at path (any format DevIL knows) and converts it to 8-bit RGBA.
RgbaImage readRgbaImage(const char* path);
