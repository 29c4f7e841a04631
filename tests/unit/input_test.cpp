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
