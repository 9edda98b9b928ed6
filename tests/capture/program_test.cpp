// The built pindle-capture on the built show, with no display in its environment.
#include <gtest/gtest.h>

#include "capturefixture.h"
#include "programfixture.h"

namespace {

TEST(CaptureProgram, TwoSecondsOfTheShowMakeSixtyFramesAndTwoSecondsOfMusic) {
    ProgramSandbox box;
    std::string err, mp4 = box.File("show.mp4");
    ASSERT_EQ(box.Run({"--size", "160x90", "--fps", "30", "--to", "2", "--out", mp4}, &err), 0)
        << err;
    EXPECT_NE(err.find("video: " + mp4), std::string::npos) << err;
    ProbedStream video = Probe(mp4, "v");
    EXPECT_EQ(video.codec, "h264");
    EXPECT_EQ(video.pixelFormat, "yuv420p");
    EXPECT_EQ(video.frames, 60);
    EXPECT_NEAR(Probe(mp4, "a").duration, 2.0, 0.03);
}

// The show, the read-back and the writer thread make the same file every time.
TEST(CaptureProgram, TwoCapturesOfARangeAreTheSameBytes) {
    ProgramSandbox box;
    std::string err, first = box.File("first.mp4"), second = box.File("second.mp4");
    for (const std::string& mp4 : {first, second})
        ASSERT_EQ(box.Run({"--size", "320x180", "--fps", "30", "--from", "20", "--to", "21.5",
                           "--out", mp4},
                          &err),
                  0)
            << err;
    std::string a = ReadFileBytes(first), b = ReadFileBytes(second);
    EXPECT_GT(a.size(), 10000u);
    EXPECT_TRUE(a == b) << "the two captures differ";
}

TEST(CaptureProgram, CtrlCStopsCleanlyWithAPlayableVideo) {
    ProgramSandbox box;
    std::string err, mp4 = box.File("show.mp4");
    int code = box.RunAndInterrupt({"--size", "160x90", "--fps", "30", "--out", mp4}, &err);
    EXPECT_EQ(code, 130) << err;
    EXPECT_NE(err.find("stopped"), std::string::npos) << err;
    ProbedStream video = Probe(mp4, "v");
    ASSERT_GT(video.frames, 0) << err;
    EXPECT_NEAR(Probe(mp4, "a").duration, video.frames / 30.0, 0.03);
}

TEST(CaptureProgram, MissingArchiveIsAClearError) {
    ProgramSandbox box;
    std::string err;
    EXPECT_EQ(box.Run({"--archive", "elsewhere/demodat", "--out", "a.mp4"}, &err), 1);
    EXPECT_NE(err.find("no archive at"), std::string::npos) << err;
}

}  // namespace
