// 120 to 160 s: Train02 runs along the floor of a wireframe valley.
#include <cmath>

#include "show/scenes.h"
#include "show/shapes.h"
#include "show/trains.h"

namespace show {

namespace {

float TrackZ(float x) { return 4 * std::sin(x / 30); }

float Smooth(float x) {
    x = x < 0 ? 0 : (x > 1 ? 1 : x);
    return x * x * (3 - 2 * x);
}

TrackCurve ValleyTrack() {
    std::vector<sm::Vec3> points;
    for (float x = -130; x <= 110.01f; x += 1.5f) points.emplace_back(x, 0.3f, TrackZ(x));
    return TrackCurve(points);
}

}  // namespace

SceneBuild Scene05(TrainBuild* train) {
    SceneBuild s = NewScene("Scene05");
    const TrackCurve track = ValleyTrack();
    TrainRun run;
    run.start = 122;
    run.end = 158;
    run.from = 40;
    run.speed = 5;
    *train = Train02(track, run);

    s.Add("valley", kMatGrid, HeightField(-60, 60, -40, 40, 48, 32, [](float x, float z) {
              const float d = std::fabs(z - TrackZ(x));
              return 11 * Smooth((d - 5) / 26) +
                     1.6f * std::sin(x / 9) * std::sin(z / 7) * Smooth(d / 20);
          }));
    std::vector<sm::Vec3> rail;
    for (float x = -75; x <= 75.01f; x += 1.5f) rail.emplace_back(x, 0.3f, TrackZ(x));
    s.Add("track", kMatGrid, Track(rail, 1.9f, 1.6f));
    s.scene.statics.push_back(StaticOf("valley", Cyan().WireOnly(), 0));
    s.scene.statics.push_back(StaticOf("track", Cyan().Dim(0.8f), 0));
    // The wagons as the train rig wants them: same names, modelled around the origin, solid and
    // wireframe so each has exactly two renderables for the train's two animations.
    for (const NamedMesh& wagon : train->meshes) {
        s.Add(wagon.name, wagon.material, wagon.mesh);
        s.scene.statics.push_back(StaticOf(wagon.name, Amber().Dim(0.5f), 1));
    }

    auto middle = [track, run](float t) {
        return track.At(run.from + run.speed * (t - run.start) - 12);
    };
    s.shots.push_back(MakeShot("trackside", 120, 136,
                               Glide({-30, 4.5f, 11}, {-22, 4, 9}, {-60, 1.5f, 0},
                                     {-30, 1.5f, 0}, 120, 136)));
    // Alongside: a smooth line beside the track, looking at where the train is.
    const sm::Vec3 m0 = middle(136), m1 = middle(152);
    s.shots.push_back(MakeShot("alongside", 136, 152,
                               Dolly(m0 + sm::Vec3(-6, 6, 11), m1 + sm::Vec3(-6, 6, 11),
                                     m0 + sm::Vec3(4, 1, 0), m1 + sm::Vec3(4, 1, 0), 136, 152)));
    s.shots.push_back(MakeShot("crane", 152, 160,
                               Glide({40, 24, 30}, {50, 30, 20}, {60, 1, 0}, {80, 1, 0}, 152, 160)));
    return s;
}

}  // namespace show
