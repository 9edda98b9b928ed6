#include "instruments.h"

#include <algorithm>
#include <cmath>

namespace music {

using namespace synth;

void PadSynth::Trigger(const Note& note) {
    Voice& v = m_voices.StartSilentOrQuietest([](const Voice& busy) { return busy.env.Level(); });
    static const double kCents[4] = {-13.0, -4.5, 4.0, 12.5};
    const double hz = MidiHz(note.pitch);
    for (int k = 0; k < 4; ++k) {
        v.dt[k] = hz * std::pow(2.0, kCents[k] / 1200.0) / kRate;
        v.saw[k].phase = m_noise.Unit();
    }
    v.gain = 0.1 * note.velocity;
    v.offAt = note.start + note.length;
    v.env.Set(1.6, 2.5, 0.75, 3.0);
    v.env.On();
}

void PadSynth::Tick(int64_t now, double* left, double* right) {
    const Stereo mix = m_voices.Tick([now](Voice& v) {
        if (now == v.offAt) v.env.Off();
        const double e = v.env.Next() * v.gain;
        const double s0 = v.saw[0].Next(v.dt[0]);
        const double s1 = v.saw[1].Next(v.dt[1]);
        const double s2 = v.saw[2].Next(v.dt[2]);
        const double s3 = v.saw[3].Next(v.dt[3]);
        return Stereo{e * (s0 + 0.75 * s1 + 0.45 * s2 + 0.2 * s3),
                      e * (0.2 * s0 + 0.45 * s1 + 0.75 * s2 + s3)};
    });
    *left = mix.left;
    *right = mix.right;
}

BassSynth::BassSynth() {
    m_amp.Set(0.004, 0.3, 0.8, 0.06);
    m_filterEnv.Set(0.003, 0.28, 0.0, 0.1);
}

void BassSynth::Trigger(const Note& note) {
    m_dt = MidiHz(note.pitch) / kRate;
    m_subDt = MidiHz(note.pitch < 40 ? note.pitch : note.pitch - 12) / kRate;
    m_offAt = note.start + note.length;
    m_velocity = note.velocity;
    m_amp.On();
    m_filterEnv.On();
}

double BassSynth::Tick(int64_t now) {
    if (now == m_offAt) {
        m_amp.Off();
        m_filterEnv.Off();
    }
    if (!m_amp.Active()) return 0.0;
    const double fe = m_filterEnv.Next();
    if ((m_age++ & 15) == 0) m_filter.Set(m_cutoff * (1.0 + 6.0 * fe * m_velocity), 1.4);
    const double saw = m_saw.Next(m_dt);
    const double sub = m_sub.Next(m_subDt);
    return m_amp.Next() * m_velocity * (0.55 * m_filter.Low(saw) + 0.6 * sub);
}

LeadSynth::LeadSynth() {
    m_amp.Set(0.012, 0.5, 0.72, 0.4);
    m_filterEnv.Set(0.006, 0.6, 0.25, 0.4);
    m_glide = std::exp(-1.0 / (0.025 * kRate));
}

void LeadSynth::Trigger(const Note& note) {
    if (!m_amp.Active()) m_pitch = note.pitch;
    m_target = note.pitch;
    m_offAt = note.start + note.length;
    m_velocity = note.velocity;
    m_noteAge = 0;
    m_amp.On();
    m_filterEnv.On();
}

void LeadSynth::Tick(int64_t now, double* left, double* right) {
    if (now == m_offAt) {
        m_amp.Off();
        m_filterEnv.Off();
    }
    if (!m_amp.Active()) {
        *left = *right = 0.0;
        return;
    }
    m_pitch = m_target + (m_pitch - m_target) * m_glide;
    const double fe = m_filterEnv.Next();
    if ((m_noteAge & 15) == 0) {
        const double seconds = m_noteAge / kRate;
        const double depth = 0.14 * std::clamp((seconds - 0.35) / 0.6, 0.0, 1.0);
        const double pitch = m_pitch + depth * std::sin(2.0 * kPi * 5.3 * seconds);
        m_dt = MidiHz(pitch) / kRate;
        const double track = std::sqrt(MidiHz(pitch) / 440.0);
        const double cutoff = m_cutoff * track * (0.55 + 0.45 * m_velocity) * (1.0 + 2.2 * fe);
        m_filterL.Set(cutoff, 0.9);
        m_filterR.Set(cutoff, 0.9);
    }
    ++m_noteAge;
    const double a = m_sawL.Next(m_dt * 0.9965);
    const double b = m_sawR.Next(m_dt * 1.0035);
    const double p = m_pulse.Next(m_dt, 0.3);
    const double e = m_amp.Next() * m_velocity;
    *left = e * m_filterL.Low(0.5 * a + 0.3 * p);
    *right = e * m_filterR.Low(0.5 * b + 0.3 * p);
}

void ArpSynth::Trigger(const Note& note) {
    Voice& v = m_voices.StartInTurn();
    v.dt = MidiHz(note.pitch) / kRate;
    v.velocity = note.velocity;
    v.pan = m_side ? 0.32 : -0.32;
    m_side = !m_side;
    v.age = 0;
    v.amp.Set(0.002, 0.3, 0.0, 0.08);
    v.amp.On();
}

void ArpSynth::Tick(double* left, double* right) {
    const Stereo mix = m_voices.Tick([this](Voice& v) {
        const double e = v.amp.Next();
        if ((v.age++ & 15) == 0) v.filter.Set(m_cutoff * (0.5 + 2.5 * e * e), 1.6);
        const double x = 0.5 * v.square.Next(v.dt, 0.5) + 0.4 * v.saw.Next(v.dt * 1.004);
        const double y = v.filter.Low(x) * e * v.velocity;
        return Stereo{y * (1.0 - v.pan), y * (1.0 + v.pan)};
    });
    *left = mix.left;
    *right = mix.right;
}

KickDrum::KickDrum()
    : m_shape([](double p) { return std::tanh(1.8 * std::sin(2.0 * kPi * p)) / std::tanh(1.8); }) {
    m_pitchDecay = std::exp(-1.0 / (0.032 * kRate));
    m_ampDecay = std::exp(-1.0 / (0.17 * kRate));
    m_clickDecay = std::exp(-1.0 / (0.0025 * kRate));
    m_clickFilter.Set(1500.0);
}

void KickDrum::Trigger(const Note& note) {
    Voice& v = m_voices.StartInTurn();
    v = Voice{};
    v.velocity = note.velocity;
}

double KickDrum::Tick() {
    return m_voices.Tick([this](Voice& v) {
        const double hz = 44.0 + 131.0 * v.pitchEnv;
        v.pitchEnv *= m_pitchDecay;
        v.phase += hz / kRate;
        if (v.phase >= 1.0) v.phase -= 1.0;
        const double attack = v.age < 44 ? v.age / 44.0 : 1.0;
        ++v.age;
        const double body = m_shape.At(v.phase);
        const double click = m_clickFilter.High(m_noise.Next()) * v.clickEnv;
        const double out = v.velocity * (body * v.ampEnv * attack + 0.3 * click);
        v.ampEnv *= m_ampDecay;
        v.clickEnv *= m_clickDecay;
        return out;
    });
}

SnareDrum::SnareDrum() {
    m_bodyDecay = std::exp(-1.0 / (0.05 * kRate));
    m_noiseDecay = std::exp(-1.0 / (0.11 * kRate));
}

void SnareDrum::Trigger(const Note& note) {
    Voice& v = m_voices.StartInTurn();
    v.body = 1.0;
    v.noise = 1.0;
    v.velocity = note.velocity;
    v.low.phase = v.high.phase = 0.0;
}

double SnareDrum::Tick() {
    return m_voices.Tick([this](Voice& v) {
        const double shell =
            0.6 * v.low.Next((180.0 + 40.0 * v.body) / kRate) + 0.3 * v.high.Next(330.0 / kRate);
        const double wires = v.wires.High(m_noise.Next());
        const double out = v.velocity * (0.8 * shell * v.body + 0.75 * wires * v.noise);
        v.body *= m_bodyDecay;
        v.noise *= m_noiseDecay;
        return out;
    });
}

Clap::Clap() {
    m_burstDecay = std::exp(-1.0 / (0.0045 * kRate));
    m_tailDecay = std::exp(-1.0 / (0.09 * kRate));
    m_filter.Set(1300.0, 1.3);
}

void Clap::Trigger(const Note& note) {
    m_age = 0;
    m_velocity = note.velocity;
    m_active = true;
}

double Clap::Tick() {
    const double x = m_filter.Band(m_noise.Next());
    if (!m_active) return 0.0;
    if (m_age == 0 || m_age == 485 || m_age == 970) m_burst = 1.0;
    if (m_age == 970) m_tail = 1.0;
    ++m_age;
    const double env = std::max(m_burst, 0.7 * m_tail);
    m_burst *= m_burstDecay;
    m_tail *= m_tailDecay;
    if (m_age > 970 && env < 1e-4) m_active = false;
    return 2.2 * x * env * m_velocity;
}

HiHat::HiHat(double decaySeconds, uint32_t seed) : m_noise(seed) {
    m_decay = std::exp(-1.0 / (decaySeconds * kRate));
    m_highPass.Set(7600.0, 0.8);
    m_tone.Set(10500.0, 1.2);
}

void HiHat::Trigger(const Note& note) {
    m_env = 1.0;
    m_velocity = note.velocity;
}

double HiHat::Tick() {
    if (m_env < 1e-4) return 0.0;
    const double n = m_noise.Next();
    const double x = m_highPass.High(n) + 0.5 * m_tone.Band(n);
    const double out = x * m_env * m_velocity;
    m_env *= m_decay;
    return out;
}

Cymbal::Cymbal() {
    m_decay = std::exp(-1.0 / (0.9 * kRate));
    m_highL.Set(4200.0, 0.7);
    m_highR.Set(4600.0, 0.7);
}

void Cymbal::Trigger(const Note& note) {
    m_env = 1.0;
    m_velocity = note.velocity;
}

void Cymbal::Tick(double* left, double* right) {
    if (m_env < 1e-4) {
        *left = *right = 0.0;
        return;
    }
    const double e = m_env * m_velocity;
    *left = e * m_highL.High(m_noiseL.Next());
    *right = e * m_highR.High(m_noiseR.Next());
    m_env *= m_decay;
}

void Riser::Trigger(const Note& note) {
    m_start = note.start;
    m_length = note.length;
    m_velocity = note.velocity;
    m_active = true;
}

void Riser::Tick(int64_t now, double* left, double* right) {
    *left = *right = 0.0;
    if (!m_active) return;
    const double x = static_cast<double>(now - m_start) / m_length;
    if (x >= 1.0) {
        m_active = false;
        return;
    }
    if (((now - m_start) & 31) == 0) {
        const double hz = 250.0 * std::pow(36.0, x);
        m_bandL.Set(hz, 2.2);
        m_bandR.Set(hz * 1.07, 2.2);
    }
    const double fadeOut = std::min(1.0, (m_length - (now - m_start)) / 220.0);
    const double e = m_velocity * x * x * fadeOut;
    *left = e * m_bandL.Band(m_noiseL.Next());
    *right = e * m_bandR.Band(m_noiseR.Next());
}

Impact::Impact() {
    m_pitchDecay = std::exp(-1.0 / (0.4 * kRate));
    m_ampDecay = std::exp(-1.0 / (0.7 * kRate));
    m_thudDecay = std::exp(-1.0 / (0.18 * kRate));
    m_thudFilter.Set(600.0, 0.7);
}

void Impact::Trigger(const Note& note) {
    m_pitchEnv = m_amp = m_thud = 1.0;
    m_velocity = note.velocity;
    m_age = 0;
}

double Impact::Tick() {
    if (m_amp < 1e-4) return 0.0;
    const double attack = m_age < 88 ? m_age / 88.0 : 1.0;
    ++m_age;
    const double boom = m_sine.Next((29.0 + 32.0 * m_pitchEnv) / kRate);
    const double thud = m_thudFilter.Low(m_noise.Next());
    const double out = m_velocity * attack * (boom * m_amp + 0.6 * thud * m_thud);
    m_pitchEnv *= m_pitchDecay;
    m_amp *= m_ampDecay;
    m_thud *= m_thudDecay;
    return out;
}

void Air::Tick(uint64_t now, double level, double* left, double* right) {
    if (level <= 0.0) {
        *left = *right = 0.0;
        return;
    }
    if ((now & 31) == 0) {
        const double t = now / kRate;
        m_bandL.Set(700.0 * std::pow(2.0, 1.2 * std::sin(2.0 * kPi * 0.043 * t)), 3.0);
        m_bandR.Set(700.0 * std::pow(2.0, 1.2 * std::sin(2.0 * kPi * 0.037 * t + 2.0)), 3.0);
    }
    *left = level * m_bandL.Band(m_noiseL.Next());
    *right = level * m_bandR.Band(m_noiseR.Next());
}

}  // namespace music
