#include "WorldHarness.h"

#include <utility>
#include <vector>

#include "core/FramePhase.h"
#include "app/KeyboardCommands.h"

namespace {

std::vector<std::pair<FramePhase, bool>> marks;

void record(FramePhase phase, bool begins) { marks.emplace_back(phase, begins); }

}  // namespace

using FramePhases = WorldTest;

TEST_F(FramePhases, AFrameInPlayMarksEveryPhaseInOrderAndTheStartScreenOnlyTheSwap)
{
    framePhaseHook = record;
    frame();
    EXPECT_EQ(marks, (std::vector<std::pair<FramePhase, bool>>{{FramePhase::swap, true}, {FramePhase::swap, false}}))
        << "the start screen runs no game phase";

    input.tap(GLFW_KEY_ENTER);
    frame();
    marks.clear();
    frame();
    const std::vector<std::pair<FramePhase, bool>> inPlay = {
        {FramePhase::update, true},           {FramePhase::pursuit, true},     {FramePhase::pursuit, false},
        {FramePhase::physicsStep, true},      {FramePhase::physicsStep, false}, {FramePhase::update, false},
        {FramePhase::keyboardCommands, true}, {FramePhase::keyboardCommands, false},
        {FramePhase::shadowPass, true},       {FramePhase::shadowPass, false}, {FramePhase::litPass, true},
        {FramePhase::litPass, false},         {FramePhase::hud, true},         {FramePhase::hud, false},
        {FramePhase::sound, true},            {FramePhase::sound, false},
        {FramePhase::swap, true},             {FramePhase::swap, false},
    };
    EXPECT_EQ(marks, inPlay);

    // With shadows off there is no shadow pass to mark.
    input.tap(GLFW_KEY_F6);
    frame();
    ASSERT_FALSE(shadowsEnabled);
    marks.clear();
    frame();
    std::vector<std::pair<FramePhase, bool>> withoutShadows = inPlay;
    withoutShadows.erase(withoutShadows.begin() + 8, withoutShadows.begin() + 10);
    EXPECT_EQ(marks, withoutShadows);

    // Without a hook the game runs as before.
    framePhaseHook = nullptr;
    marks.clear();
    EXPECT_TRUE(frame());
    EXPECT_TRUE(marks.empty());
}
