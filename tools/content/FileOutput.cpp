#include "FileOutput.h"

#include <fstream>

void putU16(std::vector<unsigned char>& out, size_t offset, uint16_t v)
{
    out[offset] = static_cast<unsigned char>(v);
    out[offset + 1] = static_cast<unsigned char>(v >> 8);
}

void putU32(std::vector<unsigned char>& out, size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<unsigned char>(v >> (8 * i));
}

bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}
