#pragma once
// Whole numbers as the picture files store them: DDS, Targa and BMP little-endian, JPEG and PNG
// big-endian. The caller has checked that the bytes are there.
#include <cstdint>

inline uint32_t littleEndian16(const uint8_t* bytes) { return bytes[0] | bytes[1] << 8; }
inline uint32_t littleEndian32(const uint8_t* bytes) { return littleEndian16(bytes) | littleEndian16(bytes + 2) << 16; }
inline uint32_t bigEndian16(const uint8_t* bytes) { return bytes[0] << 8 | bytes[1]; }
inline uint32_t bigEndian32(const uint8_t* bytes) { return bigEndian16(bytes) << 16 | bigEndian16(bytes + 2); }
