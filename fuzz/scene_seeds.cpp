// Writes seed ".scene" files for the scene fuzzer into the folder given as the only argument:
// from the scene writer, an empty scene and one with every record and member; by hand, the
// faults the loader reports (a stray child of "Ribbons" and of "Guys", a bad boolean) and a
// file without "Ribbons", which gives no scene.
#include <memory>
#include <string>

#include "seedsupport.h"

#include "formats/scenewriter.h"

namespace {

std::unique_ptr<MaterialData> Material(float base) {
    auto m = std::make_unique<MaterialData>();
    m->Diffuse = sm::Vec3(base, 0.1f, 1e-7f);
    m->Opacity = base + 0.25f;
    m->UseSolid = false;
    m->SolidGlowPower = base + 1.5f;
    m->SolidGlowMultiplier = base + 2.5f;
    m->WireGlowPower = base + 3.5f;
    m->WireGlowMultiplier = base + 4.5f;
    return m;
}

std::unique_ptr<PathData> Path(float t) {
    auto p = std::make_unique<PathData>();
    for (int i = 0; i < 3; ++i) {
        SceneElement::Key key;
        key.time = t + static_cast<float>(i) / 3.0f;
        key.position = sm::Vec3(-1.25f * static_cast<float>(i), 1e10f, 0.3f);
        p->Keys.push_back(key);
    }
    p->RibbonWeights = {{t, 0.0f}, {t + 1.0f, 1.0f / 3.0f}};
    p->Spread = 0.7f;
    p->DontRender = true;
    return p;
}

SceneData Full() {
    SceneData scene;
    scene.name = "Scene & <Co>";
    RibbonData ribbon;
    ribbon.Source = std::make_unique<SourceData>();
    ribbon.Source->MeshName = "scene.morph.src";
    ribbon.Source->Material = Material(0.2f);
    ribbon.Source->Stay = true;
    ribbon.Source->Destroy = true;
    ribbon.Destination = std::make_unique<DestinationData>();
    ribbon.Destination->MeshName = "scene.morph.dst";
    ribbon.Destination->Material = Material(0.4f);
    ribbon.StaticSource = std::make_unique<StaticSourceData>();
    ribbon.StaticSource->MeshName = "ss";
    ribbon.StaticDestination = std::make_unique<StaticDestinationData>();
    ribbon.StaticDestination->MeshName = "sd";
    ribbon.StaticDestination->Material = Material(0.6f);
    ribbon.Path = Path(10.0f);
    scene.ribbons.push_back(std::move(ribbon));
    scene.ribbons.emplace_back();
    StaticData tower;
    tower.MeshName = "tower";
    tower.Order = -7;
    tower.Material = Material(0.8f);
    scene.statics.push_back(std::move(tower));
    GuyData guy;
    guy.Id = "scene.guy.1";
    guy.RibbonName = "figure";
    guy.Material = Material(1.0f);
    guy.Path = Path(20.0f);
    guy.AnimationIndex = {{0.5f, 1}, {0.25f, -2}};
    scene.guys.push_back(std::move(guy));
    scene.guys.emplace_back();
    return scene;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = Save(folder, "empty.scene", WriteScene(SceneData()));
    ok = Save(folder, "full.scene", WriteScene(Full())) && ok;
    ok = Save(folder, "stray-ribbon.scene",
              "<Scene name=\"s\"><Ribbons><Ribbon/><Path/></Ribbons></Scene>\n") &&
         ok;
    ok = Save(folder, "stray-guy.scene",
              "<Scene name=\"s\"><Ribbons/><StaticMeshes><Any mesh_name=\"m\" order=\"2\"/>"
              "</StaticMeshes><Guys><Guy id=\"g\"/><Ribbon/></Guys></Scene>\n") &&
         ok;
    ok = Save(folder, "bad-bool.scene",
              "<Scene name=\"s\"><Ribbons><Ribbon><Source mesh_name=\"a\" stay=\"yes\">"
              "<Material><UseSolid value=\"1\"/></Material></Source></Ribbon></Ribbons>"
              "</Scene>\n") &&
         ok;
    ok = Save(folder, "no-ribbons.scene", "<Scene name=\"s\"><Guys/></Scene>\n") && ok;
    return ok ? 0 : 1;
}
