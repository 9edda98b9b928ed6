// The mix and the master: the band's parts through their buses, the echo and the room, the
// level lanes along the sections, then saturation, the limiter, the end's fade and dither into
// the track that SynthesizeShowMusic() returns.
#include "music.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "instruments.h"
#include "score.h"
#include "synth.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace music {
namespace {

using namespace synth;

constexpr double kFadeSeconds = kMusicSeconds - kMusicFadeStart;

// Decaying tails die out into subnormal numbers, which are slow on x86: flush them to zero
// while the track is made. The result is the same on every run either way.
class FlushSubnormals {
public:
#if defined(__SSE2__)
    FlushSubnormals() : m_saved(_mm_getcsr()) { _mm_setcsr(m_saved | 0x8040); }
    ~FlushSubnormals() { _mm_setcsr(m_saved); }

private:
    unsigned m_saved;
#endif
};

// Points (bar, value), joined by straight lines, constant beyond the ends.
class Automation {
public:
    Automation(std::initializer_list<std::pair<double, double>> points) : m_points(points) {}
    // Bars only grow between calls, so a cursor finds the segment.
    double At(double bar) {
        while (m_cursor + 1 < m_points.size() && m_points[m_cursor + 1].first <= bar) ++m_cursor;
        const auto& a = m_points[m_cursor];
        if (bar <= a.first || m_cursor + 1 == m_points.size()) return a.second;
        const auto& b = m_points[m_cursor + 1];
        return a.second + (b.second - a.second) * (bar - a.first) / (b.first - a.first);
    }

private:
    std::vector<std::pair<double, double>> m_points;
    size_t m_cursor = 0;
};

// How far the pads and plucks make room under each kick.
class Ducker {
public:
    Ducker() {
        m_decay = std::exp(-1.0 / (0.13 * kRate));
        m_smooth.Set(60.0);
    }
    void Kick() { m_env = 1.0; }
    // The gain for this sample at the given depth.
    double Next(double depth) {
        const double e = m_smooth.Low(m_env);
        m_env *= m_decay;
        return 1.0 - depth * e;
    }

private:
    OnePole m_smooth;
    double m_decay, m_env = 0.0;
};

// The band, the effects, the mix and the master. Tick() makes one stereo sample of the mix.
class Mixer {
public:
    explicit Mixer(const PartNotes* score) : m_score(score) {
        m_padLowCutL.Set(160.0);
        m_padLowCutR.Set(160.0);
        m_dcL.Set(18.0);
        m_dcR.Set(18.0);
        m_topCutL.Set(15500.0, 0.7071);
        m_topCutR.Set(15500.0, 0.7071);
    }

    void Tick(int64_t now, double* left, double* right) {
        Trigger(now);
        if ((now & 31) == 0) Control(now);

        // Pads, the lead and the arpeggio.
        double padL, padR;
        m_pad.Tick(now, &padL, &padR);
        padL = m_padLowCutL.High(m_padFilterL.Low(padL)) * m_padLevel;
        padR = m_padLowCutR.High(m_padFilterR.Low(padR)) * m_padLevel;
        double leadL, leadR, dblL, dblR, arpL, arpR;
        m_lead.Tick(now, &leadL, &leadR);
        m_double.Tick(now, &dblL, &dblR);
        m_arp.Tick(&arpL, &arpR);
        const double duck = m_ducker.Next(m_duckDepth);
        const double bass = m_bass.Tick(now) * (1.0 - 0.5 * (1.0 - duck));

        // Drums and effects.
        const double kick = m_kick.Tick();
        const double snare = m_snare.Tick();
        const double clap = m_clap.Tick();
        const double hat = m_hat.Tick();
        const double openHat = m_openHat.Tick();
        double crashL, crashR, riserL, riserR, airL, airR;
        m_crash.Tick(&crashL, &crashR);
        m_riser.Tick(now, &riserL, &riserR);
        m_air.Tick(static_cast<uint64_t>(now), m_airLevel, &airL, &airR);
        const double impact = m_impact.Tick();

        const double melodicL = 0.4 * leadL + 0.2 * dblL + 0.28 * arpL * duck;
        const double melodicR = 0.4 * leadR + 0.2 * dblR + 0.28 * arpR * duck;
        double echoL, echoR;
        m_echo.Tick(0.32 * melodicL + 0.08 * snare, 0.32 * melodicR + 0.08 * snare, &echoL, &echoR);

        const double sendL = 0.32 * padL + 0.45 * melodicL + 0.3 * echoL + 0.16 * (snare + clap) +
                             0.1 * crashL + 0.35 * riserL + 0.25 * airL + 0.12 * impact;
        const double sendR = 0.32 * padR + 0.45 * melodicR + 0.3 * echoR + 0.16 * (snare + clap) +
                             0.1 * crashR + 0.35 * riserR + 0.25 * airR + 0.12 * impact;
        double roomL, roomR;
        m_reverb.Tick(sendL, sendR, &roomL, &roomR);
        const double room = 0.55 * (0.6 + 0.4 * duck);  // the room breathes with the kick too

        // The centre: drums and bass. The closed hats lean right, the open ones left.
        const double centre = 0.5 * kick + 0.55 * snare + 0.4 * clap + 0.45 * impact + 0.45 * bass;
        const double l = centre + 0.13 * hat + 0.08 * openHat + padL * duck + melodicL +
                         0.4 * echoL + 0.07 * crashL + 0.12 * riserL + 0.07 * airL + room * roomL;
        const double r = centre + 0.11 * hat + 0.1 * openHat + padR * duck + melodicR +
                         0.4 * echoR + 0.07 * crashR + 0.12 * riserR + 0.07 * airR + room * roomR;
        // No rumble below 18 Hz, and nothing above 15.5 kHz for the encoder to cut off (its
        // low-pass would make the peaks ring over the ceiling).
        *left = m_topCutL.Low(m_dcL.High(l));
        *right = m_topCutR.Low(m_dcR.High(r));
    }

private:
    void Trigger(int64_t now) {
        for (int p = 0; p < kPartCount; ++p) {
            const std::vector<Note>& notes = (*m_score)[p];
            size_t& next = m_next[p];
            while (next < notes.size() && notes[next].start <= now) {
                const Note& n = notes[next++];
                switch (static_cast<Part>(p)) {
                    case kPad:
                        m_pad.Trigger(n);
                        break;
                    case kBass:
                        m_bass.Trigger(n);
                        break;
                    case kLead:
                        m_lead.Trigger(n);
                        break;
                    case kLeadDouble:
                        m_double.Trigger(n);
                        break;
                    case kArp:
                        m_arp.Trigger(n);
                        break;
                    case kKick:
                        m_kick.Trigger(n);
                        m_ducker.Kick();
                        break;
                    case kSnare:
                        m_snare.Trigger(n);
                        break;
                    case kClap:
                        m_clap.Trigger(n);
                        break;
                    case kHat:
                        m_hat.Trigger(n);
                        break;
                    case kOpenHat:
                        m_openHat.Trigger(n);
                        break;
                    case kCrash:
                        m_crash.Trigger(n);
                        break;
                    case kRiser:
                        m_riser.Trigger(n);
                        break;
                    case kImpact:
                        m_impact.Trigger(n);
                        break;
                    case kPartCount:
                        break;
                }
            }
        }
    }

    // Slow changes, 1378 times a second: filter sweeps and levels along the sections.
    void Control(int64_t now) {
        const double bar = now / (4.0 * kBeatSamples);
        const double drift = 1.0 + 0.12 * std::sin(2.0 * kPi * bar / 16.0);
        const double pad = m_padCutoff.At(bar) * drift;
        m_padFilterL.Set(pad, 0.8);
        m_padFilterR.Set(pad * 1.04, 0.8);
        m_padLevel = m_padLevelLane.At(bar);
        m_arp.SetBrightness(m_arpCutoff.At(bar));
        m_lead.SetBrightness(m_leadCutoff.At(bar));
        m_double.SetBrightness(m_leadCutoff.At(bar) * 1.2);
        m_bass.SetBrightness(m_bassCutoff.At(bar));
        m_airLevel = m_airLane.At(bar);
        m_duckDepth = m_duckLane.At(bar);
    }

    const PartNotes* m_score;
    size_t m_next[kPartCount] = {};

    PadSynth m_pad;
    BassSynth m_bass;
    LeadSynth m_lead, m_double;
    ArpSynth m_arp;
    KickDrum m_kick;
    SnareDrum m_snare;
    Clap m_clap;
    HiHat m_hat{0.022, 0x5eed000cu}, m_openHat{0.16, 0x5eed000du};
    Cymbal m_crash;
    Riser m_riser;
    Impact m_impact;
    Air m_air;
    Ducker m_ducker;

    Svf m_padFilterL, m_padFilterR;
    OnePole m_padLowCutL, m_padLowCutR, m_dcL, m_dcR;
    Svf m_topCutL, m_topCutR;
    PingPongDelay m_echo{static_cast<size_t>(0.75 * kBeatSamples), 0.42, 3500.0};
    Reverb m_reverb{3.6, 5200.0};

    double m_padLevel = 1.0, m_airLevel = 0.0, m_duckDepth = 0.0;
    Automation m_padCutoff{{0, 280},    {8, 900},    {19, 1600},  {20, 1500},
                           {39, 2200},  {40, 2600},  {79, 2800},  {80, 900},
                           {96, 1900},  {100, 3200}, {139, 3400}, {140, 4800},
                           {159, 4800}, {160, 3600}, {176, 1800}, {183, 700}};
    Automation m_padLevelLane{{0, 1.0},    {39.75, 0.95},  {40, 0.78},  {79.75, 0.78},
                              {80, 1.05},  {99.75, 1.0},   {100, 0.78}, {139.75, 0.8},
                              {140, 0.92}, {159.75, 0.92}, {160, 0.82}, {176, 1.0}};
    Automation m_arpCutoff{{16, 350},   {20, 500},   {39, 2400},  {40, 2200},
                           {79, 2800},  {92, 400},   {100, 3200}, {139, 3400},
                           {140, 4500}, {160, 3200}, {176, 700}};
    Automation m_leadCutoff{{0, 900},   {19, 1200},  {20, 1500},  {39, 2000},  {40, 2400},
                            {80, 1400}, {100, 2600}, {140, 3400}, {160, 2600}, {183, 1500}};
    Automation m_bassCutoff{{20, 120},  {40, 220},  {80, 110},  {96, 200},
                            {100, 260}, {140, 320}, {160, 260}, {176, 150}};
    Automation m_airLane{{0, 0.0},  {2, 0.8},  {16, 0.5},  {20, 0.2},  {24, 0.0},  {80, 0.0},
                         {82, 0.7}, {96, 0.7}, {100, 0.0}, {176, 0.0}, {178, 0.4}, {183, 0.3}};
    Automation m_duckLane{{0, 0.0}, {20, 0.45}, {40, 0.6}};
};

// Gain of the end's fade: 1 until the fade starts, then an eased fall to 0 at the end.
double FadeGain(double seconds) {
    if (seconds <= kMusicFadeStart) return 1.0;
    const double x = std::min(1.0, (seconds - kMusicFadeStart) / kFadeSeconds);
    const double c = std::cos(0.5 * kPi * x);
    return c * c;
}

// Gentle saturation: linear up to the knee, then rounding off towards 1.
double Saturate(double x) {
    const double knee = 0.55;
    const double a = std::fabs(x);
    if (a <= knee) return x;
    const double y = knee + (1.0 - knee) * SoftTanh((a - knee) / (1.0 - knee));
    return x < 0.0 ? -y : y;
}

}  // namespace
}  // namespace music

std::vector<int16_t> SynthesizeShowMusic(void (*progress)(double, void*), void* user) {
    using namespace music;
    FlushSubnormals flush;
    const PartNotes score = Compose();
    Mixer mixer(&score);
    const double ceiling = DbToGain(kMusicCeilingDb);
    Limiter limiter(ceiling, 66, 0.12);  // 1.5 ms look-ahead
    const int64_t latency = static_cast<int64_t>(limiter.Latency());
    const double drive = 1.05;
    Noise ditherA(0x5eed00f1u), ditherB(0x5eed00f2u);

    std::vector<int16_t> out(static_cast<size_t>(kFrames) * 2);
    for (int64_t i = 0; i < kFrames + latency; ++i) {
        double l = 0.0, r = 0.0;
        if (i < kFrames) mixer.Tick(i, &l, &r);
        double ml, mr;
        limiter.Tick(Saturate(drive * l), Saturate(drive * r), &ml, &mr);
        const int64_t j = i - latency;
        if (j < 0) continue;

        const double fade = FadeGain(static_cast<double>(j) / kMusicRate);
        // Triangular dither, fading with the music so that the end is digital silence.
        const double dl = (ditherA.Unit() - ditherA.Unit()) * fade;
        const double dr = (ditherB.Unit() - ditherB.Unit()) * fade;
        out[2 * j] = static_cast<int16_t>(std::lround(ml * fade * 32767.0 + dl));
        out[2 * j + 1] = static_cast<int16_t>(std::lround(mr * fade * 32767.0 + dr));
        if (progress && j % kMusicRate == 0) progress(static_cast<double>(j) / kFrames, user);
    }
    if (progress) progress(1.0, user);
    return out;
}
