#include "show/show.h"

#include <algorithm>

#include "base/assert.h"
#include "formats/camerawriter.h"
#include "formats/geowriter.h"
#include "formats/scenewriter.h"
#include "show/figure.h"
#include "show/materials.h"
#include "show/scenes.h"

namespace show {

namespace {

GeoModelDesc ModelOf(const std::vector<NamedMesh>& meshes) {
    GeoModelDesc model;
    model.header = true;
    model.version = 1;
    for (const NamedMesh& m : meshes) {
        GeoMeshDesc mesh;
        mesh.id = m.id;
        mesh.name = m.name;
        mesh.parts.push_back(ToGeoPart(m.mesh, m.material));
        model.meshes.push_back(std::move(mesh));
    }
    return model;
}

int MeshTriangles(const SceneBuild& scene, const std::string& name) {
    const NamedMesh* mesh = scene.Find(name);
    if (!mesh) ReportFatal(scene.name + ": the scene file names a mesh \"" + name + "\" it lacks");
    return mesh->mesh.TriangleCount();
}

int Passes(const MaterialData* material) {
    return material ? (material->UseSolid ? 1 : 0) + (material->UseWire ? 1 : 0) : 0;
}

}  // namespace

Show BuildShow() {
    Show show;
    show.scenes.push_back(Scene01());
    show.scenes.push_back(Scene02());
    show.scenes.push_back(Scene03());
    show.scenes.push_back(Scene05(&show.train02));
    show.scenes.push_back(SceneDupa());
    show.scenes.push_back(Scene06());
    show.scenes.push_back(Scene07(&show.train01));
    show.scenes.push_back(Scene08());
    show.scenes.push_back(Scene09());
    return show;
}

AniDesc SceneAnimation(const SceneBuild& scene) {
    AniDesc animation;
    for (size_t i = 0; i < scene.shots.size(); ++i)
        animation.nodes.push_back(CameraNode(scene.shots[i], static_cast<int>(i) + 1));
    for (const AniNodeDesc& node : scene.extraNodes.nodes) animation.nodes.push_back(node);
    return animation;
}

std::vector<CameraRecord> SceneCameras(const SceneBuild& scene) {
    std::vector<CameraRecord> cameras;
    for (size_t i = 0; i < scene.shots.size(); ++i)
        cameras.push_back(CameraRecordOf(scene.shots[i], static_cast<int>(i) + 1));
    return cameras;
}

FileTree ShowFiles(const Show& show) {
    FileTree files;
    for (const SceneBuild& scene : show.scenes) {
        files["models/" + scene.name + ".geo"] = WriteGeo(ModelOf(scene.meshes));
        files["Scenes/" + scene.name + ".scene"] = WriteScene(scene.scene);
        files["animations/" + scene.name + ".ani"] = WriteAni(SceneAnimation(scene));
        files["cameras/" + scene.name + ".cam"] = WriteCameraFile(SceneCameras(scene));
    }
    for (const TrainBuild* train : {&show.train01, &show.train02}) {
        files["models/" + train->name + ".geo"] = WriteGeo(ModelOf(train->meshes));
        files["animations/" + train->name + ".ani"] = WriteAni(train->animation);
    }
    files["SkinnedMeshes/guy.skm"] = WriteSkm(FigureSkm());
    files["animations/walk.ani"] = WriteAni(WalkAnimation());
    files["animations/jump.ani"] = WriteAni(JumpAnimation());
    AddMaterials(&files);
    return files;
}

void AddShowContent(FileTree* files) {
    for (auto& [path, bytes] : ShowFiles(BuildShow())) (*files)[path] = std::move(bytes);
}

int DrawnTriangles(const SceneBuild& scene, float time) {
    int drawn = 0;
    for (const RibbonData& r : scene.scene.ribbons) {
        const PathData& path = *r.Path;
        const bool destroy = r.Source && r.Source->Destroy;
        const float start = path.Keys.front().time;
        float end = path.Keys.back().time + path.Delay;
        if (destroy) end *= 10;
        if (time >= start && time <= end) {
            if (path.DontRender) continue;
            if (r.Source)
                drawn +=
                    MeshTriangles(scene, r.Source->MeshName) * Passes(r.Source->Material.get());
            if (r.Destination)
                drawn += MeshTriangles(scene, r.Destination->MeshName) *
                         Passes(r.Destination->Material.get());
            continue;
        }
        // A still copy shows only through its solid pass (and then its wireframe too).
        std::string name;
        const MaterialData* material = nullptr;
        if (time < start) {
            if (r.StaticSource) {
                name = r.StaticSource->MeshName;
                material = r.StaticSource->Material.get();
            } else if (r.Source && r.Source->Stay) {
                name = r.Source->MeshName;
                material = r.Source->Material.get();
            }
        } else {
            if (r.StaticDestination) {
                name = r.StaticDestination->MeshName;
                material = r.StaticDestination->Material.get();
            } else if (r.Destination && r.Destination->Stay) {
                name = r.Destination->MeshName;
                material = r.Destination->Material.get();
            }
        }
        if (material && material->UseSolid) drawn += MeshTriangles(scene, name) * Passes(material);
    }
    for (const StaticData& s : scene.scene.statics)
        drawn += MeshTriangles(scene, s.MeshName) * Passes(s.Material.get());
    for (const GuyData& g : scene.scene.guys) {
        if (time >= g.Path->Keys.front().time && time <= g.Path->Keys.back().time)
            drawn += FigureTriangleCount() * Passes(g.Material.get());
    }
    return drawn;
}

int PeakDrawnTriangles(const SceneBuild& scene) {
    int peak = 0;
    for (float t = scene.start; t <= scene.end; t += 0.25f)
        peak = std::max(peak, DrawnTriangles(scene, t));
    return peak;
}

int ModelTriangles(const SceneBuild& scene) {
    int total = 0;
    for (const NamedMesh& m : scene.meshes) total += m.mesh.TriangleCount();
    return total;
}

}  // namespace show
