#pragma once
// Bytes into files, the way every generated file is written: little-endian numbers put into a
// header, then the whole file at once.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// v as 2 or 4 bytes, least significant first, at out[offset]; out already holds those bytes.
void putU16(std::vector<unsigned char>& out, size_t offset, uint16_t v);
void putU32(std::vector<unsigned char>& out, size_t offset, uint32_t v);
// Writes `bytes` as the whole file at path. False when any of it did not reach the file, closing
// included: a full disk often shows only when the last buffer goes out.
bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes);
