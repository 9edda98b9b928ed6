#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "synth.h"

namespace {

constexpr double kCeiling = 0.5;
constexpr size_t kLookahead = 66;

// Runs a mono signal through a limiter (the same signal in both channels) and returns the
// output realigned with the input.
std::vector<double> Limit(const std::vector<double>& in) {
    synth::Limiter limiter(kCeiling, kLookahead, 0.12);
    const size_t latency = limiter.Latency();
    std::vector<double> out;
    for (size_t i = 0; i < in.size() + latency; ++i) {
        double x = i < in.size() ? in[i] : 0.0;
        double l, r;
        limiter.Tick(x, x, &l, &r);
        EXPECT_EQ(l, r);
        if (i >= latency) out.push_back(l);
    }
    return out;
}

std::vector<double> SineWave(double amplitude, double hz, size_t frames) {
    std::vector<double> s(frames);
    for (size_t i = 0; i < frames; ++i)
        s[i] = amplitude * std::sin(2.0 * synth::kPi * hz * i / synth::kRate);
    return s;
}

TEST(Limiter, PassesSignalBelowTheCeilingUntouched) {
    const std::vector<double> in = SineWave(0.45, 220.0, 20000);
    const std::vector<double> out = Limit(in);
    ASSERT_EQ(out.size(), in.size());
    for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(out[i], in[i]) << "sample " << i;
}

// A steady overload is turned down, not clipped: the gain hardly moves within a period, so
// the output is a quieter sine rather than a squared-off one.
TEST(Limiter, TurnsALoudSineDownInsteadOfClippingIt) {
    const std::vector<double> in = SineWave(2.0, 200.0, 44100);
    const std::vector<double> out = Limit(in);
    double peak = 0.0;
    for (size_t i = 4410; i < in.size(); ++i) {
        peak = std::max(peak, std::fabs(out[i]));
        ASSERT_LE(std::fabs(out[i]), kCeiling);
        if (std::fabs(in[i]) > 0.2) {
            const double gain = out[i] / in[i];
            ASSERT_GE(gain, 0.24) << "sample " << i;
            ASSERT_LE(gain, 0.30) << "sample " << i;
        }
    }
    EXPECT_GT(peak, 0.98 * kCeiling);
}

// A lone spike: the gain glides down over the look-ahead so the spike lands exactly on the
// ceiling, leaves everything earlier alone and recovers afterwards.
TEST(Limiter, MeetsASpikeSmoothlyAndRecovers) {
    std::vector<double> in = SineWave(0.3, 130.0, 3 * 44100);
    const size_t spike = 44100;
    in[spike] = 3.0;
    const std::vector<double> out = Limit(in);

    for (size_t i = 0; i + kLookahead <= spike; ++i) ASSERT_EQ(out[i], in[i]) << "sample " << i;
    EXPECT_NEAR(out[spike], kCeiling, 1e-12);
    // Over the look-ahead the gain falls in even steps from 1 to the spike's gain.
    const double spikeGain = kCeiling / 3.0;
    const double step = (1.0 - spikeGain) / kLookahead;
    double previous = 1.0;
    for (size_t i = spike + 1 - kLookahead; i <= spike; ++i) {
        const double gain = out[i] / in[i];
        ASSERT_LE(gain, previous + 1e-12) << "the gain rises before the spike at " << i;
        ASSERT_LE(previous - gain, 1.01 * step) << "the gain jumps at " << i;
        previous = gain;
    }
    for (size_t i = spike + 44100; i < in.size(); ++i)
        ASSERT_NEAR(out[i], in[i], 1e-3) << "not recovered at " << i;
}

}  // namespace
