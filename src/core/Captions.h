#pragma once
// The captions of the sounds that matter (CAPTIONS=1): the sound writes them once a frame, the HUD
// draws them. One slot per kind of sound; two statues grinding share one, with the nearer's side.

enum CaptionKind { captionGrind, captionHeartbeat, captionCow, captionHarvester, captionLanding, captionSting,
                   captionKinds };

struct Caption {
    // Where the sound comes from seen from the view: "ahead", "behind", "left", "right", two of
    // them ("behind left"), or empty for a sound of the player's own.
    char where[16] = {};
    // Seconds the caption still shows: captionFade while its sound plays, running out once it stopped.
    float showing = 0.0f;
};

// Seconds a caption takes to fade out after its sound stopped: long enough to read a short sound's.
constexpr float captionFade = 1.0f;
// Holds `shown` at full strength while its sound is `playing`; otherwise `dt` more seconds of its fade.
void holdCaption(Caption& shown, bool playing, float dt);
// How strongly `shown` is drawn: exactly 1 while its sound plays, down to 0 at the end of its fade.
float captionAlpha(const Caption& shown);
extern const char* const captionTexts[captionKinds];
extern Caption shownCaptions[captionKinds];
