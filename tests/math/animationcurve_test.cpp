#include <gtest/gtest.h>

#include <vector>

#include "math/animationcurve.h"
#include "mathtest.h"

namespace {

using sm::Quat;
using sm::Vec3;

AnimationCurve<float> FloatCurve(const std::vector<std::pair<float, float>>& keys) {
    AnimationCurve<float> curve;
    for (const auto& k : keys) curve.AddKey(k.first, k.second, 0, 0);
    curve.ComputeTangents();
    return curve;
}

TEST(AnimationCurve, ComputedTangentsGiveTheHermiteValues) {
    AnimationCurve<float> hill = FloatCurve({{0, 0}, {1, 1}, {2, 0}});
    const float tangents[] = {1, 0, -1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(hill.GetKey(i).inTangent, tangents[i]) << i;
        EXPECT_EQ(hill.GetKey(i).outTangent, tangents[i]) << i;
    }
    EXPECT_FLOAT_EQ(hill.Evaluate(0.5f), 0.625f);
    EXPECT_FLOAT_EQ(hill.Evaluate(1.5f), 0.625f);
    EXPECT_EQ(hill.Evaluate(1.0f), 1.0f);

    AnimationCurve<float> line = FloatCurve({{0, 0}, {2, 4}});
    EXPECT_FLOAT_EQ(line.Evaluate(1), 2);
    EXPECT_FLOAT_EQ(line.Evaluate(0.5f), 1);
    EXPECT_FLOAT_EQ(line.Evaluate(1.75f), 3.5f);
}

TEST(AnimationCurve, EndValuesHoldExactlyOutsideTheKeys) {
    AnimationCurve<float> curve = FloatCurve({{1, 0.3f}, {2, 5}, {4, -0.7f}});
    EXPECT_EQ(curve.GetStartTime(), 1.0f);
    EXPECT_EQ(curve.GetEndTime(), 4.0f);
    for (float t : {-10.0f, 0.0f, 1.0f}) EXPECT_EQ(curve.Evaluate(t), 0.3f) << t;
    for (float t : {4.0f, 4.5f, 100.0f}) EXPECT_EQ(curve.Evaluate(t), -0.7f) << t;

    AnimationCurve<float> single;
    single.AddKey(3, 8, 1, 1);
    single.ComputeTangents();
    EXPECT_EQ(single.GetKey(0).inTangent, 1.0f) << "one key keeps its tangents";
    for (float t : {-1.0f, 3.0f, 7.0f}) EXPECT_EQ(single.Evaluate(t), 8.0f) << t;
}

TEST(AnimationCurve, TangentsAreTimeDerivativesScaledBySegment) {
    // Explicit tangents: the segment uses the start key's out and the end key's in tangent,
    // each multiplied by the duration 2.
    AnimationCurve<float> explicitTangents;
    explicitTangents.AddKey(0, 0, 5, 1);
    explicitTangents.AddKey(2, 0, -1, 7);
    EXPECT_FLOAT_EQ(explicitTangents.Evaluate(1), 0.5f);

    // Unevenly spaced keys still meet with matching slopes at the inner key, equal to its
    // tangent: (0 − 2) / (3·2) + (2 − 0) / (1·2) = 2/3.
    AnimationCurve<float> uneven = FloatCurve({{0, 0}, {1, 2}, {4, 0}});
    EXPECT_FLOAT_EQ(uneven.GetKey(1).inTangent, 2.0f / 3.0f);
    const float h = 1e-3f;
    float left = (uneven.Evaluate(1) - uneven.Evaluate(1 - h)) / h;
    float right = (uneven.Evaluate(1 + h) - uneven.Evaluate(1)) / h;
    EXPECT_NEAR(left, 2.0f / 3.0f, 5e-3f);
    EXPECT_NEAR(right, 2.0f / 3.0f, 5e-3f);
    // The end tangents are the chord slopes.
    EXPECT_FLOAT_EQ(uneven.GetKey(0).outTangent, 2);
    EXPECT_FLOAT_EQ(uneven.GetKey(2).inTangent, -2.0f / 3.0f);
}

TEST(AnimationCurve, VectorAndQuaternionCurvesWorkPerComponent) {
    AnimationCurve<Vec3> path;
    path.AddKey(0, Vec3(0, 0, 0), Vec3(), Vec3());
    path.AddKey(1, Vec3(1, -2, 4), Vec3(), Vec3());
    path.AddKey(2, Vec3(0, -4, 0), Vec3(), Vec3());
    path.ComputeTangents();
    Vec3 out;
    path.Evaluate(0.5f, &out);
    EXPECT_TRUE(Vec3Near(out, Vec3(0.625f, -1, 2.5f)));
    EXPECT_TRUE(Vec3Near(path.GetKey(1).outTangent, Vec3(0, -2, 0)));

    // Two keys blend linearly and the result is not normalised.
    AnimationCurve<Quat> turn;
    turn.AddKey(0, Quat(1, 0, 0, 0), Quat(), Quat());
    turn.AddKey(1, Quat(0, 0, 0, 1), Quat(), Quat());
    turn.ComputeTangents();
    EXPECT_EQ(turn.GetKey(0).outTangent.w, -1.0f);
    EXPECT_EQ(turn.GetKey(0).outTangent.v, Vec3(0, 0, 1));
    Quat q;
    turn.Evaluate(0.5f, &q);
    EXPECT_FLOAT_EQ(q.w, 0.5f);
    EXPECT_TRUE(Vec3Near(q.v, Vec3(0, 0, 0.5f)));
    EXPECT_NEAR(q.Length(), 0.70710677f, 1e-6f);
}

TEST(AnimationCurve, SegmentSearchFindsTheLastKeyAtOrBeforeTheTime) {
    for (int n = 2; n <= 33; ++n) {
        AnimationCurve<float> curve;
        float time = 0;
        std::vector<float> times;
        for (int i = 0; i < n; ++i) {
            times.push_back(time);
            curve.AddKey(time, 0, 0, 0);
            time += 0.25f + static_cast<float>((i * 5) % 3);
        }
        std::vector<float> probes;
        for (int i = 0; i + 1 < n; ++i) {
            if (i > 0) probes.push_back(times[i]);
            probes.push_back((times[i] + times[i + 1]) / 2);
            probes.push_back(times[i + 1] - 0.01f);
        }
        for (float t : probes) {
            int expected = 0;
            while (expected + 1 < n - 1 && times[expected + 1] <= t) ++expected;
            EXPECT_EQ(curve.FindSegment(t), expected) << n << " keys, time " << t;
        }
    }
}

TEST(AnimationCurveDeathTest, EmptyCurveAndSearchOutsideTheKeys) {
    AnimationCurve<Vec3> empty;
    const std::string noKeys = AssertionPattern("m_keyframesVector.size() > 0");
    EXPECT_DEATH(empty.GetStartTime(), noKeys);
    EXPECT_DEATH(empty.GetEndTime(), noKeys);
    EXPECT_DEATH(empty.Evaluate(0), noKeys);

    AnimationCurve<float> curve = FloatCurve({{0, 0}, {1, 1}, {2, 0}});
    const std::string outside = AssertionPattern("time > GetStartTime() && time < GetEndTime()");
    EXPECT_DEATH(curve.FindSegment(0), outside);
    EXPECT_DEATH(curve.FindSegment(2), outside);
    EXPECT_DEATH(curve.FindSegment(-1), outside);
}

}  // namespace
