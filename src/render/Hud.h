#pragma once
// Everything two-dimensional over the scene, in overlay units (the window spans 1600 x 1200):
// the start screen, bitmap text, the HUD and the pause menu.

struct InputSnapshot;

// The start screen image over the whole window.
void drawStartScreen();
// One line of fixed-pitch text; (x, y) is the lower left corner of the first glyph. `alpha` below
// 1 fades it.
void drawText(const char* text, int x, int y, int size, float alpha = 1.0f);
// The commands bound to other keys than the help pictures show, as text beside them.
void drawChangedKeys();
// Help pictures, end screens, the death warning and the statistics, after each frame of play.
void drawHud(const InputSnapshot& input);
// With CAPTIONS=1 the captions of the sounds playing, one line each, low in the middle.
void drawCaptions();
// The two statistics lines the HUD shows: the frame rate, with no digits while it is still 0
// ("FPS"), and the running time with two decimals.
struct StatsLines {
    char rate[256];
    char time[256];
};
StatsLines formatStats(int framesPerSecond, double seconds);
// A resolution chosen in the pause menu (0 x 0 for none), or its "Options" entry.
struct ResolutionChoice {
    int width = 0;
    int height = 0;
    bool options = false;
};
// The resolution menu with its "Options" entry while paused; returns the entry clicked this frame,
// or picked with the gamepad's south button once the d-pad or the left stick highlighted it, which
// the frame loop applies.
ResolutionChoice drawPauseMenu(const InputSnapshot& input);
// The d-pad or the left stick past half way moved a menu's highlight: 1 down, -1 up, 0 not.
int moveHighlight(const InputSnapshot& input);

// A menu entry drawn in bitmap text: a box in overlay units (the text's lower left corner, its size
// and length), marked by arrows on both sides while the cursor is over it.
struct TextEntry {
    const char* text;
    int x;
    int y;
    int size;
};
// Whether the cursor of the frame (window pixels, from the top) is over the entry's text.
bool cursorOver(const TextEntry& entry, const InputSnapshot& input);
// Draws the entry, with the hover marks when `hovered`.
void drawTextEntry(const TextEntry& entry, bool hovered);

// The left button was held when the menu last looked over an entry (markPress).
extern bool menuClickSeen;
// The entry the gamepad highlighted (3 is "Options"), -1 before the gamepad moved it.
extern int menuHighlight;
