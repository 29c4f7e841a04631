#include "core/Captions.h"

#include <algorithm>

const char* const captionTexts[captionKinds] = {"Stone grinding", "Heartbeat", "Cow lowing",
                                                "Harvester running", "Landing thud", "Caught"};
Caption shownCaptions[captionKinds];

void holdCaption(Caption& shown, bool playing, float dt)
{
    shown.showing = playing ? captionFade : std::max(0.0f, shown.showing - dt);
}

float captionAlpha(const Caption& shown)
{
    return std::clamp(shown.showing / captionFade, 0.0f, 1.0f);
}
