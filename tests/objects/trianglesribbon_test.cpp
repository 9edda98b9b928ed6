// TrianglesRibbon on its own, with a builder whose flights are known: what Init asks the
// builder and keeps, where Update puts each triangle (position, frame, spin, scale), and the
// modificator's turn.
#include "objects/trianglesribbon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "content/model.h"
#include "gpu/uniquetriangledmesh.h"
#include "math/mat4.h"
#include "scene/ribboncurvebuilder.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

using sm::Mat4;
using sm::Vec3;

// Two triangles: one facing +z around (0, 1, 0), one facing −x around (2, 0, 1).
std::unique_ptr<MeshPart> TwoTriangles() {
    const std::vector<Vec3> p = {Vec3(-0.3f, 0.8f, 0), Vec3(0.3f, 0.8f, 0), Vec3(0, 1.4f, 0),
                                 Vec3(2, -0.5f, 0.5f), Vec3(2, 0.5f, 2),    Vec3(2, 0, 0.5f)};
    std::vector<unsigned char> bytes(p.size() * sizeof(Vec3));
    std::memcpy(bytes.data(), p.data(), bytes.size());
    return std::make_unique<MeshPart>(0, static_cast<int>(p.size()), std::move(bytes), "");
}

// Every path runs from the centre at 10 s to centre + (4, 0, 0) at 14 s; the scale goes 1, 0.5
// and back to 1 at 10, 12 and 14 s. zeroLength gives one-key curves instead.
class KnownBuilder : public IRibbonCurveBuilder {
public:
    std::unique_ptr<AnimationCurve<Vec3>> BuildPath(const Vec3& centre, const Vec3& normal,
                                                    const PathData& path, int halfKeys,
                                                    float spread, float delay) override {
        centres.push_back(centre);
        normals.push_back(normal);
        paths.push_back(&path);
        halves.push_back(halfKeys);
        spreads.push_back(spread);
        delays.push_back(delay);
        auto curve = std::make_unique<AnimationCurve<Vec3>>();
        curve->AddKey(10.0f, centre, Vec3(), Vec3());
        if (!zeroLength) curve->AddKey(14.0f, centre + Vec3(4, 0, 0), Vec3(), Vec3());
        curve->ComputeTangents();
        return curve;
    }
    std::unique_ptr<AnimationCurve<float>> BuildScale(const AnimationCurve<Vec3>&,
                                                      float triangleScale) override {
        scales.push_back(triangleScale);
        auto curve = std::make_unique<AnimationCurve<float>>();
        curve->AddKey(10.0f, 1.0f, 0.0f, 0.0f);
        if (!zeroLength) {
            curve->AddKey(12.0f, 0.5f, 0.0f, 0.0f);
            curve->AddKey(14.0f, 1.0f, 0.0f, 0.0f);
        }
        return curve;
    }

    bool zeroLength = false;
    std::vector<Vec3> centres, normals;
    std::vector<const PathData*> paths;
    std::vector<int> halves;
    std::vector<float> spreads, delays, scales;
};

// Records each call and checks that the triangle has been placed before it is modified.
class RecordingModificator : public ITriangleModificator {
public:
    void Modify(float time, IModifiableRibbon* ribbon, int index) override {
        calls.push_back({time, ribbon, index});
        ribbon->SetTriangleGlowPower(index, 3.0f + static_cast<float>(index));
    }
    struct Call {
        float time;
        IModifiableRibbon* ribbon;
        int index;
    };
    std::vector<Call> calls;
};

void ExpectMatrixEq(const Mat4& actual, const Mat4& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(actual[i], expected[i]) << "element " << i;
}

void ExpectMatrixNear(const Mat4& actual, const Mat4& expected, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

class TrianglesRibbonTest : public testing::Test {
protected:
    void Init(TrianglesRibbon* ribbon) {
        ribbon->Init(&builder, *part, &path, 3, 0.75f, 0.3f, 2.5f);
    }

    GlTestContext gl;
    std::unique_ptr<MeshPart> part = TwoTriangles();
    PathData path;
    KnownBuilder builder;
};

TEST_F(TrianglesRibbonTest, InitGivesTheBuilderEachTrianglesCentreAndFaceNormal) {
    TrianglesRibbon ribbon;
    EXPECT_FLOAT_EQ(ribbon.GetTriangleScale(), 0.4f);
    EXPECT_EQ(ribbon.GetMesh(), nullptr);
    Init(&ribbon);

    ASSERT_NE(ribbon.GetMesh(), nullptr);
    ASSERT_EQ(ribbon.GetTrianglesCount(), 2);
    EXPECT_EQ(ribbon.GetRibbonTrianglesCount(), 2);
    EXPECT_EQ(ribbon.GetMesh()->GetTrianglesCount(), 2);
    EXPECT_FLOAT_EQ(ribbon.GetTriangleScale(), 0.3f);

    ASSERT_EQ(builder.centres.size(), 2u);
    const Vec3 centres[] = {Vec3(0, 1, 0), Vec3(2, 0, 1)};
    const Vec3 normals[] = {Vec3(0, 0, 1), Vec3(-1, 0, 0)};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR((builder.centres[i] - centres[i]).Length(), 0.0f, 1e-6f);
        EXPECT_NEAR((builder.normals[i] - normals[i]).Length(), 0.0f, 1e-6f);
        EXPECT_EQ(builder.paths[i], &path);
        EXPECT_EQ(builder.halves[i], 3);
        EXPECT_FLOAT_EQ(builder.spreads[i], 0.75f);
        EXPECT_FLOAT_EQ(builder.delays[i], 2.5f);
        EXPECT_FLOAT_EQ(builder.scales[i], 0.3f);

        const RibbonTriangle& triangle = ribbon.GetRibbonTriangle(i);
        EXPECT_EQ(&triangle, &ribbon.GetTriangle(i));
        ASSERT_NE(triangle.m_path, nullptr);
        ASSERT_NE(triangle.m_scale, nullptr);
        EXPECT_FLOAT_EQ(triangle.m_path->GetStartTime(), 10.0f);
        EXPECT_EQ(triangle.m_spin, 0.0f);
        EXPECT_GE(triangle.m_spinSpeed, 1.0f);
        EXPECT_LE(triangle.m_spinSpeed, 10.0f);
        EXPECT_NEAR(triangle.m_spinAxis.Length(), 1.0f, 1e-5f);
    }
    EXPECT_NE(ribbon.GetRibbonTriangle(0).m_spinSpeed, ribbon.GetRibbonTriangle(1).m_spinSpeed);
}

TEST_F(TrianglesRibbonTest, UpdatePlacesSpinsAndScalesEveryTriangle) {
    TrianglesRibbon ribbon;
    Init(&ribbon);
    const UniqueTriangledMesh& mesh = *ribbon.GetMesh();

    // At full size a triangle sits at its path position in its modelled orientation; at the
    // path's start that is exactly where the model has it.
    ribbon.Update(10.0f, 0.016f);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ExpectMatrixEq(mesh.GetTriangleTransform(i),
                       Mat4::Translation(mesh.GetTriangleCenter(i)) * mesh.GetTriangleFrame(i));
    }
    ribbon.Update(14.0f, 0.016f);
    ExpectMatrixEq(
        mesh.GetTriangleTransform(1),
        Mat4::Translation(mesh.GetTriangleCenter(1) + Vec3(4, 0, 0)) * mesh.GetTriangleFrame(1));

    // A quarter along the path the spin is (1 − cos(2 · 3.1415 / 4)) / 2 of the speed: a hair
    // under a half, as the constant is not pi.
    ribbon.Update(11.0f, 0.016f);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const RibbonTriangle& t = ribbon.GetRibbonTriangle(i);
        const float fraction = t.m_spin / t.m_spinSpeed;
        EXPECT_NEAR(fraction, 0.4999768f, 2e-6f);
        EXPECT_GT(0.5f - fraction, 1e-5f);
        const float s = t.m_scale->Evaluate(11.0f);
        ASSERT_GT(s, 0.5f);
        ASSERT_LT(s, 1.0f);
        const Mat4 expected =
            Mat4::Translation(t.m_path->Evaluate(11.0f)) * mesh.GetTriangleFrame(i) *
            Mat4::Rotation((1.0f - s) * t.m_spin, t.m_spinAxis) * Mat4::Scale(s, s, s);
        ExpectMatrixNear(mesh.GetTriangleTransform(i), expected, 1e-5f);
    }

    // u is not clamped: half a path before the start the spin is back at its peak.
    ribbon.Update(8.0f, 0.016f);
    const RibbonTriangle& t = ribbon.GetRibbonTriangle(0);
    EXPECT_NEAR(t.m_spin, t.m_spinSpeed, 1e-4f);
}

TEST_F(TrianglesRibbonTest, ModificatorSeesEveryTriangleInOrderAfterItMoved) {
    TrianglesRibbon ribbon;
    Init(&ribbon);
    RecordingModificator modificator;
    ribbon.SetModificator(&modificator);
    EXPECT_EQ(ribbon.GetModificator(), &modificator);
    ribbon.Update(12.5f, 0.016f);

    ASSERT_EQ(modificator.calls.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(modificator.calls[i].index, i);
        EXPECT_EQ(modificator.calls[i].time, 12.5f);
        EXPECT_EQ(modificator.calls[i].ribbon, &ribbon);
        EXPECT_FLOAT_EQ(ribbon.GetMesh()->GetTriangleGlowPower(i), 3.0f + i);
    }
    ribbon.SetModificator(nullptr);
    ribbon.Update(13.0f, 0.016f);
    EXPECT_EQ(modificator.calls.size(), 2u);
}

TEST_F(TrianglesRibbonTest, PathOfZeroLengthDoesNotSpin) {
    builder.zeroLength = true;
    TrianglesRibbon ribbon;
    Init(&ribbon);
    for (float time : {9.0f, 10.0f, 11.0f}) {
        ribbon.Update(time, 0.016f);
        EXPECT_EQ(ribbon.GetRibbonTriangle(0).m_spin, 0.0f) << time;
        const Mat4& placed = ribbon.GetMesh()->GetTriangleTransform(0);
        for (int k = 0; k < 16; ++k) EXPECT_TRUE(std::isfinite(placed[k])) << time;
    }
}

TEST_F(TrianglesRibbonTest, FatalWithoutABuilderAndOutsideItsTriangles) {
    TrianglesRibbon ribbon;
    EXPECT_NE(CaptureFatal([&] {
                  ribbon.Init(nullptr, *part, &path, 1, 1.0f, 0.5f, 4.0f);
              }).find("Assertion failed: ribbinCurveBuilder != NULL,"),
              std::string::npos);
    Init(&ribbon);
    for (int index : {-1, 2}) {
        EXPECT_NE(CaptureFatal([&] { ribbon.GetRibbonTriangle(index); }), "") << index;
        EXPECT_NE(CaptureFatal([&] { ribbon.SetTriangleGlowPower(index, 1.0f); }), "") << index;
    }
}

}  // namespace
