// A scene file's records with every member away from its default, so that a name the writer
// or the loader gets wrong shows as a changed value. Shared by the scene tests and the scene
// fuzzer's seeds; needs only the scene records.
#pragma once

#include <memory>

#include "scene/scenedata.h"

inline SceneData FullScene() {
    auto material = [](float base) {
        auto m = std::make_unique<MaterialData>();
        m->Diffuse = sm::Vec3(base, 0.1f, 1e-7f);
        m->Opacity = base + 0.25f;
        m->UseSolid = false;
        m->UseWire = true;
        m->SolidGlowPower = base + 1.5f;
        m->SolidGlowMultiplier = base + 2.5f;
        m->WireGlowPower = base + 3.5f;
        m->WireGlowMultiplier = base + 4.5f;
        return m;
    };
    auto path = [](float t) {
        auto p = std::make_unique<PathData>();
        for (int i = 0; i < 3; ++i) {
            SceneElement::Key key;
            key.time = t + static_cast<float>(i) / 3.0f;
            key.position = sm::Vec3(-1.25f * static_cast<float>(i), 1e10f, 0.3f);
            p->Keys.push_back(key);
        }
        p->RibbonWeights = {{t, 0.0f}, {t + 1.0f, 1.0f / 3.0f}};
        p->Spread = 0.7f;
        p->TriangleScale = 0.33f;
        p->Delay = 2.5f;
        p->DontRender = true;
        return p;
    };
    SceneData scene;
    scene.name = "Scene & <Co>";
    RibbonData ribbon;
    ribbon.Source = std::make_unique<SourceData>();
    ribbon.Source->MeshName = "scene.morph.src.\"a\"";
    ribbon.Source->Material = material(0.2f);
    ribbon.Source->Stay = true;
    ribbon.Source->Destroy = true;
    ribbon.Destination = std::make_unique<DestinationData>();
    ribbon.Destination->MeshName = "scene.morph.dst.figure";
    ribbon.Destination->Material = material(0.4f);
    ribbon.Destination->Stay = true;
    ribbon.StaticSource = std::make_unique<StaticSourceData>();
    ribbon.StaticSource->MeshName = "ss";
    ribbon.StaticDestination = std::make_unique<StaticDestinationData>();
    ribbon.StaticDestination->MeshName = "sd";
    ribbon.StaticDestination->Material = material(0.6f);
    ribbon.Path = path(10.0f);
    scene.ribbons.push_back(std::move(ribbon));
    scene.ribbons.emplace_back();  // nothing in it
    StaticData tower;
    tower.MeshName = "tower";
    tower.Order = -7;
    tower.Material = material(0.8f);
    scene.statics.push_back(std::move(tower));
    GuyData guy;
    guy.Id = "scene.guy.1";
    guy.RibbonName = "figure";
    guy.Material = material(1.0f);
    guy.Path = path(20.0f);
    guy.AnimationIndex = {{0.5f, 1}, {0.25f, -2}};
    scene.guys.push_back(std::move(guy));
    scene.guys.emplace_back();
    return scene;
}
