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
    std::vector<PathKey> walk =
        WalkPath({{-16, 0, 10}, {-9, 0, 8}, {-4, 0, 4.5f}, {0, 0, 0}, {3, 0, -4.5f}, {5, 0, -7.5f}},
                 160, kWalkSpeed);
    const sm::Vec3 last = walk.back().position;
    const sm::Vec3 heading = (last - walk[walk.size() - 2].position).GetNormalized();
    walk.push_back({196, last + heading * 0.5f});
    GuyData guy = GuyOf(1, Amber(), walk, ribbon);
    const float dissolve = 177, whole = 180;
    guy.Path->RibbonWeights = {{160, 0}, {dissolve, 0}, {whole, 1}, {196, 1}};
    s.scene.guys.push_back(std::move(guy));

    const sm::Vec3 chest = PathAt(walk, dissolve) + sm::Vec3(0, 1.2f, 0);
    const sm::Vec3 flight(1.5f, 3.5f, 1);
    // The knot it settles into is dense: at the figure's full glow it would be one yellow blot.
    s.scene.ribbons.push_back(DestinationRibbon("scene.morph.dst." + ribbon, Amber().Dim(0.4f),
                                                true,
                                                MakePath({{dissolve, chest},
                                                          {181, chest + flight},
                                                          {184, {-2, 7, 2}},
                                                          {187, {1, 8, -1}},
                                                          {190, {}},
                                                          {193, {}}},
                                                         {1.2f, 0.6f, 2.0f})));
    s.scene.statics.push_back(StaticOf("plaza", Cyan().Dim(0.7f), 0));
    s.scene.statics.push_back(StaticOf("posts", Violet(), 1));
    s.scene.statics.push_back(StaticOf("plaza.rim", Violet(), 2));

    // Walks beside the figure, close enough that its legs and arms read: the eye keeps to its
    // side and a little ahead, at a smoothed copy of its path so the corners don't jolt.
    auto smoothed = [walk](float t) {
        sm::Vec3 sum;
        for (int i = -8; i <= 8; ++i) sum = sum + PathAt(walk, t + 0.25f * i);
        return sum * (1.0f / 17);
    };
    auto beside = [smoothed](float t) {
        const sm::Vec3 p = smoothed(t);
        const sm::Vec3 ahead = (smoothed(t + 0.5f) - smoothed(t - 0.5f)).GetNormalized();
        const sm::Vec3 side(-ahead.z, 0, ahead.x);
        CameraPose pose;
        pose.eye = p - side * 3.0f + ahead * 1.2f + sm::Vec3(0, 1.3f, 0);
        pose.target = p + ahead * 0.3f + sm::Vec3(0, 0.95f, 0);
        return pose;
    };
    Shot follow = MakeShot("follow", 160, 176, beside);
    follow.keyStep = 0.025f;
    s.shots.push_back(follow);
    // Starts where the follow ends, on the figure as it gives itself to the ribbon, then keeps
    // the ribbon's cloud in the middle of the frame and draws back and up from it, on the same
    // side, until the whole knot shows.
    const CameraPose handover = beside(176);
    std::vector<PathKey> cloud = {{176, handover.target}, {178, chest},      {181, chest + flight},
                                  {184, {-2, 7, 2}},      {187, {1, 8, -1}}, {190, {0, 5, 0}},
                                  {192, {0, 5, 0}}};
    const sm::Vec3 away = (handover.eye - handover.target).GetNormalized();
    Shot dissolveShot = MakeShot("dissolve", 176, 192, [cloud, away](float t) {
        sm::Vec3 centre;
        for (int i = -8; i <= 8; ++i) centre = centre + PathAt(cloud, t + 0.25f * i);
        centre = centre * (1.0f / 17);
        const float back = Ease(t, 178, 189);
        const sm::Vec3 direction = (away + sm::Vec3(0, 0.2f * back, 0)).GetNormalized();
        CameraPose pose;
        pose.target = centre;
        pose.eye = centre + direction * (4.0f + 9.5f * back);
        return pose;
    });
    dissolveShot.keyStep = 0.025f;
    s.shots.push_back(dissolveShot);
    s.shots.push_back(
        MakeShot("shape", 192, 200, Glide({0, 6, 14}, {0, 7, 11}, {0, 5, 0}, {0, 5, 0}, 192, 200)));
    return s;
}

}  // namespace show
