#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "formats/mp3writer.h"
#include "music.h"
#include "platform/mp3decoder.h"
#include "support/tempdir.h"

namespace {

// The show's track, made and encoded as the builder does it, then decoded the way the show
// plays it. Made once: it takes seconds.
class ShowMusic : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_mp3 = new std::string;
        std::string error;
        ASSERT_TRUE(EncodeMp3(SynthesizeShowMusic(), MusicMp3Settings(), s_mp3, &error)) << error;
    }
    static void TearDownTestSuite() {
        delete s_mp3;
        s_mp3 = nullptr;
    }
    static std::string* s_mp3;
};
std::string* ShowMusic::s_mp3 = nullptr;

struct Decoded {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / channels : 0; }
};

Decoded Decode(const std::string& mp3) {
    TempDir dir;
    const std::string path = dir.File("velmora.mp3");
    WriteFileBytes(path, mp3);
    PlatformMp3Decoder decoder;
    std::string error;
    Decoded out;
    EXPECT_TRUE(decoder.Open(path, &error)) << error;
    out.rate = decoder.Rate();
    out.channels = decoder.Channels();
    if (out.channels <= 0) return out;
    std::vector<int16_t> block(4096 * out.channels);
    for (;;) {
        int frames = decoder.Read(block.data(), 4096);
        if (frames <= 0) break;
        out.samples.insert(out.samples.end(), block.begin(), block.begin() + frames * out.channels);
    }
    EXPECT_EQ(static_cast<int64_t>(out.Frames()), decoder.LengthFrames());
    return out;
}

// RMS in dBFS of the seconds [from, to), over both channels.
double RmsDb(const Decoded& d, double from, double to) {
    const size_t a = static_cast<size_t>(from * d.rate) * d.channels;
    const size_t b = std::min(d.samples.size(), static_cast<size_t>(to * d.rate) * d.channels);
    double sum = 0.0;
    for (size_t i = a; i < b; ++i) sum += (d.samples[i] / 32768.0) * (d.samples[i] / 32768.0);
    return b > a ? 10.0 * std::log10(sum / (b - a) + 1e-30) : -300.0;
}

double PeakDb(const Decoded& d) {
    int peak = 0;
    for (int16_t s : d.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return 20.0 * std::log10(peak / 32768.0 + 1e-30);
}

TEST_F(ShowMusic, DecodesToTheLengthLevelsAndSectionsOfTheShow) {
    const Decoded track = Decode(*s_mp3);
    EXPECT_EQ(track.rate, 44100);
    ASSERT_EQ(track.channels, 2);
    const double seconds = static_cast<double>(track.Frames()) / track.rate;
    EXPECT_GE(seconds, 358.0);
    EXPECT_NEAR(seconds, 366.0, 1.0);

    // No clipping, even after the encoder has had its way with the peaks.
    EXPECT_LE(PeakDb(track), -1.0);

    // Something plays in every scene window, and the music builds: the middle is well above
    // the intro, and the breakdown drops below the sections around it.
    const double windows[][2] = {{0, 40},    {40, 80},   {80, 120},  {120, 160}, {160, 200},
                                 {200, 240}, {240, 280}, {280, 320}, {320, 356}};
    std::vector<double> rms;
    for (const auto& w : windows) {
        rms.push_back(RmsDb(track, w[0], w[1]));
        EXPECT_GT(rms.back(), -30.0) << "window " << w[0] << " to " << w[1] << " s";
    }
    EXPECT_GT(rms[5], rms[0] + 4.0) << "the middle is not louder than the intro";
    EXPECT_GT(rms[7], rms[0] + 4.0) << "the climax is not louder than the intro";
    EXPECT_LT(rms[4], rms[3]);
    EXPECT_LT(rms[4], rms[5]);

    // The fade after 356 s falls steadily to near silence.
    const double beforeFade = RmsDb(track, 350, 356);
    const double early = RmsDb(track, 358, 360);
    const double late = RmsDb(track, 362, 364);
    const double last = RmsDb(track, seconds - 0.5, seconds);
    EXPECT_LT(early, beforeFade);
    EXPECT_LT(late, early - 6.0);
    EXPECT_LT(last, -60.0);
}

TEST_F(ShowMusic, IsTheSameBytesOnEveryRun) {
    std::string again, error;
    ASSERT_TRUE(EncodeMp3(SynthesizeShowMusic(), MusicMp3Settings(), &again, &error)) << error;
    ASSERT_EQ(again.size(), s_mp3->size());
    EXPECT_TRUE(again == *s_mp3);
}

}  // namespace
