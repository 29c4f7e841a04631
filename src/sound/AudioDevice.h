#pragma once
// The audio library's device and context, opened once at start-up and closed at shutdown; sound's
// own business, not used outside src/sound.
#include <cstdint>

// The default device of the machine; false (nothing left open) when there is none.
bool openAudioDevice();
// A device that mixes stereo 16-bit frames at `rate` into memory, only when renderAudio asks;
// false when the audio library cannot do that.
bool openLoopbackDevice(int rate);
bool audioDeviceOpen();
// The device's name as the audio library reports it; "loopback" for a loopback device.
const char* audioDeviceName();
// The next `frames` frames of a loopback device (left, right interleaved); silence otherwise.
void renderAudio(int16_t* stereo, int frames);
void closeAudioDevice();
