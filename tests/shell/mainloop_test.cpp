#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "shell/mainloop.h"

namespace {

// Scripted host: a queue of messages per pass, a clock, and a record of every call.
class FakeHost : public MainLoopHost {
public:
    std::deque<LoopMessage> messages;
    std::deque<float> times;
    int escapeAfterFrames = -1;  // Escape goes down once this many frames were drawn
    int updateFalseAtFrame = -1;
    std::vector<std::string> calls;
    std::vector<float> dts;
    int frames = 0;

    LoopMessage TakeMessage() override {
        if (messages.empty()) return LoopMessage::None;
        LoopMessage m = messages.front();
        messages.pop_front();
        calls.push_back(m == LoopMessage::Quit ? "quit" : "dispatch");
        return m;
    }
    bool IsEscapeDown() override {
        calls.push_back("escape?");
        return escapeAfterFrames >= 0 && frames >= escapeAfterFrames;
    }
    float GetTime() override {
        float t = times.front();
        if (times.size() > 1) times.pop_front();
        return t;
    }
    void PollKeyboard() override { calls.push_back("keys"); }
    bool Update(float, float dt) override {
        calls.push_back("update");
        dts.push_back(dt);
        return frames != updateFalseAtFrame;
    }
    bool Draw(float, float) override {
        calls.push_back("draw");
        ++frames;
        return true;
    }
};

TEST(MainLoop, OneMessagePerPassAndFramesOnlyOnAnEmptyQueue) {
    FakeHost host;
    host.messages = {LoopMessage::Other, LoopMessage::Other};
    host.times = {0.5f};
    host.escapeAfterFrames = 1;
    RunMainLoop(host);
    const std::vector<std::string> expected = {"dispatch", "dispatch", "escape?", "keys",
                                               "update",   "draw",     "escape?"};
    EXPECT_EQ(host.calls, expected);
}

TEST(MainLoop, QuitMessageEndsTheLoopBeforeAnyFrame) {
    FakeHost host;
    host.messages = {LoopMessage::Other, LoopMessage::Quit, LoopMessage::Other};
    host.times = {1.0f};
    RunMainLoop(host);
    const std::vector<std::string> expected = {"dispatch", "quit"};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST(MainLoop, DeltaStartsFromZeroAndMayBeZero) {
    FakeHost host;
    host.times = {0.016f, 0.016f, 0.05f};
    host.escapeAfterFrames = 3;
    RunMainLoop(host);
    ASSERT_EQ(host.dts.size(), 3u);
    EXPECT_FLOAT_EQ(host.dts[0], 0.016f);  // the first frame's dt is its time
    EXPECT_FLOAT_EQ(host.dts[1], 0.0f);    // the same position twice
    EXPECT_FLOAT_EQ(host.dts[2], 0.05f - 0.016f);
}

TEST(MainLoop, UpdateFalseStillDrawsThatFrameThenStops) {
    FakeHost host;
    host.times = {0.1f};
    host.updateFalseAtFrame = 0;
    RunMainLoop(host);
    const std::vector<std::string> expected = {"escape?", "keys", "update", "draw"};
    EXPECT_EQ(host.calls, expected);
}

}  // namespace
