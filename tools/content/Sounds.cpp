#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "FileOutput.h"
#include "Noise.h"

namespace {

constexpr float pi = 3.14159265f;
using Signal = std::vector<float>;

int samplesFor(float seconds) { return static_cast<int>(seconds * soundRate + 0.5f); }

// Two-pole resonant filter (RBJ biquad), band-pass with constant peak gain or low-pass.
class Biquad {
public:
    static Biquad bandPass(float hz, float q) { return Biquad(hz, q, true); }
    static Biquad lowPass(float hz, float q = 0.707f) { return Biquad(hz, q, false); }
    float operator()(float x)
    {
        float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    Biquad(float hz, float q, bool band)
    {
        const float w = 2.0f * pi * hz / soundRate, alpha = std::sin(w) / (2.0f * q), c = std::cos(w);
        const float a0 = 1.0f + alpha;
        if (band) {
            b0 = alpha / a0;
            b1 = 0.0f;
            b2 = -alpha / a0;
        } else {
            b0 = (1.0f - c) / 2.0f / a0;
            b1 = (1.0f - c) / a0;
            b2 = b0;
        }
        a1 = -2.0f * c / a0;
        a2 = (1.0f - alpha) / a0;
    }
    float b0, b1, b2, a1, a2;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

float white(Random& r) { return r.unit() * 2.0f - 1.0f; }

// A loop of `seconds` whose end runs into its start: `make` renders a little more, and the extra
// tail is cross-faded (equal power) over the first samples.
Signal loopOf(float seconds, const std::function<Signal(int)>& make)
{
    const int n = samplesFor(seconds), fade = samplesFor(0.15f);
    Signal longer = make(n + fade);
    Signal out(longer.begin(), longer.begin() + n);
    for (int i = 0; i < fade; ++i) {
        const float t = static_cast<float>(i) / fade;
        out[i] = longer[i] * std::sqrt(t) + longer[n + i] * std::sqrt(1.0f - t);
    }
    return out;
}

std::vector<int16_t> toPcm(const Signal& s, float peak)
{
    float largest = 1e-9f;
    for (float v : s) largest = std::max(largest, std::fabs(v));
    std::vector<int16_t> out(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(std::clamp(s[i] / largest * peak, -1.0f, 1.0f) * 32767.0f));
    return out;
}

// Stone dragged on stone: a low rumble under gritty, stick-slip scraping.
Signal statueGrind(int n)
{
    Random r(0x5747u);
    Biquad rumble = Biquad::lowPass(140.0f), grit = Biquad::bandPass(700.0f, 1.2f), body = Biquad::bandPass(260.0f, 2.0f);
    Biquad wobble = Biquad::lowPass(7.0f);
    Signal s(n);
    float grain = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float w = white(r);
        // Stick-slip: the scrape swells and catches a few times a second, never quite stopping.
        const float swell = 0.55f + 4.0f * std::fabs(wobble(white(r)));
        if (r.unit() < 40.0f / soundRate) grain = 1.0f;  // a chip of grit catching
        grain *= 0.9985f;
        s[i] = 2.2f * rumble(w) + swell * (0.9f * body(w) + (0.35f + grain) * 0.6f * grit(w));
    }
    // Saturated, so the scrape stays dense and loud between its swells.
    float largest = 1e-9f;
    for (float v : s) largest = std::max(largest, std::fabs(v));
    for (float& v : s) v = std::tanh(3.0f * v / largest);
    return s;
}

// One step on stone: a soft heel thud and a short scuff.
Signal footstep()
{
    Random r(0xF007u);
    Biquad thud = Biquad::lowPass(180.0f), scuff = Biquad::bandPass(1800.0f, 0.8f);
    const int n = samplesFor(0.18f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate, w = white(r);
        s[i] = 3.0f * thud(w) * std::exp(-t * 35.0f) + 0.35f * scuff(w) * std::exp(-t * 60.0f);
    }
    return s;
}

// Landing: a heavy low thump with a little grit.
Signal landing()
{
    Random r(0x1A4Du);
    Biquad thud = Biquad::lowPass(120.0f), grit = Biquad::bandPass(900.0f, 1.0f);
    const int n = samplesFor(0.35f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate, w = white(r);
        const float pitch = 70.0f - 25.0f * t / 0.35f;
        s[i] = (std::sin(2.0f * pi * pitch * t) + 2.5f * thud(w)) * std::exp(-t * 14.0f) +
               0.3f * grit(w) * std::exp(-t * 40.0f);
    }
    return s;
}

// The harvester idling: a diesel's low firing pulses, and the rotor's whir at four blades per turn
// (1000 degrees a second: 11.1 blade passes a second, ten in every 0.9 s).
Signal harvester(int n)
{
    Random r(0xC0BBu);
    Biquad engine = Biquad::lowPass(220.0f), whir = Biquad::bandPass(1100.0f, 0.9f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate, w = white(r);
        const float firing = std::pow(0.5f + 0.5f * std::sin(2.0f * pi * 26.0f * t), 6.0f);
        const float blade = 0.55f + 0.45f * std::sin(2.0f * pi * (1000.0f / 360.0f * 4.0f) * t);
        s[i] = engine(w * (0.3f + firing)) * 2.0f + 0.25f * std::sin(2.0f * pi * 52.0f * t) + 0.5f * blade * whir(w);
    }
    return s;
}

// The cow's low call: a buzzing voice gliding down, through a vowel that opens and closes.
Signal cowCall()
{
    Random r(0xC0Eu);
    const int n = samplesFor(1.6f);
    Biquad f1 = Biquad::bandPass(420.0f, 4.0f), f2 = Biquad::bandPass(850.0f, 5.0f), low = Biquad::lowPass(300.0f);
    Signal s(n);
    float phase = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate;
        const float hz = 118.0f - 28.0f * t / 1.6f + 2.0f * std::sin(2.0f * pi * 5.0f * t);
        phase += hz / soundRate;
        phase -= std::floor(phase);
        const float saw = 2.0f * phase - 1.0f + 0.05f * white(r);
        const float envelope = std::min(1.0f, t / 0.15f) * std::min(1.0f, (1.6f - t) / 0.4f);
        const float open = 0.4f + 0.6f * std::sin(pi * std::min(1.0f, t / 1.3f));
        s[i] = envelope * (low(saw) + open * (2.0f * f1(saw) + 1.2f * f2(saw)));
    }
    return s;
}

// The hall: a deep drone, gently beating, with faint moving air; steady, so it never draws the ear.
Signal ambience(int n)
{
    Random r(0xA1Bu);
    Biquad air = Biquad::bandPass(500.0f, 0.5f), swell = Biquad::lowPass(0.7f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate;
        const float drone = std::sin(2.0f * pi * 55.0f * t) + 0.2f * std::sin(2.0f * pi * 55.5f * t) +
                            0.3f * std::sin(2.0f * pi * 82.5f * t);
        s[i] = drone + air(white(r)) * (0.5f + 8.0f * std::fabs(swell(white(r))));
    }
    return s;
}

// The flashlight's switch: two tiny clicks, down and up.
Signal click()
{
    Random r(0xC11Cu);
    Biquad tick = Biquad::bandPass(3200.0f, 2.0f);
    const int n = samplesFor(0.05f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate, w = white(r);
        s[i] = tick(w) * (std::exp(-t * 900.0f) + 0.6f * (t > 0.018f ? std::exp(-(t - 0.018f) * 1100.0f) : 0.0f));
    }
    return s;
}

// One heartbeat, lub-dub: two low, muffled thumps.
Signal heartbeat()
{
    const int n = samplesFor(0.45f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate;
        auto thump = [&](float start, float hz, float level) {
            const float u = t - start;
            return u < 0.0f ? 0.0f : level * std::sin(2.0f * pi * hz * u) * (u / 0.012f < 1.0f ? u / 0.012f : 1.0f) * std::exp(-u * 28.0f);
        };
        s[i] = thump(0.0f, 52.0f, 1.0f) + thump(0.2f, 46.0f, 0.7f);
    }
    return s;
}

// Caught: a sharp, dissonant stab that rings out.
Signal sting()
{
    Random r(0x5719u);
    Biquad hit = Biquad::bandPass(2500.0f, 0.7f);
    const int n = samplesFor(1.4f);
    const float tones[] = {466.2f, 493.9f, 698.5f, 987.8f};
    Signal s(n);
    float phases[4] = {};
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / soundRate;
        float v = 0.0f;
        for (int k = 0; k < 4; ++k) {
            phases[k] += tones[k] / soundRate;
            phases[k] -= std::floor(phases[k]);
            v += (2.0f * phases[k] - 1.0f) * 0.3f;
        }
        s[i] = std::min(1.0f, t / 0.004f) * (v * std::exp(-t * 2.5f) + 2.0f * hit(white(r)) * std::exp(-t * 20.0f));
    }
    return s;
}

// Falling out: rushing wind, a band of noise that sweeps and gusts.
Signal wind(int n)
{
    Random r(0x3117u);
    Biquad low = Biquad::lowPass(900.0f), gust = Biquad::lowPass(1.5f);
    Biquad high = Biquad::bandPass(1600.0f, 0.7f);
    Signal s(n);
    for (int i = 0; i < n; ++i) {
        const float w = white(r), g = 0.5f + 12.0f * std::fabs(gust(white(r)));
        s[i] = g * (low(w) + 0.6f * high(w));
    }
    return s;
}

}  // namespace

std::vector<SoundClip> buildSounds()
{
    // Peaks differ on purpose: the ambience and the harvester sit low so that the statues stand out.
    return {
        {"statue_grind", toPcm(loopOf(1.6f, statueGrind), 0.9f)},
        {"footstep", toPcm(footstep(), 0.7f)},
        {"landing", toPcm(landing(), 0.9f)},
        {"harvester", toPcm(loopOf(1.8f, harvester), 0.6f)},
        {"cow_call", toPcm(cowCall(), 0.8f)},
        {"hall_ambience", toPcm(loopOf(4.0f, ambience), 0.5f)},
        {"flashlight_click", toPcm(click(), 0.6f)},
        {"heartbeat", toPcm(heartbeat(), 0.9f)},
        {"caught_sting", toPcm(sting(), 0.9f)},
        {"wind", toPcm(loopOf(3.0f, wind), 0.8f)},
    };
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples)
{
    constexpr size_t headerBytes = 44;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> bytes(headerBytes + dataBytes, 0);
    std::memcpy(bytes.data(), "RIFF", 4);
    putU32(bytes, 4, 36 + dataBytes);
    std::memcpy(bytes.data() + 8, "WAVEfmt ", 8);
    putU32(bytes, 16, 16);
    putU16(bytes, 20, 1);  // PCM
    putU16(bytes, 22, 1);  // mono
    putU32(bytes, 24, soundRate);
    putU32(bytes, 28, soundRate * 2);
    putU16(bytes, 32, 2);
    putU16(bytes, 34, 16);
    std::memcpy(bytes.data() + 36, "data", 4);
    putU32(bytes, 40, dataBytes);
    for (size_t i = 0; i < samples.size(); ++i)
        putU16(bytes, headerBytes + 2 * i, static_cast<uint16_t>(samples[i]));
    return writeWholeFile(path, bytes);
}
