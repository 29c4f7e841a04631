#include "app/Journal.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "core/Console.h"
#include "core/Platform.h"

namespace {

// What a frame's change byte says follows.
constexpr unsigned changedKeys = 1;
constexpr unsigned changedButtons = 2;
constexpr unsigned changedCursor = 4;
constexpr unsigned changedWindow = 8;
constexpr unsigned changedSize = 16;
constexpr unsigned changedPad = 32;
constexpr unsigned allChanges = 63;
// The window byte's bits: hidden rather than visible, so a shown window codes as focus alone did.
constexpr unsigned windowFocused = 1;
constexpr unsigned windowHidden = 2;

constexpr std::size_t longestFrame = 4096;
constexpr std::size_t longestName = 64;
constexpr int64_t largestClockStep = int64_t(1) << 40;
// Beyond this a clock in ticks no longer converts to seconds exactly.
constexpr int64_t largestClock = int64_t(1) << 52;
constexpr int32_t largestSide = 1 << 16;
constexpr int64_t flushTicks = static_cast<int64_t>(journalTicksPerSecond);

void putNumber(std::string& out, uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void putSigned(std::string& out, int64_t value)
{
    putNumber(out, (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63));
}

void putText(std::string& out, const std::string& text)
{
    putNumber(out, text.size());
    out += text;
}

void putFloat(std::string& out, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>(bits >> shift & 0xFF));
}

// Bit for bit: a replay must see the very values recorded (-0 and 0 apart), and an axis that
// reads NaN is then the same on every frame instead of a new record each time.
bool samePad(const GamepadState& a, const GamepadState& b)
{
    return a.id == b.id && a.buttons == b.buttons && std::memcmp(a.axes, b.axes, sizeof a.axes) == 0;
}

void putChecksum(std::string& out, const WorldChecksum& sum)
{
    for (uint16_t part : {sum.playerPosition, sum.playerVelocity, sum.view, sum.statuePoses, sum.statueVelocities,
                          sum.statuesAwake}) {
        out.push_back(static_cast<char>(part & 0xFF));
        out.push_back(static_cast<char>(part >> 8));
    }
    out.push_back(static_cast<char>(sum.flags));
}

// Reads from a span of bytes; every read fails once the span runs out, and stays failed.
class Reader {
public:
    Reader(const uint8_t* data, std::size_t size) : at(data), end(data + size) {}

    bool ok() const { return good; }
    // The bytes ran out, as in a cut file (rather than making no sense).
    bool ranOut() const { return cut; }
    bool atEnd() const { return at == end; }
    std::size_t left() const { return static_cast<std::size_t>(end - at); }
    const uint8_t* position() const { return at; }

    uint8_t byte()
    {
        if (!good || at == end) {
            cut = cut || good;
            good = false;
            return 0;
        }
        return *at++;
    }

    uint64_t number()
    {
        uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t b = byte();
            value |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80))
                return value;
        }
        good = false;
        return 0;
    }

    int64_t signedNumber()
    {
        const uint64_t coded = number();
        return static_cast<int64_t>(coded >> 1) ^ -static_cast<int64_t>(coded & 1);
    }

    bool text(std::string& out, std::size_t longest)
    {
        const uint64_t length = number();
        if (good && length <= longest && length > left())
            cut = true;
        if (!good || length > longest || length > left())
            return good = false;
        out.assign(reinterpret_cast<const char*>(at), length);
        at += length;
        return true;
    }

    uint16_t word()
    {
        const uint16_t low = byte();
        return static_cast<uint16_t>(low | (byte() << 8));
    }

    float real()
    {
        uint32_t bits = 0;
        for (int shift = 0; shift < 32; shift += 8)
            bits |= static_cast<uint32_t>(byte()) << shift;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const uint8_t* at;
    const uint8_t* end;
    bool good = true;
    bool cut = false;
};

bool printable(const std::string& text)
{
    for (char c : text)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

// The header's settings: config.ini's numbers, then the key of each command.
constexpr int headerSettingCount = settingCount + commandCount;

const char* headerSettingName(int index)
{
    return index < settingCount ? settingKeys[index] : commandSettings[index - settingCount];
}

int& headerSetting(JournalHeader& header, int index)
{
    return index < settingCount ? header.settings[index] : header.bindings[index - settingCount];
}

bool headerSettingTakes(int index, int64_t value)
{
    if (index < settingCount)
        return value >= INT_MIN && value <= INT_MAX && settingInRange(index, value);
    return value >= 0 && value < keyCodeCount && keyName(static_cast<int>(value)) &&
           !fixedKeyReason(static_cast<int>(value));
}

bool readHeader(Reader& in, JournalHeader& header, std::string& reason)
{
    const uint16_t format = in.word();
    if (in.ok() && format != journalFormat) {
        reason = "journal format " + std::to_string(format) + ", this game reads format " +
                 std::to_string(journalFormat);
        return false;
    }
    bool seen[headerSettingCount] = {};
    std::string version;
    in.text(version, longestName);
    const uint8_t count = in.byte();
    for (unsigned i = 0; in.ok() && i < count; ++i) {
        std::string name;
        in.text(name, longestName);
        const int64_t value = in.signedNumber();
        if (!in.ok())
            break;
        int index = 0;
        while (index < headerSettingCount && name != headerSettingName(index))
            ++index;
        if (index == headerSettingCount || seen[index]) {
            reason = (printable(name) ? "setting " + name : std::string("a setting")) +
                     (index == headerSettingCount ? " is unknown" : " is named twice");
            return false;
        }
        if (!headerSettingTakes(index, value)) {
            reason = "setting " + name + "=" + std::to_string(value) + " is out of range";
            return false;
        }
        seen[index] = true;
        headerSetting(header, index) = static_cast<int>(value);
    }
    if (!in.ok() || !printable(version)) {
        reason = in.ranOut() ? "the journal ends inside its header" : "the header is damaged";
        return false;
    }
    for (int index = 0; index < headerSettingCount; ++index) {
        if (!seen[index]) {
            reason = std::string("setting ") + headerSettingName(index) + " is missing";
            return false;
        }
    }
    header.gameVersion = version;
    return true;
}

// A cursor coordinate moved by a journal's number, which may be far beyond any screen: the bounds
// are checked before the sum, which would otherwise overflow.
bool movedWithin(int32_t from, int64_t by, int32_t& to)
{
    if (by < int64_t{INT32_MIN} - from || by > int64_t{INT32_MAX} - from)
        return false;
    to = static_cast<int32_t>(from + by);
    return true;
}

// One frame's payload, coded against the frame before. False when it does not make sense.
bool readFrame(Reader& in, const JournalFrame& previous, JournalFrame& frame)
{
    frame = previous;
    const int64_t step = in.signedNumber();
    if (step < 0 || step > largestClockStep || previous.clockTicks + step > largestClock)
        return false;
    frame.clockTicks = previous.clockTicks + step;
    const unsigned changes = in.byte();
    if (changes & ~allChanges)
        return false;
    if (changes & changedKeys) {
        const uint64_t count = in.number();
        if (count == 0 || count > journalKeyCount)
            return false;
        uint64_t last = 0;
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t key = in.number();
            // Listed in rising order, each once.
            if (key >= journalKeyCount || (i > 0 && key <= last))
                return false;
            frame.keys.flip(key);
            last = key;
        }
    }
    if (changes & changedButtons)
        frame.buttons = in.byte();
    if (changes & changedCursor) {
        const int64_t dx = in.signedNumber();
        const int64_t dy = in.signedNumber();
        if (!movedWithin(previous.cursorX, dx, frame.cursorX) || !movedWithin(previous.cursorY, dy, frame.cursorY))
            return false;
    }
    if (changes & changedWindow) {
        const unsigned state = in.byte();
        if (state & ~(windowFocused | windowHidden))
            return false;
        frame.focused = state & windowFocused;
        frame.visible = !(state & windowHidden);
    }
    if (changes & changedSize) {
        const uint64_t width = in.number();
        const uint64_t height = in.number();
        if (width > largestSide || height > largestSide)
            return false;
        frame.width = static_cast<int32_t>(width);
        frame.height = static_cast<int32_t>(height);
    }
    if (changes & changedPad) {
        const int64_t id = in.signedNumber();
        const uint64_t buttons = in.number();
        if (id < -1 || id >= joystickSlots || buttons >> gamepadButtonCount)
            return false;
        frame.pad.id = static_cast<int>(id);
        frame.pad.buttons = std::bitset<gamepadButtonCount>(buttons);
        for (float& axis : frame.pad.axes) {
            axis = in.real();
            if (!(axis >= -1.0f && axis <= 1.0f))
                return false;
        }
    }
    WorldChecksum& sum = frame.checksum;
    for (uint16_t* part : {&sum.playerPosition, &sum.playerVelocity, &sum.view, &sum.statuePoses,
                           &sum.statueVelocities, &sum.statuesAwake})
        *part = in.word();
    sum.flags = in.byte();
    return in.ok() && in.atEnd() && sum.flags < 64;
}

}  // namespace

JournalHeader::JournalHeader()
{
    std::copy(settingDefaults, settingDefaults + settingCount, settings);
    std::copy(defaultKeys, defaultKeys + commandCount, bindings);
}

bool readJournal(const uint8_t* data, std::size_t size, Journal& journal, std::string& reason)
{
    journal = Journal();
    reason.clear();
    if (size == 0) {
        reason = "the journal is empty";
        return false;
    }
    const std::size_t magicSeen = size < journalMagicLength ? size : journalMagicLength;
    if (std::memcmp(data, journalMagic, magicSeen) != 0) {
        reason = "not a journal";
        return false;
    }
    Reader in(data + magicSeen, size - magicSeen);
    if (magicSeen < journalMagicLength) {
        reason = "the journal ends inside its header";
        return false;
    }
    if (!readHeader(in, journal.header, reason))
        return false;
    JournalFrame previous;
    while (!in.atEnd()) {
        const std::size_t start = size - in.left();
        const std::string damaged =
            "frame " + std::to_string(journal.frames.size() + 1) + " is damaged (at byte " + std::to_string(start) + ")";
        const uint64_t length = in.number();
        // Cut inside a frame's length or its payload: the frames before it stand.
        if (in.ranOut() || (in.ok() && length > 0 && length <= longestFrame && length > in.left())) {
            journal.cutShort = true;
            break;
        }
        if (!in.ok() || length == 0 || length > longestFrame) {
            reason = damaged;
            return false;
        }
        Reader payload(in.position(), length);
        for (uint64_t i = 0; i < length; ++i)
            in.byte();
        JournalFrame frame;
        if (!readFrame(payload, previous, frame)) {
            reason = damaged;
            return false;
        }
        journal.frames.push_back(frame);
        previous = frame;
    }
    return true;
}

bool readJournalFile(const std::string& path, Journal& journal, std::string& reason)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = std::string("cannot be read (") + std::strerror(errno) + ")";
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    const bool failed = std::ferror(file);
    const int error = errno;
    std::fclose(file);
    if (failed) {
        reason = std::string("cannot be read (") + std::strerror(error) + ")";
        return false;
    }
    static const uint8_t nothing = 0;
    return readJournal(bytes.empty() ? &nothing : bytes.data(), bytes.size(), journal, reason);
}

std::string encodeJournalHeader(const JournalHeader& header)
{
    std::string out(journalMagic, journalMagicLength);
    out.push_back(static_cast<char>(journalFormat & 0xFF));
    out.push_back(static_cast<char>(journalFormat >> 8));
    putText(out, header.gameVersion.substr(0, longestName));
    out.push_back(static_cast<char>(headerSettingCount));
    JournalHeader values = header;
    for (int index = 0; index < headerSettingCount; ++index) {
        putText(out, headerSettingName(index));
        putSigned(out, headerSetting(values, index));
    }
    return out;
}

void encodeJournalFrame(const JournalFrame& previous, const JournalFrame& frame, std::string& out)
{
    std::string payload;
    putSigned(payload, frame.clockTicks - previous.clockTicks);
    const std::bitset<journalKeyCount> toggled = frame.keys ^ previous.keys;
    const bool windowChanged = frame.focused != previous.focused || frame.visible != previous.visible;
    const bool sizeChanged = frame.width != previous.width || frame.height != previous.height;
    const bool cursorChanged = frame.cursorX != previous.cursorX || frame.cursorY != previous.cursorY;
    const bool padChanged = !samePad(frame.pad, previous.pad);
    payload.push_back(static_cast<char>((toggled.any() ? changedKeys : 0) |
                                        (frame.buttons != previous.buttons ? changedButtons : 0) |
                                        (cursorChanged ? changedCursor : 0) | (windowChanged ? changedWindow : 0) |
                                        (sizeChanged ? changedSize : 0) | (padChanged ? changedPad : 0)));
    if (toggled.any()) {
        putNumber(payload, toggled.count());
        for (int key = 0; key < journalKeyCount; ++key)
            if (toggled[key])
                putNumber(payload, static_cast<uint64_t>(key));
    }
    if (frame.buttons != previous.buttons)
        payload.push_back(static_cast<char>(frame.buttons));
    if (cursorChanged) {
        putSigned(payload, int64_t(frame.cursorX) - previous.cursorX);
        putSigned(payload, int64_t(frame.cursorY) - previous.cursorY);
    }
    if (windowChanged)
        payload.push_back(static_cast<char>((frame.focused ? windowFocused : 0) | (frame.visible ? 0 : windowHidden)));
    if (sizeChanged) {
        putNumber(payload, static_cast<uint64_t>(frame.width));
        putNumber(payload, static_cast<uint64_t>(frame.height));
    }
    if (padChanged) {
        putSigned(payload, frame.pad.id);
        putNumber(payload, frame.pad.buttons.to_ulong());
        for (float axis : frame.pad.axes)
            putFloat(payload, axis);
    }
    putChecksum(payload, frame.checksum);
    putNumber(out, payload.size());
    out += payload;
}

JournalWriter::~JournalWriter() { close(); }

bool JournalWriter::open(const std::string& name, const JournalHeader& header, std::string& reason)
{
    close();
    // O_EXCL: an existing file, or one that appears meanwhile, is never overwritten.
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        reason = errno == EEXIST ? "already exists, not overwritten"
                                 : std::string("cannot be written (") + std::strerror(errno) + ")";
        return false;
    }
    file = fdopen(descriptor, "wb");
    if (!file) {
        ::close(descriptor);
        reason = std::string("cannot be written (") + std::strerror(errno) + ")";
        return false;
    }
    const std::string start = encodeJournalHeader(header);
    if (std::fwrite(start.data(), 1, start.size(), file) != start.size() || std::fflush(file) != 0) {
        reason = std::string("cannot be written (") + std::strerror(errno) + ")";
        std::fclose(file);
        file = nullptr;
        return false;
    }
    path = name;
    pending.clear();
    pendingFrames = kept = 0;
    previous = JournalFrame();
    lastFlushTicks = 0;
    return true;
}

void JournalWriter::write(const JournalFrame& frame)
{
    if (!file)
        return;
    encodeJournalFrame(previous, frame, pending);
    ++pendingFrames;
    previous = frame;
    if (frame.clockTicks - lastFlushTicks >= flushTicks || pending.size() >= 65536) {
        lastFlushTicks = frame.clockTicks;
        flush();
    }
}

void JournalWriter::flush()
{
    const bool written = std::fwrite(pending.data(), 1, pending.size(), file) == pending.size();
    pending.clear();
    const bool flushed = written && std::fflush(file) == 0;
    if (flushed)
        kept += pendingFrames;
    pendingFrames = 0;
    if (!flushed) {
        refusedFile(path, std::string("cannot be written (") + std::strerror(errno) + "), the recording stops");
        std::fclose(file);
        file = nullptr;
    }
}

void JournalWriter::close()
{
    if (!file)
        return;
    flush();
    if (file && std::fclose(file) != 0)
        refusedFile(path, std::string("cannot be written (") + std::strerror(errno) + "), the recording stops");
    file = nullptr;
}
