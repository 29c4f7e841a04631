#include "app/Config.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Bindings.h"
#include "core/Console.h"
#include "core/GameState.h"
#include "render/RenderScale.h"

int screenWidth = 800;
int screenHeight = 600;
int refreshRate = 60;
bool fullscreen = false;
int volume = 80;

namespace {

constexpr std::size_t longestLine = configLongestLine;
constexpr std::size_t largestFile = configLargestFile;

// Reads the integer after "KEY=" at the start of the line with the rules of %i (decimal,
// 0-prefixed octal, 0x-prefixed hexadecimal, blanks after the equals sign skipped, anything after
// the number ignored) and stores it when settingInRange takes it. Any other number is refused with
// one console line naming the key (none when quiet), and the setting keeps what it had.
bool scanSetting(const std::string& line, int index, int& value, bool quiet = false)
{
    const char* key = settingKeys[index];
    const std::size_t keyLength = std::strlen(key);
    if (line.compare(0, keyLength, key) != 0 || line.size() <= keyLength || line[keyLength] != '=')
        return false;
    const char* text = line.c_str() + keyLength + 1;
    char* end = nullptr;
    errno = 0;
    const long long scanned = std::strtoll(text, &end, 0);
    if (end == text)
        return false;
    if (errno == ERANGE || !settingInRange(index, scanned)) {
        if (quiet)
            return false;
        while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
            ++text;
        notice("config.ini: %s=%.*s is out of range, ignored", key, static_cast<int>(end - text), text);
        return false;
    }
    value = static_cast<int>(scanned);
    return true;
}

// A KEY_ line's key, kept until the whole file is read: whether another command holds the key is
// judged then, so two commands can swap keys whatever the order of their lines.
struct ProposedKey {
    int key = -1;
    int line = 0;  // 0 for the command's own default key, which no other line can take
    std::string text;  // the line as the refusal names it
};
ProposedKey proposedKeys[commandCount];

void scanBinding(const std::string& line, int lineNumber)
{
    for (int command = 0; command < commandCount; ++command) {
        const std::size_t length = std::strlen(commandSettings[command]);
        if (line.compare(0, length, commandSettings[command]) != 0 || line.size() <= length || line[length] != '=')
            continue;
        const std::size_t first = line.find_first_not_of(" \t", length + 1);
        const std::size_t last = line.find_last_not_of(" \t\r");
        const std::string value = first == std::string::npos || last < first ? "" : line.substr(first, last - first + 1);
        const std::string text = std::string(commandSettings[command]) + "=" + value;
        const int key = keyNamed(value.c_str());
        if (key < 0)
            notice("config.ini: %s is no key, ignored", text.c_str());
        else if (const char* reason = fixedKeyReason(key))
            notice("config.ini: %s: %s, ignored", text.c_str(), reason);
        else
            proposedKeys[command] = {key, key == defaultKeys[command] ? 0 : lineNumber, text};
        return;
    }
}

// A key held by two commands stays with the one whose default it is, or whose line came first;
// the other keeps its default, and then the rule is applied again.
void settleBindings()
{
    for (bool refused = true; refused;) {
        refused = false;
        for (int command = 0; command < commandCount && !refused; ++command) {
            ProposedKey& mine = proposedKeys[command];
            for (int other = 0; other < commandCount && mine.key >= 0; ++other) {
                const ProposedKey& theirs = proposedKeys[other];
                const int otherKey = theirs.key >= 0 ? theirs.key : defaultKeys[other];
                if (other == command || otherKey != mine.key || (theirs.key >= 0 && theirs.line > mine.line))
                    continue;
                notice("config.ini: %s: %s is taken by %s, ignored", mine.text.c_str(), keyName(mine.key),
                       commandSettings[other]);
                mine.key = -1;
                refused = true;
            }
        }
    }
    for (int command = 0; command < commandCount; ++command) {
        const int key = proposedKeys[command].key;
        boundKeys[command] = key >= 0 ? key : defaultKeys[command];
        proposedKeys[command] = ProposedKey();
    }
}

// A line naming one of the keys (in any case, after blanks, in UTF-16) in a form the reader does
// not take, or a setting's line without a number, is named with the form expected. A line it takes
// (or refuses with its own line) says nothing here; neither does anything naming no key.
void reportUnreadForm(const std::string& line, int lineNumber)
{
    std::string text;
    for (char c : line)
        if (c != '\0')
            text += c;
    const bool utf16 = text.size() != line.size();
    if (lineNumber == 1 && (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0))
        text.erase(0, 2);
    while (!text.empty() && text.back() == '\r')
        text.pop_back();
    const std::size_t start = std::min(text.find_first_not_of(" \t"), text.size());
    std::size_t end = start;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
        ++end;
    const std::string name = text.substr(start, end - start);
    const char* key = nullptr;
    bool setting = false;
    for (int index = 0; index < settingCount; ++index)
        if (strcasecmp(name.c_str(), settingKeys[index]) == 0)
            key = settingKeys[index], setting = true;
    for (int command = 0; command < commandCount; ++command)
        if (strcasecmp(name.c_str(), commandSettings[command]) == 0)
            key = commandSettings[command];
    if (key == nullptr)
        return;
    if (!utf16 && start == 0 && name == key && end < text.size() && text[end] == '=') {
        const char* number = text.c_str() + end + 1;
        char* stop = nullptr;
        std::strtoll(number, &stop, 0);
        if (!setting || stop != number)
            return;
    }
    notice("config.ini: line %d \"%s\" is not read: expected %s=%s%s", lineNumber, text.c_str(), key,
           setting ? "<number>" : "<key name>", utf16 ? " in ASCII or UTF-8, not UTF-16" : "");
}

void applyLine(const std::string& line, int lineNumber)
{
    reportUnreadForm(line, lineNumber);
    scanBinding(line, lineNumber);
    int values[settingCount];
    currentSettings(values);
    for (int index = 0; index < settingCount; ++index)
        scanSetting(line, index, values[index]);
    useSettings(values);
}

// Some editors put a UTF-8 byte-order mark in front of the first line.
void dropByteOrderMark(std::string& line)
{
    if (line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
}

}  // namespace

const char* const settingKeys[settingCount] = {
    "WIDTH",       "HEIGHT",      "REFRESH_RATE",  "FULLSCREEN",    "VOLUME",     "RENDER_SCALE",
    "MOUSE_SPEED", "INVERT_LOOK", "FIELD_OF_VIEW", "PICTURE_SHAPE", "BRIGHTNESS", "CAPTIONS",
    "GAMEPAD_LOOK_SPEED",
};

// 0 is an automatic render scale; below half of each side the picture would fall apart.
const SettingRange settingRanges[settingCount] = {
    {INT_MIN, INT_MAX, LLONG_MIN}, {INT_MIN, INT_MAX, LLONG_MIN}, {INT_MIN, INT_MAX, LLONG_MIN},
    {INT_MIN, INT_MAX, LLONG_MIN}, {0, 100, LLONG_MIN},           {50, 100, 0},
    {10, 400, LLONG_MIN},          {0, 1, LLONG_MIN},             {40, 100, LLONG_MIN},
    {0, 1, LLONG_MIN},             {50, 200, LLONG_MIN},          {0, 1, LLONG_MIN},
    {10, 400, LLONG_MIN},
};

const int settingDefaults[settingCount] = {800, 600, 60, 0, 80, 0, 100, 0, 60, 0, 100, 0, 100};

bool lineSetsSetting(const std::string& line, int index)
{
    int value = 0;
    return scanSetting(line, index, value, true);
}

bool settingInRange(int index, long long value)
{
    const SettingRange& range = settingRanges[index];
    return (value >= range.low && value <= range.high) || value == range.alone;
}

void currentSettings(int values[settingCount])
{
    const int now[settingCount] = {
        screenWidth,       screenHeight, refreshRate, fullscreen ? 1 : 0, volume,            renderScaleSetting,
        mouseSpeedPercent, invertLook,   fieldOfView, pictureShape,       brightnessPercent, captions,
        gamepadLookSpeed,
    };
    std::copy(now, now + settingCount, values);
}

void useSettings(const int values[settingCount])
{
    screenWidth = values[0];
    screenHeight = values[1];
    refreshRate = values[2];
    fullscreen = values[3] != 0;
    volume = values[4];
    renderScaleSetting = values[5];
    mouseSpeedPercent = values[6];
    invertLook = values[7];
    fieldOfView = values[8];
    pictureShape = values[9];
    brightnessPercent = values[10];
    captions = values[11];
    gamepadLookSpeed = values[12];
}

void readConfig(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    useSettings(settingDefaults);
    resetBindings();
    // A folder of that name opens like a file on Linux but holds no settings.
    std::error_code error;
    if (!file.good() || std::filesystem::is_directory(path, error)) {
        notice("config.ini not found");
        return;
    }

    std::streambuf* in = file.rdbuf();
    std::string line;
    bool lineTooLong = false;
    int lineNumber = 1;
    std::size_t bytes = 0;
    auto endLine = [&]() {
        if (lineNumber == 1)
            dropByteOrderMark(line);
        if (lineTooLong)
            notice("config.ini: line %d is longer than %zu bytes, ignored", lineNumber, longestLine);
        else
            applyLine(line, lineNumber);
        line.clear();
        lineTooLong = false;
        ++lineNumber;
    };
    for (;;) {
        const int c = in->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (!line.empty() || lineTooLong)
                endLine();
            break;
        }
        if (++bytes > largestFile) {
            notice("config.ini: only the first %zu bytes are read", largestFile);
            break;
        }
        if (c == '\n')
            endLine();
        else if (line.size() < longestLine)
            line.push_back(static_cast<char>(c));
        else
            lineTooLong = true;
    }
    settleBindings();
    notice("WIDTH=%i\nHEIGHT=%i\nREFRESH_RATE=%i\nFULLSCREEN=%s", screenWidth, screenHeight, refreshRate,
                fullscreen ? "true" : "false");
}
