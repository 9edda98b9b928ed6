#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "math/interpolator.h"
#include "mathtest.h"

namespace {

using sm::Vec3;
using sm::Vec4;

static_assert(std::is_abstract<Interpolator<float>>::value, "Evaluate stays pure in the base");
static_assert(std::is_base_of<IKeysContainer, IInterpolator<int>>::value, "class tree");
static_assert(std::is_base_of<Interpolator<std::string>, StateInterpolator<std::string>>::value,
              "class tree");

struct Key {
    float time;
    float value;
    bool step;
};

// A float interpolator of behaviour I with the keys appended in order.
template <typename I>
std::unique_ptr<I> Make(const std::vector<Key>& keys) {
    auto interpolator = std::make_unique<I>();
    for (const Key& k : keys) interpolator->AddKey(k.time, k.value, k.step);
    return interpolator;
}

std::vector<std::unique_ptr<IInterpolator<float>>> AllBehaviours(const std::vector<Key>& keys) {
    std::vector<std::unique_ptr<IInterpolator<float>>> all;
    all.push_back(Make<LinearInterpolator<float>>(keys));
    all.push_back(Make<StateInterpolator<float>>(keys));
    all.push_back(Make<TCBInterpolator<float>>(keys));
    return all;
}

TEST(Interpolator, EveryBehaviourClampsToTheEndKeys) {
    for (auto& empty : AllBehaviours({})) {
        float out = 42;
        EXPECT_EQ(empty->Evaluate(1.0f, &out, 0), 0);
        EXPECT_EQ(out, 42.0f) << "an empty interpolator leaves the output alone";
    }
    for (auto& one : AllBehaviours({{2, 7, false}})) {
        for (float t : {-5.0f, 2.0f, 9.0f}) {
            float out = 0;
            EXPECT_EQ(one->Evaluate(t, &out, 0), 0);
            EXPECT_EQ(out, 7.0f);
        }
    }
    for (auto& three : AllBehaviours({{0, 1, true}, {1, 5, true}, {2, 9, true}})) {
        float out = 0;
        EXPECT_EQ(three->Evaluate(-1.0f, &out, 0), 0);
        EXPECT_EQ(out, 1.0f);
        EXPECT_EQ(three->Evaluate(0.0f, &out, 0), 0);
        EXPECT_EQ(out, 1.0f);
        EXPECT_EQ(three->Evaluate(2.0f, &out, 0), 2);
        EXPECT_EQ(out, 9.0f);
        EXPECT_EQ(three->Evaluate(3.0f, &out, 0), 2);
        EXPECT_EQ(out, 9.0f);
        // An exact inner key time gives that key.
        EXPECT_EQ(three->Evaluate(1.0f, &out, 0), 1);
        EXPECT_EQ(out, 5.0f);
    }
}

TEST(LinearInterpolator, BlendsBetweenKeysAndJumpsAtAStepEndKey) {
    struct Case {
        std::vector<Key> keys;
        float time;
        float expected;
        int index;
    };
    const Case cases[] = {
        {{{0, 0, false}, {2, 10, false}}, 0.5f, 2.5f, 1},
        {{{0, 0, false}, {2, 10, false}}, -1, 0, 0},
        {{{0, 0, false}, {2, 10, false}}, 3, 10, 1},
        {{{0, 0, false}, {1, 4, false}, {3, 0, false}}, 2, 2, 2},
        // A step flag on the end key: the whole open segment takes its value.
        {{{0, 0, false}, {1, 10, true}}, 0.01f, 10, 1},
        {{{0, 0, false}, {1, 10, true}, {2, 0, false}}, 1.5f, 5, 2},
        // ...on the start key it changes nothing.
        {{{0, 0, true}, {1, 10, false}}, 0.5f, 5, 1},
    };
    for (const Case& c : cases) {
        auto linear = Make<LinearInterpolator<float>>(c.keys);
        float out = -1;
        // The start index is ignored, even one past the segment.
        EXPECT_EQ(linear->Evaluate(c.time, &out, 5), c.index) << c.time;
        EXPECT_FLOAT_EQ(out, c.expected) << c.time;
    }
}

TEST(LinearInterpolator, IntTruncatesTowardZeroAndVectorsBlendPerComponent) {
    struct Case {
        int to;
        float time;
        int expected;
    };
    const Case cases[] = {{3, 0.5f, 1}, {-3, 0.5f, -1}, {3, 0.9f, 2}, {-3, 0.9f, -2}};
    for (const Case& c : cases) {
        LinearInterpolator<int> linear;
        linear.AddKey(0, 0, false);
        linear.AddKey(1, c.to, false);
        int out = 99;
        linear.Evaluate(c.time, &out, 0);
        EXPECT_EQ(out, c.expected) << c.to << " at " << c.time;
    }

    LinearInterpolator<Vec3> v3;
    v3.AddKey(0, Vec3(0, 10, -4), false);
    v3.AddKey(4, Vec3(8, 10, 4), false);
    Vec3 out3;
    v3.Evaluate(1, &out3, 0);
    EXPECT_TRUE(Vec3Near(out3, Vec3(2, 10, -2)));

    LinearInterpolator<Vec4> v4;
    v4.AddKey(0, Vec4(0, 1, 2, 3), false);
    v4.AddKey(1, Vec4(4, 1, 0, -1), false);
    Vec4 out4;
    v4.Evaluate(0.25f, &out4, 0);
    EXPECT_FLOAT_EQ(out4.x, 1);
    EXPECT_FLOAT_EQ(out4.y, 1);
    EXPECT_FLOAT_EQ(out4.z, 1.5f);
    EXPECT_FLOAT_EQ(out4.w, 2);
}

TEST(StateInterpolator, HoldsTheEarlierKeyAndIgnoresSteps) {
    for (bool step : {false, true}) {
        StateInterpolator<std::string> state;
        state.AddKey(0, "a", step);
        state.AddKey(1, "b", step);
        state.AddKey(2, "c", step);
        struct Case {
            float time;
            int start;
            const char* expected;
            int index;
        };
        const Case cases[] = {
            {0.5f, 0, "a", 0},
            {1, 0, "b", 1},
            {1.5f, 0, "b", 1},
            {1.5f, 1, "b", 1},
            {2, 0, "c", 2},
            // A start index past the last key at or before the time is not trusted.
            {0.5f, 2, "a", 0},
            {0.5f, 7, "a", 0},
        };
        for (const Case& c : cases) {
            std::string out;
            EXPECT_EQ(state.Evaluate(c.time, &out, c.start), c.index) << c.time;
            EXPECT_EQ(out, c.expected) << c.time << " from " << c.start;
        }
    }
    StateInterpolator<bool> flag;
    flag.AddKey(0, true, false);
    flag.AddKey(1, false, false);
    bool out = false;
    flag.Evaluate(0.999f, &out, 0);
    EXPECT_TRUE(out);
}

TEST(TCBInterpolator, CatmullRomTangentsEndCorrectionsAndSteps) {
    // Keys (0, 0), (1, 10), (2, 20), (3, 0), evaluated at the middle of each segment, where
    // the value is (P1 + P2) / 2 + (m1 − m2) / 8.
    struct Case {
        int stepKey;  // the key with the step flag set, or −1
        float time;
        float expected;
        int index;
    };
    const Case cases[] = {
        // m1 = 15 − 10/2 (start correction), m2 = 10
        {-1, 0.5f, 5, 1},
        // m1 = (20 − 0)/2, m2 = (0 − 10)/2
        {-1, 1.5f, 16.875f, 2},
        // m1 = (0 − 10)/2, m2 = −30 − (−5)/2 (end correction)
        {-1, 2.5f, 12.8125f, 3},
        // A step on a segment's start key holds its value.
        {0, 0.5f, 0, 1},
        {1, 1.5f, 10, 2},
        {2, 2.5f, 20, 3},
        // A step on the key before the start: m1 = (P2 − P1)·1.5 = 15.
        {0, 1.5f, 17.5f, 2},
        // A step on the end key: m2 = (P2 − P1)·1.5.
        {2, 1.5f, 14.375f, 2},
        {1, 0.5f, 4.0625f, 1},
        // Step on the key before the start and the end correction together.
        {1, 2.5f, 8.125f, 3},
    };
    for (const Case& c : cases) {
        std::vector<Key> keys = {{0, 0, false}, {1, 10, false}, {2, 20, false}, {3, 0, false}};
        if (c.stepKey >= 0) keys[c.stepKey].step = true;
        auto tcb = Make<TCBInterpolator<float>>(keys);
        float out = -1;
        EXPECT_EQ(tcb->Evaluate(c.time, &out, 0), c.index);
        EXPECT_FLOAT_EQ(out, c.expected) << "step on " << c.stepKey << ", time " << c.time;
    }
}

TEST(TCBInterpolator, StepHoldsAndKeySpacingDoesNotEnterTheTangents) {
    auto held = Make<TCBInterpolator<float>>({{0, 0, false}, {1, 10, true}, {2, 0, false}});
    float out = 0;
    EXPECT_EQ(held->Evaluate(1.5f, &out, 0), 2);
    EXPECT_EQ(out, 10.0f);
    EXPECT_EQ(held->Evaluate(1.5f, &out, 1), 2);
    EXPECT_EQ(out, 10.0f);

    // The same values on uneven times give the same curve in each segment's own parameter.
    auto uneven = Make<TCBInterpolator<float>>(
        {{0, 0, false}, {1, 10, false}, {5, 20, false}, {6, 0, false}});
    uneven->Evaluate(3, &out, 0);
    EXPECT_FLOAT_EQ(out, 16.875f);
    uneven->Evaluate(3, &out, 1);
    EXPECT_FLOAT_EQ(out, 16.875f);
}

TEST(TCBInterpolator, TwoKeysAreAStraightLine) {
    auto tcb = Make<TCBInterpolator<float>>({{1, -2, false}, {3, 6, false}});
    auto linear = Make<LinearInterpolator<float>>({{1, -2, false}, {3, 6, false}});
    for (float t = 0.5f; t <= 3.5f; t += 0.125f) {
        float a = 0, b = 0;
        tcb->Evaluate(t, &a, 0);
        linear->Evaluate(t, &b, 0);
        EXPECT_NEAR(a, b, 1e-5f) << t;
    }
    TCBInterpolator<Vec3> v;
    v.AddKey(0, Vec3(0, 0, 0), false);
    v.AddKey(2, Vec3(2, -4, 8), false);
    Vec3 out;
    v.Evaluate(0.5f, &out, 0);
    EXPECT_TRUE(Vec3Near(out, Vec3(0.5f, -1, 2)));
}

TEST(TCBInterpolator, IntTruncatesEveryTangentAndTheSum) {
    struct Case {
        int v0, v1, v2;
        float time;
        int expected;
    };
    // Rounding only the final sum, or rounding down, would give other numbers here:
    // (0, −5, 6) at 0.5 is −4 and −5 that way, at 1.5 it is −1.
    const Case cases[] = {
        {0, -5, 6, 0.5f, -3},
        {0, -5, 6, 1.5f, 0},
        {2, 1, 1, 1.5f, 1},
        {5, 2, 0, 1.5f, 1},
    };
    for (const Case& c : cases) {
        TCBInterpolator<int> tcb;
        tcb.AddKey(0, c.v0, false);
        tcb.AddKey(1, c.v1, false);
        tcb.AddKey(2, c.v2, false);
        int out = 99;
        tcb.Evaluate(c.time, &out, 0);
        EXPECT_EQ(out, c.expected) << c.v0 << ", " << c.v1 << ", " << c.v2 << " at " << c.time;
    }
}

TEST(Interpolator, InsertKeyKeepsTimeOrderAndReplacesAtAnEqualTime) {
    LinearInterpolator<float> keys;
    keys.InsertKey(2, 20, false);
    keys.InsertKey(0, 0, false);
    keys.InsertKey(1, 10, false);
    keys.InsertKey(3, 30, false);
    ASSERT_EQ(keys.GetKeysCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(keys.GetKey(i).time, static_cast<float>(i));

    keys.InsertKey(1, 15, true);
    EXPECT_EQ(keys.GetKeysCount(), 4);
    float time = 0, value = 0;
    bool step = false;
    keys.GetKey(1, &time, &value, &step);
    EXPECT_EQ(time, 1.0f);
    EXPECT_EQ(value, 15.0f);
    EXPECT_TRUE(step);

    keys.RemoveKey(0);
    EXPECT_EQ(keys.GetKeysCount(), 3);
    KeyFrame<float> first = keys.GetKey(0);
    EXPECT_EQ(first.time, 1.0f);
    EXPECT_EQ(first.value, 15.0f);
    EXPECT_TRUE(first.step);

    // AddKey appends without looking at the time.
    keys.AddKey(0.5f, 5, false);
    EXPECT_EQ(keys.GetKey(3).time, 0.5f);

    // Through the type-independent base, destroying the keys with it.
    std::unique_ptr<IKeysContainer> base = std::make_unique<StateInterpolator<int>>();
    static_cast<IInterpolator<int>*>(base.get())->AddKey(0, 1, false);
    EXPECT_EQ(base->GetKeysCount(), 1);
    base->RemoveKey(0);
    EXPECT_EQ(base->GetKeysCount(), 0);
}

TEST(InterpolatorDeathTest, KeyIndicesMustNameAKey) {
    StateInterpolator<int> keys;
    keys.AddKey(0, 1, false);
    const std::string pattern = AssertionPattern("index >= 0 && index < GetKeysCount()");
    EXPECT_DEATH(keys.RemoveKey(1), pattern);
    EXPECT_DEATH(keys.GetKey(-1), pattern);
}

}  // namespace
