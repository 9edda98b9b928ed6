// The ribbon game object on real content: its parts and their order, which builder each kind
// of ribbon gets, the random draws in order, the visibility window with its static copies,
// "dont_render", the weight curve, the triangle list it offers, and its fatal checks.
#include "objects/ribbon.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "gpu/shader.h"
#include "gpu/statictriangledmesh.h"
#include "gpu/uniquetriangledmesh.h"
#include "objectfixtures.h"
#include "objects/trianglesribbon.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/renderable.h"
#include "scene/trianglemodificator.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

using sm::Mat4;
using sm::Vec3;

std::unique_ptr<SourceData> Source(const std::string& mesh, bool solid = true, bool wire = true) {
    auto source = std::make_unique<SourceData>();
    source->MeshName = mesh;
    source->Material = Look(solid, wire);
    return source;
}

std::unique_ptr<DestinationData> Destination(const std::string& mesh, bool solid = true,
                                             bool wire = true) {
    auto destination = std::make_unique<DestinationData>();
    destination->MeshName = mesh;
    destination->Material = Look(solid, wire);
    return destination;
}

template <typename Still>
std::unique_ptr<Still> StillCopy(const std::string& mesh, bool solid = true, bool wire = true) {
    auto still = std::make_unique<Still>();
    still->MeshName = mesh;
    still->Material = Look(solid, wire);
    return still;
}

// One character per part, in part order: '-' absent, 'x' visible, '.' hidden.
std::string Shown(const Ribbon& ribbon) {
    std::string shown;
    for (int part = 0; part < Ribbon::kPartsCount; ++part) {
        const Renderable* r = ribbon.GetRenderable(static_cast<Ribbon::Part>(part));
        shown += r ? (r->IsVisible() ? 'x' : '.') : '-';
    }
    return shown;
}

class RibbonTest : public testing::Test {
protected:
    GlTestContext gl;
    ObjectContent content;
};

TEST_F(RibbonTest, EightPartsInOrderWithTheirMeshesMaterialsAndLooks) {
    RibbonData data;
    data.Source = Source("src");
    data.Source->Material->Diffuse = Vec3(0.1f, 0.2f, 0.3f);
    data.Source->Material->Opacity = 0.4f;
    data.Source->Material->SolidGlowPower = 1.7f;
    data.Destination = Destination("scene.morph.dst.1");
    data.StaticSource = StillCopy<StaticSourceData>("stat");
    data.StaticSource->Material->Diffuse = Vec3(0.9f, 0.8f, 0.7f);
    data.StaticSource->Material->Opacity = 0.6f;
    data.StaticSource->Material->SolidGlowPower = 0.3f;
    data.StaticDestination = StillCopy<StaticDestinationData>("pair");
    for (MaterialData* look :
         {data.Source->Material.get(), data.Destination->Material.get(),
          data.StaticSource->Material.get(), data.StaticDestination->Material.get()}) {
        look->SolidGlowMultiplier = 1.5f;
        look->WireGlowMultiplier = 2.5f;
    }
    data.Path = Flight();
    Ribbon ribbon("Scene", &data);

    EXPECT_EQ(ribbon.GetName(), "scene.morph.dst.1");
    ASSERT_EQ(ribbon.GetRenderables().size(), 8u);
    const BaseMesh* meshes[] = {ribbon.GetSourceRibbon()->GetMesh(),
                                ribbon.GetDestinationRibbon()->GetMesh(),
                                ribbon.GetStaticSourceMesh(), ribbon.GetStaticDestinationMesh()};
    Shader* flying = g_contentManager->GetShader("SpecularBlur");
    Shader* still = g_contentManager->GetShader("StaticSpecularBlur");
    for (int part = 0; part < Ribbon::kPartsCount; ++part) {
        SCOPED_TRACE(part);
        const Renderable* r = ribbon.GetRenderables()[part];
        const bool wire = part % 2 == 1;
        EXPECT_EQ(r, ribbon.GetRenderable(static_cast<Ribbon::Part>(part)));
        EXPECT_EQ(r->GetMesh(), meshes[part / 2]);
        EXPECT_EQ(r->GetOrder(), 1);
        auto* material = dynamic_cast<BaseGlowTransparencySpecullar*>(r->GetMaterial());
        ASSERT_NE(material, nullptr);
        EXPECT_EQ(material, ribbon.GetMaterial(static_cast<Ribbon::Part>(part)));
        EXPECT_EQ(material->GetPolygonMode(), wire ? GLenum(GL_LINE) : GLenum(GL_FILL));
        EXPECT_FLOAT_EQ(material->GetGlowMultiplier(), wire ? 2.5f : 1.5f);
        if (part < 4) {
            EXPECT_NE(dynamic_cast<GlowTransparencySpecullar*>(material), nullptr);
            EXPECT_EQ(material->GetShader(), flying);
        } else {
            EXPECT_NE(dynamic_cast<StaticGlowTransparencySpecullar*>(material), nullptr);
            EXPECT_EQ(material->GetShader(), still);
        }
    }

    // Colour (diffuse, opacity) and glow power on every triangle; only the source blinks.
    const UniqueTriangledMesh& source = *ribbon.GetSourceRibbon()->GetMesh();
    EXPECT_EQ(source.GetTrianglesCount(), kSrcTriangles);
    EXPECT_EQ(ribbon.GetDestinationRibbon()->GetTrianglesCount(), kDstTriangles);
    for (int t : {0, kSrcTriangles - 1}) {
        const sm::Vec4& colour = source.GetTriangleColor(t);
        EXPECT_FLOAT_EQ(colour.x, 0.1f);
        EXPECT_FLOAT_EQ(colour.z, 0.3f);
        EXPECT_FLOAT_EQ(colour.w, 0.4f);
        EXPECT_FLOAT_EQ(source.GetTriangleGlowPower(t), 1.7f);
    }
    const StaticTriangledMesh& stat = *ribbon.GetStaticSourceMesh();
    EXPECT_EQ(stat.GetTrianglesCount(), 12);
    EXPECT_FLOAT_EQ(stat.GetTriangleColor(11).x, 0.9f);
    EXPECT_FLOAT_EQ(stat.GetTriangleColor(11).w, 0.6f);
    EXPECT_FLOAT_EQ(stat.GetTriangleGlowPower(11), 0.3f);
    EXPECT_EQ(ribbon.GetSourceRibbon()->GetModificator(), BlinkAtStartAndEnd::GetInstance());
    EXPECT_EQ(ribbon.GetDestinationRibbon()->GetModificator(), nullptr);
    EXPECT_FLOAT_EQ(ribbon.GetSourceRibbon()->GetTriangleScale(), 0.5f);
}

TEST_F(RibbonTest, PartsThatTheLooksLeaveOutAreNotMade) {
    RibbonData data;
    data.Source = Source("src", false, true);
    data.Source->Stay = true;
    data.Destination = Destination("scene.morph.dst.1", true, false);
    data.Path = Flight();
    Ribbon ribbon("Scene", &data);
    EXPECT_EQ(Shown(ribbon), "-xx--x--");
    const std::vector<Renderable*> expected = {ribbon.GetRenderable(Ribbon::kSourceWire),
                                               ribbon.GetRenderable(Ribbon::kDestinationSolid),
                                               ribbon.GetRenderable(Ribbon::kStaticSourceWire)};
    EXPECT_EQ(ribbon.GetRenderables(), expected);
    EXPECT_EQ(ribbon.GetStaticDestinationMesh(), nullptr);
}

// Each kind of ribbon shows its builder in the shape of its triangles' scale curves.
TEST_F(RibbonTest, EachKindOfRibbonFliesWithItsOwnBuilder) {
    struct Case {
        const char* kind;
        bool source, destination, destroy;
        int sourceScaleKeys;
        float sourceLastScale;
        int destinationScaleKeys;
        float endTime;
    };
    const Case cases[] = {
        {"flies away", true, false, false, 2, 0.5f, 0, 6.0f},
        {"assembles", false, true, false, 0, 0.0f, 5, 6.0f},
        {"morphs", true, true, false, 7, 0.0f, 7, 6.0f},
        {"shatters", true, false, true, 4, 0.0f, 0, 60.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        RibbonData data;
        if (c.source) data.Source = Source("src");
        if (c.source) data.Source->Destroy = c.destroy;
        if (c.destination) data.Destination = Destination("scene.morph.dst.1");
        data.Path = Flight();
        Ribbon ribbon("Scene", &data);
        EXPECT_FLOAT_EQ(ribbon.GetStartTime(), 1.0f);
        EXPECT_FLOAT_EQ(ribbon.GetEndTime(), c.endTime);
        ASSERT_EQ(ribbon.GetSourceRibbon() != nullptr, c.source);
        ASSERT_EQ(ribbon.GetDestinationRibbon() != nullptr, c.destination);
        if (c.source) {
            const RibbonTriangle& t = ribbon.GetSourceRibbon()->GetRibbonTriangle(0);
            EXPECT_EQ(t.m_scale->GetKeysCount(), c.sourceScaleKeys);
            EXPECT_FLOAT_EQ(t.m_scale->GetKey(c.sourceScaleKeys - 1).value, c.sourceLastScale);
            const float step = t.m_path->GetKey(1).time - t.m_path->GetKey(0).time;
            if (c.destroy) {
                EXPECT_NEAR(step, 0.1f, 1e-5f);
            }
        }
        if (c.destination) {
            const TrianglesRibbon& d = *ribbon.GetDestinationRibbon();
            for (int i : {0, kDstTriangles - 1}) {
                const RibbonTriangle& t = d.GetRibbonTriangle(i);
                EXPECT_EQ(t.m_scale->GetKeysCount(), c.destinationScaleKeys);
                EXPECT_FLOAT_EQ(t.m_scale->GetKey(c.destinationScaleKeys - 1).value, 1.0f);
                // Every destination flight lands on its triangle's centroid.
                const Vec3 end = t.m_path->GetKey(t.m_path->GetKeysCount() - 1).value;
                EXPECT_NEAR((end - d.GetMesh()->GetTriangleCenter(i)).Length(), 0.0f, 1e-6f);
            }
        }
    }
}

// The generator's sequence from its initial state (the case runs in a process of its own).
class Sequence {
public:
    float Range(float min, float max) {
        m_state = m_state * 214013u + 2531011u;
        const int value = static_cast<int>((m_state >> 16) & 0x7FFFu);
        return static_cast<float>(value) / 32767.0f * (max - min) + min;
    }
    Vec3 UnitVector() {
        const float x = Range(-1, 1), y = Range(-1, 1), z = Range(-1, 1);
        return Vec3(x, y, z).GetNormalized();
    }
    void Skip(int draws) {
        for (int i = 0; i < draws; ++i) Range(0, 1);
    }

private:
    std::uint32_t m_state = 1;
};

// A morph of two triangles into two, over four keys: per source triangle the builder draws
// the stretch, the lift and the scale's start (3), then the spin axis (3) and speed (1); per
// destination triangle the stretch, two offset keys (8), the approach and the scale's start
// (15 in all). The source half gets half the delay, the destination all of it.
TEST_F(RibbonTest, RandomDrawsComeTriangleByTriangleSourceFirst) {
    RibbonData data;
    data.Source = Source("pair");
    data.Destination = Destination("pair2");
    data.Path = Flight();
    data.Path->Delay = 2.0f;
    Ribbon ribbon("Scene", &data);
    const TrianglesRibbon& source = *ribbon.GetSourceRibbon();
    const TrianglesRibbon& destination = *ribbon.GetDestinationRibbon();

    Sequence sequence;
    // Source triangle 0: the stretch over key h − 1 = 1 (2 s) with half the delay.
    const float stretch = sequence.Range(1.0f, (2.0f + 1.0f) / 2.0f);
    EXPECT_FLOAT_EQ(source.GetRibbonTriangle(0).m_path->GetStartTime(), 1.0f * stretch);
    EXPECT_FLOAT_EQ(source.GetRibbonTriangle(0).m_path->GetEndTime(), 2.0f * stretch);
    sequence.Skip(2);
    const Vec3 axis = sequence.UnitVector();
    EXPECT_FLOAT_EQ(source.GetRibbonTriangle(0).m_spinAxis.x, axis.x);
    EXPECT_FLOAT_EQ(source.GetRibbonTriangle(0).m_spinAxis.z, axis.z);
    EXPECT_FLOAT_EQ(source.GetRibbonTriangle(0).m_spinSpeed, sequence.Range(1.0f, 10.0f));
    sequence.Skip(6);
    EXPECT_FLOAT_EQ(source.GetRibbonTriangle(1).m_spinSpeed, sequence.Range(1.0f, 10.0f));

    // Destination triangle 0: the stretch over the last key (5 s) with the whole delay.
    const float arrival = sequence.Range(1.0f, (5.0f + 2.0f) / 5.0f);
    EXPECT_FLOAT_EQ(destination.GetRibbonTriangle(0).m_path->GetEndTime(), 5.0f * arrival);
    sequence.Skip(10);
    const Vec3 destinationAxis = sequence.UnitVector();
    EXPECT_FLOAT_EQ(destination.GetRibbonTriangle(0).m_spinAxis.y, destinationAxis.y);
    EXPECT_FLOAT_EQ(destination.GetRibbonTriangle(0).m_spinSpeed, sequence.Range(1.0f, 10.0f));
    sequence.Skip(14);
    EXPECT_FLOAT_EQ(destination.GetRibbonTriangle(1).m_spinSpeed, sequence.Range(1.0f, 10.0f));
}

TEST_F(RibbonTest, WindowShowsFlightInsideAndStillCopiesOutside) {
    struct Case {
        const char* kind;
        std::function<void(RibbonData*)> make;
        // Shown(ribbon) at 0.5 s, 1 s (the start), 3 s, 6 s (the end) and 6.5 s.
        const char* shown[5];
    };
    const Case cases[] = {
        {"source that stays",
         [](RibbonData* d) {
             d->Source = Source("src");
             d->Source->Stay = true;
         },
         {"..--xx--", "xx--..--", "xx--..--", "xx--..--", "..--..--"}},
        {"destination that stays",
         [](RibbonData* d) {
             d->Destination = Destination("scene.morph.dst.1");
             d->Destination->Stay = true;
         },
         {"--..--..", "--xx--..", "--xx--..", "--xx--..", "--..--xx"}},
        {"morph with both copies",
         [](RibbonData* d) {
             d->Source = Source("src", true, false);
             d->Destination = Destination("scene.morph.dst.1", false, true);
             d->StaticSource = StillCopy<StaticSourceData>("stat");
             d->StaticDestination = StillCopy<StaticDestinationData>("pair");
         },
         {".--.xx..", "x--x....", "x--x....", "x--x....", ".--...xx"}},
        // A still copy is shown only when its look has the solid pass.
        {"wireframe copies",
         [](RibbonData* d) {
             d->Source = Source("src");
             d->StaticSource = StillCopy<StaticSourceData>("stat", false, true);
             d->StaticDestination = StillCopy<StaticDestinationData>("pair", false, true);
         },
         {"..---.-.", "xx---.-.", "xx---.-.", "xx---.-.", "..---.-."}},
    };
    const float times[] = {0.5f, 1.0f, 3.0f, 6.0f, 6.5f};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        RibbonData data;
        c.make(&data);
        data.Path = Flight();
        Ribbon ribbon("Scene", &data);
        for (int i = 0; i < 5; ++i) {
            ribbon.Update(times[i], 0.016f);
            EXPECT_EQ(Shown(ribbon), c.shown[i]) << "at " << times[i];
        }
    }
}

// The flying triangles move only inside the window, at its ends included, and keep their last
// place outside it. At the start every source triangle is still at full size on its centroid.
TEST_F(RibbonTest, TrianglesMoveOnlyInsideTheWindow) {
    RibbonData data;
    data.Source = Source("src");
    data.Path = Flight();
    Ribbon ribbon("Scene", &data);
    const UniqueTriangledMesh& mesh = *ribbon.GetSourceRibbon()->GetMesh();
    const int t = kSrcTriangles - 1;
    const auto transform = [&] { return mesh.GetTriangleTransform(t); };
    const auto same = [](const Mat4& a, const Mat4& b) {
        for (int i = 0; i < 16; ++i)
            if (a[i] != b[i]) return false;
        return true;
    };

    ribbon.Update(0.9f, 0.016f);
    EXPECT_TRUE(same(transform(), Mat4())) << "not placed before the window";
    ribbon.Update(1.0f, 0.016f);
    EXPECT_TRUE(
        same(transform(), Mat4::Translation(mesh.GetTriangleCenter(t)) * mesh.GetTriangleFrame(t)));
    ribbon.Update(4.0f, 0.016f);
    const Mat4 midway = transform();
    EXPECT_GT((Vec3(midway[12], midway[13], midway[14]) - mesh.GetTriangleCenter(t)).Length(),
              0.5f);
    ribbon.Update(6.0f, 0.016f);
    const Mat4 last = transform();
    EXPECT_FALSE(same(last, midway));
    ribbon.Update(6.01f, 0.016f);
    EXPECT_TRUE(same(transform(), last));
}

TEST_F(RibbonTest, DontRenderDropsTheFlightButKeepsTheStillCopies) {
    RibbonData data;
    data.Source = Source("src");
    data.Source->Stay = true;
    data.Destination = Destination("scene.morph.dst.1");
    data.Destination->Stay = true;
    data.Path = Flight();
    data.Path->DontRender = true;
    Ribbon ribbon("Scene", &data);
    EXPECT_EQ(ribbon.GetRenderables().size(), 4u);
    ribbon.Update(0.5f, 0.016f);
    EXPECT_EQ(Shown(ribbon), "----xx..");
    ribbon.Update(3.0f, 0.016f);
    EXPECT_EQ(Shown(ribbon), "----....");
    ribbon.Update(7.0f, 0.016f);
    EXPECT_EQ(Shown(ribbon), "----..xx");
    // The triangles still fly, unseen, for whoever rides the ribbon.
    ASSERT_NE(ribbon.GetDestinationRibbon(), nullptr);
    EXPECT_EQ(ribbon.GetRibbonTrianglesCount(), kDstTriangles);
}

TEST_F(RibbonTest, DestroyingRibbonLastsTenTimesItsEnd) {
    RibbonData data;
    data.Source = Source("src");
    data.Source->Destroy = true;
    data.Path = Flight();
    Ribbon ribbon("Scene", &data);
    ribbon.Update(59.9f, 0.016f);
    EXPECT_EQ(Shown(ribbon), "xx------");
    ribbon.Update(60.1f, 0.016f);
    EXPECT_EQ(Shown(ribbon), "..------");
}

TEST_F(RibbonTest, WeightsAndTheTriangleListItOffers) {
    RibbonData morph;
    morph.Source = Source("src");
    morph.Destination = Destination("scene.morph.dst.1");
    morph.Path = Flight();
    for (const auto& key : {std::pair<float, float>{0, 0}, {2, 1.5f}, {3, -1}}) {
        SceneElement::FloatKey weight;
        weight.time = key.first;
        weight.value = key.second;
        morph.Path->RibbonWeights.push_back(weight);
    }
    Ribbon both("Scene", &morph);
    ASSERT_NE(both.GetWeights(), nullptr);
    EXPECT_EQ(both.GetWeights()->GetKeysCount(), 3);
    EXPECT_FLOAT_EQ(both.GetWeights()->Evaluate(2.0f), 1.5f);
    EXPECT_NE(both.GetWeights()->GetKey(1).outTangent, 0.0f) << "tangents computed";
    EXPECT_EQ(both.GetRibbonTrianglesCount(), kDstTriangles);
    EXPECT_EQ(&both.GetRibbonTriangle(5), &both.GetDestinationRibbon()->GetRibbonTriangle(5));

    RibbonData away;
    away.Source = Source("src");
    away.Path = Flight();
    Ribbon source("Scene", &away);
    EXPECT_EQ(source.GetWeights(), nullptr);
    EXPECT_EQ(source.GetName(), "");
    EXPECT_EQ(source.GetRibbonTrianglesCount(), kSrcTriangles);
    EXPECT_EQ(&source.GetRibbonTriangle(0), &source.GetSourceRibbon()->GetRibbonTriangle(0));

    RibbonData still;
    still.StaticSource = StillCopy<StaticSourceData>("stat");
    still.Path = Flight();
    Ribbon none("Scene", &still);
    EXPECT_EQ(none.GetRibbonTrianglesCount(), 0);
    EXPECT_NE(CaptureFatal([&] { none.GetRibbonTriangle(0); }), "");
}

TEST_F(RibbonTest, FatalChecksNameTheirCondition) {
    struct Case {
        const char* condition;
        std::function<void(RibbonData*)> make;
    };
    const Case cases[] = {
        {"ribbonData->Path != NULL", [](RibbonData* d) { d->Path.reset(); }},
        {"ribbonData->Path->Keys.size() > 0", [](RibbonData* d) { d->Path->Keys.clear(); }},
        {"model != NULL", nullptr},
        {"ribbonData->Source->Material != NULL",
         [](RibbonData* d) {
             d->Source = Source("src");
             d->Source->Material.reset();
         }},
        {"ribbonData->Source->Material->UseSolid || ribbonData->Source->Material->UseWire",
         [](RibbonData* d) { d->Source = Source("src", false, false); }},
        {"mesh != NULL", [](RibbonData* d) { d->Source = Source("nothing"); }},
        {"ribbonData->Destination->Material != NULL",
         [](RibbonData* d) {
             d->Destination = Destination("pair");
             d->Destination->Material.reset();
         }},
        {"ribbonData->Destination->Material->UseSolid || "
         "ribbonData->Destination->Material->UseWire",
         [](RibbonData* d) { d->Destination = Destination("pair", false, false); }},
        {"mesh != NULL", [](RibbonData* d) { d->Destination = Destination("nothing"); }},
        {"ribbinCurveBuilder != NULL",
         [](RibbonData* d) {
             d->Source = Source("src");
             d->Source->Destroy = true;
             d->Destination = Destination("pair");
         }},
        {"materialData != NULL",
         [](RibbonData* d) {
             d->StaticSource = StillCopy<StaticSourceData>("stat");
             d->StaticSource->Material.reset();
         }},
        {"materialData->UseSolid || materialData->UseWire",
         [](RibbonData* d) {
             d->StaticDestination = StillCopy<StaticDestinationData>("stat", false, false);
         }},
        {"mesh != NULL",
         [](RibbonData* d) {
             d->Destination = Destination("pair");
             d->Destination->Stay = true;
             d->StaticDestination = StillCopy<StaticDestinationData>("nothing");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition);
        RibbonData data;
        data.Path = Flight();
        if (c.make) c.make(&data);
        const std::string model = c.make ? "Scene" : "Elsewhere";
        EXPECT_NE(CaptureFatal([&] {
                      Ribbon ribbon(model, &data);
                  }).find(std::string("Assertion failed: ") + c.condition + ","),
                  std::string::npos);
    }
    EXPECT_NE(CaptureFatal([] {
                  Ribbon ribbon("Scene", nullptr);
              }).find("Assertion failed: ribbonData != NULL,"),
              std::string::npos);

    for (const char* program : {"SpecularBlur", "StaticSpecularBlur"}) {
        ContentOptions options;
        options.programs = {program};
        ObjectContent partial(options);
        RibbonData data;
        data.Path = Flight();
        const std::string missing = std::string(program) == "SpecularBlur"
                                        ? "staticGlowSpecullarShader != NULL"
                                        : "glowSpecullarShader != NULL";
        EXPECT_NE(CaptureFatal([&] {
                      Ribbon ribbon("Scene", &data);
                  }).find("Assertion failed: " + missing + ","),
                  std::string::npos)
            << program;
    }
}

}  // namespace
