#include "WorldHarness.h"

using FrameLoop = WorldTest;

TEST_F(FrameLoop, EnterHeldFromTheStartMustBeReleasedAndPressedAgain)
{
    input.press(GLFW_KEY_ENTER);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(frame());
    EXPECT_TRUE(showStartScreen);

    input.release(GLFW_KEY_ENTER);
    frame();
    frame();
    EXPECT_TRUE(showStartScreen);

    input.press(GLFW_KEY_ENTER);
    frame();
    EXPECT_FALSE(showStartScreen);
}

TEST_F(FrameLoop, EnterTappedBetweenTwoFramesLeavesTheStartScreen)
{
    frame();
    EXPECT_TRUE(showStartScreen);
    input.tap(GLFW_KEY_ENTER);
    frame();
    EXPECT_FALSE(showStartScreen);
}

TEST_F(FrameLoop, EscapeEndsTheLoopAfterThatPass)
{
    EXPECT_TRUE(frame());
    input.tap(GLFW_KEY_ENTER);
    input.tap(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(frame());
    EXPECT_FALSE(running);
    EXPECT_FALSE(showStartScreen) << "the rest of the pass still ran";
}

TEST_F(FrameLoop, CloseRequestEndsTheLoopWithoutRunningThePass)
{
    frame();
    input.closeRequested = true;
    input.tap(GLFW_KEY_ENTER);
    double before = deltaTime;
    EXPECT_FALSE(frame(0.5));
    EXPECT_EQ(deltaTime, before);
    EXPECT_TRUE(showStartScreen);
}

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
    EXPECT_EQ(input.cursorX, 512.0);
    EXPECT_EQ(input.cursorY, 384.0);
}
