#include "app/OptionsPage.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "app/Config.h"
#include "app/ConfigFolder.h"
#include "app/ConfigWriter.h"
#include "core/Bindings.h"
#include "core/Camera.h"
#include "core/GameState.h"
#include "core/Input.h"
#include "core/Platform.h"
#include "render/Hud.h"
#include "sound/Sound.h"

namespace {

// One row per setting from firstPlayerSetting on, in the order of settingKeys: its label, what one
// step changes, and the words shown for 0 and 1 where a number would not say it.
struct Row {
    const char* label;
    int step;
    const char* format;
    const char* zero;
    const char* one;
};
constexpr Row rows[] = {
    {"Volume", 10, "%d", nullptr, nullptr},          {"Render scale", 5, "%d%%", "auto", nullptr},
    {"Look speed", 10, "%d%%", nullptr, nullptr},    {"Invert look", 1, "%d", "off", "on"},
    {"Field of view", 5, "%d deg", nullptr, nullptr}, {"Picture shape", 1, "%d", "4:3", "window"},
    {"Brightness", 10, "%d%%", nullptr, nullptr},    {"Captions", 1, "%d", "off", "on"},
    {"Pad look speed", 10, "%d%%", nullptr, nullptr},
};
constexpr int rowCount = static_cast<int>(sizeof rows / sizeof rows[0]);
static_assert(firstPlayerSetting + rowCount <= settingCount, "a row for a setting that does not exist");
constexpr int volumeRow = 0;
constexpr int fieldOfViewRow = 4;
constexpr int pictureShapeRow = 5;

// Overlay units (1600 x 1200, y up). The row rowCount is "Controls", the one after it "Back".
constexpr int textSize = 40;
constexpr int firstRowY = 960;
constexpr int rowSpacing = 80;
constexpr int labelX = 200;
constexpr int lowerX = 880;
constexpr int valueX = 960;
constexpr int raiseX = 1240;

int valuesAtOpen[settingCount];
int keysAtOpen[commandCount];
// The row the arrow keys work on; the cursor moving over a row chooses it too.
int selected = 0;
double lastCursorX = -1.0;
double lastCursorY = -1.0;
bool clickSeen = true;

// The controls part: one row per command with its key, then "Reset" and "Back". A row picked waits
// for the next key; a key that cannot be bound leaves a short message.
constexpr int resetRow = commandCount;
constexpr int controlsBackRow = commandCount + 1;
constexpr int controlsFirstY = 1000;
constexpr int controlsSpacing = 60;
bool controlsOpen = false;
int waitingRow = -1;
char message[80] = "";

void bindPressed(const InputSnapshot& input)
{
    int key = 0;
    while (key < keyCodeCount && !input.pressed(key))
        ++key;
    if (key == keyCodeCount)
        return;
    const Command command = static_cast<Command>(waitingRow);
    waitingRow = -1;
    const int holder = bindKey(command, key);
    const char* reason = fixedKeyReason(key);
    if (holder == -1)
        message[0] = '\0';
    else if (holder < commandCount)
        std::snprintf(message, sizeof message, "%s is taken by %s", keyName(key), commandTitles[holder]);
    else
        std::snprintf(message, sizeof message, "%s", reason ? reason : "that key cannot be bound");
}

void controlsPage(const InputSnapshot& input, bool click, bool cursorMoved)
{
    drawText("Controls", labelX, 1080, 60);
    int clicked = -1;
    for (int row = 0; row <= controlsBackRow; ++row) {
        const int y = controlsFirstY - row * controlsSpacing;
        const char* label = row == resetRow ? "Reset" : row == controlsBackRow ? "Back" : commandTitles[row];
        const TextEntry entry{label, labelX, y, textSize};
        const TextEntry value{row < commandCount ? keyName(boundKeys[row]) : "", valueX, y, textSize};
        const bool over = cursorOver(entry, input) || (row < commandCount && cursorOver(value, input));
        if (cursorMoved && over)
            selected = row;
        if (click && over)
            clicked = row;
        drawTextEntry(entry, row == selected);
        if (row < commandCount)
            drawText(row == waitingRow ? "press a key" : value.text, valueX, y, textSize);
    }
    drawText(message, labelX, 140, 24);
    drawText("Pick a command, then press its new key    Escape quits", labelX, 80, 24);
    if (waitingRow >= 0) {
        bindPressed(input);
        return;
    }
    if (input.pressed(keys::up))
        selected = std::max(0, selected - 1);
    if (input.pressed(keys::down))
        selected = std::min(controlsBackRow, selected + 1);
    if (input.pressed(keys::enter))
        clicked = selected;
    if (clicked == controlsBackRow) {
        controlsOpen = false;
        selected = rowCount;
    } else if (clicked == resetRow) {
        resetBindings();
        message[0] = '\0';
    } else if (clicked >= 0) {
        waitingRow = clicked;
        message[0] = '\0';
    }
}

int rowY(int row) { return firstRowY - row * rowSpacing; }

// One step down or up within the setting's range; a render scale steps between automatic and half.
int stepped(int index, int value, int direction)
{
    const SettingRange& range = settingRanges[index];
    const bool special = range.alone != LLONG_MIN;
    if (special && value == range.alone)
        return direction > 0 ? static_cast<int>(range.low) : value;
    const long long next = value + static_cast<long long>(direction) * rows[index - firstPlayerSetting].step;
    if (next < range.low && special)
        return static_cast<int>(range.alone);
    return static_cast<int>(std::clamp(next, range.low, range.high));
}

// Changes the row's setting by one step; the change is felt, heard and seen at once.
void change(int row, int direction)
{
    const int index = firstPlayerSetting + row;
    int values[settingCount];
    currentSettings(values);
    values[index] = stepped(index, values[index], direction);
    useSettings(values);
    if (row == volumeRow)
        setSoundVolume(values[index]);
    if (row == fieldOfViewRow || row == pictureShapeRow)
        projectionMatrix = cameraProjection();
}

}  // namespace

void openOptions()
{
    currentSettings(valuesAtOpen);
    std::copy(boundKeys, boundKeys + commandCount, keysAtOpen);
    optionsOpen = true;
    controlsOpen = false;
    waitingRow = -1;
    message[0] = '\0';
    selected = 0;
    // The click that opened the page is not one on it.
    clickSeen = true;
}

bool optionsTakeKeys() { return controlsOpen && waitingRow >= 0; }

void optionsPage(const InputSnapshot& input)
{
    int values[settingCount];
    currentSettings(values);
    const bool cursorMoved = input.cursorX != lastCursorX || input.cursorY != lastCursorY;
    lastCursorX = input.cursorX;
    lastCursorY = input.cursorY;
    const bool click = markPress(input.buttonHeld(mouseButtonLeft), clickSeen);
    if (controlsOpen) {
        controlsPage(input, click, cursorMoved);
        return;
    }

    drawText("Options", labelX, 1080, 60);
    int clicked = -1;
    int direction = 0;
    for (int row = 0; row <= rowCount + 1; ++row) {
        const bool back = row >= rowCount;
        const TextEntry label{row == rowCount ? "Controls" : back ? "Back" : rows[row].label, labelX, rowY(row), textSize};
        const TextEntry lower{"<", lowerX, rowY(row), textSize};
        const TextEntry raise{">", raiseX, rowY(row), textSize};
        const bool overLower = !back && cursorOver(lower, input);
        const bool overRaise = !back && cursorOver(raise, input);
        if (cursorMoved && (cursorOver(label, input) || overLower || overRaise))
            selected = row;
        drawTextEntry(label, row == selected);
        if (click && (overLower || overRaise || (back && cursorOver(label, input))))
            clicked = row, direction = overRaise ? 1 : -1;
        if (back)
            continue;
        const int index = firstPlayerSetting + row;
        const int value = values[index];
        char text[32];
        const char* word = value == 0 ? rows[row].zero : value == 1 ? rows[row].one : nullptr;
        if (word)
            std::snprintf(text, sizeof text, "%s", word);
        else
            std::snprintf(text, sizeof text, rows[row].format, value);
        drawText("<", lowerX, rowY(row), textSize);
        drawText(text, valueX, rowY(row), textSize);
        drawText(">", raiseX, rowY(row), textSize);
    }
    drawText("Arrow keys: choose and change    P: back to the game", labelX, 80, 24);

    if (input.pressed(keys::up))
        selected = std::max(0, selected - 1);
    if (input.pressed(keys::down))
        selected = std::min(rowCount + 1, selected + 1);
    if (selected < rowCount && (input.pressed(keys::left) || input.pressed(keys::right)))
        clicked = selected, direction = input.pressed(keys::right) ? 1 : -1;
    if (selected >= rowCount && input.pressed(keys::enter))
        clicked = selected;
    if (clicked == rowCount + 1)
        leaveOptions();
    else if (clicked == rowCount)
        controlsOpen = true, selected = 0;
    else if (clicked >= 0)
        change(clicked, direction);
}

bool optionsSaveOnLeaving = true;

void leaveOptions()
{
    optionsOpen = false;
    int values[settingCount];
    currentSettings(values);
    bool changed[settingCount] = {};
    bool any = false;
    for (int index = 0; index < settingCount; ++index)
        any |= changed[index] = values[index] != valuesAtOpen[index];
    bool keysChanged[commandCount] = {};
    for (int command = 0; command < commandCount; ++command)
        any |= keysChanged[command] = boundKeys[command] != keysAtOpen[command];
    if (any && optionsSaveOnLeaving)
        saveSettings(configSavePath(), changed, keysChanged);
}
