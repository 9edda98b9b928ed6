#include "scene/ribboncurvebuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "math/random.h"
#include "support/fatalcapture.h"

// These tests check builder output against the process-wide generator's sequence. CTest runs
// every case in a process of its own, so each starts from the generator's initial state and
// follows it with Sequence, a second generator of the same kind. Run the binary with a
// --gtest_filter of one case at a time.

namespace {

class Sequence {
public:
    int Int() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }
    float Range(float min, float max) {
        return static_cast<float>(Int()) / 32767.0f * (max - min) + min;
    }
    sm::Vec3 UnitVector() {
        float x = Range(-1.0f, 1.0f);
        float y = Range(-1.0f, 1.0f);
        float z = Range(-1.0f, 1.0f);
        return sm::Vec3(x, y, z).GetNormalized();
    }
    // r first, then the direction.
    sm::Vec3 Offset(const sm::Vec3& position, float spread) {
        float r = Range(0.0f, spread);
        sm::Vec3 direction = UnitVector();
        return position + direction * r;
    }

private:
    std::uint32_t m_state = 1;
};

using PathCurve = AnimationCurve<sm::Vec3>;
using ScaleCurve = AnimationCurve<float>;

const sm::Vec3 kZero(0, 0, 0);
const sm::Vec3 kCentre(1.5f, 2.0f, -0.5f);
const sm::Vec3 kNormal(0.0f, 0.6f, 0.8f);

// Six keys (halfKeys 3), times not starting at 0 so that the stretch shows.
PathData MakePath() {
    PathData path;
    const float times[] = {1.0f, 2.0f, 4.0f, 6.0f, 9.0f, 12.0f};
    for (int i = 0; i < 6; ++i) {
        SceneElement::Key key;
        key.time = times[i];
        key.position = sm::Vec3(static_cast<float>(i) * 3.0f, 10.0f - static_cast<float>(i),
                                static_cast<float>(i * i) * 0.5f);
        path.Keys.push_back(key);
    }
    return path;
}

void ExpectVec3Eq(const sm::Vec3& actual, const sm::Vec3& expected, const std::string& what) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.z, expected.z) << what;
}

void ExpectSameKeys(const PathCurve& actual, const PathCurve& expected) {
    ASSERT_EQ(actual.GetKeysCount(), expected.GetKeysCount());
    for (int i = 0; i < actual.GetKeysCount(); ++i) {
        const Keyframe<sm::Vec3>& a = actual.GetKey(i);
        const Keyframe<sm::Vec3>& e = expected.GetKey(i);
        const std::string what = "path key " + std::to_string(i);
        EXPECT_FLOAT_EQ(a.time, e.time) << what;
        ExpectVec3Eq(a.value, e.value, what);
        ExpectVec3Eq(a.inTangent, e.inTangent, what + " in");
        ExpectVec3Eq(a.outTangent, e.outTangent, what + " out");
    }
}

// Scale curves keep zero tangents.
void ExpectScaleKeys(const ScaleCurve& actual, const std::vector<std::pair<float, float>>& keys) {
    ASSERT_EQ(actual.GetKeysCount(), static_cast<int>(keys.size()));
    for (int i = 0; i < actual.GetKeysCount(); ++i) {
        const Keyframe<float>& a = actual.GetKey(i);
        EXPECT_FLOAT_EQ(a.time, keys[i].first) << "scale key " << i;
        EXPECT_FLOAT_EQ(a.value, keys[i].second) << "scale key " << i;
        EXPECT_EQ(a.inTangent, 0.0f) << "scale key " << i;
        EXPECT_EQ(a.outTangent, 0.0f) << "scale key " << i;
    }
}

// The builders drew exactly what the sequence did.
void ExpectInStep(Sequence& sequence) { EXPECT_EQ(sm::RandomInt(), sequence.Int()); }

TEST(RibbonCurveSource, LiftsOffTheMeshAndFollowsTheScatteredKeys) {
    Sequence sequence;
    RibbonCurveSource builder;
    const PathData path = MakePath();

    // Spread 0 and delay 0: the keys after the lift are the path's own, at its own times.
    auto still = builder.BuildPath(kCentre, kNormal, path, 3, 0.0f, 0.0f);
    sequence.Range(1.0f, 1.0f);
    float lift = sequence.Range(1.0f, 4.0f);
    for (int i = 2; i < 6; ++i) sequence.Offset(path.Keys[i].position, 0.0f);
    ASSERT_EQ(still->GetKeysCount(), 6);
    EXPECT_EQ(still->GetKey(0).time, 1.0f);
    EXPECT_EQ(still->GetKey(0).value, kCentre);
    EXPECT_EQ(still->GetKey(1).time, 2.0f);
    ExpectVec3Eq(still->GetKey(1).value, kCentre + kNormal * lift, "lift");
    for (int i = 2; i < 6; ++i) {
        EXPECT_EQ(still->GetKey(i).time, path.Keys[i].time);
        EXPECT_EQ(still->GetKey(i).value, path.Keys[i].position);
    }

    const float spread = 0.75f, delay = 3.0f, s = 0.4f;
    auto curve = builder.BuildPath(kCentre, kNormal, path, 3, spread, delay);
    auto scale = builder.BuildScale(*curve, s);
    float ts = sequence.Range(1.0f, (12.0f + delay) / 12.0f);
    lift = sequence.Range(1.0f, 4.0f);
    PathCurve expected;
    expected.AddKey(1.0f * ts, kCentre, kZero, kZero);
    expected.AddKey(2.0f * ts, kCentre + kNormal * lift, kZero, kZero);
    for (int i = 2; i < 6; ++i) {
        sm::Vec3 position = sequence.Offset(path.Keys[i].position, spread);
        expected.AddKey(path.Keys[i].time * ts, position, kZero, kZero);
    }
    expected.ComputeTangents();
    ExpectSameKeys(*curve, expected);
    float d = sequence.Range(1.0f * ts, 2.0f * ts);
    ExpectScaleKeys(*scale, {{d, 1.0f}, {d + 3.0f, s}});
    ExpectInStep(sequence);
}

// The arriving half: scattered keys, an approach above the centre, and the centre at rest.
PathCurve ExpectedArrival(Sequence& sequence, const PathData& path, int first, float spread,
                          float delay) {
    const int n = static_cast<int>(path.Keys.size());
    float ts = sequence.Range(1.0f, (path.Keys[n - 1].time + delay) / path.Keys[n - 1].time);
    PathCurve keys;
    for (int i = first; i <= n - 3; ++i) {
        sm::Vec3 position = sequence.Offset(path.Keys[i].position, spread);
        keys.AddKey(path.Keys[i].time * ts, position, kZero, kZero);
    }
    float approach = sequence.Range(0.5f, 2.0f);
    keys.AddKey(path.Keys[n - 2].time * ts, kCentre + kNormal * approach, kZero, kZero);
    keys.AddKey(path.Keys[n - 1].time * ts, kCentre, kZero, kZero);
    keys.ComputeTangents();
    PathCurve expected;
    for (int i = 0; i < keys.GetKeysCount(); ++i) {
        const Keyframe<sm::Vec3>& key = keys.GetKey(i);
        bool last = i == keys.GetKeysCount() - 1;
        expected.AddKey(key.time, key.value, last ? kZero : key.inTangent,
                        last ? kZero : key.outTangent);
    }
    return expected;
}

TEST(RibbonCurveDestination, ArrivesAtTheCentreAtRestAndAtFullSize) {
    Sequence sequence;
    RibbonCurveDestination builder;
    const PathData path = MakePath();

    auto still = builder.BuildPath(kCentre, kNormal, path, 3, 0.0f, 0.0f);
    ExpectSameKeys(*still, ExpectedArrival(sequence, path, 0, 0.0f, 0.0f));
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(still->GetKey(i).time, path.Keys[i].time);
        EXPECT_EQ(still->GetKey(i).value, path.Keys[i].position);
    }
    EXPECT_EQ(still->GetKey(5).time, 12.0f);

    const float spread = 0.75f, delay = 3.0f, s = 0.4f;
    auto curve = builder.BuildPath(kCentre, kNormal, path, 3, spread, delay);
    auto scale = builder.BuildScale(*curve, s);
    ExpectSameKeys(*curve, ExpectedArrival(sequence, path, 0, spread, delay));
    const float start = curve->GetStartTime(), end = curve->GetEndTime();
    ExpectScaleKeys(*scale, {{start, 0.0f},
                             {start + 1.0f, s},
                             {(start + end) / 2.0f, s},
                             {end - 1.0f, s},
                             {end, 1.0f}});
    // The assembled mesh is the modelled one.
    EXPECT_EQ(curve->Evaluate(end), kCentre);
    EXPECT_EQ(scale->Evaluate(end), 1.0f);
    ExpectInStep(sequence);
}

std::vector<std::pair<float, float>> MorphScale(float d, float start, float end, float s,
                                                float from, float to) {
    return {{d, from},       {d + 0.5f, s},   {d + 0.6f, s}, {(end + start) / 2.0f, s},
            {end - 0.6f, s}, {end - 0.5f, s}, {end, to}};
}

TEST(RibbonCurveFullSource, UsesTheFirstHalfOfThePathAndWastesTheLiftDraw) {
    Sequence sequence;
    RibbonCurveFullSource builder;
    const PathData path = MakePath();  // halfKeys 3: keys 0, 1, 2

    auto still = builder.BuildPath(kCentre, kNormal, path, 3, 0.0f, 0.0f);
    sequence.Range(1.0f, 1.0f);
    sequence.Range(0.0f, 0.0f);
    sequence.Offset(path.Keys[2].position, 0.0f);
    ASSERT_EQ(still->GetKeysCount(), 3);
    EXPECT_EQ(still->GetKey(1).time, 2.0f);
    EXPECT_EQ(still->GetKey(2).time, 4.0f);
    EXPECT_EQ(still->GetKey(2).value, path.Keys[2].position);

    const float spread = 0.75f, delay = 3.0f, s = 0.4f;
    auto curve = builder.BuildPath(kCentre, kNormal, path, 3, spread, delay);
    auto scale = builder.BuildScale(*curve, s);
    float ts = sequence.Range(1.0f, (4.0f + delay) / 4.0f);
    EXPECT_EQ(sequence.Range(0.0f, 0.0f), 0.0f);
    PathCurve expected;
    expected.AddKey(1.0f * ts, kCentre, kZero, kZero);
    expected.AddKey(2.0f * ts, kCentre, kZero, kZero);  // the second key repeats the first
    sm::Vec3 position = sequence.Offset(path.Keys[2].position, spread);
    expected.AddKey(4.0f * ts, position, kZero, kZero);
    expected.ComputeTangents();
    ExpectSameKeys(*curve, expected);
    float d = sequence.Range(1.0f * ts, 2.0f * ts);
    ExpectScaleKeys(*scale, MorphScale(d, 1.0f * ts, 4.0f * ts, s, 1.0f, 0.0f));
    ExpectInStep(sequence);
}

TEST(RibbonCurveFullDestination, SharesTheMiddleKeysWithTheSourceHalf) {
    Sequence sequence;
    RibbonCurveFullDestination builder;
    const PathData path = MakePath();  // halfKeys 3: offsets for keys 1 ... 3

    auto still = builder.BuildPath(kCentre, kNormal, path, 3, 0.0f, 0.0f);
    ExpectSameKeys(*still, ExpectedArrival(sequence, path, 1, 0.0f, 0.0f));
    ASSERT_EQ(still->GetKeysCount(), 5);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(still->GetKey(i - 1).time, path.Keys[i].time);
        EXPECT_EQ(still->GetKey(i - 1).value, path.Keys[i].position);
    }

    const float spread = 0.75f, delay = 3.0f, s = 0.4f;
    auto curve = builder.BuildPath(kCentre, kNormal, path, 3, spread, delay);
    auto scale = builder.BuildScale(*curve, s);
    ExpectSameKeys(*curve, ExpectedArrival(sequence, path, 1, spread, delay));
    float d = sequence.Range(curve->GetKey(0).time, curve->GetKey(1).time);
    ExpectScaleKeys(*scale,
                    MorphScale(d, curve->GetStartTime(), curve->GetEndTime(), s, 0.0f, 1.0f));
    ExpectInStep(sequence);
}

TEST(RibbonCurveDestroy, ThrowsTheTriangleUpwardsAndLetsItFall) {
    Sequence sequence;
    RibbonCurveDestroy builder;
    const PathData path = MakePath();

    // Spread, delay, normal and halfKeys play no part.
    auto curve = builder.BuildPath(kCentre, kNormal, path, 3, 0.75f, 3.0f);
    auto scale = builder.BuildScale(*curve, 0.4f);
    sm::Vec3 v = sequence.UnitVector();
    v.y = std::fabs(v.y);
    v = v * sequence.Range(0.3f, 6.0f);
    float t = 1.0f + kCentre.y * 0.05f * (2.0f - 1.0f) + sequence.Range(0.0f, 1.0f);
    PathCurve expected;
    for (sm::Vec3 p = kCentre; p.y > 0.0f; t += 0.1f) {
        expected.AddKey(t, p, kZero, kZero);
        p = p + v * 0.1f;
        v = v - sm::Vec3(0.0f, 9.8f, 0.0f) * 0.1f;
    }
    ExpectSameKeys(*curve, expected);
    EXPECT_GT(curve->GetKeysCount(), 1);
    const float start = curve->GetStartTime(), end = curve->GetEndTime();
    ExpectScaleKeys(*scale,
                    {{start, 1.0f}, {(start + end) / 2.0f, 0.5f}, {end, 0.5f}, {end + 3.0f, 0.0f}});
    ExpectInStep(sequence);
}

TEST(RibbonCurveDestroy, FallsInTenthsOfASecondUntilTheGround) {
    auto fall = RibbonCurveDestroy::BuildFall(sm::Vec3(4, 2, 1), sm::Vec3(0, 0, 0), 5.0f);
    const float heights[] = {2.0f, 2.0f, 1.902f, 1.706f, 1.412f, 1.02f, 0.53f};  // then -0.058
    ASSERT_EQ(fall->GetKeysCount(), 7);
    for (int i = 0; i < 7; ++i) {
        const Keyframe<sm::Vec3>& key = fall->GetKey(i);
        EXPECT_NEAR(key.time, 5.0f + 0.1f * static_cast<float>(i), 1e-5f);
        EXPECT_NEAR(key.value.y, heights[i], 1e-5f);
        EXPECT_EQ(key.value.x, 4.0f);
        EXPECT_EQ(key.outTangent, kZero);
    }

    // A triangle on the ground has no flight, and its scale curve cannot be built.
    auto grounded = RibbonCurveDestroy::BuildFall(sm::Vec3(0, 0, 0), sm::Vec3(0, 5, 0), 1.0f);
    EXPECT_EQ(grounded->GetKeysCount(), 0);
    RibbonCurveDestroy builder;
    EXPECT_NE(CaptureFatal([&] {
                  builder.BuildScale(*grounded, 0.5f);
              }).find("m_keyframesVector.size() > 0"),
              std::string::npos);

    // A height that never comes down stops at the key limit instead of running forever.
    EXPECT_NE(CaptureFatal([] {
                  RibbonCurveDestroy::BuildFall(sm::Vec3(0, INFINITY, 0), sm::Vec3(0, 0, 0), 0);
              }).find("keysCount < kMaxFallKeys"),
              std::string::npos);
}

TEST(RibbonCurveBuilders, PathsTheyCannotFollowAreFatalBeforeAnyDraw) {
    RibbonCurveSource source;
    RibbonCurveDestination destination;
    RibbonCurveFullSource fullSource;
    RibbonCurveFullDestination fullDestination;
    RibbonCurveDestroy destroy;
    PathData one = MakePath();
    one.Keys.resize(1);
    PathData endsAtZero = MakePath();
    endsAtZero.Keys.resize(2);
    endsAtZero.Keys[0].time = -1.0f;
    endsAtZero.Keys[1].time = 0.0f;
    const PathData six = MakePath();
    struct Case {
        IRibbonCurveBuilder* builder;
        const PathData* path;
        int halfKeys;
        const char* message;
    };
    const Case cases[] = {
        {&source, &one, 0, "keysCount >= 2"},
        {&destination, &one, 0, "keysCount >= 2"},
        {&destroy, &one, 0, "keysCount >= 2"},
        {&fullSource, &six, 1, "halfKeys >= 2 && halfKeys <= keysCount"},
        {&fullDestination, &six, 1, "halfKeys >= 2 && halfKeys <= keysCount"},
        {&fullDestination, &six, 7, "halfKeys >= 2 && halfKeys <= keysCount"},
        {&source, &endsAtZero, 1, "lastTime != 0.0f"},
        {&destination, &endsAtZero, 1, "lastTime != 0.0f"},
    };
    Sequence sequence;
    for (const Case& c : cases) {
        std::string message = CaptureFatal(
            [&] { c.builder->BuildPath(kCentre, kNormal, *c.path, c.halfKeys, 1.0f, 1.0f); });
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
    ExpectInStep(sequence);
}

}  // namespace
