#include "sound/AudioDevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>

namespace {

ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
LPALCRENDERSAMPLESSOFT renderSamples = nullptr;

// Makes a context current on an opened device; false (and everything closed) when none comes.
bool startOn(ALCdevice* opened, const ALCint* attributes)
{
    device = opened;
    context = device ? alcCreateContext(device, attributes) : nullptr;
    if (!context || !alcMakeContextCurrent(context)) {
        closeAudioDevice();
        return false;
    }
    return true;
}

}  // namespace

bool openAudioDevice()
{
    return startOn(alcOpenDevice(nullptr), nullptr);
}

bool openLoopbackDevice(int rate)
{
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return false;
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, rate, ALC_HRTF_SOFT, ALC_FALSE, 0};
    return openLoopback && renderSamples && startOn(openLoopback(nullptr), attributes);
}

bool audioDeviceOpen()
{
    return context != nullptr;
}

const char* audioDeviceName()
{
    if (renderSamples)
        return "loopback";
    const ALCchar* name = nullptr;
    if (alcIsExtensionPresent(device, "ALC_ENUMERATE_ALL_EXT"))
        name = alcGetString(device, ALC_ALL_DEVICES_SPECIFIER);
    if (!name)
        name = alcGetString(device, ALC_DEVICE_SPECIFIER);
    return name ? name : "unnamed";
}

void renderAudio(int16_t* stereo, int frames)
{
    if (device && renderSamples)
        renderSamples(device, stereo, frames);
    else
        std::fill(stereo, stereo + 2 * frames, int16_t{0});
}

void closeAudioDevice()
{
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device)
        alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
    renderSamples = nullptr;
}
