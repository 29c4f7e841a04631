#include "app/Gamepad.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/Console.h"
#include "core/Input.h"
#include "core/Platform.h"

namespace {

// The real community file is about half a megabyte.
constexpr std::uintmax_t largestMappingFile = 4 * 1024 * 1024;

// What was in each slot at the last look: its name, empty for none, and whether it was a gamepad.
std::string slotNames[joystickSlots];
bool slotMapped[joystickSlots] = {};
int playing = -1;

// "GUID,name,field:value,..." with a GUID of 32 hexadecimal digits and a name; a blank line or one
// starting with # is a comment.
bool isMappingLine(const std::string& line)
{
    if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t\r") == std::string::npos)
        return true;
    std::istringstream fields(line);
    std::string guid, name, field;
    if (!std::getline(fields, guid, ',') || guid.size() != 32 || !std::getline(fields, name, ',') || name.empty())
        return false;
    for (char c : guid)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    while (std::getline(fields, field, ',')) {
        if (field.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const std::size_t colon = field.find(':');
        if (colon == 0 || colon == std::string::npos || colon + 1 == field.size())
            return false;
    }
    return true;
}

}  // namespace

int watchGamepads(Platform& platform)
{
    GamepadState state;
    int first = -1;
    for (int slot = 0; slot < joystickSlots; ++slot) {
        const char* found = platform.joystickName(slot);
        const std::string name = found ? (*found ? found : "a joystick with no name") : "";
        const bool mapped = found && platform.getGamepadState(slot, &state);
        std::string& known = slotNames[slot];
        if (name != known || mapped != slotMapped[slot]) {
            if (!known.empty() && slotMapped[slot])
                notice("Gamepad disconnected: %s", known.c_str());
            if (mapped)
                notice("Gamepad connected: %s", name.c_str());
            else if (!name.empty() && name != known)
                notice("Joystick %s has no gamepad mapping, ignored", name.c_str());
            known = name;
            slotMapped[slot] = mapped;
        }
        if (mapped && first < 0)
            first = slot;
    }
    if (playing < 0 || !slotMapped[playing])
        playing = first;
    return playing;
}

void loadGamepadMappings(Platform& platform, const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return;
    const std::string shown = file.filename().string();
    if (std::filesystem::file_size(file, error) > largestMappingFile) {
        notice("%s: larger than 4 MiB, not used", shown.c_str());
        return;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        notice("%s: cannot be read, not used", shown.c_str());
        return;
    }
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.find('\0') != std::string::npos || !isMappingLine(line)) {
            notice("%s: line %d is no gamepad mapping, the file is not used", shown.c_str(), number);
            return;
        }
    }
    if (!platform.addGamepadMappings(text.c_str()))
        notice("%s: the window library refused a mapping in it", shown.c_str());
}
