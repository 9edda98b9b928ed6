#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "base/log.h"
#include "formats/mp3writer.h"
#include "shell/music.h"
#include "shell/musicclock.h"
#include "support/tempdir.h"

namespace {

constexpr int kRate = 44100;

// Audio callbacks of 1024 frames arrive with jitter; the frame loop asks every 16 ms.
TEST(MusicClock, StepsSmoothlyBetweenCallbacksAndNeverGoesBack) {
    MusicClock clock(kRate, 1024, 60 * kRate);
    clock.SetFrame(0);
    clock.Start(100.0);
    EXPECT_DOUBLE_EQ(clock.Position(100.0, false), 0.0);  // before the first callback

    const double period = 1024.0 / kRate;
    int64_t handedOut = 0;
    double nextCallback = 100.0;
    int callbackIndex = 0;
    double previous = 0.0;
    for (double now = 100.0; now < 102.0; now += 0.016) {
        while (nextCallback <= now) {
            handedOut += 1024;
            clock.OnCallback(handedOut, nextCallback);
            // jitter of up to +-4 ms around the nominal period
            nextCallback += period + ((callbackIndex++ % 3) - 1) * 0.004;
        }
        double position = clock.Position(now, false);
        ASSERT_GE(position, previous);
        if (now > 100.1) {
            EXPECT_NEAR(position - previous, 0.016, 0.010) << "at " << now;
        }
        previous = position;
    }
    EXPECT_NEAR(previous, 2.0, 0.06);
}

TEST(MusicClock, StopsAtTheEndAndHonoursTheSeek) {
    MusicClock clock(kRate, 1024, 2 * kRate);
    clock.SetFrame(kRate);  // 1 s
    EXPECT_DOUBLE_EQ(clock.Position(0.0, true), 1.0);
    clock.Start(10.0);
    EXPECT_DOUBLE_EQ(clock.Position(10.5, true), 1.5);
    EXPECT_DOUBLE_EQ(clock.Position(30.0, true), 2.0);  // the track's end
    EXPECT_DOUBLE_EQ(clock.Position(29.0, true), 2.0);  // an earlier reading never goes back
}

TEST(MusicClock, NeverAheadOfWhatTheDeviceWasGiven) {
    MusicClock clock(kRate, 1024, 60 * kRate);
    clock.SetFrame(0);
    clock.Start(0.0);
    clock.OnCallback(2048, 1.0);
    // The audio thread stalls: the position waits at the frames handed out.
    EXPECT_NEAR(clock.Position(5.0, false), 2048.0 / kRate, 1e-9);
}

// A stereo tone of the given length, as MP3 in dir/track.mp3.
std::string WriteTrack(const TempDir& dir, double seconds) {
    std::vector<int16_t> samples(static_cast<size_t>(seconds * kRate) * 2);
    for (size_t i = 0; i < samples.size() / 2; ++i) {
        auto v = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * i / kRate));
        samples[2 * i] = samples[2 * i + 1] = v;
    }
    std::string mp3, error;
    EXPECT_TRUE(EncodeMp3(samples, Mp3Settings{}, &mp3, &error)) << error;
    std::string path = dir.File("track.mp3");
    WriteFileBytes(path, mp3);
    return path;
}

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Plays for a while and checks the clock against the wall clock.
void ExpectClockFollowsWallTime(Music& music) {
    music.SetPosition(0.0f);
    music.Play();
    double start = WallSeconds();
    float first = music.GetPosition();
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 0.1f);
    float previous = first;
    while (WallSeconds() - start < 0.6) {
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
        float now = music.GetPosition();
        ASSERT_GE(now, previous);
        previous = now;
    }
    EXPECT_NEAR(previous, WallSeconds() - start, 0.15);
}

TEST(Music, PlaysThroughARealAudioDriver) {
    // The disk driver writes the samples away at the speed of real playback.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    TempDir dir;
    Music music;
    music.Load(WriteTrack(dir, 3.0));
    EXPECT_FALSE(music.IsSilent());
    ExpectClockFollowsWallTime(music);
}

TEST(Music, FallsBackToASilentClockWithoutADevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir dir;
    InitLog(true, false, false, "");
    testing::internal::CaptureStderr();
    Music music;
    music.Load(WriteTrack(dir, 3.0));
    std::string logged = testing::internal::GetCapturedStderr();
    InitLog(false, false, false, "");
    EXPECT_TRUE(music.IsSilent());
    EXPECT_NE(logged.find("the clock runs silently"), std::string::npos) << logged;
    ExpectClockFollowsWallTime(music);
}

TEST(MusicDeathTest, MissingTrackIsFatalAtTheSeek) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EXIT(
        {
            InitLog(true, false, false, "");
            Music music;
            music.Load("/nonexistent/music/velmora.mp3");
            music.SetPosition(0.0f);
        },
        testing::ExitedWithCode(3),
        "music: couldn't open /nonexistent/music/velmora.mp3(.|\n)*Assertion failed: false, "
        "file music.cpp");
}

}  // namespace
