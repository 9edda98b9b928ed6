// The nine scenes of the show, one builder function each, in timeline order. Each gives the
// scene's model, its scene-file records and its camera shots; the trains' scenes also give the
// train they rig.
#pragma once

#include <vector>

#include "show/scenekit.h"

namespace show {

struct SceneWindow {
    const char* name;
    float start;
    float end;
};

// The timeline: scene windows on bar lines (a bar is 2 s), in show order.
const std::vector<SceneWindow>& Timeline();

SceneBuild Scene01();  // the title assembles over a grid floor, then breaks away
SceneBuild Scene02();  // sphere → torus knot → cubes
SceneBuild Scene03();  // a crystal forest shatters
SceneBuild Scene05(TrainBuild* train);  // Train02 through a wireframe valley
SceneBuild SceneDupa();  // the figure walks the plaza and dissolves into a new shape
SceneBuild Scene06();  // rings and pillars swept by ribbons, some hidden
SceneBuild Scene07(TrainBuild* train);  // Train01 on a bridge over moving water
SceneBuild Scene08();  // a crowd walks; the group's name assembles above it
SceneBuild Scene09();  // the finale collapses into the end logo

// The window of a scene by name; a name off the timeline is fatal.
const SceneWindow& WindowOf(const std::string& name);

// An empty scene with its name and window set.
SceneBuild NewScene(const std::string& name);

Shot MakeShot(const std::string& name, float start, float end,
              std::function<CameraPose(float)> pose, float fov = 1.15f);

}  // namespace show
