// The built pindle-capture on the built show, with no display in its environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <sstream>

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

// The show's scenes by name, with its passes timed: every share a number, adding up to no more
// than the whole frame.
TEST(CaptureProgram, StatsNameTheShowsScenesAndShareOutItsPasses) {
    ProgramSandbox box;
    std::string out;
    ASSERT_EQ(
        box.Run({"--size", "160x90", "--fps", "30", "--from", "20", "--to", "21", "--stats"}, &out),
        0)
        << out;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line) && line.rfind("scene ", 0) != 0) {
    }
    ASSERT_FALSE(lines.eof()) << "no table:\n" << out;
    std::vector<std::vector<std::string>> rows;
    while (std::getline(lines, line) && !line.empty()) {
        std::istringstream fields(line);
        rows.emplace_back(std::istream_iterator<std::string>(fields),
                          std::istream_iterator<std::string>());
    }
    ASSERT_GE(rows.size(), 2u) << out;
    EXPECT_EQ(rows.back()[0], "all");
    EXPECT_EQ(rows.back()[1], "30");
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 7u) << out;
        EXPECT_NE(row[0], "(start)") << "the show is in a scene at 20 s";
        int shares = 0;
        for (size_t i = 4; i < 7; ++i) {
            EXPECT_NE(row[i], "-") << row[0] << ": a pass not measured";
            shares += std::atoi(row[i].c_str());
        }
        EXPECT_GT(std::atoi(row[4].c_str()), 0) << row[0];
        EXPECT_LE(shares, 101) << row[0];
    }
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
