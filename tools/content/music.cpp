#include "music.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeat = 0.5;  // seconds at 120 BPM

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Band-limited-enough saw: a few harmonics, fading with their number.
double Saw(double phase, int harmonics) {
    double v = 0.0;
    for (int k = 1; k <= harmonics; ++k) v += std::sin(2 * kPi * k * phase) / k;
    return v * (2.0 / kPi);
}

// Deterministic noise for the hats.
struct Noise {
    uint32_t state = 0x12345678u;
    double Next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / (1 << 23) - 1.0;
    }
};

// Am - F - C - G, two bars each: root notes and triads (MIDI numbers).
const int kRoots[4] = {45, 41, 48, 43};
const int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};

}  // namespace

std::vector<int16_t> SynthesizeMusic(int bars) {
    const double length = bars * 4 * kBeat;
    const size_t frames = static_cast<size_t>(length * kMusicRate);
    std::vector<double> left(frames, 0.0), right(frames, 0.0);
    Noise noise;

    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kMusicRate;
        const int bar = static_cast<int>(t / (4 * kBeat));
        const int chord = (bar / 2) % 4;
        const double inBeat = std::fmod(t, kBeat);
        const double inEighth = std::fmod(t, kBeat / 2);

        // Kick on every beat: a falling sine with a quick decay.
        double kick =
            std::sin(2 * kPi * (50.0 * inBeat + 60.0 * (1 - std::exp(-inBeat * 30)) / 30)) *
            std::exp(-inBeat * 9.0);
        // Hat on the off-beat eighths.
        bool offbeat = static_cast<int>(t / (kBeat / 2)) % 2 == 1;
        double hat =
            offbeat ? noise.Next() * std::exp(-inEighth * 60.0) * 0.18 : noise.Next() * 0.0;
        // Bass: eighth notes on the root, octave on the off-beats.
        int bassNote = kRoots[chord] + (offbeat ? 12 : 0);
        double bass = Saw(NoteHz(bassNote) * t, 6) * std::exp(-inEighth * 6.0) * 0.35;
        // Pad: the triad on detuned saws, slow swell within each chord.
        double chordTime = std::fmod(t, 8 * kBeat);
        double swell = std::min(1.0, chordTime / 1.5) * (0.7 + 0.3 * std::cos(chordTime * 0.8));
        double padL = 0.0, padR = 0.0;
        for (int n = 0; n < 3; ++n) {
            double f = NoteHz(kChords[chord][n]);
            padL += Saw(f * 0.997 * t, 5);
            padR += Saw(f * 1.003 * t, 5);
        }
        padL *= 0.07 * swell;
        padR *= 0.07 * swell;

        double mono = kick * 0.55 + bass;
        left[i] = mono + padL + hat * 0.8;
        right[i] = mono + padR + hat;
    }

    // Fade the last bar, then scale to a peak of -1 dBFS.
    const size_t fade = std::min(frames, static_cast<size_t>(4 * kBeat * kMusicRate));
    for (size_t i = 0; i < fade; ++i) {
        double g = static_cast<double>(i) / fade;
        left[frames - 1 - i] *= g;
        right[frames - 1 - i] *= g;
    }
    double peak = 1e-9;
    for (size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    const double scale = 32767.0 * std::pow(10.0, -1.0 / 20.0) / peak;
    std::vector<int16_t> out(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        out[2 * i] = static_cast<int16_t>(std::lround(left[i] * scale));
        out[2 * i + 1] = static_cast<int16_t>(std::lround(right[i] * scale));
    }
    return out;
}
