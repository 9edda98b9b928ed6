// Building blocks of the builder's synthesizer: band-limited oscillators, a state-variable
// filter, envelopes, seeded noise, delay lines, a small reverb and a look-ahead limiter.
// Everything runs one sample at a time on doubles and keeps all of its state in the object, so
// the same calls give the same samples on every run.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace synth {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 44100.0;

inline double MidiHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }
inline double DbToGain(double db) { return std::pow(10.0, db / 20.0); }
// Per-sample factor of an exponential decay that falls to 1/1000 (-60 dB) in `seconds`.
inline double DecayFactor(double seconds) {
    return std::exp(std::log(0.001) / std::max(1.0, seconds * kRate));
}

// The correction that removes most of the aliasing of a naive step at phase 0, for a phase t in
// [0, 1) that advances by dt per sample.
inline double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Sawtooth in [-1, 1], rising.
struct Saw {
    double phase = 0.0;
    double Next(double dt) {
        double v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        return v;
    }
};

// Pulse in [-1, 1], high for the first `width` of each period.
struct Pulse {
    double phase = 0.0;
    double Next(double dt, double width) {
        double v = phase < width ? 1.0 : -1.0;
        v += PolyBlep(phase, dt);
        double falling = phase - width;
        if (falling < 0.0) falling += 1.0;
        v -= PolyBlep(falling, dt);
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        return v;
    }
};

// One period of a waveform, read with linear interpolation at a phase in [0, 1).
class WaveTable {
public:
    static constexpr int kSize = 4096;
    template <typename Shape>
    explicit WaveTable(Shape shape) : m_values(kSize + 1) {
        for (int i = 0; i <= kSize; ++i) m_values[i] = shape(static_cast<double>(i) / kSize);
    }
    double At(double phase) const {
        const double x = phase * kSize;
        const int i = static_cast<int>(x);
        return m_values[i] + (x - i) * (m_values[i + 1] - m_values[i]);
    }

private:
    std::vector<double> m_values;
};

// sin(2π phase); with 4096 points the interpolation error stays below 3e-7.
inline const WaveTable kSineTable([](double phase) { return std::sin(2.0 * kPi * phase); });

struct Sine {
    double phase = 0.0;
    double Next(double dt) {
        double v = kSineTable.At(phase);
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        return v;
    }
};

// A cheap tanh (a Padé approximant, exact at 0 and reaching 1 at |x| = 3): smooth enough for
// saturation, and the same on every machine.
inline double SoftTanh(double x) {
    if (x >= 3.0) return 1.0;
    if (x <= -3.0) return -1.0;
    const double x2 = x * x;
    return x * (27.0 + x2) / (27.0 + 9.0 * x2);
}

// White noise in [-1, 1) from a 32-bit xorshift generator.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed ? seed : 0x9e3779b9u) {}
    double Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(m_state >> 8) * (1.0 / 8388608.0) - 1.0;
    }
    // Uniform in [0, 1).
    double Unit() { return 0.5 * (Next() + 1.0); }

private:
    uint32_t m_state;
};

// Trapezoidal state-variable filter: low-, band- and high-pass from one state. Set() costs a
// tangent, so callers update it at a control rate.
class Svf {
public:
    void Set(double hz, double q) {
        hz = std::clamp(hz, 16.0, 0.45 * kRate);
        double g = std::tan(kPi * hz / kRate);
        m_k = 1.0 / q;
        m_a1 = 1.0 / (1.0 + g * (g + m_k));
        m_a2 = g * m_a1;
        m_a3 = g * m_a2;
    }
    double Low(double x) {
        Tick(x);
        return m_low;
    }
    double Band(double x) {
        Tick(x);
        return m_band;
    }
    double High(double x) {
        Tick(x);
        return x - m_k * m_band - m_low;
    }
    void Reset() { m_ic1 = m_ic2 = 0.0; }

private:
    void Tick(double x) {
        double v3 = x - m_ic2;
        double v1 = m_a1 * m_ic1 + m_a2 * v3;
        double v2 = m_ic2 + m_a2 * m_ic1 + m_a3 * v3;
        m_ic1 = 2.0 * v1 - m_ic1;
        m_ic2 = 2.0 * v2 - m_ic2;
        m_low = v2;
        m_band = v1;
    }
    double m_k = 1.0, m_a1 = 1.0, m_a2 = 0.0, m_a3 = 0.0;
    double m_ic1 = 0.0, m_ic2 = 0.0, m_low = 0.0, m_band = 0.0;
};

// One-pole low-pass; High() gives the complement.
class OnePole {
public:
    void Set(double hz) { m_a = 1.0 - std::exp(-2.0 * kPi * hz / kRate); }
    double Low(double x) { return m_y += m_a * (x - m_y); }
    double High(double x) { return x - Low(x); }

private:
    double m_a = 1.0, m_y = 0.0;
};

// Attack (linear), decay to the sustain level and release (both exponential). A new note
// starts its attack from the current level, so retriggering never clicks.
class Adsr {
public:
    void Set(double attack, double decay, double sustain, double release) {
        m_attackStep = 1.0 / std::max(1.0, attack * kRate);
        m_decay = DecayFactor(decay);
        m_sustain = sustain;
        m_release = DecayFactor(release);
    }
    void On() { m_stage = Stage::Attack; }
    void Off() {
        if (m_stage != Stage::Idle) m_stage = Stage::Release;
    }
    bool Active() const { return m_stage != Stage::Idle; }
    double Level() const { return m_level; }
    double Next() {
        switch (m_stage) {
            case Stage::Attack:
                m_level += m_attackStep;
                if (m_level >= 1.0) {
                    m_level = 1.0;
                    m_stage = Stage::Decay;
                }
                break;
            case Stage::Decay:
                m_level = m_sustain + (m_level - m_sustain) * m_decay;
                break;
            case Stage::Release:
                m_level *= m_release;
                if (m_level < 1e-4) {
                    m_level = 0.0;
                    m_stage = Stage::Idle;
                }
                break;
            case Stage::Idle:
                break;
        }
        return m_level;
    }

private:
    enum class Stage { Idle, Attack, Decay, Release };
    Stage m_stage = Stage::Idle;
    double m_level = 0.0;
    double m_attackStep = 1.0, m_decay = 0.0, m_sustain = 1.0, m_release = 0.0;
};

// Delay line of whole samples. Read(d) gives the sample written d writes ago (1 <= d < size).
class DelayLine {
public:
    explicit DelayLine(size_t maxDelay = 1) {
        size_t size = 1;
        while (size <= maxDelay) size <<= 1;
        m_buffer.assign(size, 0.0);
        m_mask = size - 1;
    }
    double Read(size_t delay) const { return m_buffer[(m_pos - delay) & m_mask]; }
    void Write(double x) {
        m_buffer[m_pos] = x;
        m_pos = (m_pos + 1) & m_mask;
    }

private:
    std::vector<double> m_buffer;
    size_t m_mask = 0, m_pos = 0;
};

// Schroeder all-pass: smears transients without colouring the spectrum.
class Allpass {
public:
    Allpass(size_t delay, double gain) : m_line(delay), m_delay(delay), m_gain(gain) {}
    double Tick(double x) {
        double d = m_line.Read(m_delay);
        double w = x + m_gain * d;
        m_line.Write(w);
        return d - m_gain * w;
    }

private:
    DelayLine m_line;
    size_t m_delay;
    double m_gain;
};

// Echoes that alternate between the channels: the first comes back on the left, the next on
// the right, each one darker than the last.
class PingPongDelay {
public:
    PingPongDelay(size_t delay, double feedback, double dampHz)
        : m_left(delay), m_right(delay), m_delay(delay), m_feedback(feedback) {
        m_dampL.Set(dampHz);
        m_dampR.Set(dampHz);
        m_lowCutL.Set(180.0);
        m_lowCutR.Set(180.0);
    }
    void Tick(double inL, double inR, double* outL, double* outR) {
        double l = m_left.Read(m_delay);
        double r = m_right.Read(m_delay);
        m_left.Write(0.5 * (inL + inR) + m_feedback * m_lowCutR.High(m_dampR.Low(r)));
        m_right.Write(m_feedback * m_lowCutL.High(m_dampL.Low(l)));
        *outL = l;
        *outR = r;
    }

private:
    DelayLine m_left, m_right;
    size_t m_delay;
    double m_feedback;
    OnePole m_dampL, m_dampR, m_lowCutL, m_lowCutR;
};

// Feedback delay network of eight lines mixed by a Householder matrix, with input diffusion
// and damping: a smooth hall whose tail lasts `seconds` to -60 dB.
class Reverb {
public:
    Reverb(double seconds, double dampHz)
        : m_diffuseL{Allpass(142, 0.7), Allpass(379, 0.7), Allpass(107, 0.6)},
          m_diffuseR{Allpass(151, 0.7), Allpass(353, 0.7), Allpass(113, 0.6)} {
        static const size_t kLengths[kLines] = {1427, 1783, 2153, 2539, 2909, 3323, 3739, 4127};
        for (int i = 0; i < kLines; ++i) {
            m_length[i] = kLengths[i];
            m_lines[i] = DelayLine(kLengths[i]);
            m_gain[i] = std::pow(10.0, -3.0 * kLengths[i] / (seconds * kRate));
            m_damp[i].Set(dampHz);
        }
    }
    void Tick(double inL, double inR, double* outL, double* outR) {
        double l = inL, r = inR;
        for (auto& a : m_diffuseL) l = a.Tick(l);
        for (auto& a : m_diffuseR) r = a.Tick(r);
        double x[kLines];
        double sum = 0.0;
        for (int i = 0; i < kLines; ++i) {
            x[i] = m_damp[i].Low(m_lines[i].Read(m_length[i])) * m_gain[i];
            sum += x[i];
        }
        sum *= 2.0 / kLines;
        for (int i = 0; i < kLines; ++i) {
            double in = (i & 1) ? ((i & 2) ? -r : r) : ((i & 2) ? -l : l);
            m_lines[i].Write(x[i] - sum + in);
        }
        *outL = 0.35 * (x[0] - x[2] + x[4] - x[6] + x[1] * 0.5);
        *outR = 0.35 * (x[1] - x[3] + x[5] - x[7] + x[0] * 0.5);
    }

private:
    static constexpr int kLines = 8;
    Allpass m_diffuseL[3], m_diffuseR[3];
    DelayLine m_lines[kLines];
    size_t m_length[kLines] = {};
    double m_gain[kLines] = {};
    OnePole m_damp[kLines];
};

// Brick-wall peak limiter with look-ahead: the output never exceeds `ceiling` in either
// channel, and signal below the ceiling passes unchanged once a reduction has released. The
// gain for a loud sample is reached smoothly over the look-ahead window before the sample
// arrives, so there are no steps in the gain. Output lags the input by Latency() samples.
class Limiter {
public:
    Limiter(double ceiling, size_t lookahead, double releaseSeconds)
        : m_ceiling(ceiling),
          m_window(std::max<size_t>(lookahead, 1)),
          m_delayL(m_window),
          m_delayR(m_window),
          m_minValue(m_window),
          m_minIndex(m_window),
          m_box(m_window, 1.0),
          m_boxSum(static_cast<double>(m_window)),
          m_release(std::exp(-1.0 / (releaseSeconds * kRate))) {}

    size_t Latency() const { return m_window - 1; }

    void Tick(double inL, double inR, double* outL, double* outR) {
        double peak = std::max(std::fabs(inL), std::fabs(inR));
        double needed = peak > m_ceiling ? m_ceiling / peak : 1.0;

        // Smallest needed gain over the last `window` inputs (a monotonic queue).
        if (m_count > 0 && m_minIndex[m_head] + m_window <= m_tick) {
            m_head = (m_head + 1) % m_window;
            --m_count;
        }
        while (m_count > 0 && m_minValue[Slot(m_count - 1)] >= needed) --m_count;
        m_minValue[Slot(m_count)] = needed;
        m_minIndex[Slot(m_count)] = m_tick;
        ++m_count;
        double hold = m_minValue[m_head];

        // Release back towards unity, never above what the window needs.
        m_gain = std::min(hold, 1.0 - (1.0 - m_gain) * m_release);

        // Average over the window: every value averaged for the delayed sample is at most the
        // gain it needs, so the average is too.
        m_boxSum += m_gain - m_box[m_boxPos];
        m_box[m_boxPos] = m_gain;
        m_boxPos = (m_boxPos + 1) % m_window;
        if (m_boxPos == 0) {  // re-add now and then so rounding cannot drift
            m_boxSum = 0.0;
            for (double g : m_box) m_boxSum += g;
        }
        double gain = m_boxSum / static_cast<double>(m_window);

        double l = m_window > 1 ? m_delayL.Read(m_window - 1) : inL;
        double r = m_window > 1 ? m_delayR.Read(m_window - 1) : inR;
        m_delayL.Write(inL);
        m_delayR.Write(inR);
        *outL = std::clamp(l * gain, -m_ceiling, m_ceiling);
        *outR = std::clamp(r * gain, -m_ceiling, m_ceiling);
        ++m_tick;
    }

private:
    size_t Slot(size_t n) const { return (m_head + n) % m_window; }

    double m_ceiling;
    size_t m_window;
    DelayLine m_delayL, m_delayR;
    std::vector<double> m_minValue;
    std::vector<size_t> m_minIndex;
    size_t m_head = 0, m_count = 0, m_tick = 0;
    std::vector<double> m_box;
    size_t m_boxPos = 0;
    double m_boxSum;
    double m_gain = 1.0;
    double m_release;
};

}  // namespace synth
