#include "WorldHarness.h"

using FrameLoop = WorldTest;

// Enter leaves the start screen once a frame has seen it up: held from the start it must be
// released and pressed again; tapped between two frames it counts.
class StartScreen : public WorldTest, public testing::WithParamInterface<bool> {};

TEST_P(StartScreen, EnterCountsOnlyAfterTheLoopSawItUp)
{
    const bool heldFromTheStart = GetParam();
    if (heldFromTheStart) {
        input.press(GLFW_KEY_ENTER);
        frames(5);
        EXPECT_TRUE(showStartScreen);
        input.release(GLFW_KEY_ENTER);
        frames(2);
        EXPECT_TRUE(showStartScreen) << "the release itself does nothing";
        input.press(GLFW_KEY_ENTER);
    } else {
        frame();
        input.tap(GLFW_KEY_ENTER);
    }
    EXPECT_TRUE(frame());
    EXPECT_FALSE(showStartScreen);
}
INSTANTIATE_TEST_SUITE_P(FrameLoop, StartScreen, testing::Values(true, false));

// Escape ends the loop after the rest of its pass; a close request ends it before the pass.
class LoopEnd : public WorldTest, public testing::WithParamInterface<bool> {};

TEST_P(LoopEnd, EscapeFinishesThePassAndACloseRequestSkipsIt)
{
    const bool escape = GetParam();
    frame();
    const double before = deltaTime;
    input.tap(GLFW_KEY_ENTER);
    if (escape)
        input.tap(GLFW_KEY_ESCAPE);
    else
        input.closeRequested = true;
    EXPECT_FALSE(frame(0.5));
    EXPECT_EQ(showStartScreen, !escape) << "the rest of the pass ran only after Escape";
    if (escape) {
        EXPECT_FALSE(running);
    } else {
        EXPECT_EQ(deltaTime, before);
    }
}
INSTANTIATE_TEST_SUITE_P(FrameLoop, LoopEnd, testing::Values(true, false));

TEST_F(FrameLoop, DeltaTimeIsTheDifferenceOfClockReads)
{
    frame(0.25);
    EXPECT_DOUBLE_EQ(deltaTime, 0.25) << "the first frame measures from the clock's start";
    frame(0.125);
    EXPECT_DOUBLE_EQ(deltaTime, 0.125);
    frame(0.0);
    EXPECT_DOUBLE_EQ(deltaTime, 0.0);
}

TEST_F(FrameLoop, FrameRateCountsEveryPassOfTheLastSecond)
{
    // Four passes a second on the start screen; a sample is taken once the clock is past a full second.
    for (int i = 0; i < 4; ++i) {
        frame(0.25);
        EXPECT_EQ(framesPerSecond, 0) << "no sample before the first second is over";
    }
    frame(0.25);
    EXPECT_EQ(framesPerSecond, 4);

    // The sampling pass itself opens the next interval, which ends after 2.25 s.
    input.tap(GLFW_KEY_ENTER);
    for (int i = 0; i < 8; ++i)
        frame(0.125);
    EXPECT_EQ(framesPerSecond, 4);
    frame(0.125);
    EXPECT_EQ(framesPerSecond, 9);
    EXPECT_FALSE(showStartScreen);
}

TEST_F(FrameLoop, AssemblyHidesTheCursor)
{
    EXPECT_FALSE(input.cursorVisible);
}
