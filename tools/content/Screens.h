#pragma once
// The screen images (DDS) and the bitmap font of the overlay.
#include <string>

#include "Canvas.h"
#include "TextPainter.h"

struct Fonts {
    TextPainter sans;
    TextPainter mono;
};

// 16 x 16 cells, code c at column c mod 16 and row c div 16 counted from the top; light glyphs with a dark
// outline on a transparent background.
Canvas makeFontSheet(const std::string& monoFontPath, int size);

// Full-screen pictures: only the lower three quarters of the square show, stretched over the window.
Canvas makeStartScreen(const Fonts& fonts);
// highlighted: 0 for none, 1..3 for the hovered resolution entry.
Canvas makePauseScreen(const Fonts& fonts, int highlighted);
Canvas makeWonScreen(const Fonts& fonts);
Canvas makeGameOverScreen(const Fonts& fonts);
// Help pictures, drawn as whole squares with transparent surroundings.
Canvas makeKeyList(const Fonts& fonts);
Canvas makeMouseHelp(const Fonts& fonts);
Canvas makeMoveKeysHelp(const Fonts& fonts);
// The game's icon at size x size pixels: a statue lit from below on a dark rounded tile.
Canvas makeIcon(int size);

// Rows (top-down) of a full-screen canvas of the given size that a window fraction fy (0 at the top of the
// window) falls on; x likewise from fx.
float screenRow(int size, float fy);
float screenColumn(int size, float fx);
