#include "core/FramePhase.h"

void (*framePhaseHook)(FramePhase phase, bool begins) = nullptr;
