// The capture tool's parts that need no GL: the command line, the frame plan, file names,
// progress lines, sheet labels, the queue to the writer thread and the --stats table.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "capture.h"
#include "contactsheet.h"
#include "framequeue.h"
#include "frameplan.h"
#include "framestats.h"
#include "options.h"
#include "progress.h"

namespace {

TEST(CaptureOptions, DefaultsAndValues) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(ParseCaptureOptions({"--out", "show.mp4"}, &o, &error)) << error;
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    EXPECT_EQ(o.fps, 60);
    EXPECT_EQ(o.from, 0.0);
    EXPECT_LT(o.to, 0.0);  // the end of the music
    EXPECT_EQ(o.archive, "demodat");

    ASSERT_TRUE(ParseCaptureOptions({"--frames", "f", "--at", "3,1.5,3", "--size", "320X180",
                                     "--fps", "25", "--from", "1", "--to", "9.5"},
                                    &o, &error))
        << error;
    EXPECT_EQ(o.at, (std::vector<double>{1.5, 3.0}));  // sorted, duplicates dropped
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 180);
    EXPECT_EQ(o.fps, 25);
    EXPECT_EQ(o.to, 9.5);
}

TEST(CaptureOptions, RefusesBadValuesAndCombinations) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "nothing to write"},
        {{"--out"}, "--out needs a value"},
        {{"--out", "a.mp4", "--size", "640"}, "WxH"},
        {{"--out", "a.mp4", "--size", "0x10"}, "whole number"},
        {{"--out", "a.mp4", "--size", "641x360"}, "even width and height"},
        {{"--out", "a.mp4", "--fps", "0"}, "whole number from 1"},
        {{"--out", "a.mp4", "--fps", "29.97"}, "whole number"},
        {{"--out", "a.mp4", "--from", "-1"}, "before the start"},
        {{"--out", "a.mp4", "--from", "abc"}, "not a number"},
        {{"--out", "a.mp4", "--from", "5", "--to", "5"}, "--to must come after --from"},
        {{"--at", "1"}, "--at needs --frames"},
        {{"--frames", "f", "--out", "a.mp4", "--at", "1"}, "can't go with --out"},
        {{"--frames", "f", "--at", "1,x"}, "not a number"},
        {{"--frames", "f", "--from", "2", "--at", "1"}, "before --from"},
        {{"--frames", "f", "--to", "2", "--at", "2"}, "at or after --to"},
        {{"--contact-sheet", "s.png", "--grid", "0x3"}, "whole number"},
        {{"--out", "a.mp4", "--verbose"}, "unknown option --verbose"},
    };
    for (const auto& c : cases) {
        CaptureOptions o;
        std::string error;
        EXPECT_FALSE(ParseCaptureOptions(c.args, &o, &error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    CaptureOptions o;
    std::string error;
    EXPECT_TRUE(ParseCaptureOptions({"--help"}, &o, &error));
    EXPECT_TRUE(o.help);
    EXPECT_TRUE(ParseCaptureOptions({"--stats"}, &o, &error)) << "measuring is enough to do";
    EXPECT_TRUE(o.stats);
}

// A consumer slower than the producer: the frames still come in order, each buffer holds its
// own frame while consumed, and only the queue's buffers go round.
TEST(FrameQueue, ConsumesInOrderWithItsBuffersGoingRound) {
    std::vector<int64_t> order;
    std::set<const uint8_t*> buffers;
    FrameQueue queue(64, 2, [&](const PlannedFrame& f, const uint8_t* pixels, std::string*) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(pixels[63], static_cast<uint8_t>(f.index));
        order.push_back(f.index);
        buffers.insert(pixels);
        return true;
    });
    for (int i = 0; i < 20; ++i) {
        uint8_t* buffer = queue.Acquire();
        ASSERT_NE(buffer, nullptr);
        std::memset(buffer, i, 64);
        PlannedFrame f;
        f.index = i;
        queue.Submit(f);
    }
    std::string error;
    EXPECT_TRUE(queue.Close(&error)) << error;
    ASSERT_EQ(order.size(), 20u);
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], static_cast<int64_t>(i));
    EXPECT_LE(buffers.size(), 2u);
}

TEST(FrameQueue, TheFirstErrorStopsItAndCloseReturnsIt) {
    for (bool throws : {false, true}) {
        int consumed = 0;
        FrameQueue queue(4, 2, [&](const PlannedFrame& f, const uint8_t*, std::string* error) {
            ++consumed;
            if (f.index < 3) return true;
            if (throws) throw std::runtime_error("disk full");
            *error = "disk full";
            return false;
        });
        int accepted = 0;
        for (int i = 0; i < 100; ++i) {
            if (!queue.Acquire()) break;
            PlannedFrame f;
            f.index = i;
            queue.Submit(f);
            ++accepted;
        }
        EXPECT_LT(accepted, 100) << "frames are refused after the error";
        EXPECT_EQ(queue.Error(), "disk full");
        std::string error;
        EXPECT_FALSE(queue.Close(&error));
        EXPECT_EQ(error, "disk full");
        EXPECT_EQ(consumed, 4) << "nothing is consumed after the error";
    }
}

TEST(FrameStats, QuantilesByNearestRank) {
    std::vector<double> twenty;
    for (int i = 20; i >= 1; --i) twenty.push_back(i);
    EXPECT_EQ(FrameStats::Quantile(twenty, 0.5), 10.0);
    EXPECT_EQ(FrameStats::Quantile(twenty, 0.95), 19.0);
    EXPECT_EQ(FrameStats::Quantile({3, 1, 2}, 0.5), 2.0);
    EXPECT_EQ(FrameStats::Quantile({7}, 0.95), 7.0);
    EXPECT_EQ(FrameStats::Quantile({}, 0.5), 0.0);
}

TEST(FrameStats, RowsPerSceneInTheOrderReachedThenAll) {
    FrameStats stats;
    stats.Add("", 0.100, {});
    for (int i = 1; i <= 4; ++i) stats.Add("b", i * 0.010, {0.005, 0.002, 0.001});
    stats.Add("a", 0.020, {});
    std::istringstream table(stats.Table());
    std::string line;
    std::getline(table, line);
    for (const char* column :
         {"scene", "frames", "median ms", "p95 ms", "scene pass", "glow", "overlays"})
        EXPECT_NE(line.find(column), std::string::npos) << column;
    const std::vector<std::vector<std::string>> expected = {
        {"(start)", "1", "100.00", "100.00", "-", "-", "-"},
        {"b", "4", "20.00", "40.00", "20%", "8%", "4%"},  // of 100 ms in all
        {"a", "1", "20.00", "20.00", "-", "-", "-"},
        {"all", "6", "20.00", "100.00", "9%", "4%", "2%"},  // of 220 ms
    };
    for (const auto& row : expected) {
        ASSERT_TRUE(std::getline(table, line));
        std::istringstream fields(line);
        EXPECT_EQ(std::vector<std::string>(std::istream_iterator<std::string>(fields),
                                           std::istream_iterator<std::string>()),
                  row);
    }
    EXPECT_FALSE(std::getline(table, line));
}

TEST(FramePlan, GridFrameCountCountsFramesBeforeTheEnd) {
    EXPECT_EQ(GridFrameCount(0.0, 2.0, 30), 60);
    EXPECT_EQ(GridFrameCount(0.0, 2.01, 30), 61);
    EXPECT_EQ(GridFrameCount(1.0, 1.5, 10), 5);
    EXPECT_EQ(GridFrameCount(0.0, 0.1, 30), 3);  // 0.1 × 30 is a hair over 3 in doubles
    EXPECT_EQ(GridFrameCount(2.0, 2.0, 30), 0);
}

TEST(FramePlan, SingleFramesOnAndOffTheGrid) {
    FramePlanRequest r;
    r.to = 10.0;
    r.fps = 4;
    r.at = {0.5, 0.6, 0.75};  // 0.5 and 0.75 on the grid, 0.6 between
    auto plan = PlanFrames(r);
    ASSERT_EQ(plan.size(), 5u);  // 0, 0.25, 0.5, 0.6, 0.75
    EXPECT_EQ(plan[2].index, 2);
    EXPECT_EQ(plan[2].at, 0);
    EXPECT_EQ(plan[3].index, -1);
    EXPECT_FLOAT_EQ(plan[3].time, 0.6f);
    EXPECT_FLOAT_EQ(plan[3].dt, 0.1f);
    EXPECT_EQ(plan[3].at, 1);
    EXPECT_FLOAT_EQ(plan[4].dt, 0.15f);
    EXPECT_EQ(plan[4].at, 2);
    for (const PlannedFrame& f : plan) EXPECT_FALSE(f.every);
    EXPECT_EQ(plan[0].atCount + plan[1].atCount, 0);
}

TEST(FramePlan, TilesShareFramesWhenTheRangeIsShort) {
    FramePlanRequest r;
    r.to = 0.5;
    r.fps = 4;  // two frames, four tiles
    r.tiles = 4;
    auto plan = PlanFrames(r);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].tile, 0);
    EXPECT_EQ(plan[0].tileCount + plan[1].tileCount, 4);
    EXPECT_EQ(plan[1].tile, plan[0].tileCount);
}

TEST(FramePlan, EveryFrameRunsToTheEnd) {
    FramePlanRequest r;
    r.from = 3.0;
    r.to = 4.0;
    r.fps = 60;
    r.everyFrame = true;
    auto plan = PlanFrames(r);
    ASSERT_EQ(plan.size(), 60u);
    EXPECT_FLOAT_EQ(plan[0].dt, 3.0f);
    EXPECT_FLOAT_EQ(plan[59].time, static_cast<float>(3.0 + 59.0 / 60));
    EXPECT_TRUE(
        std::all_of(plan.begin(), plan.end(), [](const PlannedFrame& f) { return f.every; }));
}

TEST(CaptureNames, SortInTimeOrder) {
    EXPECT_EQ(EveryFrameName(7, 100), "frame_000007.png");
    EXPECT_EQ(EveryFrameName(7, 12345678), "frame_00000007.png");
    EXPECT_EQ(SingleFrameName(357.0), "at_0357.000.png");
    EXPECT_LT(SingleFrameName(9.5), SingleFrameName(10.25));
    EXPECT_EQ(FormatSheetTime(83.456), "1:23.46");
    EXPECT_EQ(FormatSheetTime(0.0), "0:00.00");
}

TEST(CaptureProgress, RedrawsOnATerminalAndWritesLinesElsewhere) {
    EXPECT_EQ(FormatProgress(0, 100, 0.0), "frame 0/100");
    EXPECT_EQ(FormatProgress(30, 120, 2.0), "frame 30/120  15.0 fps  0:06 left");
    EXPECT_EQ(FormatDuration(3725), "1:02:05");

    std::ostringstream tty, plain;
    CaptureProgress onTerminal(tty, true, 100), inLog(plain, false, 100);
    for (int i = 1; i <= 100; ++i) {
        onTerminal.Update(i, i * 0.1);  // 10 s in all
        inLog.Update(i, i * 0.1);
    }
    onTerminal.Finish(100, 10.0);
    inLog.Finish(100, 10.0);
    std::string t = tty.str(), p = plain.str();
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 1);
    EXPECT_GE(std::count(t.begin(), t.end(), '\r'), 20);  // a few times a second
    EXPECT_EQ(t.rfind("\r\033[K", 0), 0u);                // each redraw clears the line
    EXPECT_EQ(p.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(p.begin(), p.end(), '\n'), 3);  // at 0.1 s and 5.1 s, and the end
    EXPECT_NE(p.rfind("frame 100/100  10.0 fps  0:00 left\n"), std::string::npos);
}

}  // namespace
