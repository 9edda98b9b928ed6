// 80 to 120 s: a crystal forest whose towers shatter and fall under gravity, group by group.
#include "show/scenes.h"
#include "show/shapes.h"

namespace show {

namespace {

// A group of towers scattered around a point. Every vertex stays well above the ground: a
// shattering triangle must start above y = 0.
Mesh Towers(const sm::Vec3& around, float reach, int count, uint32_t seed) {
    Lcg random(seed);
    Mesh mesh;
    for (int i = 0; i < count; ++i) {
        const float a = random.Range(0, 2 * kPi), r = reach * std::sqrt(random.Uniform());
        const float height = random.Range(3.0f, 8.5f), radius = random.Range(0.35f, 0.8f);
        const float twist = random.Range(-0.5f, 0.5f);
        const sm::Mat4 lean = RotateX(random.Range(-0.12f, 0.12f)) *
                              RotateZ(random.Range(-0.12f, 0.12f)) * RotateY(random.Range(0, kPi));
        const sm::Vec3 at = around + sm::Vec3(r * std::cos(a), 0.3f, r * std::sin(a));
        mesh.Append(CrystalTower(radius, height, 6, 8, twist), Translate(at) * lean);
    }
    return mesh;
}

}  // namespace

SceneBuild Scene03() {
    SceneBuild s = NewScene("Scene03");
    s.Add("ground", kMatGrid, GridFloor(60, 21, 0.06f, 20));
    s.Add("crystals.a", kMatCrystal, Towers({-8, 0, -4}, 3.5f, 7, 31));
    s.Add("crystals.b", kMatCrystal, Towers({6, 0, -10}, 3.5f, 7, 32));
    s.Add("crystals.c", kMatCrystal, Towers({0, 0, -22}, 4.0f, 7, 33));
    Mesh still;
    still.Append(Towers({-16, 0, -14}, 5, 5, 34));
    still.Append(Towers({16, 0, -20}, 5, 5, 35));
    still.Append(Towers({-2, 0, -36}, 6, 4, 36));
    s.Add("crystals.still", kMatCrystal, still);

    // Ice is the palette's brightest: a forest of it close up would be one white block.
    const Look ice = Ice().Dim(0.6f);
    s.scene.ribbons.push_back(DestroyRibbon("crystals.a", ice, true, 88, 2));
    // The second tower breaks on the crash at bar 48.
    s.scene.ribbons.push_back(DestroyRibbon("crystals.b", ice, true, 96, 2));
    s.scene.ribbons.push_back(DestroyRibbon("crystals.c", ice, true, 106, 4));
    s.scene.statics.push_back(StaticOf("ground", Cyan().Dim(0.6f), 0));
    s.scene.statics.push_back(StaticOf("crystals.still", Ice().Dim(0.6f), 1));

    s.shots.push_back(MakeShot(
        "walk in", 80, 96, Glide({-2, 2.5f, 18}, {-3, 3.5f, 7}, {-8, 3, -4}, {-8, 4, -6}, 80, 96)));
    s.shots.push_back(MakeShot("circle", 96, 112, Orbit({6, 3, -10}, 12, 3, 0.9f, 0.0f, 96, 112)));
    s.shots.push_back(MakeShot("rise", 112, 120,
                               Glide({0, 6, -6}, {0, 14, -2}, {0, 3, -22}, {0, 1, -22}, 112, 120)));
    return s;
}

}  // namespace show
