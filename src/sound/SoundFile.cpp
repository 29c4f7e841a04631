#include "sound/SoundFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// libsndfile reads through these from a byte range, so the game and the fuzzer share one path.
struct MemoryFile {
    const unsigned char* bytes;
    sf_count_t size;
    sf_count_t at;
};

sf_count_t memoryLength(void* user) { return static_cast<MemoryFile*>(user)->size; }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user)
{
    MemoryFile& f = *static_cast<MemoryFile*>(user);
    sf_count_t to = whence == SEEK_SET ? offset : whence == SEEK_CUR ? f.at + offset : f.size + offset;
    if (to < 0 || to > f.size)
        return -1;
    f.at = to;
    return f.at;
}

sf_count_t memoryRead(void* data, sf_count_t count, void* user)
{
    MemoryFile& f = *static_cast<MemoryFile*>(user);
    const sf_count_t n = std::max<sf_count_t>(0, std::min(count, f.size - f.at));
    if (n > 0)
        std::memcpy(data, f.bytes + f.at, static_cast<size_t>(n));
    f.at += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->at; }

// libsndfile hands MPEG audio to libmpg123, which writes what it finds wrong in a damaged stream
// straight onto the game's console. So MPEG is refused before libsndfile opens the file: a stream
// that starts with an ID3 tag or an MPEG frame header, and a WAVE format chunk of MPEG layer III,
// looked for wherever a chunk might stand so that no layout libsndfile accepts slips past.
bool holdsMpegAudio(const unsigned char* bytes, size_t size)
{
    if (size >= 3 && std::memcmp(bytes, "ID3", 3) == 0)
        return true;
    if (size >= 2 && bytes[0] == 0xff && (bytes[1] & 0xe0) == 0xe0)
        return true;
    constexpr unsigned mpegLayer3 = 0x55;
    const unsigned char* end = bytes + size;
    for (const unsigned char* at = bytes; end - at >= 10; ++at) {
        at = static_cast<const unsigned char*>(std::memchr(at, 'f', static_cast<size_t>(end - at - 9)));
        if (!at)
            break;
        // The tag follows the chunk's size, little-endian in RIFF and RF64, big-endian in RIFX.
        const bool layer3 = (at[8] == mpegLayer3 && at[9] == 0) || (at[8] == 0 && at[9] == mpegLayer3);
        if (layer3 && std::memcmp(at, "fmt ", 4) == 0)
            return true;
    }
    return false;
}

}  // namespace

bool decodeSound(const unsigned char* bytes, size_t size, SoundSamples& out, std::string& error)
{
    if (holdsMpegAudio(bytes, size)) {
        error = "is MPEG audio, which the game does not read";
        return false;
    }
    MemoryFile file{bytes, static_cast<sf_count_t>(size), 0};
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (!sound) {
        error = sf_strerror(nullptr);
        return false;
    }
    bool ok = false;
    if (info.channels != 1)
        error = "is not mono";
    else if (info.samplerate < 8000 || info.samplerate > 192000)
        error = "has an unusable sample rate";
    else if (info.frames <= 0)
        error = "holds no sound";
    else if (info.frames > static_cast<sf_count_t>(info.samplerate) * maxSoundSeconds)
        error = "is too long";
    else {
        out.samples.assign(static_cast<size_t>(info.frames), 0);
        const sf_count_t got = sf_readf_short(sound, out.samples.data(), info.frames);
        if (got <= 0) {
            error = "holds no readable sound";
        } else {
            // A file cut short keeps what it holds, as long as something is left.
            out.samples.resize(static_cast<size_t>(got));
            out.rate = info.samplerate;
            ok = true;
        }
    }
    sf_close(sound);
    return ok;
}

bool readSoundFile(const char* path, SoundSamples& out, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot be opened";
        return false;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeSound(bytes.data(), bytes.size(), out, error);
}
