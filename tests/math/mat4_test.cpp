#include <gtest/gtest.h>

#include <cmath>

#include "math/mat4.h"
#include "mathtest.h"

namespace {

using sm::Mat4;
using sm::Vec3;

const float kPi = 3.14159265f;

Mat4 FromColumnMajor(const float (&values)[16]) {
    Mat4 m;
    for (int i = 0; i < 16; ++i) m[i] = values[i];
    return m;
}

// The clip-space point of p under a projection, divided by w.
Vec3 Project(const Mat4& m, const Vec3& p) {
    float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return m.TransformPoint(p) / w;
}

Vec3 TextbookCross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

Vec3 Column(const Mat4& m, int c) { return Vec3(m[4 * c], m[4 * c + 1], m[4 * c + 2]); }

TEST(Mat4, StorageIsColumnMajorAndProductsApplyRightToLeft) {
    Mat4 t = Mat4::Translation(1, 2, 3);
    EXPECT_EQ(t[12], 1.0f);
    EXPECT_EQ(t[13], 2.0f);
    EXPECT_EQ(t[14], 3.0f);
    EXPECT_EQ(t[15], 1.0f);
    EXPECT_EQ(Mat4::Translation(Vec3(1, 2, 3)).TransformPoint(Vec3(0, 0, 0)), Vec3(1, 2, 3));

    // Scale first, then translate; and the other way round.
    Mat4 s = Mat4::Scale(2, 3, 4);
    EXPECT_EQ((t * s).TransformPoint(Vec3(1, 1, 1)), Vec3(3, 5, 7));
    EXPECT_EQ((s * t).TransformPoint(Vec3(1, 1, 1)), Vec3(4, 9, 16));
    Mat4 ts = t;
    ts *= s;
    EXPECT_TRUE(Mat4Near(ts, t * s, 0));

    // A general product, element by element: result[r + 4c] = Σ a[r + 4k]·b[k + 4c].
    float av[16], bv[16];
    for (int i = 0; i < 16; ++i) {
        av[i] = static_cast<float>(i + 1);
        bv[i] = static_cast<float>((i * 7) % 5 - 2);
    }
    Mat4 a = FromColumnMajor(av), b = FromColumnMajor(bv);
    Mat4 ab = a * b;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += av[r + 4 * k] * bv[k + 4 * c];
            EXPECT_EQ(ab[r + 4 * c], sum) << "row " << r << " column " << c;
        }
    }
    EXPECT_EQ(a.Transpose()[1], a[4]);
    EXPECT_EQ(a.Transpose()[12], a[3]);
    EXPECT_EQ(a.Transpose().Transpose()[7], a[7]);
}

TEST(Mat4, RotationTurnsCounterClockwiseAboutTheAxis) {
    struct Case {
        Vec3 axis, from, to;
    };
    const Case cases[] = {
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},   {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},   {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, -1, 0}, {0, 0, 1}, {-1, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Vec3Near(Mat4::Rotation(kPi / 2, c.axis).TransformPoint(c.from), c.to))
            << "axis " << testing::PrintToString(c.axis);
    }
    // The axis is used as given: angle 0 about the zero axis is the identity.
    EXPECT_TRUE(Mat4Near(Mat4::Rotation(0, 0, 0, 0), Mat4::Identity(), 0));
    // A non-unit axis is not normalised: the diagonal picks up x²·(1 − cos).
    EXPECT_NEAR(Mat4::Rotation(kPi / 2, 2, 0, 0)[0], 4.0f, 1e-6f);
}

TEST(Mat4, PerspectiveKeepsTheHorizontalFieldOfView) {
    struct Case {
        float fovX, aspect;
    };
    const Case cases[] = {{kPi / 2, 1}, {kPi / 2, 2}, {1.0f, 16.0f / 9.0f}, {0.5f, 0.5f}};
    const float nearZ = 0.5f, farZ = 200.0f;
    for (const Case& c : cases) {
        Mat4 p = Mat4::Perspective(c.fovX, c.aspect, nearZ, farZ);
        const float cotX = 1.0f / std::tan(c.fovX / 2);
        // [0] depends on fovX only; [5] is the cotangent of the vertical half-angle
        // atan(tan(fovX / 2) / aspect).
        EXPECT_NEAR(p[0], cotX, 1e-5f * cotX) << c.aspect;
        EXPECT_NEAR(p[5], 1.0f / std::tan(std::atan(std::tan(c.fovX / 2) / c.aspect)),
                    1e-5f * p[5]);
        EXPECT_NEAR(p[5], cotX * c.aspect, 1e-5f * p[5]);
        EXPECT_EQ(p[11], -1.0f);
        EXPECT_EQ(p[15], 0.0f);
        EXPECT_EQ(p[3], 0.0f);
        EXPECT_EQ(p[12], 0.0f);

        // A point on the right edge of the field of view lands on x = 1; near and far map to
        // depth −1 and 1, looking down −Z.
        const float depth = 10.0f;
        Vec3 edge(depth * std::tan(c.fovX / 2), 0, -depth);
        EXPECT_NEAR(Project(p, edge).x, 1.0f, 1e-5f);
        EXPECT_NEAR(Project(p, Vec3(0, 0, -nearZ)).z, -1.0f, 1e-5f);
        EXPECT_NEAR(Project(p, Vec3(0, 0, -farZ)).z, 1.0f, 1e-4f);
    }
}

TEST(Mat4, OrthoMapsTheRectangleAndHasAFixedDepthRange) {
    const float w = 1280, h = 720;
    Mat4 o = Mat4::Ortho(0, w, 0, h);
    EXPECT_TRUE(Vec3Near(o.TransformPoint(Vec3(0, 0, 0)), Vec3(-1, -1, 0)));
    EXPECT_TRUE(Vec3Near(o.TransformPoint(Vec3(w, h, 0)), Vec3(1, 1, 0)));
    EXPECT_TRUE(Vec3Near(o.TransformPoint(Vec3(w / 2, h / 2, 50)), Vec3(0, 0, -0.5f)));
    EXPECT_NEAR(o[10], -0.01f, 1e-9f);
    EXPECT_EQ(o[14], 0.0f);
    // Bottom above top flips y, as for a top-left origin.
    Mat4 flipped = Mat4::Ortho(0, w, h, 0);
    EXPECT_TRUE(Vec3Near(flipped.TransformPoint(Vec3(0, 0, 0)), Vec3(-1, 1, 0)));
}

TEST(Mat4, LookDirectionTakesUpAndForwardAsGiven) {
    // X = normalised Cross(forward, up); up is not re-orthogonalised or normalised.
    Mat4 m = Mat4::LookDirection(Vec3(0, 0, 1), Vec3(0, 2, 0.5f));
    EXPECT_TRUE(Vec3Near(Column(m, 0), Vec3(1, 0, 0)));
    EXPECT_EQ(Column(m, 1), Vec3(0, 2, 0.5f));
    EXPECT_EQ(Column(m, 2), Vec3(0, 0, 1));
    EXPECT_EQ(Column(m, 3), Vec3(0, 0, 0));
    EXPECT_EQ(m[15], 1.0f);
}

TEST(Mat4, TriangleFrameIsTheRightHandedFrameOfTheFace) {
    struct Case {
        Vec3 p0, p1, p2;
    };
    const Case cases[] = {
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        {{2, 3, 4}, {2, 3, 1}, {5, 3, 4}},
        {{-1, 0.5f, 2}, {3, -2, 0.25f}, {0.5f, 4, -1}},
        {{10, 10, 10}, {10.5f, 10, 10}, {10, 10, 10.5f}},
    };
    for (const Case& c : cases) {
        Mat4 f = Mat4::TriangleFrame(c.p0, c.p1, c.p2);
        Vec3 x = Column(f, 0), y = Column(f, 1), z = Column(f, 2);
        Vec3 normal = TextbookCross(c.p1 - c.p0, c.p2 - c.p0).GetNormalized();
        EXPECT_TRUE(Vec3Near(Column(f, 3), (c.p0 + c.p1 + c.p2) / 3.0f));
        EXPECT_TRUE(Vec3Near(z, normal));
        EXPECT_TRUE(Vec3Near(x, (c.p0 - c.p1).GetNormalized()));
        EXPECT_TRUE(Vec3Near(y, TextbookCross(z, x)));
        EXPECT_NEAR(sm::Dot(x, y), 0.0f, 1e-6f);
        EXPECT_NEAR(y.Length(), 1.0f, 1e-6f);
        EXPECT_EQ(f[3], 0.0f);
        EXPECT_EQ(f[15], 1.0f);
    }

    // Degenerate triangles: a pure translation to the centroid.
    const Case degenerate[] = {
        {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}},
        {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}},
        {{0, 0, 0}, {0, 0, 0}, {3, 0, 0}},
    };
    for (const Case& c : degenerate) {
        Mat4 f = Mat4::TriangleFrame(c.p0, c.p1, c.p2);
        EXPECT_TRUE(Mat4Near(f, Mat4::Translation((c.p0 + c.p1 + c.p2) / 3.0f), 0))
            << testing::PrintToString(f);
    }
}

TEST(Mat4, InverseIsExactForAGeneralMatrix) {
    // An integer matrix of determinant ±1 with a projective bottom row: its inverse has
    // integer entries, every cofactor is exact in float, so the result must match exactly.
    const Mat4 m = FromColumnMajor({7, -1, 5, -7, 14, -1, 10, -13, -2, 0, -1, 2, -3, -2, -2, 1});
    const Mat4 expected =
        FromColumnMajor({-17, 9, -3, 4, 11, -6, 1, -3, 8, -4, 3, -2, -13, 7, -1, 3});
    EXPECT_TRUE(Mat4Near(m.Inverse(), expected, 0));
    EXPECT_TRUE(Mat4Near(expected.Inverse(), m, 0));
    EXPECT_TRUE(Mat4Near(m * expected, Mat4::Identity(), 0));
}

TEST(Mat4, InverseUndoesTheShowsTransforms) {
    const Mat4 cases[] = {
        Mat4::Translation(3, -2, 5) * Mat4::Rotation(0.7f, 0.6f, 0, 0.8f) *
            Mat4::Scale(0.02f, 0.02f, 0.02f),
        Mat4::Perspective(1.1f, 16.0f / 9.0f, 0.1f, 1000.0f),
        Mat4::Ortho(0, 1280, 720, 0),
        Mat4::TriangleFrame(Vec3(-1, 0.5f, 2), Vec3(3, -2, 0.25f), Vec3(0.5f, 4, -1)),
        Mat4::Scale(2, 0.5f, -3) * Mat4::Rotation(1.5707964f, -1, 0, 0),
    };
    for (const Mat4& m : cases) {
        EXPECT_TRUE(Mat4Near(m * m.Inverse(), Mat4::Identity(), 2e-5f))
            << testing::PrintToString(m);
        EXPECT_TRUE(Mat4Near(m.Inverse() * m, Mat4::Identity(), 2e-5f));
    }
}

TEST(Mat4, InverseOfASingularMatrixIsNotFinite) {
    Mat4 inv = Mat4::Scale(1, 0, 1).Inverse();
    bool anyNonFinite = false;
    for (int i = 0; i < 16; ++i) anyNonFinite = anyNonFinite || !std::isfinite(inv[i]);
    EXPECT_TRUE(anyNonFinite);
}

}  // namespace
