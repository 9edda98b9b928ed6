// Statics on real content: their renderables over one mesh, the looks they take from the
// record, independence of two statics of one mesh, and the fatal checks.
#include "objects/static.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gpu/shader.h"
#include "gpu/statictriangledmesh.h"
#include "objectfixtures.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/renderable.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

StaticData Record(const std::string& mesh, bool solid, bool wire, int order = 0) {
    StaticData data;
    data.MeshName = mesh;
    data.Material = Look(solid, wire);
    data.Material->SolidGlowMultiplier = 1.5f;
    data.Material->WireGlowMultiplier = 2.5f;
    data.Order = order;
    return data;
}

class StaticTest : public testing::Test {
protected:
    GlTestContext gl;
    ObjectContent content;
};

TEST_F(StaticTest, BothPassesShareOneMeshSolidFirstUnderTheOrderKey) {
    StaticData data = Record("stat", true, true, 7);
    data.Material->Diffuse = sm::Vec3(0.25f, 0.5f, 0.75f);
    data.Material->Opacity = 0.3f;
    data.Material->SolidGlowPower = 1.9f;
    Static still("Scene", &data);

    EXPECT_EQ(still.GetName(), "stat");
    ASSERT_EQ(still.GetRenderables().size(), 2u);
    ASSERT_NE(still.GetMesh(), nullptr);
    EXPECT_EQ(still.GetMesh()->GetTrianglesCount(), 12);
    Shader* program = g_contentManager->GetShader("StaticSpecularBlur");
    const GLenum modes[] = {GL_FILL, GL_LINE};
    const float multipliers[] = {1.5f, 2.5f};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const Renderable* r = still.GetRenderables()[i];
        EXPECT_EQ(r->GetMesh(), still.GetMesh());
        EXPECT_EQ(r->GetOrder(), 7);
        EXPECT_EQ(r->GetMaterial(), still.GetMaterial(i));
        EXPECT_EQ(still.GetMaterial(i)->GetShader(), program);
        EXPECT_EQ(still.GetMaterial(i)->GetPolygonMode(), modes[i]);
        EXPECT_FLOAT_EQ(still.GetMaterial(i)->GetGlowMultiplier(), multipliers[i]);
        EXPECT_EQ(still.GetMaterial(i)->GetWorldMatrix(), nullptr);
    }
    for (int t : {0, 11}) {
        const sm::Vec4& colour = still.GetMesh()->GetTriangleColor(t);
        EXPECT_FLOAT_EQ(colour.x, 0.25f);
        EXPECT_FLOAT_EQ(colour.y, 0.5f);
        EXPECT_FLOAT_EQ(colour.z, 0.75f);
        EXPECT_FLOAT_EQ(colour.w, 0.3f);
        EXPECT_FLOAT_EQ(still.GetMesh()->GetTriangleGlowPower(t), 1.9f);
    }

    // Its update leaves the renderables alone, whatever the time and whoever changed them.
    still.GetRenderables()[1]->SetVisible(false);
    for (float time : {-5.0f, 0.0f, 1000.0f}) still.Update(time, 0.016f);
    EXPECT_TRUE(still.GetRenderables()[0]->IsVisible());
    EXPECT_FALSE(still.GetRenderables()[1]->IsVisible());
    EXPECT_NE(CaptureFatal([&] { still.GetMaterial(2); }), "");
}

TEST_F(StaticTest, OnePassGivesOneRenderable) {
    struct Case {
        bool solid, wire;
        GLenum mode;
        float multiplier;
    };
    for (const Case& c : {Case{true, false, GL_FILL, 1.5f}, Case{false, true, GL_LINE, 2.5f}}) {
        SCOPED_TRACE(c.solid ? "solid" : "wire");
        StaticData data = Record("pair", c.solid, c.wire);
        Static still("Scene", &data);
        ASSERT_EQ(still.GetRenderables().size(), 1u);
        EXPECT_EQ(still.GetRenderables()[0]->GetOrder(), 0);
        EXPECT_EQ(still.GetMaterial(0)->GetPolygonMode(), c.mode);
        EXPECT_FLOAT_EQ(still.GetMaterial(0)->GetGlowMultiplier(), c.multiplier);
    }
}

TEST_F(StaticTest, TwoStaticsOfOneMeshHaveMeshesOfTheirOwn) {
    StaticData data = Record("src", true, false);
    Static first("Scene", &data);
    Static second("Scene", &data);
    ASSERT_NE(first.GetMesh(), second.GetMesh());
    EXPECT_EQ(first.GetMesh()->GetTrianglesCount(), kSrcTriangles);
    EXPECT_EQ(second.GetMesh()->GetTrianglesCount(), kSrcTriangles);
    EXPECT_NE(first.GetMesh()->GetPositionBufferId(), second.GetMesh()->GetPositionBufferId());
    first.GetMesh()->SetTriangleGlowPower(0, 5.0f);
    EXPECT_FLOAT_EQ(second.GetMesh()->GetTriangleGlowPower(0), 1.0f);
}

TEST_F(StaticTest, FatalChecksNameTheirCondition) {
    struct Case {
        const char* condition;
        std::function<void(StaticData*)> make;
        const char* model;
    };
    const Case cases[] = {
        {"staticData->Material != NULL", [](StaticData* d) { d->Material.reset(); }, "Scene"},
        {"staticData->Material->UseSolid || staticData->Material->UseWire",
         [](StaticData* d) { *d = Record("stat", false, false); }, "Scene"},
        {"model != NULL", [](StaticData*) {}, "Elsewhere"},
        {"sceneMesh != NULL", [](StaticData* d) { d->MeshName = "nothing"; }, "Scene"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition);
        StaticData data = Record("stat", true, true);
        c.make(&data);
        EXPECT_NE(CaptureFatal([&] {
                      Static still(c.model, &data);
                  }).find(std::string("Assertion failed: ") + c.condition + ","),
                  std::string::npos);
    }
    EXPECT_NE(CaptureFatal([] {
                  Static still("Scene", nullptr);
              }).find("Assertion failed: staticData != NULL,"),
              std::string::npos);

    ContentOptions options;
    options.programs = {"SpecularBlur"};
    ObjectContent partial(options);
    StaticData data = Record("stat", true, true);
    EXPECT_NE(CaptureFatal([&] {
                  Static still("Scene", &data);
              }).find("Assertion failed: glowSpecullarShader != NULL,"),
              std::string::npos);
}

}  // namespace
