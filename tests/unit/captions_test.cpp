// How strongly a caption is drawn as its sound plays, stops and plays again.
#include <gtest/gtest.h>

#include "core/Captions.h"

TEST(Captions, FullWhileTheSoundPlaysThenFadingOverCaptionFade)
{
    const struct { bool playing; float dt; float alpha; } steps[] = {
        {true, 0.016f, 1.0f}, {true, 3.0f, 1.0f},                      // full however long it plays
        {false, 0.25f * captionFade, 0.75f}, {false, 0.5f * captionFade, 0.25f},  // fading once stopped
        {true, 0.016f, 1.0f},                                          // back at once when it plays again
        {false, 2.0f * captionFade, 0.0f}, {false, 0.1f, 0.0f},        // gone, and no further
    };
    Caption shown;
    EXPECT_EQ(captionAlpha(shown), 0.0f) << "nothing before its sound";
    for (const auto& s : steps) {
        holdCaption(shown, s.playing, s.dt);
        EXPECT_FLOAT_EQ(captionAlpha(shown), s.alpha) << (s.playing ? "playing " : "stopped ") << s.dt << " s";
    }
}
