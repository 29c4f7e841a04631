#include "render/Hud.h"

void drawStartScreen()
{
    // Drawn once the overlay images exist; until then a start-screen pass only clears.
}

void drawHud()
{
}
