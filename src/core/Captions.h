#pragma once
// The captions of the sounds that matter (CAPTIONS=1): the sound writes them once a frame, the HUD
// draws them. One slot per kind of sound; two statues grinding share one, with the nearer's side.

enum CaptionKind { captionGrind, captionHeartbeat, captionCow, captionHarvester, captionLanding, captionSting,
                   captionKinds };

struct Caption {
    // Where the sound comes from seen from the view: "ahead", "behind", "left", "right", two of
    // them ("behind left"), or empty for a sound of the player's own.
    char where[16] = {};
    // Seconds the caption still shows: full while its sound plays, running out once it stopped.
    float showing = 0.0f;
};

// Seconds a caption stays after its sound stopped.
constexpr float captionAfterglow = 0.5f;
extern const char* const captionTexts[captionKinds];
extern Caption shownCaptions[captionKinds];
