#include "render/Hud.h"

#include "app/WorldAssembly.h"
#include "render/OverlayImage.h"

void drawStartScreen()
{
    // A 1600-unit square from the lower left corner: its top quarter lies above the window.
    if (startImage)
        startImage->draw(0, 0, 1600);
}

void drawHud()
{
}
