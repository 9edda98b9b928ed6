// The band: the synth voices that play the score's parts (pads, bass, lead, arpeggio), the drums,
// and the effects that mark the sections (crash, riser, impact, wind). Trigger() starts a note;
// each Tick() gives the instrument's next sample. Every instrument starts silent.
#pragma once

#include <cstdint>

#include "score.h"
#include "synth.h"
#include "voicepool.h"

namespace music {

// Wide detuned saws, four per note, spread from left to right.
class PadSynth {
public:
    void Trigger(const Note& note);
    void Tick(int64_t now, double* left, double* right);

private:
    struct Voice {
        synth::Saw saw[4];
        double dt[4] = {};
        double gain = 0.0;
        int64_t offAt = 0;
        synth::Adsr env;
        bool Finished() const { return !env.Active(); }
    };
    VoicePool<Voice, 16> m_voices;
    synth::Noise m_noise{0x5eed0001u};
};

// A saw through a resonant low-pass that snaps open on every note, over a clean sine.
class BassSynth {
public:
    BassSynth();
    void Trigger(const Note& note);
    void SetBrightness(double hz) { m_cutoff = hz; }
    double Tick(int64_t now);

private:
    synth::Saw m_saw;
    synth::Sine m_sub;
    synth::Svf m_filter;
    synth::Adsr m_amp, m_filterEnv;
    double m_dt = 0.0, m_subDt = 0.0, m_velocity = 0.0, m_cutoff = 200.0;
    int64_t m_offAt = -1;
    uint64_t m_age = 0;
};

// Two detuned saws (one per side) and a narrow pulse, gliding between legato notes, with a
// delayed vibrato.
class LeadSynth {
public:
    LeadSynth();
    void Trigger(const Note& note);
    void SetBrightness(double hz) { m_cutoff = hz; }
    void Tick(int64_t now, double* left, double* right);

private:
    synth::Saw m_sawL, m_sawR;
    synth::Pulse m_pulse;
    synth::Svf m_filterL, m_filterR;
    synth::Adsr m_amp, m_filterEnv;
    double m_pitch = 60.0, m_target = 60.0, m_glide = 0.0, m_dt = 0.0;
    double m_velocity = 0.0, m_cutoff = 2000.0;
    int64_t m_offAt = -1;
    uint64_t m_noteAge = 0;
};

// Short square-and-saw plucks, alternating a little left and right.
class ArpSynth {
public:
    void Trigger(const Note& note);
    void SetBrightness(double hz) { m_cutoff = hz; }
    void Tick(double* left, double* right);

private:
    struct Voice {
        synth::Pulse square;
        synth::Saw saw;
        synth::Svf filter;
        synth::Adsr amp;
        double dt = 0.0, velocity = 0.0, pan = 0.0;
        uint64_t age = 0;
        bool Finished() const { return !amp.Active(); }
    };
    VoicePool<Voice, 4> m_voices;
    bool m_side = false;
    double m_cutoff = 1000.0;
};

// A sine that sweeps down from 175 Hz to 44 Hz, softly saturated, with a click of noise.
class KickDrum {
public:
    KickDrum();
    void Trigger(const Note& note);
    double Tick();

private:
    struct Voice {
        double phase = 0.0, pitchEnv = 1.0, ampEnv = 1.0, clickEnv = 1.0, velocity = 0.0;
        int age = 0;
        bool Finished() const { return ampEnv < 1e-3; }
    };
    VoicePool<Voice, 3> m_voices;
    double m_pitchDecay, m_ampDecay, m_clickDecay;
    synth::OnePole m_clickFilter;
    synth::Noise m_noise{0x5eed0002u};
    // A sine pushed into soft clipping: rounder and louder than the plain sine.
    synth::WaveTable m_shape;
};

// Two tuned sines for the shell and high-passed noise for the wires.
class SnareDrum {
public:
    SnareDrum();
    void Trigger(const Note& note);
    double Tick();

private:
    struct Voice {
        Voice() { wires.Set(1800.0, 0.7); }
        synth::Sine low, high;
        synth::Svf wires;
        double body = 0.0, noise = 0.0, velocity = 0.0;
        bool Finished() const { return noise < 1e-4; }
    };
    VoicePool<Voice, 4> m_voices;
    double m_bodyDecay, m_noiseDecay;
    synth::Noise m_noise{0x5eed0003u};
};

// Three quick bursts of band-passed noise and a short tail.
class Clap {
public:
    Clap();
    void Trigger(const Note& note);
    double Tick();

private:
    synth::Svf m_filter;
    synth::Noise m_noise{0x5eed0004u};
    double m_burstDecay, m_tailDecay, m_burst = 0.0, m_tail = 0.0, m_velocity = 0.0;
    int m_age = 0;
    bool m_active = false;
};

// High-passed noise with a short or long decay.
class HiHat {
public:
    HiHat(double decaySeconds, uint32_t seed);
    void Trigger(const Note& note);
    double Tick();

private:
    synth::Noise m_noise;
    synth::Svf m_highPass, m_tone;
    double m_decay, m_env = 0.0, m_velocity = 0.0;
};

// A long wash of bright noise, different in each channel.
class Cymbal {
public:
    Cymbal();
    void Trigger(const Note& note);
    void Tick(double* left, double* right);

private:
    synth::Noise m_noiseL{0x5eed0005u}, m_noiseR{0x5eed0006u};
    synth::Svf m_highL, m_highR;
    double m_decay, m_env = 0.0, m_velocity = 0.0;
};

// Noise through a band-pass that sweeps up over the note, growing louder until it ends.
class Riser {
public:
    void Trigger(const Note& note);
    void Tick(int64_t now, double* left, double* right);

private:
    synth::Noise m_noiseL{0x5eed0007u}, m_noiseR{0x5eed0008u};
    synth::Svf m_bandL, m_bandR;
    int64_t m_start = 0, m_length = 1;
    double m_velocity = 0.0;
    bool m_active = false;
};

// A deep boom that marks the big entrances: a slow sine drop and a dull thud of noise.
class Impact {
public:
    Impact();
    void Trigger(const Note& note);
    double Tick();

private:
    synth::Sine m_sine;
    synth::Svf m_thudFilter;
    synth::Noise m_noise{0x5eed0009u};
    double m_pitchDecay, m_ampDecay, m_thudDecay;
    double m_pitchEnv = 0.0, m_amp = 0.0, m_thud = 0.0, m_velocity = 0.0;
    int m_age = 0;
};

// Cold wind: noise through slowly wandering band-passes, one per side. It plays no notes: the
// mix sets its level sample by sample.
class Air {
public:
    void Tick(uint64_t now, double level, double* left, double* right);

private:
    synth::Noise m_noiseL{0x5eed000au}, m_noiseR{0x5eed000bu};
    synth::Svf m_bandL, m_bandR;
};

}  // namespace music
