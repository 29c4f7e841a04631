#include "core/Bindings.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Platform.h"

const char* const commandSettings[commandCount] = {
    "KEY_FORWARD", "KEY_BACK",      "KEY_LEFT",  "KEY_RIGHT", "KEY_JUMP",  "KEY_FLY_DOWN",
    "KEY_FLASHLIGHT", "KEY_WALK_FLY", "KEY_PAUSE", "KEY_HELP",  "KEY_STATS", "KEY_WINDOW_RESET",
};
const int defaultKeys[commandCount] = {
    keys::w, keys::s, keys::a, keys::d, keys::space, keys::leftShift, keys::f, keys::r, keys::p, keys::f1, keys::f2, keys::n,
};
const char* const commandTitles[commandCount] = {
    "Forward", "Back", "Left", "Right", "Jump", "Fly down", "Flashlight", "Walk/fly", "Pause", "Help", "Statistics", "Window",
};
int boundKeys[commandCount];
const int commandButtons[commandCount] = {
    -1, -1, -1, -1, pad::south, pad::east, pad::west, pad::north, pad::start, pad::back, -1, -1,
};

namespace {

// The keys whose names are words; letters, digits, F1-F25 and the keypad digits are made.
struct NamedKey {
    int key;
    const char* name;
};
constexpr NamedKey namedKeys[] = {
    {32, "SPACE"},          {39, "APOSTROPHE"},     {44, "COMMA"},         {45, "MINUS"},
    {46, "PERIOD"},         {47, "SLASH"},          {59, "SEMICOLON"},     {61, "EQUAL"},
    {91, "LEFT_BRACKET"},   {92, "BACKSLASH"},      {93, "RIGHT_BRACKET"}, {96, "GRAVE_ACCENT"},
    {161, "WORLD_1"},       {162, "WORLD_2"},       {256, "ESCAPE"},       {257, "ENTER"},
    {258, "TAB"},           {259, "BACKSPACE"},     {260, "INSERT"},       {261, "DELETE"},
    {262, "RIGHT"},         {263, "LEFT"},          {264, "DOWN"},         {265, "UP"},
    {266, "PAGE_UP"},       {267, "PAGE_DOWN"},     {268, "HOME"},         {269, "END"},
    {280, "CAPS_LOCK"},     {281, "SCROLL_LOCK"},   {282, "NUM_LOCK"},     {283, "PRINT_SCREEN"},
    {284, "PAUSE"},         {330, "KP_DECIMAL"},    {331, "KP_DIVIDE"},    {332, "KP_MULTIPLY"},
    {333, "KP_SUBTRACT"},   {334, "KP_ADD"},        {335, "KP_ENTER"},     {336, "KP_EQUAL"},
    {340, "LEFT_SHIFT"},    {341, "LEFT_CONTROL"},  {342, "LEFT_ALT"},     {343, "LEFT_SUPER"},
    {344, "RIGHT_SHIFT"},   {345, "RIGHT_CONTROL"}, {346, "RIGHT_ALT"},    {347, "RIGHT_SUPER"},
    {348, "MENU"},
};

// The made names, one per code ("A", "7", "F12", "KP_3"), filled on first use.
struct MadeNames {
    char text[keyCodeCount][8] = {};
    MadeNames()
    {
        for (int key = '0'; key <= 'Z'; ++key)
            if (key <= '9' || key >= 'A')
                text[key][0] = static_cast<char>(key);
        for (int n = 1; n <= 25; ++n)
            std::snprintf(text[keys::f1 + n - 1], sizeof text[0], "F%d", n);
        for (int n = 0; n <= 9; ++n)
            std::snprintf(text[320 + n], sizeof text[0], "KP_%d", n);
    }
};

bool sameName(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

const MadeNames& madeNames()
{
    static const MadeNames names;
    return names;
}

// Escape, and the keys for looking under the hood.
struct FixedKey {
    int key;
    const char* reason;
};
constexpr FixedKey fixedKeys[] = {
    {keys::escape, "Escape always quits"}, {keys::f3, "F3 is the wireframe key"}, {keys::f6, "F6 is the shadows key"},
    {keys::f8, "F8 is the culling key"},   {keys::c, "C is the shadow map key"},  {keys::g, "G shows the window"},
    {keys::h, "H hides the window"},       {keys::i, "I moves the harvester"},    {keys::m, "M stops the vehicle box"},
    {keys::up, "the arrow keys push the vehicle box"}, {keys::down, "the arrow keys push the vehicle box"},
    {keys::left, "the arrow keys push the vehicle box"}, {keys::right, "the arrow keys push the vehicle box"},
};

// The defaults are constants, so they are in place before this runs.
[[maybe_unused]] const bool boundAtStart = (resetBindings(), true);

}  // namespace

const char* keyName(int key)
{
    if (key < 0 || key >= keyCodeCount)
        return nullptr;
    for (const NamedKey& named : namedKeys)
        if (named.key == key)
            return named.name;
    const char* made = madeNames().text[key];
    return made[0] ? made : nullptr;
}

int keyNamed(const char* name)
{
    if (!name || !*name)
        return -1;
    if (std::isdigit(static_cast<unsigned char>(name[0])) && name[1]) {
        char* end = nullptr;
        errno = 0;
        const long number = std::strtol(name, &end, 10);
        return *end == '\0' && errno == 0 && keyName(static_cast<int>(number)) ? static_cast<int>(number) : -1;
    }
    for (int key = 0; key < keyCodeCount; ++key) {
        const char* known = keyName(key);
        if (known && sameName(known, name))
            return key;
    }
    return -1;
}

const char* fixedKeyReason(int key)
{
    for (const FixedKey& fixed : fixedKeys)
        if (fixed.key == key)
            return fixed.reason;
    return nullptr;
}

int bindKey(Command command, int key)
{
    if (fixedKeyReason(key) || !keyName(key))
        return commandCount;
    for (int other = 0; other < commandCount; ++other)
        if (other != static_cast<int>(command) && boundKeys[other] == key)
            return other;
    boundKeys[static_cast<int>(command)] = key;
    return -1;
}

void resetBindings()
{
    for (int c = 0; c < commandCount; ++c)
        boundKeys[c] = defaultKeys[c];
}

bool commandHeld(const InputSnapshot& input, Command command)
{
    const int index = static_cast<int>(command);
    return input.held(boundKeys[index]) || input.padHeld(commandButtons[index]);
}
