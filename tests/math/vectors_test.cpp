#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/quat.h"
#include "math/scalar.h"
#include "math/vec3.h"
#include "math/vec4.h"
#include "mathtest.h"

namespace {

using sm::Quat;
using sm::Vec3;
using sm::Vec4;

const float kPi = 3.14159265f;

TEST(Vec3, CrossIsTheNegatedTextbookProduct) {
    struct Case {
        Vec3 a, b, expected;
    };
    const Case cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 1, 0}, {0, 0, 1}, {-1, 0, 0}},
        // textbook a × b is (−3, 6, −3)
        {{1, 2, 3}, {4, 5, 6}, {3, -6, 3}},
        {{2, 2, 2}, {2, 2, 2}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sm::Cross(c.a, c.b), c.expected)
            << testing::PrintToString(c.a) << " , " << testing::PrintToString(c.b);
    }
    EXPECT_EQ(sm::Dot(Vec3(1, 2, 3), Vec3(4, -5, 6)), 12.0f);
}

TEST(Vec3, NormalisingLeavesZeroVectorsAlone) {
    EXPECT_EQ(Vec3(0, 0, 0).GetNormalized(), Vec3(0, 0, 0));
    Vec3 zero;
    zero.Normalize();
    EXPECT_EQ(zero, Vec3(0, 0, 0));

    Vec3 v(3, 0, -4);
    EXPECT_EQ(v.Length(), 5.0f);
    EXPECT_TRUE(Vec3Near(v.GetNormalized(), Vec3(0.6f, 0, -0.8f)));
    EXPECT_EQ(v, Vec3(3, 0, -4)) << "GetNormalized must not change its operand";
    v.Normalize();
    EXPECT_TRUE(Vec3Near(v, Vec3(0.6f, 0, -0.8f)));
}

TEST(Vec3, ArithmeticAndInequality) {
    Vec3 a(1, 2, 3);
    EXPECT_EQ(a + Vec3(1, 1, 1), Vec3(2, 3, 4));
    EXPECT_EQ(a - Vec3(1, 1, 1), Vec3(0, 1, 2));
    EXPECT_EQ(-a, Vec3(-1, -2, -3));
    EXPECT_EQ(a * 2.0f, Vec3(2, 4, 6));
    EXPECT_EQ(a / 2.0f, Vec3(0.5f, 1, 1.5f));
    EXPECT_EQ(Vec3(2.5f), Vec3(2.5f, 2.5f, 2.5f));
    a += Vec3(1, 0, -1);
    EXPECT_EQ(a, Vec3(2, 2, 2));

    EXPECT_FALSE(Vec3(1, 2, 3) != Vec3(1, 2, 3));
    EXPECT_TRUE(Vec3(1, 2, 3) != Vec3(1, 2, 4));
    EXPECT_TRUE(Vec3(0, 0, 0) != Vec3(0, 1, 0));
    EXPECT_FALSE(Vec3(0, 0, 0) != Vec3(-0.0f, -0.0f, -0.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Vec3 withNan(1, nan, 3);
    EXPECT_TRUE(withNan != withNan);
}

TEST(Scalar, MaxAndMinPreferTheSecondArgumentUnlessStrictlyBeaten) {
    EXPECT_EQ(sm::Max(2.0f, 1.0f), 2.0f);
    EXPECT_EQ(sm::Max(1.0f, 2.0f), 2.0f);
    EXPECT_EQ(sm::Min(2.0f, 1.0f), 1.0f);
    EXPECT_EQ(sm::Min(1.0f, 2.0f), 1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(sm::Max(nan, 1.0f), 1.0f);
    EXPECT_EQ(sm::Min(nan, 1.0f), 1.0f);
    // The double-precision function, rounded once to float.
    EXPECT_EQ(sm::Sqrt(2.0f), static_cast<float>(std::sqrt(2.0)));
    EXPECT_EQ(sm::Fmod(7.5f, 2.0f), 1.5f);
}

TEST(Vec4, IndexReachesTheComponentsInOrder) {
    Vec4 v(1, 2, 3, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v[i], static_cast<float>(i + 1));
    v[3] = 9;
    EXPECT_EQ(v.w, 9.0f);
    EXPECT_EQ(v[0] + v[1], 3.0f);
    Vec4 sum = Vec4(1, 2, 3, 4) + Vec4(4, 3, 2, 1) * 2.0f - Vec4(1, 1, 1, 1);
    EXPECT_EQ(sum.x, 8.0f);
    EXPECT_EQ(sum.w, 5.0f);
}

TEST(Vec4DeathTest, IndexOutsideTheFourComponentsIsFatal) {
    Vec4 v(1, 2, 3, 4);
    EXPECT_DEATH(v[4], AssertionPattern("false"));
    EXPECT_DEATH(v[-1], AssertionPattern("false"));
}

TEST(Quat, ProductIsTheHamiltonProductInReverseOrder) {
    // i·j in this library is the textbook j ⊗ i = −k.
    Quat i(0, 1, 0, 0), j(0, 0, 1, 0);
    Quat ij = i * j;
    EXPECT_EQ(ij.w, 0.0f);
    EXPECT_EQ(ij.v, Vec3(0, 0, -1));

    // Textbook b ⊗ a for a = (1; 2, 3, 4), b = (5; 6, 7, 8).
    Quat ab = Quat(1, 2, 3, 4) * Quat(5, 6, 7, 8);
    EXPECT_EQ(ab.w, -60.0f);
    EXPECT_EQ(ab.v, Vec3(20, 14, 32));

    // So a * b turns by a first, then by b: (1, 0, 0) turned by z 90° and then by x 90° ends
    // on +z.
    Quat z90 = Quat::FromAxisAngle(kPi / 2, 0, 0, 1);
    Quat x90 = Quat::FromAxisAngle(kPi / 2, 1, 0, 0);
    Quat p(0, 1, 0, 0);
    Quat both = z90 * x90;
    Quat conj(both.w, -both.v);
    // Textbook rotation r p r*, written with this library's reversed product.
    Quat turned = conj * (p * both);
    EXPECT_TRUE(Vec3Near(turned.v, Vec3(0, 0, 1)));

    Quat sum = Quat(1, 2, 3, 4) + Quat(1, 1, 1, 1) * 2.0f;
    EXPECT_EQ(sum.w, 3.0f);
    EXPECT_EQ(sum.v, Vec3(4, 5, 6));
}

TEST(Quat, AxisAngleRoundTripAndTheUntouchedAxis) {
    // The axis need not be unit length: the angle is still the one asked for.
    Quat q = Quat::FromAxisAngle(1.2f, 0, 3, 4);
    EXPECT_NEAR(q.Length(), 1.0f, 1e-6f);
    EXPECT_NEAR(q.w, std::cos(0.6), 1e-6);
    EXPECT_TRUE(Vec3Near(q.v, Vec3(0, 0.6f, 0.8f) * static_cast<float>(std::sin(0.6))));
    float angle = 0;
    Vec3 axis;
    q.ToAxisAngle(&angle, &axis);
    EXPECT_NEAR(angle, 1.2f, 1e-5f);
    EXPECT_TRUE(Vec3Near(axis, Vec3(0, 0.6f, 0.8f)));

    // Angle 0: the axis output keeps what the caller put there.
    const Quat identities[] = {Quat(1, 0, 0, 0), Quat(1.0000001f, 0, 0, 0)};
    for (const Quat& identity : identities) {
        angle = -1;
        axis = Vec3(7, 7, 7);
        identity.ToAxisAngle(&angle, &axis);
        EXPECT_EQ(angle, 0.0f) << identity.w;
        EXPECT_EQ(axis, Vec3(7, 7, 7));
    }
}

TEST(Quat, NormaliseLeavesTheZeroQuaternion) {
    Quat zero;
    EXPECT_EQ(zero.w, 0.0f);
    zero.Normalize();
    EXPECT_EQ(zero.w, 0.0f);
    EXPECT_EQ(zero.v, Vec3(0, 0, 0));

    Quat q(2, 0, 0, 0);
    q.Normalize();
    EXPECT_EQ(q.w, 1.0f);
    Quat r(0, 0, 3, 4);
    EXPECT_EQ(r.Length(), 5.0f);
    r.Normalize();
    EXPECT_TRUE(Vec3Near(r.v, Vec3(0, 0.6f, 0.8f)));
}

}  // namespace
