// 320 s to the end: the finale. The show's shapes come apart in every way a ribbon knows:
// crystals shatter, a sphere flies off, the knot morphs into the end logo and a ring assembles
// around it; then the end screen takes over.
#include <cmath>

#include "show/scenes.h"
#include "show/shapes.h"
#include "show/text.h"

namespace show {

SceneBuild Scene09() {
    SceneBuild s = NewScene("Scene09");
    s.Add("finale.floor", kMatGrid, GridFloor(50, 21, 0.05f, 20));
    Mesh sphere, knot, crystals, logo, ring;
    sphere.Append(IcoSphere(2.0f, 3), Translate(-9, 4, -2));
    knot.Append(TorusKnot(2, 3, 1.8f, 0.7f, 0.4f, 160, 8), Translate(9, 4, -2));
    Lcg random(91);
    for (int i = 0; i < 9; ++i) {
        const float a = 2 * kPi * i / 9 + random.Range(-0.2f, 0.2f);
        const float r = random.Range(3.0f, 6.0f);
        crystals.Append(CrystalTower(random.Range(0.4f, 0.8f), random.Range(3, 8), 6, 8,
                                     random.Range(-0.4f, 0.4f)),
                        Translate(r * std::cos(a), 0.3f, -14 + r * std::sin(a)));
    }
    logo.Append(TextMesh("PINDLE", 2.2f), Translate(0, 3.6f, 0));
    logo.Append(Torus(1.3f, 0.12f, 48, 6), Translate(0, 7.9f, 0));
    std::vector<sm::Vec3> triangle;
    for (int k = 0; k <= 3; ++k) {
        const float a = kPi / 2 + 2 * kPi * k / 3;
        triangle.emplace_back(0.85f * std::cos(a), 7.9f + 0.85f * std::sin(a), 0);
    }
    logo.Append(Tube(triangle, 0.09f, 6));
    ring.Append(Torus(6.5f, 0.1f, 160, 6), Translate(0, 6.6f, -3));
    s.Add("finale.sphere", kMatGlass, sphere);
    s.Add("finale.knot", kMatGlass, knot);
    s.Add("finale.crystals", kMatCrystal, crystals);
    s.Add("logo", kMatLetters, logo);
    s.Add("logo.ring", kMatGlass, ring);

    s.scene.ribbons.push_back(DestroyRibbon("finale.crystals", Ice(), true, 322, 3));
    s.scene.ribbons.push_back(SourceRibbon("finale.sphere", Violet(), true,
                                           MakePath({{326, {}},
                                                     {328, {}},
                                                     {331, {-4, 8, -3}},
                                                     {334, {0, 12, -6}},
                                                     {337, {0, 5, -2}}},
                                                    {2.5f, 0.4f, 2.0f})));
    // The knot leaves on the crash at bar 168.
    s.scene.ribbons.push_back(MorphRibbon("finale.knot", Violet(), true, "logo", Cyan(), true,
                                          MakePath({{336, {9, 4, -2}},
                                                    {337, {9, 4, -2}},
                                                    {342, {4, 9, -2}},
                                                    {345, {-3, 7, 2}},
                                                    {348, {}},
                                                    {350, {}}},
                                                   {3.0f, 0.45f, 2.0f})));
    s.scene.ribbons.push_back(DestinationRibbon("logo.ring", Violet(), true,
                                                MakePath({{338, {0, 25, -30}},
                                                          {342, {10, 12, -8}},
                                                          {345, {-8, 7, 2}},
                                                          {348, {}},
                                                          {350, {}}},
                                                         {4.0f, 0.5f, 2.0f})));
    s.scene.statics.push_back(StaticOf("finale.floor", Cyan().Dim(0.6f), 0));

    s.shots.push_back(MakeShot("all of it", 320, 336, Orbit({0, 4, -4}, 24, 7, -0.5f, 0.25f, 320, 336)));
    s.shots.push_back(MakeShot("closing in", 336, 352,
                               Glide({6, 6, 20}, {0, 5.5f, 15}, {0, 5, -3}, {0, 5.5f, 0}, 336, 352)));
    s.shots.push_back(MakeShot("the logo", 352, 360,
                               Glide({0, 5.5f, 15}, {0, 5.8f, 13.5f}, {0, 5.5f, 0}, {0, 5.6f, 0},
                                     352, 360)));
    return s;
}

}  // namespace show
