#include "app/FramePhase.h"

void (*framePhaseHook)(FramePhase phase, bool begins) = nullptr;
