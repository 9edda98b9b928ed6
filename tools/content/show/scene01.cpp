// 0 to 40 s: the title PINDLE assembles from triangles flying in out of the dark above a grid
// floor that lays itself out, holds, and then breaks away along a sweeping path.
#include "show/scenes.h"
#include "show/shapes.h"
#include "show/text.h"

namespace show {

SceneBuild Scene01() {
    SceneBuild s = NewScene("Scene01");
    const std::string floor = s.Add("floor", kMatGrid, GridFloor(48, 25, 0.05f, 24));
    Mesh title;
    title.Append(TextMesh("PINDLE", 2.4f), Translate(0, 2.2f, 0));
    const std::string letters = s.Add("title", kMatLetters, title);
    Mesh halo;
    halo.Append(Torus(8, 0.06f, 96, 6), Translate(0, 3.4f, -4));
    s.Add("halo", kMatGlass, halo);
    Mesh pylons;
    for (float x : {-14.0f, 14.0f})
        for (float z : {-8.0f, 0.0f, 8.0f}) pylons.Append(Pillar(0.5f, 7), Translate(x, 0, z));
    s.Add("pylons", kMatGlass, pylons);

    // The floor lays itself out and stays.
    s.scene.ribbons.push_back(DestinationRibbon(
        floor, Cyan(), true,
        MakePath({{1.5f, {0, -8, -40}}, {5, {-10, 4, -20}}, {8, {0, 10, 0}}, {10, {}}, {12, {}}},
                 {8.0f, 0.5f, 4.0f})));
    // The title flies in; it lands by 22 s, when the ribbon below takes over its triangles
    // where they lie.
    s.scene.ribbons.push_back(DestinationRibbon(
        letters, Cyan(), false,
        MakePath({{4, {0, 20, -60}},
                  {8, {-15, 10, -25}},
                  {12, {12, 6, -8}},
                  {15, {0, 3, 6}},
                  {17, {}},
                  {19, {}}},
                 {6.0f, 0.5f, 3.0f})));
    s.scene.ribbons.push_back(SourceRibbon(
        letters, Violet(), false,
        MakePath({{22, {}},
                  {24, {}},
                  {28, {-4, 6, 4}},
                  {31, {-14, 12, -8}},
                  {34, {10, 20, -30}},
                  {37, {40, 30, -80}}},
                 {3.0f, 0.4f, 3.0f})));
    s.scene.statics.push_back(StaticOf("pylons", Violet().Dim(0.8f), 0));
    s.scene.statics.push_back(StaticOf("halo", Violet(), 2));

    s.shots.push_back(MakeShot("arrive", 0, 16,
                               Glide({0, 7, 40}, {0, 4.5f, 20}, {0, 3.4f, 0}, {0, 3.4f, 0}, 0, 16)));
    s.shots.push_back(MakeShot("circle", 16, 32, Orbit({0, 3.4f, 0}, 17, 1.5f, -0.45f, 0.45f, 16, 32)));
    s.shots.push_back(MakeShot("farewell", 32, 40,
                               Glide({0, 5, 24}, {-6, 8, 30}, {0, 4, 0}, {10, 18, -30}, 32, 40)));
    return s;
}

}  // namespace show
