// The guy on real content: the figure it builds for a plain and a ribbon guy, when it shows,
// where it stands and faces at 2 % size, its walk cycle looping on the music time, the ribbon
// weight it hands to the "SkinnedRibbon" program, the ribbon triangles its mesh follows, and
// the fatal checks.
#include "objects/guy.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "content/animation.h"
#include "content/animationdata.h"
#include "gpu/shader.h"
#include "gpu/skinnedmesh.h"
#include "gpu/skinnedribbonmesh.h"
#include "objectfixtures.h"
#include "objects/ribbon.h"
#include "objects/trianglesribbon.h"
#include "render/renderable.h"
#include "render/skinnedglowtransparencyspecullar.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

using sm::Mat4;
using sm::Vec3;

// Walks from (−3, 0, 0) at 0 s to (3, 0, 0) at 4 s unless given other keys.
GuyData Walker(const std::string& id, const std::string& ribbonName = "",
               const std::vector<std::pair<float, Vec3>>& keys = {{0.0f, Vec3(-3, 0, 0)},
                                                                  {4.0f, Vec3(3, 0, 0)}}) {
    GuyData data;
    data.Id = id;
    data.RibbonName = ribbonName;
    data.Material = Look(true, true);
    data.Material->SolidGlowMultiplier = 1.5f;
    data.Material->WireGlowMultiplier = 2.5f;
    data.Path = Path(keys);
    return data;
}

void ExpectMatrixNear(const Mat4& actual, const Mat4& expected, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

float MaxDifference(const Mat4& a, const Mat4& b) {
    float most = 0.0f;
    for (int i = 0; i < 16; ++i) most = std::max(most, std::fabs(a[i] - b[i]));
    return most;
}

float RibbonWeightUniform() {
    const unsigned program = Guy::GetRibbonShader()->GetProgramId();
    float value = -1.0f;
    glGetUniformfv(program, glGetUniformLocation(program, "u_ribbonWeight"), &value);
    return value;
}

void SetRibbonWeightUniform(float value) {
    Guy::GetRibbonShader()->Use();
    Guy::GetRibbonShader()->SetFloat("u_ribbonWeight", value);
}

// A morph into "scene.morph.dst.1" along the usual flight, with optional weight keys.
RibbonData Morph(const std::vector<std::pair<float, float>>& weights = {}) {
    RibbonData data;
    data.Source = std::make_unique<SourceData>();
    data.Source->MeshName = "src";
    data.Source->Material = Look(true, true);
    data.Destination = std::make_unique<DestinationData>();
    data.Destination->MeshName = "scene.morph.dst.1";
    data.Destination->Material = Look(true, true);
    data.Path = Flight();
    for (const auto& w : weights) {
        SceneElement::FloatKey key;
        key.time = w.first;
        key.value = w.second;
        data.Path->RibbonWeights.push_back(key);
    }
    return data;
}

class GuyTest : public testing::Test {
protected:
    GlTestContext gl;
    ObjectContent content;
};

TEST_F(GuyTest, PlainAndRibbonGuysBuildTheirFigure) {
    struct Case {
        const char* ribbonName;
        const char* program;
    };
    for (const Case& c : {Case{"", "Skinned"}, Case{"1", "SkinnedRibbon"}}) {
        SCOPED_TRACE(c.program);
        GuyData data = Walker("7", c.ribbonName);
        data.AnimationIndex = {{0.0f, 0}, {2.0f, 1}};
        Guy guy(&data);
        const bool ribbon = *c.ribbonName != '\0';
        EXPECT_EQ(guy.GetName(), "scene.guy.7");
        EXPECT_EQ(guy.GetRibbonName(), c.ribbonName);
        EXPECT_EQ(guy.IsRibbonGuy(), ribbon);
        EXPECT_EQ(guy.GetSkinnedMesh() != nullptr, !ribbon);
        EXPECT_EQ(guy.GetRibbonMesh() != nullptr, ribbon);
        const BaseMesh* mesh = ribbon ? static_cast<BaseMesh*>(guy.GetRibbonMesh())
                                      : static_cast<BaseMesh*>(guy.GetSkinnedMesh());
        EXPECT_EQ(ribbon ? guy.GetRibbonMesh()->GetTrianglesCount()
                         : guy.GetSkinnedMesh()->GetTrianglesCount(),
                  kFigureTriangles);

        Shader* program = g_contentManager->GetShader(c.program);
        if (ribbon) {
            EXPECT_EQ(Guy::GetRibbonShader(), program);
        }
        ASSERT_EQ(guy.GetRenderables().size(), 2u);
        const GLenum modes[] = {GL_FILL, GL_LINE};
        const float multipliers[] = {1.5f, 2.5f};
        for (int i = 0; i < 2; ++i) {
            const Renderable* r = guy.GetRenderables()[i];
            EXPECT_EQ(r->GetMesh(), mesh);
            EXPECT_EQ(r->GetOrder(), 0);
            EXPECT_EQ(r->GetMaterial(), guy.GetMaterial(i));
            EXPECT_EQ(guy.GetMaterial(i)->GetShader(), program);
            EXPECT_EQ(guy.GetMaterial(i)->GetPolygonMode(), modes[i]);
            EXPECT_FLOAT_EQ(guy.GetMaterial(i)->GetGlowMultiplier(), multipliers[i]);
        }

        EXPECT_EQ(guy.GetAnimation(0)->GetData(), g_contentManager->GetAnimation("walk"));
        EXPECT_EQ(guy.GetAnimation(1)->GetData(), g_contentManager->GetAnimation("jump"));
        int index = -1;
        guy.GetAnimationIndexKeys().Evaluate(2.5f, &index, 0);
        EXPECT_EQ(index, 1);
        EXPECT_EQ(guy.GetPath().GetKeysCount(), 2);
    }

    GuyData bare = Walker("2");
    bare.Material->UseSolid = false;
    bare.Material->UseWire = false;
    Guy nothing(&bare);
    EXPECT_TRUE(nothing.GetRenderables().empty());
    nothing.Update(1.0f, 0.016f);
}

TEST_F(GuyTest, VisibleExactlyWhileThePathLasts) {
    GuyData data = Walker("1");
    Guy guy(&data);
    const std::pair<float, bool> cases[] = {
        {-0.01f, false}, {0.0f, true}, {2.0f, true}, {4.0f, true}, {4.01f, false}};
    for (const auto& c : cases) {
        guy.Update(c.first, 0.016f);
        for (const Renderable* r : guy.GetRenderables())
            EXPECT_EQ(r->IsVisible(), c.second) << "at " << c.first;
    }
}

// The body's bone never turns, so its matrix is the guy's world matrix.
TEST_F(GuyTest, StandsOnItsPathFacingWhereItGoesAtTwoPercent) {
    struct Case {
        const char* what;
        std::vector<std::pair<float, Vec3>> keys;
        float time;
        Vec3 direction;
    };
    const std::vector<std::pair<float, Vec3>> walk = {{0.0f, Vec3(-3, 0, 0)},
                                                      {4.0f, Vec3(3, 0, 0)}};
    const Case cases[] = {
        {"walking", walk, 2.0f, Vec3(1, 0, 0)},
        {"standing", {{0.0f, Vec3(1, 0, 2)}, {4.0f, Vec3(1, 0, 2)}}, 2.0f, Vec3(0, 0, 1)},
        {"looking past the end", walk, 3.97f, Vec3(1, 0, 0)},
        {"at the end", walk, 4.0f, Vec3(0, 0, 1)},
        {"climbing",
         {{0.0f, Vec3(0, 0, 0)}, {2.0f, Vec3(0, 0, -2)}, {4.0f, Vec3(0, 2, -4)}},
         3.0f,
         Vec3()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GuyData data = Walker("1", "", c.keys);
        Guy guy(&data);
        guy.Update(c.time, 0.016f);
        const Vec3 p = guy.GetPath().Evaluate(c.time);
        Vec3 d = c.direction;
        if (d == Vec3()) d = (guy.GetPath().Evaluate(c.time + 0.05f) - p).GetNormalized();
        const Mat4 expected = Mat4::Translation(p) * Mat4::LookDirection(-d, Vec3(0, 1, 0)) *
                              Mat4::Scale(0.02f, 0.02f, 0.02f);
        const Mat4& world = guy.GetSkinnedMesh()->GetBoneMatrices()[0];
        ExpectMatrixNear(world, expected, 1e-6f);
        // The figure, modelled facing −z, faces d; +y stays up; 2 % of its size.
        const Vec3 facing = world.TransformPoint(Vec3(0, 0, -1)) - world.TransformPoint(Vec3());
        EXPECT_NEAR((facing - d * 0.02f).Length(), 0.0f, 1e-6f);
        const Vec3 up = world.TransformPoint(Vec3(0, 50, 0)) - world.TransformPoint(Vec3());
        EXPECT_NEAR((up - Vec3(0, 1, 0)).Length(), 0.0f, 1e-5f);
    }
}

TEST_F(GuyTest, WalkCycleLoopsOnTheMusicTime) {
    GuyData data = Walker("1");
    Guy guy(&data);
    Animation reference(g_contentManager->GetAnimation("walk"));
    Mat4 leg;
    reference.FindNode(2)->SetTarget(&leg, nullptr);
    ASSERT_FLOAT_EQ(reference.GetDuration(), kWalkDuration);

    for (float time : {0.3f, 1.3f, 2.75f, 3.999f}) {
        SCOPED_TRACE(time);
        guy.Update(time, 0.016f);
        const Mat4 world = guy.GetSkinnedMesh()->GetBoneMatrices()[0];
        const Mat4 guyLeg = guy.GetSkinnedMesh()->GetBoneMatrices()[1];
        reference.Update(std::fmod(time, kWalkDuration), world, 0.0f);
        ExpectMatrixNear(guyLeg, leg, 1e-5f);
        // Unlooped, the cycle would have stopped at its last pose.
        if (time > kWalkDuration) {
            reference.Update(time, world, 0.0f);
            EXPECT_GT(MaxDifference(guyLeg, leg), 1e-3f);
        }
    }
}

// A walk whose keys all lie at 0 s has no cycle to loop: it holds its one pose.
TEST(Guy, WalkWithoutLengthHoldsItsPose) {
    GlTestContext gl;
    ContentOptions options;
    options.walkWithoutLength = true;
    ObjectContent content(options);
    ASSERT_EQ(g_contentManager->GetAnimation("walk")->GetDuration(), 0.0f);
    GuyData data = Walker("1");
    Guy guy(&data);
    for (float time : {0.0f, 1.3f}) {
        EXPECT_EQ(CaptureFatal([&] { guy.Update(time, 0.016f); }), "") << time;
        const Mat4& leg = guy.GetSkinnedMesh()->GetBoneMatrices()[1];
        for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(leg[i])) << time;
    }
}

TEST_F(GuyTest, RibbonWeightReachesTheProgramClamped) {
    GuyData data = Walker("1", "1");
    Guy guy(&data);

    SetRibbonWeightUniform(0.7f);
    guy.Update(1.0f, 0.016f);
    EXPECT_EQ(RibbonWeightUniform(), 0.0f) << "no ribbon";

    RibbonData plain = Morph();
    Ribbon unweighted("Scene", &plain);
    guy.SetRibbon(&unweighted);
    SetRibbonWeightUniform(0.7f);
    guy.Update(1.0f, 0.016f);
    EXPECT_EQ(RibbonWeightUniform(), 0.0f) << "no weight keys";

    RibbonData weighted = Morph({{0.0f, -0.5f}, {1.0f, 0.5f}, {2.0f, 1.8f}});
    Ribbon ribbon("Scene", &weighted);
    guy.SetRibbon(&ribbon);
    EXPECT_EQ(guy.GetRibbon(), &ribbon);
    EXPECT_EQ(guy.GetRibbonMesh()->GetRibbon(), static_cast<const IRibbonTriangleList*>(&ribbon));
    for (const auto& c : {std::pair<float, float>{0.0f, 0.0f}, {1.0f, 0.5f}, {2.0f, 1.0f}}) {
        guy.Update(c.first, 0.016f);
        EXPECT_FLOAT_EQ(RibbonWeightUniform(), c.second) << "at " << c.first;
    }

    // A plain guy leaves the program alone.
    GuyData other = Walker("2");
    Guy walker(&other);
    walker.SetRibbon(&ribbon);
    SetRibbonWeightUniform(0.7f);
    walker.Update(1.0f, 0.016f);
    EXPECT_FLOAT_EQ(RibbonWeightUniform(), 0.7f);
}

// The figure's triangles go where the destination's triangles fly; with a list shorter than
// the figure, the rest keep their last transform.
TEST_F(GuyTest, RibbonMeshFollowsTheRibbonsTriangles) {
    GuyData data = Walker("1", "1");
    Guy guy(&data);
    RibbonData morph = Morph();
    Ribbon ribbon("Scene", &morph);
    guy.SetRibbon(&ribbon);
    guy.Update(3.5f, 0.016f);
    const SkinnedRibbonMesh& mesh = *guy.GetRibbonMesh();
    for (int t : {0, kFigureTriangles - 1}) {
        SCOPED_TRACE(t);
        const RibbonTriangle& flying = ribbon.GetDestinationRibbon()->GetRibbonTriangle(t);
        const float s = flying.m_scale->Evaluate(3.5f);
        ExpectMatrixNear(mesh.GetTransformBuffer().GetVertexMatrix(3 * t),
                         Mat4::Translation(flying.m_path->Evaluate(3.5f)) * Mat4::Scale(s, s, s) *
                             mesh.GetTriangleBaseMatrix(t),
                         1e-5f);
    }

    RibbonData pair;
    pair.Source = std::make_unique<SourceData>();
    pair.Source->MeshName = "pair";
    pair.Source->Material = Look(true, false);
    pair.Path = Flight();
    Ribbon shortRibbon("Scene", &pair);
    GuyData second = Walker("2", "1");
    Guy rider(&second);
    rider.SetRibbon(&shortRibbon);
    rider.Update(3.5f, 0.016f);
    const VertexDataBufferTransform& transforms = rider.GetRibbonMesh()->GetTransformBuffer();
    EXPECT_GT(MaxDifference(transforms.GetVertexMatrix(3), Mat4()), 1e-3f);
    for (int t : {2, kFigureTriangles - 1})
        EXPECT_EQ(MaxDifference(transforms.GetVertexMatrix(3 * t), Mat4()), 0.0f) << t;
}

TEST_F(GuyTest, FatalChecksNameTheirCondition) {
    struct Case {
        const char* condition;
        std::function<void(GuyData*)> make;
        std::function<void(ContentOptions*)> leaveOut;
    };
    const Case cases[] = {
        {"guyData->Material != NULL", [](GuyData* d) { d->Material.reset(); }, nullptr},
        {"guyData->Path != NULL", [](GuyData* d) { d->Path.reset(); }, nullptr},
        {"meshData", nullptr, [](ContentOptions* o) { o->figure = false; }},
        {"walkAnimationData != NULL", nullptr, [](ContentOptions* o) { o->walk = false; }},
        {"jumpAnimationData != NULL", nullptr, [](ContentOptions* o) { o->jump = false; }},
        {"shader != NULL", nullptr,
         [](ContentOptions* o) {
             o->programs = {"SpecularBlur", "SkinnedRibbon"};
         }},
        {"shader != NULL", [](GuyData* d) { d->RibbonName = "1"; },
         [](ContentOptions* o) {
             o->programs = {"SpecularBlur", "Skinned"};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition);
        std::unique_ptr<ObjectContent> partial;
        if (c.leaveOut) {
            ContentOptions options;
            c.leaveOut(&options);
            partial = std::make_unique<ObjectContent>(options);
        }
        GuyData data = Walker("1");
        if (c.make) c.make(&data);
        EXPECT_NE(CaptureFatal([&] {
                      Guy guy(&data);
                  }).find(std::string("Assertion failed: ") + c.condition + ","),
                  std::string::npos);
    }
    ObjectContent full;
    EXPECT_NE(CaptureFatal([] { Guy guy(nullptr); }).find("Assertion failed: guyData != NULL,"),
              std::string::npos);

    // A path without keys is caught by the path itself, at the first update.
    GuyData still = Walker("1", "", {});
    Guy guy(&still);
    EXPECT_NE(CaptureFatal([&] {
                  guy.Update(0.0f, 0.016f);
              }).find("Assertion failed: m_keyframesVector.size() > 0,"),
              std::string::npos);
}

}  // namespace
