#include "show/scenes.h"

#include "base/assert.h"

namespace show {

const std::vector<SceneWindow>& Timeline() {
    // The end screen covers everything from 358 s; the last scene's cameras run to 360 s.
    static const std::vector<SceneWindow> windows = {
        {"Scene01", 0, 40},    {"Scene02", 40, 80},     {"Scene03", 80, 120},
        {"Scene05", 120, 160}, {"SceneDupa", 160, 200}, {"Scene06", 200, 240},
        {"Scene07", 240, 280}, {"Scene08", 280, 320},   {"Scene09", 320, 360},
    };
    return windows;
}

const SceneWindow& WindowOf(const std::string& name) {
    for (const SceneWindow& w : Timeline())
        if (name == w.name) return w;
    ReportFatal("no scene " + name + " on the timeline");
    return Timeline().front();
}

SceneBuild NewScene(const std::string& name) {
    const SceneWindow& w = WindowOf(name);
    SceneBuild s;
    s.name = name;
    s.start = w.start;
    s.end = w.end;
    s.scene.name = name;
    return s;
}

Shot MakeShot(const std::string& name, float start, float end,
              std::function<CameraPose(float)> pose, float fov) {
    Shot shot;
    shot.name = name;
    shot.start = start;
    shot.end = end;
    shot.pose = std::move(pose);
    shot.fov = fov;
    return shot;
}

}  // namespace show
