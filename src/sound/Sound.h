#pragma once
// The game's sound: the hall's ambience, the statues grinding while they move, footsteps, the
// harvester, the cow, the flashlight switch, the heartbeat of danger and the end stings, heard
// from the camera. Each frame of play calls in once; sound only reads the world, never changes it.
// Without an audio device, or with volume 0, every call does nothing and the game is unchanged.
#include <cstdint>

class Node;

// The folder the sound files are read from, "Scene/" in the game.
extern const char* soundFolder;

// Opens the default audio device unless `volume` (0-100) is 0, loads the sounds and starts the
// ambience; reports the volume and the device on one console line.
void startSound(int volume);
// As startSound, but the mix goes to memory at `rate` and is only made by renderSound. False when
// the audio library has no loopback device, or when `volume` is 0 (then nothing is opened).
bool startSoundLoopback(int volume, int rate);
// Mixes the next `frames` stereo frames (left, right interleaved) of a loopback device.
void renderSound(int16_t* stereo, int frames);
// Once per frame of play, after the game step and the drawing: reads the camera, the statues, the
// player, the pause, danger and the end of the game, and where the harvester and the cow stand;
// writes only the audio library's sources.
void soundUpdate(double dt, const Node* harvesterNode, const Node* cow);
// The loudness of everything from now on, 0 to 100. A game started at volume 0 has no device yet:
// raising the volume starts the sound as startSound (or startSoundLoopback) would have.
void setSoundVolume(int volume);
// Stops and releases everything of the audio library.
void stopSound();
