// libFuzzer target for the DDS parser (clang build): ./fuzz/dds_fuzzer -max_total_time=60 ../fuzz/corpus/dds
// Every level reported is read byte by byte, so AddressSanitizer sees one pointing past the input.
#include <cstdint>
#include <cstdlib>

#include "assets/DdsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DdsImage image = parseDds(data, size);
    size_t expectedOffset = ddsHeaderBytes;
    unsigned checksum = 0;
    for (const DdsLevel& level : image.levels) {
        if (level.offset != expectedOffset || level.size == 0 || level.offset + level.size > size)
            std::abort();
        for (size_t i = 0; i < level.size; ++i)
            checksum += data[level.offset + i];
        expectedOffset += level.size;
    }
    // A file is refused with a reason exactly when it gives no level to show.
    if ((image.status != DdsStatus::Usable && !image.levels.empty()) || image.levels.empty() == image.problem.empty())
        std::abort();
    return static_cast<int>(checksum & 0);
}
