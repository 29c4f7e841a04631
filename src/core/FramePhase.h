#pragma once
// Marks where the phases of a frame in play begin and end, so a benchmark can time each one.
// The hook is null in the game: then a mark costs one untaken branch and nothing else.

enum class FramePhase {
    update,            // the whole frame update, which holds the next three
    player,            // the player update: velocity, camera and flashlight
    pursuit,           // the statues' pursuit
    physicsStep,       // the one physics step
    keyboardCommands,
    shadowPass,
    litPass,           // the lights' upload included
    hud,
    sound,
    swap,
};

extern void (*framePhaseHook)(FramePhase phase, bool begins);

inline void markFramePhase(FramePhase phase, bool begins)
{
    if (framePhaseHook)
        framePhaseHook(phase, begins);
}
