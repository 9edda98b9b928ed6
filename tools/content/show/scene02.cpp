// 40 to 80 s: a sphere morphs into a torus knot, and the knot into a cluster of cubes.
#include "show/scenes.h"
#include "show/shapes.h"

namespace show {

SceneBuild Scene02() {
    SceneBuild s = NewScene("Scene02");
    const sm::Vec3 centre(0, 3, 0);
    Mesh sphere, knot, cubes;
    sphere.Append(IcoSphere(2.4f, 3), Translate(centre));
    knot.Append(TorusKnot(2, 3, 2.0f, 0.8f, 0.45f, 180, 8), Translate(centre));
    cubes.Append(CubeCluster(4, 0.7f, 1.1f, 2), Translate(centre));
    s.Add("sphere", kMatGlass, sphere);
    s.Add("knot", kMatGlass, knot);
    s.Add("cubes", kMatGrid, cubes);
    s.Add("stage", kMatGrid, RingTiles(3, 9, 3, 48, 0.15f));

    // Morphs: the source half flies keys 0 … 2, the destination half keys 1 … 5. The knot lands
    // by 62 s, when the second morph takes its triangles over where they lie.
    s.scene.ribbons.push_back(MorphRibbon(
        "sphere", Violet(), true, "knot", Violet(), false,
        MakePath({{46, centre},
                  {47, centre},
                  {52, {0, 7.5f, 0}},
                  {55, {-3, 5, 2.5f}},
                  {58, {}},
                  {60, {}}},
                 {2.5f, 0.55f, 2.0f})));
    s.scene.ribbons.push_back(MorphRibbon(
        "knot", Violet(), false, "cubes", Cyan(), true,
        MakePath({{62, centre},
                  {63, centre},
                  {68, {3, 8, -2}},
                  {71, {-2, 6, 3}},
                  {74, {}},
                  {76, {}}},
                 {4.0f, 0.3f, 2.0f})));
    s.scene.statics.push_back(StaticOf("stage", Cyan().Dim(0.7f), 0));

    s.shots.push_back(MakeShot("around", 40, 56, Orbit(centre, 11, 2, -0.6f, 0.3f, 40, 56), 1.1f));
    Shot close = MakeShot("close", 56, 72, Orbit(centre, 8, 0.5f, 0.9f, 0.1f, 56, 72));
    close.zoom = [](float t) { return 1.0f - 0.2f * Ease(t, 56, 72); };
    s.shots.push_back(close);
    s.shots.push_back(
        MakeShot("above", 72, 80, Glide({0, 9, 14}, {6, 6, 10}, centre, centre, 72, 80)));
    return s;
}

}  // namespace show
