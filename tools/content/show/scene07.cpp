// 240 to 280 s: Train01 crosses a bridge over moving water ("woda", moved by the Water program).
#include <cmath>

#include "show/scenes.h"
#include "show/shapes.h"
#include "show/trains.h"

namespace show {

SceneBuild Scene07(TrainBuild* train) {
    SceneBuild s = NewScene("Scene07");
    const float deck = 6.0f;
    std::vector<sm::Vec3> line;
    for (float x = -130; x <= 130.01f; x += 2) line.emplace_back(x, deck, 0);
    const TrackCurve track(line);
    TrainRun run;
    run.start = 242;
    run.end = 278;
    run.from = 40;
    run.speed = 6;
    *train = Train01(track, run);

    // The water lies on y = 0 in cells of a unit: the program's swells are a few units long.
    s.Add("woda", kMatWater, WaterPlane(80, 36, 1.0f));
    s.Add("bridge", kMatGlass, Bridge(40, deck, 5, 16));
    Mesh banks;
    const auto bank = [](float x, float z) {
        const float rise = std::fmin(1.0f, (std::fabs(x) - 38) / 10);
        return -1 + 6.4f * rise + 0.5f * std::sin(z / 3 + std::fabs(x) / 5);
    };
    banks.Append(HeightField(-62, -38, -18, 18, 12, 18, bank));
    banks.Append(HeightField(38, 62, -18, 18, 12, 18, bank));
    s.Add("banks", kMatGrid, banks);
    std::vector<sm::Vec3> rail;
    for (float x = -62; x <= 62.01f; x += 2) rail.emplace_back(x, deck, 0);
    s.Add("rails", kMatGrid, Track(rail, 1.9f, 1.6f));

    s.scene.statics.push_back(StaticOf("woda", Water(), 0));
    s.scene.statics.push_back(StaticOf("banks", Cyan().Dim(0.6f), 0));
    // The bridge fills most shots; at the palette's full glow it drowns the water and the train.
    s.scene.statics.push_back(StaticOf("bridge", Violet().Dim(0.5f), 1));
    s.scene.statics.push_back(StaticOf("rails", Cyan().Dim(0.8f), 1));
    for (const NamedMesh& wagon : train->meshes) {
        s.Add(wagon.name, wagon.material, wagon.mesh);
        s.scene.statics.push_back(StaticOf(wagon.name, Amber().Dim(0.5f), 2));
    }

    auto middle = [run](float t) { return -130 + run.from + run.speed * (t - run.start) - 10; };
    s.shots.push_back(
        MakeShot("over the water", 240, 256,
                 Glide({-25, 1.5f, 28}, {-12, 2, 24}, {0, 4, 0}, {-5, deck, 0}, 240, 256)));
    const float x0 = middle(256), x1 = middle(272);
    s.shots.push_back(MakeShot("with the train", 256, 272,
                               Dolly({x0 - 4, 8, 14}, {x1 - 4, 8, 14}, {x0 + 3, deck + 0.5f, 0},
                                     {x1 + 3, deck + 0.5f, 0}, 256, 272)));
    s.shots.push_back(
        MakeShot("far bank", 272, 280,
                 Glide({70, 20, 20}, {60, 24, 28}, {40, deck, 0}, {20, 3, 0}, 272, 280)));
    return s;
}

}  // namespace show
