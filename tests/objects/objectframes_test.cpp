// Rendered frames of the objects through the graphics engine with the show's programs: a ribbon
// before, during and after its flight, the guy walking, and a ribbon guy given over to its
// ribbon. Each frame is also written as a PNG beside the test for a person to look at.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "objectfixtures.h"
#include "objects/guy.h"
#include "objects/ribbon.h"
#include "render/drawingroutines.h"
#include "render/glsetup.h"
#include "render/graphicsengine.h"
#include "render/renderable.h"
#include "render/renderfixtures.h"
#include "support/glcontext.h"

namespace {

using sm::Vec3;

constexpr int kWidth = 640;
constexpr int kHeight = 360;
constexpr int kLit = 60;  // brightness (r + g + b) that counts as drawn

struct Region {
    int x0, y0, x1, y1;  // pixels, from the bottom left, x1 and y1 excluded
};

int LitIn(const Pixels& frame, const Region& r) {
    int count = 0;
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x) count += frame.Brightness(x, y) > kLit;
    return count;
}

// The mean column of the lit pixels, −1 when none.
float LitCentreX(const Pixels& frame) {
    double sum = 0.0;
    int count = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.Brightness(x, y) > kLit) {
                sum += x;
                ++count;
            }
    return count ? static_cast<float>(sum / count) : -1.0f;
}

// Lit pixels whose channel more exceeds channel less clearly.
int Tinted(const Pixels& frame, int more, int less) {
    int count = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            count +=
                frame.Brightness(x, y) > kLit && frame.At(x, y)[more] > frame.At(x, y)[less] + 40;
    return count;
}

const Region kWhole{0, 0, kWidth, kHeight};
// Around (0, 3, 0), high between the two ends of the flight, away from both meshes.
const Region kMidAir{290, 240, 350, 320};

class ObjectFrames : public testing::Test {
protected:
    ObjectFrames() {
        SetDefaultGlState(gl.Width(), gl.Height());
        engine.Initialize();
        DrawingRoutines::SetViewProjMatrix(FrameCamera(kWidth, kHeight));
    }

    Pixels Render(const std::vector<Renderable*>& list, const std::string& png) {
        engine.SetRenderables(list);
        engine.Render();
        ExpectNoGlError("render");
        Pixels frame = ReadWindow(kWidth, kHeight);
        SavePng(frame, png);
        return frame;
    }

    GlTestContext gl;
    ObjectContent content{[] {
        ContentOptions options;
        options.programs = FramePrograms();
        return options;
    }()};
    GraphicsEngine engine{kWidth, kHeight};
};

std::unique_ptr<MaterialData> Bright(const Vec3& colour) {
    auto look = Look(true, true);
    look->Diffuse = colour;
    look->Opacity = 0.7f;
    look->SolidGlowMultiplier = 0.6f;
    look->WireGlowMultiplier = 1.2f;
    return look;
}

RibbonData Morph() {
    RibbonData data;
    data.Source = std::make_unique<SourceData>();
    data.Source->MeshName = "src";
    data.Source->Material = Bright(Vec3(0.2f, 0.8f, 1.0f));
    data.Source->Stay = true;
    data.Destination = std::make_unique<DestinationData>();
    data.Destination->MeshName = "scene.morph.dst.1";
    data.Destination->Material = Bright(Vec3(1.0f, 0.4f, 0.9f));
    data.Destination->Stay = true;
    data.Path = Flight();
    return data;
}

TEST_F(ObjectFrames, RibbonLeavesItsSourceFliesAndSettlesIntoItsDestination) {
    RibbonData data = Morph();
    Ribbon ribbon("Scene", &data);

    ribbon.Update(0.5f, 0.016f);
    const Pixels before = Render(ribbon.GetRenderables(), "ribbon_before.png");
    ribbon.Update(2.2f, 0.016f);
    const Pixels flying = Render(ribbon.GetRenderables(), "ribbon_midflight.png");
    ribbon.Update(7.0f, 0.016f);
    const Pixels after = Render(ribbon.GetRenderables(), "ribbon_after.png");

    EXPECT_GT(LitIn(before, kWhole), 3000);
    EXPECT_LT(LitCentreX(before), 270.0f) << "the still source, on the left";
    EXPECT_EQ(LitIn(before, kMidAir), 0);

    // Early in a morph the source's cyan triangles dwindle on their way while the
    // destination's pink ones already fly, high between the two meshes.
    EXPECT_GT(LitIn(flying, kMidAir), 150) << "triangles in the air";
    EXPECT_GT(LitCentreX(flying), 180.0f);
    EXPECT_LT(LitCentreX(flying), 370.0f);
    EXPECT_GT(Tinted(flying, 1, 0), 20) << "source triangles";
    EXPECT_GT(Tinted(flying, 0, 1), 200) << "destination triangles";

    EXPECT_GT(LitIn(after, kWhole), 3000);
    EXPECT_GT(LitCentreX(after), 390.0f) << "the still destination, on the right";
    EXPECT_EQ(LitIn(after, kMidAir), 0);
}

GuyData Walker(const std::string& ribbonName, const Vec3& from, const Vec3& to, float end) {
    GuyData data;
    data.Id = "1";
    data.RibbonName = ribbonName;
    data.Material = Bright(Vec3(1.0f, 0.7f, 0.2f));
    data.Path = Path({{0.0f, from}, {end, to}});
    return data;
}

TEST_F(ObjectFrames, GuyWalksAlongItsPath) {
    GuyData data = Walker("", Vec3(-3, 0, 0), Vec3(3, 0, 0), 4.0f);
    Guy guy(&data);

    guy.Update(1.0f, 0.016f);
    const Pixels left = Render(guy.GetRenderables(), "guy_walk_1s.png");
    guy.Update(3.0f, 0.016f);
    const Pixels right = Render(guy.GetRenderables(), "guy_walk_3s.png");
    guy.Update(4.5f, 0.016f);
    const Pixels gone = Render(guy.GetRenderables(), "guy_walk_gone.png");

    // About 1.9 tall: a figure of some hundreds of pixels, 1.5 left and right of the middle.
    EXPECT_GT(LitIn(left, kWhole), 1500);
    EXPECT_LT(LitIn(left, kWhole), 20000);
    EXPECT_NEAR(LitCentreX(left), 320.0f - 1.5f * 65.0f, 25.0f);
    EXPECT_NEAR(LitCentreX(right), 320.0f + 1.5f * 65.0f, 25.0f);
    EXPECT_EQ(LitIn(gone, kWhole), 0) << "past the end of its path";
}

// At weight 1 the figure's triangles sit where the ribbon's destination triangles landed.
TEST_F(ObjectFrames, RibbonGuyGivesItselfOverToItsRibbon) {
    RibbonData weighted = Morph();
    for (float time : {0.0f, 10.0f}) {
        SceneElement::FloatKey key;
        key.time = time;
        key.value = 1.0f;
        weighted.Path->RibbonWeights.push_back(key);
    }
    Ribbon ribbon("Scene", &weighted);
    RibbonData plain = Morph();
    Ribbon unweighted("Scene", &plain);

    GuyData data = Walker("1", Vec3(-3, 0, 0), Vec3(-2, 0, 0), 10.0f);
    Guy guy(&data);
    guy.SetRibbon(&unweighted);
    guy.Update(7.0f, 0.016f);
    const Pixels figure = Render(guy.GetRenderables(), "guy_ribbon_weight0.png");
    guy.SetRibbon(&ribbon);
    guy.Update(7.0f, 0.016f);
    const Pixels dissolved = Render(guy.GetRenderables(), "guy_ribbon_weight1.png");

    EXPECT_GT(LitIn(figure, kWhole), 1500);
    EXPECT_LT(LitCentreX(figure), 220.0f) << "the figure, on the left";
    EXPECT_GT(LitIn(dissolved, kWhole), 500);
    EXPECT_GT(LitCentreX(dissolved), 390.0f) << "the ribbon's ball, on the right";
    EXPECT_EQ(LitIn(dissolved, Region{100, 0, 260, 150}), 0) << "nothing left of the figure";
}

}  // namespace
