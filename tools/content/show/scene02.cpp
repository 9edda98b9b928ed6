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
    // by 62 s, when the second morph takes its triangles over where they lie. The knot's dense
    // see-through layers and the cubes fill the close shots, so they glow less than the
    // palette's own, or they melt into one white shape.
    const Look violet = Violet().Dim(0.6f);
    s.scene.ribbons.push_back(MorphRibbon("sphere", violet, true, "knot", violet, false,
                                          MakePath({{46, centre},
                                                    {47, centre},
                                                    {52, {0, 7.5f, 0}},
                                                    {55, {-3, 5, 2.5f}},
                                                    {58, {}},
                                                    {60, {}}},
                                                   {2.5f, 0.55f, 2.0f})));
    s.scene.ribbons.push_back(MorphRibbon(
        "knot", violet, false, "cubes", Cyan().Dim(0.7f), true,
        MakePath(
            {{62, centre}, {63, centre}, {68, {3, 8, -2}}, {71, {-2, 6, 3}}, {74, {}}, {76, {}}},
            {4.0f, 0.3f, 2.0f})));
    s.scene.statics.push_back(StaticOf("stage", Cyan().Dim(0.7f), 0));

    // The sphere's cloud rises to 7.5 m at 52 s: the camera looks up with it and back down.
    auto orbit = Orbit(centre, 11, 2, -0.6f, 0.3f, 40, 56);
    s.shots.push_back(MakeShot(
        "around", 40, 56,
        [orbit](float t) {
            CameraPose pose = orbit(t);
            const float lift = 3.5f * (Ease(t, 47, 51) - Ease(t, 53, 56));
            pose.target.y += lift;
            pose.eye.y += 0.6f * lift;
            return pose;
        },
        1.1f));
    // The knot's triangles climb towards 8 m from 63 s: the camera tilts up after them.
    auto closeOrbit = Orbit(centre, 8, 0.5f, 0.9f, 0.1f, 56, 72);
    Shot close = MakeShot("close", 56, 72, [closeOrbit](float t) {
        CameraPose pose = closeOrbit(t);
        pose.target.y += 4.0f * Ease(t, 63.5f, 67.5f);
        return pose;
    });
    close.zoom = [](float t) { return 1.0f - 0.2f * Ease(t, 56, 72); };
    s.shots.push_back(close);
    s.shots.push_back(
        MakeShot("above", 72, 80, Glide({0, 9, 14}, {6, 6, 10}, centre, centre, 72, 80)));
    return s;
}

}  // namespace show
