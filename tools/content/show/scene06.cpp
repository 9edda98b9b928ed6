// 200 to 240 s: a corridor of rings between pillars. An orb's triangles sweep through the rings;
// two hidden ribbons ("dont_render") show only their still copies: a comet that is here, then
// there, and a beacon that lights up. Last, an arch assembles at the corridor's end.
#include <cmath>
#include <memory>

#include "show/scenes.h"
#include "show/shapes.h"

namespace show {

SceneBuild Scene06() {
    SceneBuild s = NewScene("Scene06");
    const float ringY = 4.6f;
    Mesh floor;
    floor.Append(GridFloor(80, 21, 0.06f, 16), Translate(0, 0, -30));
    s.Add("corridor", kMatGrid, floor);
    Mesh rings, pillars;
    for (int k = 0; k < 6; ++k) {
        rings.Append(Torus(4.2f, 0.15f, 64, 6), Translate(0, ringY, -12.0f * k));
        for (float x : {-7.0f, 7.0f}) pillars.Append(Pillar(0.7f, 8), Translate(x, 0, -6 - 12.0f * k));
    }
    s.Add("rings", kMatGlass, rings);
    s.Add("pillars", kMatGlass, pillars);
    Mesh orb;
    orb.Append(IcoSphere(1.0f, 2), Translate(0, ringY, 10));
    s.Add("orb", kMatGlass, orb);
    const Mesh comet = [] {
        Mesh m;
        m.Append(IcoSphere(0.9f, 1), sm::Mat4::Scale(0.7f, 0.7f, 1.8f));
        return m;
    }();
    Mesh cometA, cometB;
    cometA.Append(comet, Translate(-3, 2, 4));
    cometB.Append(comet, Translate(3, 9, -64) * RotateY(0.6f));
    s.Add("comet.a", kMatCrystal, cometA);
    s.Add("comet.b", kMatCrystal, cometB);
    Mesh beacon;
    beacon.Append(Torus(1.2f, 0.12f, 32, 6), Translate(0, 13.5f, -72));
    beacon.Append(IcoSphere(0.45f, 1), Translate(0, 13.5f, -72));
    s.Add("beacon", kMatLetters, beacon);
    Mesh arch;
    for (float x : {-5.0f, 5.0f}) arch.Append(Pillar(1.0f, 7), Translate(x, 0, -72));
    std::vector<sm::Vec3> curve;
    for (int k = 0; k <= 24; ++k) {
        const float a = kPi * k / 24;
        curve.emplace_back(-5 * std::cos(a), 7 + 5 * std::sin(a), -72);
    }
    arch.Append(Tube(curve, 0.5f, 8));
    s.Add("arch", kMatGlass, arch);

    // The orb's triangles fly down the corridor through every ring.
    s.scene.ribbons.push_back(SourceRibbon(
        "orb", Violet(), true,
        MakePath({{204, {}},
                  {206, {}},
                  {209, {0, ringY, -4}},
                  {212, {0, ringY, -22}},
                  {215, {0, ringY, -40}},
                  {218, {0, ringY, -58}},
                  {221, {0, 10, -90}}},
                 {1.0f, 0.5f, 3.0f})));
    // Hidden: only the comet's still copies show, before and after.
    PathSettings hidden{2.0f, 0.5f, 2.0f, true};
    s.scene.ribbons.push_back(MorphRibbon("comet.a", Ice(), true, "comet.b", Ice(), true,
                                          MakePath({{212, {-3, 2, 4}},
                                                    {213, {-3, 2, 4}},
                                                    {217, {0, 6, -30}},
                                                    {220, {2, 8, -50}},
                                                    {223, {}},
                                                    {226, {}}},
                                                   hidden)));
    // Hidden too: the beacon's dim copy before, its lit copy after.
    RibbonData light = DestinationRibbon(
        "beacon", Cyan(), false,
        MakePath({{226, {0, 30, -72}}, {229, {}}, {232, {}}}, hidden));
    light.StaticSource = std::make_unique<StaticSourceData>();
    light.StaticSource->MeshName = "beacon";
    light.StaticSource->Material = MaterialOf(Cyan().Dim(0.35f));
    light.StaticDestination = std::make_unique<StaticDestinationData>();
    light.StaticDestination->MeshName = "beacon";
    Look lit = Cyan();
    lit.glow = 2.0f;
    lit.opacity = 0.7f;
    light.StaticDestination->Material = MaterialOf(lit);
    s.scene.ribbons.push_back(std::move(light));
    s.scene.ribbons.push_back(DestinationRibbon("arch", Violet(), true,
                                                MakePath({{222, {0, 30, -60}},
                                                          {226, {-6, 14, -66}},
                                                          {229, {4, 9, -70}},
                                                          {232, {}},
                                                          {234, {}}},
                                                         {5.0f, 0.5f, 2.0f})));
    s.scene.statics.push_back(StaticOf("corridor", Cyan().Dim(0.6f), 0));
    s.scene.statics.push_back(StaticOf("rings", Violet(), 2));
    s.scene.statics.push_back(StaticOf("pillars", Violet().Dim(0.7f), 1));

    s.shots.push_back(MakeShot("corridor", 200, 216,
                               Glide({0, 5, 22}, {0, 5.5f, 2}, {0, ringY, 0}, {0, ringY, -30}, 200,
                                     216)));
    s.shots.push_back(MakeShot("beside", 216, 232,
                               Glide({10, 6, -20}, {9, 6, -52}, {0, ringY, -26}, {0, 5, -60}, 216,
                                     232)));
    s.shots.push_back(MakeShot("arch", 232, 240,
                               Glide({0, 7, -40}, {0, 8, -48}, {0, 9, -70}, {0, 10, -72}, 232, 240)));
    return s;
}

}  // namespace show
