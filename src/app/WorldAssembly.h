#pragma once
// Builds the whole world once, after the window exists and before the first frame.

void worldAssembly();
// Releases the few world objects that the shutdown releases.
void releaseWorld();
