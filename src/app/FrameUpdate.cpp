#include "app/FrameUpdate.h"

void frameUpdate()
{
    // Statues, activators, the harvester and the physics step arrive with the game rules.
}
