#include "render/Hud.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/Bindings.h"
#include "core/Captions.h"
#include "core/GameState.h"
#include "core/Input.h"
#include "core/Platform.h"
#include "physics/Player.h"
#include "render/OverlayImage.h"
#include "render/RenderScale.h"

bool menuClickSeen = true;
int menuHighlight = -1;

namespace {

constexpr float cellSize = 0.0625f;  // one glyph cell of the 16 x 16 font grid

// The left stick pushed past half way down or up when the menu last looked (markPress).
bool stickDownSeen = true;
bool stickUpSeen = true;

struct MenuEntry {
    OverlayImage** image;
    int width;
    int height;
};

}  // namespace

// Beside the help's pictures of the default keys, every command whose key was moved, with the key
// it is on now ("Jump: Q"). Nine lines fit below the help; a longer list starts higher, so that
// its last line stays on the screen.
void drawChangedKeys()
{
    int changed = 0;
    for (int command = 0; command < commandCount; ++command)
        changed += boundKeys[command] != defaultKeys[command];
    int y = std::max(260, 20 + 30 * (changed - 1));
    for (int command = 0; command < commandCount; ++command) {
        if (boundKeys[command] == defaultKeys[command])
            continue;
        char line[64];
        std::snprintf(line, sizeof line, "%s: %s", commandTitles[command], keyName(boundKeys[command]));
        drawText(line, 320, y, 24);
        y -= 30;
    }
}

void drawStartScreen()
{
    if (startImage)
        startImage->draw(0, 0, 1600);
}

void drawText(const char* text, int x, int y, int size, float alpha)
{
    if (!fontImage)
        return;
    glBindVertexArray(fontImage->vertexArray);
    const size_t n = std::strlen(text);
    std::vector<float> positions;
    std::vector<float> uvs;
    positions.reserve(n * 12);
    uvs.reserve(n * 12);
    for (size_t i = 0; i < n; ++i) {
        // Codes above 127 are negative as signed bytes: their cells lie outside the grid, and the
        // text program clamps such coordinates onto the picture's edge texels.
        const int c = static_cast<signed char>(text[i]);
        const float left = static_cast<float>(x + static_cast<int>(i) * size);
        const float right = static_cast<float>(x + static_cast<int>(i + 1) * size);
        const float top = static_cast<float>(y + size);
        const float bottom = static_cast<float>(y);
        const int column = c % 16;
        const int row = c / 16;
        const float u0 = column * cellSize;
        const float u1 = u0 + cellSize;
        const float vTop = 1.0f - row * cellSize;
        const float vBottom = 1.0f - (row * cellSize + cellSize);
        const float quad[12] = {left, top, left, bottom, right, top, right, bottom, right, top, left, bottom};
        const float quadUv[12] = {u0, vTop, u0, vBottom, u1, vTop, u1, vBottom, u1, vTop, u0, vBottom};
        positions.insert(positions.end(), quad, quad + 12);
        uvs.insert(uvs.end(), quadUv, quadUv + 12);
    }
    glBindBuffer(GL_ARRAY_BUFFER, fontImage->positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, positions.size() * sizeof(float), positions.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, fontImage->uvBuffer);
    glBufferData(GL_ARRAY_BUFFER, uvs.size() * sizeof(float), uvs.data(), GL_STATIC_DRAW);
    fontImage->drawBuffers(fontImage->texture, static_cast<GLsizei>(6 * n), alpha);
}

// Reads showHelp, the player's fall, caught, dangerNear, showStats, the frame rate and the frame's
// time; writes only pixels.
void drawHud(const InputSnapshot& input)
{
    if (showHelp) {
        if (helpImage)
            helpImage->draw(0, 700, 500);
        if (mouseImage)
            mouseImage->draw(1300, 0, 300);
        if (keysImage)
            keysImage->draw(0, 0, 300);
        drawChangedKeys();
    }
    if (player && player->fellOut && wonImage)
        wonImage->draw(0, 0, 1600);
    if (caught) {
        if (gameOverImage)
            gameOverImage->draw(0, 0, 1600);
    } else if (dangerNear) {
        char warning[256];
        std::snprintf(warning, sizeof warning, "WARNING: DEATH IMMINENT");
        drawText(warning, 400, 600, 40);
    }
    drawCaptions();
    if (showStats) {
        const StatsLines lines = formatStats(framesPerSecond, input.time);
        drawText(lines.rate, 1160, 1100, 70);
        drawText(lines.time, 1160, 1000, 40);
        // Only a reduced scale is shown: at full resolution the statistics read as they always did.
        if (sceneScale() < 1.0f) {
            char scale[32];
            std::snprintf(scale, sizeof scale, "scale %ld%%", std::lround(sceneScale() * 100.0f));
            drawText(scale, 1160, 940, 40);
        }
    }
}

void drawCaptions()
{
    if (!captions)
        return;
    // Low in the middle: clear of the death warning, the help pictures in the corners and the statistics.
    int y = 60;
    for (int kind = 0; kind < captionKinds; ++kind) {
        const Caption& shown = shownCaptions[kind];
        if (shown.showing <= 0.0f)
            continue;
        char line[160];  // room for any caption, as the compiler counts it
        std::snprintf(line, sizeof line, "%s%s%s", captionTexts[kind], shown.where[0] ? ", " : "", shown.where);
        drawText(line, 420, y, 26, captionAlpha(shown));
        y += 40;
    }
}

StatsLines formatStats(int framesPerSecond, double seconds)
{
    StatsLines lines;
    // Precision 0 prints no digits for 0: before the first second the line reads "FPS".
    std::snprintf(lines.rate, sizeof lines.rate, "%.0dFPS", framesPerSecond);
    std::snprintf(lines.time, sizeof lines.time, "%.2fsec", seconds);
    return lines;
}

// Reads the frame's framebuffer size, cursor and left button; writes menuClickSeen.
ResolutionChoice drawPauseMenu(const InputSnapshot& input)
{
    const int w = input.framebufferWidth;
    const int h = input.framebufferHeight;
    const double cx = input.cursorX;
    const double cy = input.cursorY;
    const MenuEntry entries[] = {
        {&pauseImage1, 1024, 768},
        {&pauseImage2, 1280, 720},
        {&pauseImage3, 1920, 1080},
    };
    // Row bands of the three entries, in whole pixels.
    const int top[] = {h / 4, h / 2, 3 * h / 4};
    const int bottom[] = {5 * h / 12, 8 * h / 12, 11 * h / 12};

    const MenuEntry* hovered = nullptr;
    for (int i = 0; i < 3 && !hovered; ++i) {
        if (w / 4 < cx && cx < 3 * w / 4 && top[i] < cy && cy < bottom[i])
            hovered = &entries[i];
    }
    // Beside the middle resolution, right of the entries' column; the gamepad's fourth entry.
    const TextEntry options{"Options", 1250, 480, 40};
    const bool overOptions = cursorOver(options, input);
    const int step = moveHighlight(input);
    if (step != 0)
        menuHighlight = menuHighlight < 0 ? 0 : std::clamp(menuHighlight + step, 0, 3);
    const MenuEntry* highlighted = menuHighlight >= 0 && menuHighlight < 3 ? &entries[menuHighlight] : nullptr;

    const MenuEntry* shown = hovered ? hovered : highlighted;
    OverlayImage* image = shown ? *shown->image : pauseImage;
    if (image)
        image->draw(0, 0, 1600);
    drawTextEntry(options, overOptions || menuHighlight == 3);
    if (menuHighlight == 3 && input.padPressed[pad::south])
        return {0, 0, true};
    if (highlighted && input.padPressed[pad::south])
        return {highlighted->width, highlighted->height};
    if ((!hovered && !overOptions) || !markPress(input.buttonHeld(mouseButtonLeft), menuClickSeen))
        return {};
    if (overOptions)
        return {0, 0, true};
    return {hovered->width, hovered->height};
}

bool cursorOver(const TextEntry& entry, const InputSnapshot& input)
{
    if (input.framebufferWidth <= 0 || input.framebufferHeight <= 0)
        return false;
    const double x = input.cursorX * 1600.0 / input.framebufferWidth;
    const double y = 1200.0 - input.cursorY * 1200.0 / input.framebufferHeight;
    const double width = static_cast<double>(std::strlen(entry.text)) * entry.size;
    // A little beyond the glyphs, so the short entries are easy to hit.
    const double margin = entry.size * 0.25;
    return entry.x - margin < x && x < entry.x + width + margin && entry.y - margin < y &&
           y < entry.y + entry.size + margin;
}

void drawTextEntry(const TextEntry& entry, bool hovered)
{
    drawText(entry.text, entry.x, entry.y, entry.size);
    if (!hovered)
        return;
    const int width = static_cast<int>(std::strlen(entry.text)) * entry.size;
    drawText(">", entry.x - entry.size, entry.y, entry.size);
    drawText("<", entry.x + width, entry.y, entry.size);
}

int moveHighlight(const InputSnapshot& input)
{
    const float stickY = input.pad.axes[pad::leftY];
    const bool down = markPress(stickY > 0.5f, stickDownSeen) || input.padPressed[pad::dpadDown];
    const bool up = markPress(stickY < -0.5f, stickUpSeen) || input.padPressed[pad::dpadUp];
    return (down ? 1 : 0) - (up ? 1 : 0);
}
