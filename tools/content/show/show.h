// The show's 3D content as a whole: the nine scenes, the two trains, the figure and its
// animations, the materials and their textures, turned into the files of the data folder.
#pragma once

#include <string>
#include <vector>

#include "pack.h"
#include "show/scenekit.h"

namespace show {

struct Show {
    std::vector<SceneBuild> scenes;  // in timeline order
    TrainBuild train01;
    TrainBuild train02;
};

Show BuildShow();

// Every file of the 3D content, by path below the data folder: models/, Scenes/, animations/,
// cameras/, SkinnedMeshes/guy.skm, materials/ and textures/.
FileTree ShowFiles(const Show& show);

// BuildShow and ShowFiles, added to files.
void AddShowContent(FileTree* files);

// The scene's animation: one node per camera shot (ids 1, 2, …) and its other nodes.
AniDesc SceneAnimation(const SceneBuild& scene);
std::vector<CameraRecord> SceneCameras(const SceneBuild& scene);

// The triangles the engine draws for the scene at a time: every visible renderable's mesh,
// solid and wireframe passes each counted, by the visibility rules of ribbons, statics and guys.
int DrawnTriangles(const SceneBuild& scene, float time);
// The most over the scene's window, sampled every quarter second.
int PeakDrawnTriangles(const SceneBuild& scene);
// The triangles of the scene's model.
int ModelTriangles(const SceneBuild& scene);

}  // namespace show
