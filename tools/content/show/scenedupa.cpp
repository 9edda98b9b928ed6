// 160 to 200 s: the figure walks across a plaza, then dissolves into a ribbon that flies off and
// settles into a new shape, a knot standing over the plaza.
#include <cmath>

#include "show/figure.h"
#include "show/scenes.h"
#include "show/shapes.h"

namespace show {

SceneBuild SceneDupa() {
    SceneBuild s = NewScene("SceneDupa");
    s.Add("plaza", kMatGrid, RingTiles(1.5f, 14, 8, 48, 0.12f));
    Mesh posts;
    for (int i = 0; i < 8; ++i) {
        const float a = 2 * kPi * (i + 0.5f) / 8;
        posts.Append(Pillar(0.6f, 3.5f), Translate(15 * std::cos(a), 0, 15 * std::sin(a)));
    }
    s.Add("posts", kMatGlass, posts);
    Mesh rim;
    rim.Append(Torus(15, 0.08f, 120, 4), Translate(0, 0.05f, 0) * RotateX(kPi / 2));
    s.Add("plaza.rim", kMatGlass, rim);
    // The ribbon the guy rides is found by its destination's name: "scene.morph.dst." and the
    // guy's ribbon name. It has more triangles than the figure, one for each of the figure's.
    Mesh shape;
    shape.Append(TorusKnot(3, 5, 2.6f, 1.0f, 0.32f, 240, 6), Translate(0, 5, 0));
    const std::string ribbon = "shape";
    s.Add("scene.morph.dst." + ribbon, kMatLetters, shape);

    // Walks in from the far side, slowing on the last stretch while it dissolves.
    std::vector<PathKey> walk = WalkPath({{-16, 0, 10}, {-9, 0, 8}, {-4, 0, 4.5f}, {0, 0, 0},
                                          {3, 0, -4.5f}, {5, 0, -7.5f}},
                                         160, kWalkSpeed);
    const sm::Vec3 last = walk.back().position;
    const sm::Vec3 heading = (last - walk[walk.size() - 2].position).GetNormalized();
    walk.push_back({196, last + heading * 0.5f});
    GuyData guy = GuyOf(1, Amber(), walk, ribbon);
    const float dissolve = 177, whole = 180;
    guy.Path->RibbonWeights = {{160, 0}, {dissolve, 0}, {whole, 1}, {196, 1}};
    s.scene.guys.push_back(std::move(guy));

    const sm::Vec3 chest = PathAt(walk, dissolve) + sm::Vec3(0, 1.2f, 0);
    s.scene.ribbons.push_back(DestinationRibbon(
        "scene.morph.dst." + ribbon, Amber(), true,
        MakePath({{dissolve, chest},
                  {181, chest + sm::Vec3(1.5f, 3.5f, 1)},
                  {184, {-2, 7, 2}},
                  {187, {1, 8, -1}},
                  {190, {}},
                  {193, {}}},
                 {1.2f, 0.6f, 2.0f})));
    s.scene.statics.push_back(StaticOf("plaza", Cyan().Dim(0.7f), 0));
    s.scene.statics.push_back(StaticOf("posts", Violet(), 1));
    s.scene.statics.push_back(StaticOf("plaza.rim", Violet(), 2));

    s.shots.push_back(MakeShot("follow", 160, 176,
                               Glide({-10, 2.5f, 17}, {6, 2.5f, 8}, {-15, 1, 10}, {1, 1, -1}, 160,
                                     176)));
    s.shots.push_back(MakeShot("dissolve", 176, 192, Orbit({0, 4, 0}, 12, 1.5f, 0.6f, -0.5f, 176, 192)));
    s.shots.push_back(
        MakeShot("shape", 192, 200, Glide({0, 6, 14}, {0, 7, 11}, {0, 5, 0}, {0, 5, 0}, 192, 200)));
    return s;
}

}  // namespace show
