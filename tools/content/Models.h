#pragma once
// The exhibits of the hall, each one mesh with one material so the game's nodes take the whole model.
#include "MeshBuilder.h"

// A robed stone figure on a plinth: feet at y = 0, plinth down to y = -0.3, facing +z.
MeshPart buildStatue();
// The giant cow, head towards +x, hooves at y = -2. `high` picks the detailed or the coarse version.
MeshPart buildCow(bool high);
// The combine harvester, front towards +z, wheels resting on y = -1, rotor mast at the origin.
MeshPart buildCombine();
// The rotor that spins on top of the harvester about the y axis through the origin.
MeshPart buildCombineRotor();
// A 1 x 1 x 1 crate with bevelled edges from y = -0.3 to 0.7.
MeshPart buildCrate();
