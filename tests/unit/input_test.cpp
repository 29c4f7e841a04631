// The frame's input: "pressed this frame" for the snapshot and for a reader that looks only at some
// frames and starts as if the key had been held, as the command keys, the jump, the flashlight and
// the menu click do.
#include <gtest/gtest.h>

#include "app/Platform.h"
#include "core/Input.h"

TEST(FrameInput, APressCountsOnceHeldOrTappedAndAReaderThatSkipsFramesKeepsItsOwnLook)
{
    // Per frame, what the key does before the snapshot: p press, r release, t tap, . nothing.
    const struct { const char *events, *pressed, *looks, *readerPressed; } rows[] = {
        {"p...", "1000", "1111", "0000"},  // held before the reader's first look: a press only after a release
        {"pr.p", "1001", "1111", "0001"},  // a release still reads held once (sticky keys)
        {"tt.t", "1001", "1111", "0001"},  // tapped again before a frame saw it up: one press
        {"t.t.", "1010", "0111", "0010"},
        {"..p.", "0010", "1001", "0001"},  // pressed while the reader skipped frames: seen at its next look
        {".p..", "0100", "1101", "0100"},  // held through the frames the reader skipped: once
    };
    for (const auto& row : rows) {
        ScriptedPlatform platform;
        InputSnapshot input;
        bool readerSeen = true;
        std::string pressed, readerPressed;
        for (int f = 0; row.events[f]; ++f) {
            const char e = row.events[f];
            if (e == 'p' || e == 't')
                platform.press(keys::f);
            if (e == 'r' || e == 't')
                platform.release(keys::f);
            platform.pollEvents();
            platform.now = f;
            input = takeInput(platform, input);
            pressed += input.pressed(keys::f) ? '1' : '0';
            readerPressed += row.looks[f] == '1' && markPress(input.held(keys::f), readerSeen) ? '1' : '0';
            EXPECT_EQ(input.frame, static_cast<unsigned long>(f + 1));
            EXPECT_EQ(input.time, f);
        }
        EXPECT_EQ(pressed, row.pressed) << row.events;
        EXPECT_EQ(readerPressed, row.readerPressed) << row.events << " looked at " << row.looks;
    }
}

// The stick's dead zone is round (its length, not each axis) and the response rises from zero.
TEST(FrameInput, StickResponseHasARoundDeadZoneAndRisesSmoothlyFromZero)
{
    const struct { float x, y, outX, outY; } rows[] = {
        {0.0f, 0.0f, 0.0f, 0.0f},      {0.19f, 0.0f, 0.0f, 0.0f},      {0.0f, -0.2f, 0.0f, 0.0f},
        {0.15f, 0.15f, 0.00016f, 0.00016f},  // each axis inside, the length not
        {0.21f, 0.0f, 0.00016f, 0.0f}, {0.6f, 0.0f, 0.25f, 0.0f},      {0.0f, -1.0f, 0.0f, -1.0f},
        {0.8f, 0.8f, 0.7071f, 0.7071f},  // past the rim: full tilt, same direction
    };
    for (const auto& row : rows) {
        float x = 9.0f, y = 9.0f;
        stickResponse(row.x, row.y, x, y);
        EXPECT_NEAR(x, row.outX, 5e-5f) << row.x << "," << row.y;
        EXPECT_NEAR(y, row.outY, 5e-5f) << row.x << "," << row.y;
    }
}
