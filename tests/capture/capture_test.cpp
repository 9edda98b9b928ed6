// The capture tool run in-process on a test show that paints each frame one flat colour, over
// an archive that holds only the music. No display server is used.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "capture.h"
#include "capturefixture.h"
#include "contactsheet.h"
#include "render/passtimer.h"

namespace fs = std::filesystem;

namespace {

class Capture : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        m_script.colour = GreyByFrame;
    }

    CaptureRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--archive", m_box.Archive()});
        return RunCaptureTool(args, &m_script, &m_stop);
    }

    // The frame's colour at a pixel, as 0xRRGGBB.
    static uint32_t At(const std::vector<uint8_t>& rgb, int width, int x, int y) {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }

    CaptureSandbox m_box;
    ShowScript m_script;
    volatile std::sig_atomic_t m_stop = 0;
};

TEST_F(Capture, VideoOfTwoSecondsHasEveryFrameInOrderAndTheMusicCutToIt) {
    std::string mp4 = m_box.File("show.mp4");
    CaptureRun run = Run({"--size", "160x90", "--fps", "30", "--to", "2", "--out", mp4});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find(mp4), std::string::npos) << "says where the file is:\n" << run.err;

    ProbedStream video = Probe(mp4, "v");
    EXPECT_EQ(video.codec, "h264");
    EXPECT_EQ(video.pixelFormat, "yuv420p");
    EXPECT_EQ(video.frames, 60);
    ProbedStream audio = Probe(mp4, "a");
    EXPECT_EQ(audio.codec, "aac");
    EXPECT_NEAR(audio.duration, 2.0, 0.03);

    // Frame k is the grey 4k: none dropped, doubled or shifted, none read after presenting.
    auto frames = DecodeVideo(mp4, 160, 90);
    ASSERT_EQ(frames.size(), 60u);
    for (size_t k = 0; k < frames.size(); ++k) {
        uint32_t c = At(frames[k], 160, 80, 45);
        EXPECT_NEAR(static_cast<int>(c >> 8 & 255), static_cast<int>(4 * k), 2) << "frame " << k;
        EXPECT_NEAR(static_cast<int>(c >> 16), static_cast<int>(c & 255), 2) << "frame " << k;
    }
}

TEST_F(Capture, StepsOnTheFrameGridWithTheFirstDtEqualToItsTime) {
    std::string dir = m_box.File("frames");
    CaptureRun run =
        Run({"--size", "8x8", "--fps", "10", "--from", "1", "--to", "1.5", "--frames", dir});
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_EQ(m_script.updates.size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_FLOAT_EQ(m_script.updates[k].time, 1.0f + k * 0.1f);
        // dt is the difference of the times handed out, as the show's loop takes it.
        float previous = k == 0 ? 0.0f : m_script.updates[k - 1].time;
        EXPECT_EQ(m_script.updates[k].dt, m_script.updates[k].time - previous);
        EXPECT_NEAR(m_script.updates[k].dt, k == 0 ? 1.0f : 0.1f, 1e-6f);
        EXPECT_EQ(m_script.draws[k].time, m_script.updates[k].time);
        EXPECT_EQ(m_script.draws[k].dt, m_script.updates[k].dt);
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 5u);
    for (size_t k = 0; k < names.size(); ++k) {
        EXPECT_EQ(names[k], EveryFrameName(static_cast<int64_t>(k), 5));
        int w = 0, h = 0;
        auto rgb = ReadRgbPng(dir + "/" + names[k], &w, &h);
        ASSERT_EQ(w, 8);
        EXPECT_EQ(At(rgb, w, 3, 3), GreyByFrame(static_cast<int>(k), 0, 0));
    }
}

TEST_F(Capture, SingleFramesEqualTheSameFramesOfAFullRun) {
    // The colour depends on the frames drawn and the dt summed so far, like a show's state.
    m_script.colour = [](int drawn, float time, float dtSum) {
        return uint32_t(drawn * 5 & 255) << 16 | uint32_t(std::lround(time * 40) & 255) << 8 |
               uint32_t(std::lround(dtSum * 100) & 255);
    };
    std::string all = m_box.File("all"), some = m_box.File("some");
    ASSERT_EQ(Run({"--size", "12x6", "--fps", "20", "--to", "1", "--frames", all}).code, 0);
    m_script.updates.clear();
    m_script.draws.clear();
    CaptureRun run = Run(
        {"--size", "12x6", "--fps", "20", "--to", "1", "--frames", some, "--at", "0.5,0.05,0.95"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(m_script.draws.size(), 20u) << "stepped from 0 up to the last time";

    for (auto [time, index] : {std::pair{0.05, 1}, {0.5, 10}, {0.95, 19}}) {
        int w = 0, h = 0, fw = 0, fh = 0;
        auto single = ReadRgbPng(some + "/" + SingleFrameName(time), &w, &h);
        auto full = ReadRgbPng(all + "/" + EveryFrameName(index, 20), &fw, &fh);
        ASSERT_FALSE(single.empty()) << time;
        EXPECT_EQ(single, full) << "at " << time;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(some), fs::directory_iterator{}), 3);
}

TEST_F(Capture, OffGridTimeIsSteppedToAfterTheGridFramesBeforeIt) {
    std::string dir = m_box.File("frames");
    ASSERT_EQ(Run({"--size", "4x4", "--fps", "10", "--frames", dir, "--at", "0.33"}).code, 0);
    std::vector<float> times;
    for (const ShowCall& c : m_script.draws) times.push_back(c.time);
    EXPECT_EQ(times, (std::vector<float>{0.0f, 0.1f, 0.2f, 0.3f, 0.33f}));
    EXPECT_NEAR(m_script.draws.back().dt, 0.03f, 1e-6f);
    EXPECT_TRUE(fs::exists(dir + "/" + SingleFrameName(0.33)));
}

TEST_F(Capture, StopLeavesAPlayableVideoWithTheFramesSoFar) {
    m_script.stopAfterDraws = 12;
    m_script.stop = &m_stop;
    std::string mp4 = m_box.File("stopped.mp4");
    CaptureRun run = Run({"--size", "64x36", "--fps", "24", "--out", mp4});
    EXPECT_EQ(run.code, 130) << run.err;
    EXPECT_NE(run.err.find("stopped"), std::string::npos) << run.err;
    EXPECT_EQ(Probe(mp4, "v").frames, 12);
    EXPECT_NEAR(Probe(mp4, "a").duration, 0.5, 0.03);
}

TEST_F(Capture, ContactSheetShowsFramesAtEvenIntervalsWithLabels) {
    std::string png = m_box.File("sheet.png");
    CaptureRun run = Run(
        {"--size", "40x20", "--fps", "10", "--to", "3", "--grid", "3x2", "--contact-sheet", png});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(m_script.draws.size(), 26u) << "stops after the last tile's frame, 25";
    int w = 0, h = 0;
    auto sheet = ReadRgbPng(png, &w, &h);
    ContactSheet layout(3, 2, 40, 20);
    ASSERT_EQ(w, layout.Width());
    ASSERT_EQ(h, layout.Height());
    for (int tile = 0; tile < 6; ++tile) {
        int x = layout.TileLeft(tile), y = layout.TileTop(tile);
        EXPECT_EQ(At(sheet, w, x + 20, y + 10), GreyByFrame(5 * tile, 0, 0)) << "tile " << tile;
        int ink = 0;
        for (int ly = y + 20; ly < y + 20 + ContactSheet::kLabelHeight; ++ly)
            for (int lx = x; lx < x + 40; ++lx) ink += At(sheet, w, lx, ly) == 0xE6E6E6;
        EXPECT_GT(ink, 20) << "tile " << tile << " has a label";
    }
}

TEST_F(Capture, ErrorsSayWhatIsWrongAndExitNonZero) {
    std::string missing = m_box.File("nowhere/demodat");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"--archive", missing, "--out", m_box.File("a.mp4")}, 1, "no archive at " + missing},
        {{"--archive", m_box.Archive(), "--out", m_box.File("no/such/dir/a.mp4")},
         1,
         "can't write the video"},
        {{"--archive", m_box.Archive(), "--frames", m_box.Archive()}, 1, "frames folder"},
        {{"--archive", m_box.Archive(), "--contact-sheet", m_box.File("tmp")},
         1,
         "can't write the contact sheet"},
        {{"--archive", m_box.Archive(), "--out", m_box.File("a.mp4"), "--from", "5"},
         1,
         "after the end of the music"},
        {{"--frames", m_box.File("f"), "--frobnicate"}, 2, "unknown option --frobnicate"},
    };
    for (const Case& c : cases) {
        CaptureRun run = RunCaptureTool(c.args, &m_script);
        EXPECT_EQ(run.code, c.code) << c.args.back() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_TRUE(m_script.draws.empty());
    EXPECT_FALSE(fs::exists(m_box.File("a.mp4")));
}

TEST_F(Capture, AShowThatPresentsNothingIsAnError) {
    m_script.present = false;
    CaptureRun run = Run({"--size", "8x8", "--frames", m_box.File("f")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("presented no frame at 0.000 s"), std::string::npos) << run.err;
}

// The writer runs beside the show: a frame it can't write still ends the capture with that
// error, a few frames later at most.
TEST_F(Capture, AWriteThatFailsMidwayEndsTheCaptureWithItsError) {
    std::string dir = m_box.File("frames");
    m_script.afterDraw = [&](int drawn) {
        if (drawn != 5) return;
        fs::rename(dir, m_box.File("moved"));
        std::ofstream(dir) << "now a file";
    };
    CaptureRun run = Run({"--size", "8x8", "--fps", "10", "--to", "3", "--frames", dir});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("can't write " + dir + "/frame_0000"), std::string::npos) << run.err;
    EXPECT_LT(m_script.draws.size(), 12u) << "goes on after the error";
}

TEST_F(Capture, StatsTableHasARowPerSceneWithItsFramesTimesAndPasses) {
    m_script.scene = [](float t) { return t < 0.5f ? "" : t < 1.0f ? "alpha" : "beta"; };
    m_script.scenePass = [](float t) { return t >= 1.0f ? 0.004 : 0.0; };
    m_script.drawSeconds = 0.002;
    CaptureRun run = Run({"--size", "16x16", "--fps", "20", "--to", "1.5", "--stats"});
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_EQ(m_script.draws.size(), 30u) << "--stats alone renders the whole range";
    for (const ShowCall& c : m_script.draws) EXPECT_TRUE(c.passTimer);
    EXPECT_FALSE(PassTimer::Enabled()) << "switched off after the capture";

    // The rows after the header: scene, frames, median ms, p95 ms and the three shares.
    std::istringstream table(run.out);
    std::string line;
    std::getline(table, line);
    EXPECT_EQ(line.rfind("scene", 0), 0u) << run.out;
    std::vector<std::vector<std::string>> rows;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        rows.emplace_back(std::istream_iterator<std::string>(fields),
                          std::istream_iterator<std::string>());
    }
    ASSERT_EQ(rows.size(), 4u) << run.out;
    const char* names[] = {"(start)", "alpha", "beta", "all"};
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 7u) << run.out;
        EXPECT_EQ(rows[i][0], names[i]);
        EXPECT_EQ(rows[i][1], i == 3 ? "30" : "10") << names[i];
        double median = std::stod(rows[i][2]), p95 = std::stod(rows[i][3]);
        EXPECT_GE(median, 2.0) << names[i];
        EXPECT_LE(median, p95) << names[i];
    }
    // Only beta's frames time a pass: 4 ms of a frame of 6 ms and a little more.
    EXPECT_GE(std::stod(rows[2][2]), 6.0);
    int sceneShare = std::stoi(rows[2][4]);
    EXPECT_GE(sceneShare, 50) << run.out;
    EXPECT_LE(sceneShare, 100) << run.out;
    EXPECT_EQ(rows[2][5], "0%");
    EXPECT_EQ(rows[2][6], "0%");
    for (size_t i : {0, 1}) EXPECT_EQ(rows[i][4], "-") << names[i] << " times no pass";
    EXPECT_LT(std::stoi(rows[3][4]), sceneShare) << "all: beta's pass over every frame";

    m_script.draws.clear();
    run = Run({"--size", "16x16", "--fps", "20", "--to", "0.5", "--frames", m_box.File("f")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "") << "no table without --stats";
    for (const ShowCall& c : m_script.draws) EXPECT_FALSE(c.passTimer) << "no GL finishes";
}

TEST_F(Capture, HelpListsTheOptions) {
    CaptureRun run = RunCaptureTool({"--help"}, nullptr);
    EXPECT_EQ(run.code, 0);
    for (const char* option : {"--out", "--frames", "--at", "--contact-sheet", "--size", "--fps",
                               "--from", "--to", "--archive", "--stats"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

}  // namespace
