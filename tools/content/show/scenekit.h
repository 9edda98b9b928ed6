// What a scene of the show is made of, and the small helpers its builder function uses: the
// scene's model (named meshes), its scene-file records, its camera shots and any other animated
// nodes. The show turns these into the model, scene, animation and camera files.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "formats/aniwriter.h"
#include "scene/scenedata.h"
#include "show/cameras.h"
#include "show/mesh.h"

namespace show {

// Material files that mesh parts name (materials/<name>.mat).
constexpr const char* kMatGrid = "neon_grid";
constexpr const char* kMatGlass = "violet_glass";
constexpr const char* kMatCrystal = "crystal";
constexpr const char* kMatHull = "amber_hull";
constexpr const char* kMatWater = "water";
constexpr const char* kMatLetters = "letters";

struct NamedMesh {
    int id = 0;
    std::string name;
    std::string material;
    Mesh mesh;
};

struct SceneBuild {
    std::string name;  // the file names and the scene file's root "name"
    float start = 0.0f;
    float end = 0.0f;  // the window on the timeline
    std::vector<NamedMesh> meshes;
    SceneData scene;
    std::vector<Shot> shots;  // in time order, each starting where the one before ends
    AniDesc extraNodes;       // animated nodes besides the cameras

    // Adds a mesh to the model, with the next free id; returns its name.
    std::string Add(const std::string& meshName, const std::string& material, Mesh mesh);
    const NamedMesh* Find(const std::string& meshName) const;
};

// A train: its model (each mesh's id is a node id of its animation) and its animation.
struct TrainBuild {
    std::string name;
    std::vector<NamedMesh> meshes;  // modelled around the origin, front towards +x
    AniDesc animation;
};

// The show's palette and glow, as scene-file material records.
struct Look {
    sm::Vec3 diffuse;
    float opacity = 0.5f;
    float glow = 1.0f;            // SolidGlowPower
    float solidMultiplier = 1.0f;
    float wireMultiplier = 1.5f;
    bool solid = true;
    bool wire = true;

    Look Dim(float factor) const;  // darker and more see-through
    Look WireOnly() const;
    Look SolidOnly() const;
};

Look Cyan();
Look Violet();
Look Amber();
Look Ice();
Look Water();

std::unique_ptr<MaterialData> MaterialOf(const Look& look);

struct PathKey {
    float time;
    sm::Vec3 position;
};

struct PathSettings {
    float spread = 1.0f;
    float triangleScale = 0.5f;
    float delay = 4.0f;
    bool dontRender = false;
};

std::unique_ptr<PathData> MakePath(const std::vector<PathKey>& keys, const PathSettings& settings);

// Ribbons, by kind.
RibbonData SourceRibbon(const std::string& mesh, const Look& look, bool stay,
                        std::unique_ptr<PathData> path);
RibbonData DestinationRibbon(const std::string& mesh, const Look& look, bool stay,
                             std::unique_ptr<PathData> path);
RibbonData MorphRibbon(const std::string& from, const Look& fromLook, bool stayFrom,
                       const std::string& to, const Look& toLook, bool stayTo,
                       std::unique_ptr<PathData> path);
// Shatters the mesh under gravity from the first key's time; higher triangles go later, by up
// to the second key's time after the first per unit of height / 20.
RibbonData DestroyRibbon(const std::string& mesh, const Look& look, bool stay, float start,
                         float spreadOver);

StaticData StaticOf(const std::string& mesh, const Look& look, int order);

// A guy walking the path keys; a ribbon guy when ribbonName is set.
GuyData GuyOf(int id, const Look& look, const std::vector<PathKey>& path,
              const std::string& ribbonName = std::string());

// Keys along a walk: the points are joined by straight legs at the figure's pace, starting at
// `start`, with a key every `step` seconds.
std::vector<PathKey> WalkPath(const std::vector<sm::Vec3>& points, float start, float speed,
                              float step = 1.0f);
// The position of a walk path at a time (linear between its keys, held outside).
sm::Vec3 PathAt(const std::vector<PathKey>& keys, float time);

}  // namespace show
