#include <gtest/gtest.h>

#include "math/easing.h"

namespace {

using Blink = BlinkCurve<float, QuadOut<float>, LinearCurve<float>>;

TEST(Easing, LinearAndQuadOutClampTheParameter) {
    struct Case {
        float t, linear, quadOut;
    };
    const Case cases[] = {
        {-1, 0, 0}, {0, 0, 0}, {0.5f, 0.5f, 0.75f}, {0.9f, 0.9f, 0.99f}, {1, 1, 1}, {3, 1, 1},
    };
    LinearCurve<float> linear;
    QuadOut<float> quadOut;
    const IAnimationCurve<float>& linearBase = linear;
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(linearBase.Evaluate(0, 1, c.t), c.linear) << c.t;
        EXPECT_FLOAT_EQ(quadOut.Evaluate(0, 1, c.t), c.quadOut) << c.t;
    }
    // From and to in either order.
    EXPECT_FLOAT_EQ(quadOut.Evaluate(2, -2, 0.5f), -1);
    EXPECT_FLOAT_EQ(linear.Evaluate(2, -2, 0.25f), 1);
}

TEST(Easing, BlinkRisesWithQuadOutThenFallsLinearly) {
    struct Case {
        float t, expected;
    };
    const Case cases[] = {
        {0, 0.8f}, {0.025f, 1.7f}, {0.05f, 2.0f}, {0.525f, 1.4f},
        {1, 0.8f}, {-0.5f, 0.8f},  {1.5f, 0.8f},
    };
    const Blink blink(0.05f);
    const IAnimationCurve<float>& base = blink;
    for (const Case& c : cases)
        EXPECT_NEAR(base.Evaluate(0.8f, 2.0f, c.t), c.expected, 1e-5f) << c.t;
}

}  // namespace
