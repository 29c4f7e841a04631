#pragma once
// The journal of a played session, which --record writes and --replay plays back frame for frame.
//
// A header: the magic word "VELLJRNL", the format version (2 bytes, little-endian), the game's
// version, then the settings that change play (config.ini's values as read and the keys bound to
// the player's commands, by name). Then one
// record per frame: its length, the frame's clock reading and what the platform reported that
// frame (only what changed since the frame before), and the world's checksum after the frame.
// Numbers are variable-length (7 bits a byte, low first; signed ones zig-zag coded).
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Config.h"
#include "app/WorldChecksum.h"
#include "core/Bindings.h"
#include "core/Input.h"

constexpr char journalMagic[] = "VELLJRNL";
constexpr std::size_t journalMagicLength = 8;
constexpr unsigned journalFormat = 2;
// A frame keeps what its InputSnapshot was taken from (core/Input.h).
constexpr int journalKeyCount = keyCodeCount;
constexpr int journalButtonCount = mouseButtonCount;
static_assert(journalButtonCount <= 8, "the buttons fit one byte");
// Clock readings are kept in microseconds and cursor positions in 1/256 of a pixel; a recording
// game sees exactly the rounded values its replay will see.
constexpr double journalTicksPerSecond = 1e6;
constexpr double journalCursorSteps = 256.0;

// One frame's input snapshot, as the platform gave it (the presses follow from the frame before),
// and the world's checksum at the frame's end.
struct JournalFrame {
    int64_t clockTicks = 0;
    std::bitset<journalKeyCount> keys;  // held
    uint8_t buttons = 0;                // one bit per mouse button held
    int32_t cursorX = 0;                // in cursor steps
    int32_t cursorY = 0;
    bool focused = true;
    bool visible = true;
    int32_t width = 0;  // the framebuffer's size
    int32_t height = 0;
    GamepadState pad;  // the gamepad playing, its axes to the bit
    WorldChecksum checksum;
};

struct JournalHeader {
    std::string gameVersion;
    int settings[settingCount];
    int bindings[commandCount];  // key codes, as boundKeys

    // A header of the default settings and keys.
    JournalHeader();
};

struct Journal {
    JournalHeader header;
    std::vector<JournalFrame> frames;
    // The file ended inside a frame; that frame is dropped and the frames before it replay.
    bool cutShort = false;
};

// Reads a whole journal from memory. Returns false with the reason (one line, without the file's
// name) for an empty input, a foreign or damaged one, another format version, a cut header or a
// setting out of range.
bool readJournal(const uint8_t* data, std::size_t size, Journal& journal, std::string& reason);
// The same from a file; a file that cannot be read is refused too.
bool readJournalFile(const std::string& path, Journal& journal, std::string& reason);

// The header's and a frame's bytes; a frame is coded against the frame before it (a default
// JournalFrame before the first).
std::string encodeJournalHeader(const JournalHeader& header);
void encodeJournalFrame(const JournalFrame& previous, const JournalFrame& frame, std::string& out);

// Writes a journal as the session goes, flushed to the system at least every second of the frames'
// clock, so a crash loses at most the last second.
class JournalWriter {
public:
    ~JournalWriter();
    // Creates the file, never over an existing one, and writes the header. False with the reason.
    bool open(const std::string& path, const JournalHeader& header, std::string& reason);
    // Appends one frame. After a write error it says so once, in one line, and writes no more.
    void write(const JournalFrame& frame);
    // Flushes and closes; also done on destruction.
    void close();
    bool isOpen() const { return file != nullptr; }
    // The frames safely in the file so far: after a write error, those before it.
    std::size_t framesKept() const { return kept; }

private:
    void flush();

    std::FILE* file = nullptr;
    std::string path;
    std::string pending;
    std::size_t pendingFrames = 0;
    std::size_t kept = 0;
    JournalFrame previous;
    int64_t lastFlushTicks = 0;
};
