#include "core/Captions.h"

const char* const captionTexts[captionKinds] = {"Stone grinding", "Heartbeat", "Cow lowing",
                                                "Harvester running", "Landing thud", "Caught"};
Caption shownCaptions[captionKinds];
