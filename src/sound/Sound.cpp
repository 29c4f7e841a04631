#include "sound/Sound.h"

#include <AL/al.h>
#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "assets/Mesh.h"
#include "core/Console.h"
#include "physics/Engine.h"
#include "core/Camera.h"
#include "core/Captions.h"
#include "core/GameState.h"
#include "physics/Player.h"
#include "render/Light.h"
#include "scene/Node.h"
#include "scene/Registries.h"
#include "sound/AudioDevice.h"
#include "sound/SoundFile.h"

const char* soundFolder = "Scene/";

namespace {

enum SoundId { grind, step, landing, harvester, cowCall, ambience, click, heartbeat, sting, wind, soundCount };
const char* const soundNames[soundCount] = {
    "statue_grind", "footstep", "landing", "harvester", "cow_call",
    "hall_ambience", "flashlight_click", "heartbeat", "caught_sting", "wind",
};

// What the player should be hearing; each change of it starts or stops whole groups of sources.
enum class Mood { startScreen, play, paused, caught, won };

constexpr float statueMovingSpeed = 0.3f;  // horizontal speed above which a statue grinds
constexpr float fadeSeconds = 0.04f;       // the grind's fade in and out, short of a click
constexpr float strideLength = 1.5f;       // walked distance per footstep
constexpr float calmBeforeGround = 0.1f;   // seconds without vertical speed that mean standing on ground
constexpr float landingSpeed = 2.5f;       // downward speed whose sudden end is a landing

ALuint buffers[soundCount] = {};
// One source per sound, except the statues: one each, made once at start-up.
ALuint sources[soundCount] = {};
std::vector<ALuint> statueSources;
std::vector<float> statueGains;
std::vector<char> statuePlaying;

Mood mood = Mood::startScreen;
float walked = strideLength;
// Where the player's body stood at the last update in play or pause: steps follow the real motion.
glm::vec3 lastBodyPosition(0.0f);
bool bodyTracked = false;
float calmTime = 0.0f;
float previousFallSpeed = 0.0f;
float heartIntensity = 0.0f;
float heartTimer = 0.0f;
float cowTimer = 20.0f;
// The seed is fixed and set again at every start, so that a replayed session hears the steps and
// the cow's calls of its recording at the same moments: nothing the game draws comes from outside it.
constexpr unsigned variationSeed = 1u;
unsigned variation = variationSeed;
bool lastFlashlightOn = true;

// A fixed sequence in [0, 1) for the small variations of steps and the cow's pauses.
float nextVariation()
{
    variation = variation * 1664525u + 1013904223u;
    return static_cast<float>(variation >> 8) / 16777216.0f;
}

void loadSounds()
{
    for (int id = 0; id < soundCount; ++id) {
        const std::string path = std::string(soundFolder) + soundNames[id] + ".wav";
        SoundSamples sound;
        std::string error;
        if (!readSoundFile(path.c_str(), sound, error)) {
            notice("%s %s: the game plays without this sound", path.c_str(), error.c_str());
            continue;
        }
        alGenBuffers(1, &buffers[id]);
        alBufferData(buffers[id], AL_FORMAT_MONO16, sound.samples.data(),
                     static_cast<ALsizei>(sound.samples.size() * sizeof(int16_t)), sound.rate);
    }
}

// A source for a sound; `reference` is the distance at full level, 0 for one heard at the ear.
ALuint makeSource(SoundId id, float gain, float reference, bool looping)
{
    ALuint source = 0;
    alGenSources(1, &source);
    if (buffers[id])
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffers[id]));
    alSourcef(source, AL_GAIN, gain);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    if (reference > 0.0f) {
        alSourcef(source, AL_REFERENCE_DISTANCE, reference);
        alSourcef(source, AL_ROLLOFF_FACTOR, 1.0f);
    } else {
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    return source;
}

void makeSources()
{
    sources[grind] = 0;
    sources[step] = makeSource(step, 0.55f, 0.0f, false);
    sources[landing] = makeSource(landing, 0.8f, 0.0f, false);
    sources[harvester] = makeSource(harvester, 0.5f, 3.0f, true);
    sources[cowCall] = makeSource(cowCall, 1.0f, 10.0f, false);
    sources[ambience] = makeSource(ambience, 0.1f, 0.0f, true);
    sources[click] = makeSource(click, 0.6f, 0.0f, false);
    sources[heartbeat] = makeSource(heartbeat, 0.5f, 0.0f, false);
    sources[sting] = makeSource(sting, 0.9f, 0.0f, false);
    sources[wind] = makeSource(wind, 0.8f, 0.0f, true);
    statueSources.assign(pursuers.size(), 0);
    statueGains.assign(pursuers.size(), 0.0f);
    statuePlaying.assign(pursuers.size(), 0);
    for (ALuint& source : statueSources)
        source = makeSource(grind, 0.0f, 6.0f, true);
}

// How a start at volume 0 would have opened its device: raising the volume opens it then.
std::function<bool()> openLater;

// Opens a device with `open` unless the volume is 0, fills it with the game's sounds and starts the
// ambience; one console line says which way it went.
bool startSoundOn(int volume, const std::function<bool()>& open)
{
    openLater = nullptr;
    if (volume <= 0) {
        openLater = open;
        notice("Sound: volume 0, no audio device opened");
        return false;
    }
    if (!open()) {
        notice("Sound: volume %d, no audio device, the game plays without sound", volume);
        return false;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alListenerf(AL_GAIN, static_cast<float>(volume) / 100.0f);
    loadSounds();
    makeSources();
    mood = Mood::startScreen;
    variation = variationSeed;
    lastFlashlightOn = flashlightOn;
    alSourcePlay(sources[ambience]);
    alGetError();
    notice("Sound: volume %d, device %s", volume, audioDeviceName());
    return true;
}

// The sounds of the world besides the statues: paused with the game, silenced at its end. The
// statues go on moving during the pause, and so does their grinding.
constexpr SoundId worldSounds[] = {step, landing, harvester, cowCall, click, heartbeat};

void stopEverything()
{
    for (ALuint source : statueSources)
        alSourceStop(source);
    for (SoundId id : worldSounds)
        alSourceStop(sources[id]);
    std::fill(statuePlaying.begin(), statuePlaying.end(), 0);
    std::fill(statueGains.begin(), statueGains.end(), 0.0f);
    alSourceStop(sources[ambience]);
    alSourceStop(sources[wind]);
}

void enterMood(Mood next)
{
    switch (next) {
    case Mood::startScreen:
        break;
    case Mood::play:
        // Back from the pause what was cut off goes on where it stopped; the harvester runs in any
        // case, also after a pause that began before the sound did (the volume raised from 0).
        for (SoundId id : worldSounds) {
            ALint state = 0;
            alGetSourcei(sources[id], AL_SOURCE_STATE, &state);
            if (state == AL_PAUSED || (id == harvester && state != AL_PLAYING))
                alSourcePlay(sources[id]);
        }
        break;
    case Mood::paused:
        for (SoundId id : worldSounds)
            alSourcePause(sources[id]);
        break;
    case Mood::caught:
        stopEverything();
        alSourcePlay(sources[sting]);
        break;
    case Mood::won:
        stopEverything();
        alSourcePlay(sources[wind]);
        break;
    }
    mood = next;
}

Mood currentMood()
{
    if (caught)
        return Mood::caught;
    if (player && player->fellOut)
        return Mood::won;
    return paused ? Mood::paused : Mood::play;
}

void followCamera(const glm::vec3& eye)
{
    const float orientation[6] = {viewDirection.x, viewDirection.y, viewDirection.z,
                                  upVector.x,      upVector.y,      upVector.z};
    alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
    alListenerfv(AL_ORIENTATION, orientation);
}

// Where `p` lies seen from the listener looking along the view, in words of the caption.
void directionWords(const glm::vec3& p, char* where, std::size_t size)
{
    ALfloat x = 0.0f, y = 0.0f, z = 0.0f;
    alGetListener3f(AL_POSITION, &x, &y, &z);
    const glm::vec3 d = p - glm::vec3(x, y, z);
    const glm::vec3 ahead = glm::normalize(glm::vec3(viewDirection.x, 0.0f, viewDirection.z) + glm::vec3(1e-6f, 0, 0));
    const glm::vec3 right(-ahead.z, 0.0f, ahead.x);
    const float f = glm::dot(d, ahead), r = glm::dot(d, right);
    // Eight sectors: a side is named once the sound lies more than 22.5 degrees off the axis.
    const float edge = 0.38f * std::hypot(f, r);
    std::snprintf(where, size, "%s%s%s", f > edge ? "ahead" : f < -edge ? "behind" : "",
                  std::fabs(f) > edge && std::fabs(r) > edge ? " " : "", r > edge ? "right" : r < -edge ? "left" : "");
}

// Shows the caption of `kind` while `playing`, from `p` when given; lets it fade otherwise.
void caption(CaptionKind kind, bool playing, float dt, const glm::vec3* p = nullptr)
{
    Caption& shown = shownCaptions[kind];
    holdCaption(shown, playing, dt);
    if (!playing)
        return;
    shown.where[0] = '\0';
    if (p)
        directionWords(*p, shown.where, sizeof shown.where);
}

bool sourcePlaying(ALuint source)
{
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

glm::vec3 sourcePosition(ALuint source)
{
    glm::vec3 p(0.0f);
    alGetSource3f(source, AL_POSITION, &p.x, &p.y, &p.z);
    return p;
}

constexpr float harvesterNear = 10.0f;

// The captions of what plays now; the nearest grinding statue speaks for all of them.
void updateCaptions(float dt)
{
    ALfloat x = 0.0f, y = 0.0f, z = 0.0f;
    alGetListener3f(AL_POSITION, &x, &y, &z);
    const glm::vec3 listener(x, y, z);
    const glm::vec3* nearest = nullptr;
    glm::vec3 statue(0.0f);
    for (size_t i = 0; i < statueSources.size() && i < statuePlaying.size(); ++i) {
        const glm::vec3 p = sourcePosition(statueSources[i]);
        if (statuePlaying[i] && (!nearest || glm::length(p - listener) < glm::length(statue - listener)))
            statue = p, nearest = &statue;
    }
    caption(captionGrind, nearest != nullptr, dt, nearest);
    caption(captionHeartbeat, sourcePlaying(sources[heartbeat]), dt);
    const glm::vec3 cowAt = sourcePosition(sources[cowCall]);
    caption(captionCow, sourcePlaying(sources[cowCall]), dt, &cowAt);
    const glm::vec3 harvesterAt = sourcePosition(sources[harvester]);
    caption(captionHarvester, sourcePlaying(sources[harvester]) && glm::length(harvesterAt - listener) < harvesterNear,
            dt, &harvesterAt);
    caption(captionLanding, sourcePlaying(sources[landing]), dt);
    caption(captionSting, sourcePlaying(sources[sting]), dt);
}

// A statue grinds while its body slides, fading in and out; silent while it stands.
void updateStatues(float dt)
{
    const size_t count = std::min(statueSources.size(), pursuers.size());
    for (size_t i = 0; i < count; ++i) {
        const PhysicsObject* statue = pursuers[i];
        if (!statue || !statue->mesh || !statue->mesh->physicsActor)
            continue;
        phys::RigidDynamic* body = statue->mesh->physicsActor;
        const glm::vec3 v = body->getLinearVelocity();
        const float target = std::hypot(v.x, v.z) > statueMovingSpeed ? 1.0f : 0.0f;
        float& gain = statueGains[i];
        gain = target > gain ? std::min(target, gain + dt / fadeSeconds) : std::max(target, gain - dt / fadeSeconds);
        const ALuint source = statueSources[i];
        if (gain > 0.0f) {
            const glm::vec3 p = body->getGlobalPose().p;
            alSource3f(source, AL_POSITION, p.x, p.y + 1.5f, p.z);
            alSourcef(source, AL_GAIN, gain);
            if (!statuePlaying[i])
                alSourcePlay(source);
            statuePlaying[i] = 1;
        } else if (statuePlaying[i]) {
            alSourcePause(source);
            statuePlaying[i] = 0;
        }
    }
}

// A thud when a fall ends, in play or during the pause, when the body stops falling.
void updateLanding(float dt)
{
    const glm::vec3 v = player->body->getLinearVelocity();
    calmTime = std::fabs(v.y) < 0.05f ? calmTime + dt : 0.0f;
    const float fallSpeed = -v.y;
    if (previousFallSpeed > landingSpeed && fallSpeed < 1.0f) {
        alSourcef(sources[landing], AL_GAIN, std::min(1.0f, 0.4f + previousFallSpeed / 12.0f));
        alSourcePlay(sources[landing]);
    }
    previousFallSpeed = fallSpeed;
}

// Footsteps while walking on the ground, one per stride of the distance the body really moved
// (`moved`, across the ground since the last update): none while pressing against a wall.
void updateFootsteps(float dt, float moved)
{
    const float speed = dt > 0.0f ? moved / dt : 0.0f;
    if (!walkMode || calmTime < calmBeforeGround || speed < 0.5f) {
        walked = strideLength;  // the first stride of a walk sounds at once
        return;
    }
    walked += moved;
    if (walked >= strideLength) {
        walked -= strideLength;
        alSourcef(sources[step], AL_PITCH, 0.9f + 0.2f * nextVariation());
        alSourcePlay(sources[step]);
    }
}

// A heartbeat while a statue is near, louder and faster the longer the danger lasts. The time to
// the next beat runs on out of range too, so a danger flickering at its edge keeps the beat's pace.
void updateHeartbeat(float dt)
{
    heartTimer = std::max(0.0f, heartTimer - dt);
    if (!dangerNear) {
        heartIntensity = std::max(0.0f, heartIntensity - dt / 2.0f);
        return;
    }
    heartIntensity = std::min(1.0f, heartIntensity + dt / 4.0f);
    if (heartTimer <= 0.0f) {
        alSourcef(sources[heartbeat], AL_GAIN, 0.5f + 0.5f * heartIntensity);
        alSourcePlay(sources[heartbeat]);
        heartTimer = 0.95f - 0.45f * heartIntensity;
    }
}

void updateExhibits(float dt, const Node* harvesterNode, const Node* cow)
{
    if (harvesterNode) {
        const glm::vec3 p = harvesterNode->worldMatrix()[3];
        alSource3f(sources[harvester], AL_POSITION, p.x, p.y + 1.0f, p.z);
    }
    cowTimer -= dt;
    if (cow && cowTimer <= 0.0f) {
        const glm::vec3 p = cow->localMatrix[3];
        alSource3f(sources[cowCall], AL_POSITION, p.x, p.y + 2.0f, p.z);
        alSourcePlay(sources[cowCall]);
        cowTimer = 9.0f + 8.0f * nextVariation();
    }
    if (flashlightOn != lastFlashlightOn)
        alSourcePlay(sources[click]);
    lastFlashlightOn = flashlightOn;
}

}  // namespace

void startSound(int volume)
{
    startSoundOn(volume, openAudioDevice);
}

bool startSoundLoopback(int volume, int rate)
{
    return startSoundOn(volume, [rate] { return openLoopbackDevice(rate); });
}

void setSoundVolume(int volume)
{
    if (audioDeviceOpen())
        alListenerf(AL_GAIN, static_cast<float>(volume) / 100.0f);
    else if (volume > 0 && openLater)
        startSoundOn(volume, std::function<bool()>(openLater));  // a copy: the start clears it
}

void renderSound(int16_t* stereo, int frames)
{
    renderAudio(stereo, frames);
}

void soundUpdate(double dt, const Node* harvesterNode, const Node* cow)
{
    if (!audioDeviceOpen())
        return;
    const Mood now = currentMood();
    if (now != mood)
        enterMood(now);
    updateCaptions(static_cast<float>(dt));
    if ((mood != Mood::play && mood != Mood::paused) || !player || !player->body) {
        bodyTracked = false;
        return;
    }

    const float step = static_cast<float>(dt);
    const glm::vec3 body = player->body->getGlobalPose().p;
    const float moved = bodyTracked ? std::hypot(body.x - lastBodyPosition.x, body.z - lastBodyPosition.z) : 0.0f;
    lastBodyPosition = body;
    bodyTracked = true;
    // Paused, what moves is still heard: the statues and a fall's end. The player stands, and the
    // exhibits and the heartbeat wait for the game.
    followCamera(glm::vec3(body.x, body.y + eyeHeight, body.z));
    updateStatues(step);
    updateLanding(step);
    if (mood == Mood::paused)
        return;
    updateFootsteps(step, moved);
    updateHeartbeat(step);
    updateExhibits(step, harvesterNode, cow);
}

void stopSound()
{
    openLater = nullptr;
    if (!audioDeviceOpen())
        return;
    stopEverything();
    alSourceStop(sources[sting]);
    for (ALuint& source : statueSources)
        alDeleteSources(1, &source);
    for (ALuint& source : sources)
        if (source)
            alDeleteSources(1, &source);
    for (ALuint& buffer : buffers)
        if (buffer)
            alDeleteBuffers(1, &buffer);
    std::fill(std::begin(sources), std::end(sources), 0u);
    std::fill(std::begin(buffers), std::end(buffers), 0u);
    statueSources.clear();
    closeAudioDevice();
}
