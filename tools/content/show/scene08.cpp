// 280 to 320 s: a crowd of figures walks several paths across a square, and the group's name
// KORVANE assembles above them, its echo settling on the ground.
#include <cmath>

#include "show/figure.h"
#include "show/scenes.h"
#include "show/shapes.h"
#include "show/text.h"

namespace show {

SceneBuild Scene08() {
    SceneBuild s = NewScene("Scene08");
    s.Add("square", kMatGrid, GridFloor(40, 21, 0.05f, 20));
    Mesh lamps;
    for (int i = 0; i < 6; ++i) {
        const float a = 2 * kPi * i / 6 + 0.3f;
        const sm::Vec3 at(17 * std::cos(a), 0, 17 * std::sin(a));
        lamps.Append(Cylinder(0.12f, 0, 5, 6, 3), Translate(at));
        lamps.Append(IcoSphere(0.35f, 1), Translate(at + sm::Vec3(0, 5.3f, 0)));
    }
    s.Add("lamps", kMatGlass, lamps);
    Mesh name, echo;
    name.Append(TextMesh("KORVANE", 2.6f), Translate(0, 7, -4));
    // Lying on the square, readable from the front; its underside stays above the floor lines.
    echo.Append(TextMesh("KORVANE", 2.6f), Translate(0, 0.25f, 3) * RotateX(-kPi / 2));
    s.Add("korvane", kMatLetters, name);
    s.Add("korvane.ground", kMatLetters, echo);

    // The name takes off on the crash at bar 144 and is whole on the one at bar 152; the echo
    // on the ground starts on the crash between them.
    s.scene.ribbons.push_back(DestinationRibbon("korvane", Cyan(), true,
                                                MakePath({{288, {0, 1, 4}},
                                                          {292, {-9, 4, 6}},
                                                          {295, {9, 9, 2}},
                                                          {298, {0, 11, -2}},
                                                          {301, {}},
                                                          {304, {}}},
                                                         {4.0f, 0.45f, 3.0f})));
    s.scene.ribbons.push_back(DestinationRibbon("korvane.ground", Violet().Dim(0.8f), true,
                                                MakePath({{296, {0, 20, -20}},
                                                          {300, {10, 10, -5}},
                                                          {303, {-6, 4, 6}},
                                                          {306, {}},
                                                          {308, {}}},
                                                         {3.0f, 0.5f, 2.0f})));
    s.scene.statics.push_back(StaticOf("square", Cyan().Dim(0.6f), 0));
    s.scene.statics.push_back(StaticOf("lamps", Violet(), 1));

    // Plain figures: no ribbon name, each on its own walk at its own time.
    struct Walker {
        float start;
        std::vector<sm::Vec3> points;
    };
    const Walker crowd[] = {
        {280.5f, {{-18, 0, 6}, {18, 0, 2}}},
        {281.0f, {{17, 0, -8}, {-17, 0, -2}}},
        {281.5f, {{12, 0, 14}, {-13, 0, 12}}},
        {282.0f, {{-6, 0, 18}, {-2, 0, -16}}},
        {283.0f, {{8, 0, -18}, {4, 0, 17}}},
        {284.0f, {{-14, 0, -12}, {0, 0, -14}, {14, 0, -10}}},
        {286.0f, {{-18, 0, -4}, {-2, 0, 8}, {16, 0, 12}}},
        {288.0f, {{3, 0, 18}, {-15, 0, -15}}},
    };
    int id = 1;
    for (const Walker& w : crowd) {
        Look look = id % 2 ? Amber() : Amber().Dim(0.85f);
        s.scene.guys.push_back(GuyOf(id++, look, WalkPath(w.points, w.start, kWalkSpeed)));
    }

    s.shots.push_back(MakeShot("among them", 280, 296,
                               Glide({-4, 1.8f, 24}, {4, 2.2f, 20}, {0, 1.2f, 0}, {0, 2, 0}, 280,
                                     296)));
    s.shots.push_back(MakeShot("looking up", 296, 312,
                               Glide({6, 2, 20}, {-4, 5, 17}, {0, 3, 0}, {0, 8, -4}, 296, 312)));
    s.shots.push_back(MakeShot("wide", 312, 320, Orbit({0, 4, 0}, 26, 12, 0.3f, -0.3f, 312, 320)));
    return s;
}

}  // namespace show
