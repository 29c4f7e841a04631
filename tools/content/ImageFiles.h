#pragma once
// Writing pictures: PNG for the desktop's icons, uncompressed TGA for model textures (the game decodes every statue's textures again
// at start-up, and a raw picture costs little more than reading the file), block-compressed DDS with a
// full mip chain for screen images.
#include <string>
#include <vector>

#include "Canvas.h"
// The game's own DDS format names; the generator writes DXT1 and DXT5.
#include "assets/DdsFile.h"

// 8-bit RGBA bytes of the canvas, top row first.
std::vector<unsigned char> toBytes(const Canvas& canvas);
// 32-bit true colour without compression, top row stored first (so it loads the same way up as a PNG).
bool writeTga(const std::string& path, const Canvas& canvas);
// 8-bit RGBA PNG, for the desktop's icons.
bool writePng(const std::string& path, const Canvas& canvas);
// Stores the rows bottom-up: the first stored row is the bottom row of the picture, which the overlay
// draws at v = 0. The canvas must be square with a power-of-two side.
bool writeDds(const std::string& path, const Canvas& canvas, DdsFormat format);
