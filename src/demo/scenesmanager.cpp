#include "demo/scenesmanager.h"

#include "demo/scenes.h"

ScenesManager::ScenesManager() = default;
ScenesManager::~ScenesManager() = default;

void ScenesManager::Init() {
    std::vector<std::unique_ptr<BaseScene>> scenes;
    scenes.push_back(std::make_unique<Scene01>());
    scenes.push_back(std::make_unique<Scene02>());
    scenes.push_back(std::make_unique<Scene03>());
    scenes.push_back(std::make_unique<Scene05>());
    scenes.push_back(std::make_unique<Scene04>());
    scenes.push_back(std::make_unique<Scene06>());
    scenes.push_back(std::make_unique<Scene07>());
    scenes.push_back(std::make_unique<Scene08>());
    scenes.push_back(std::make_unique<Scene09>());
    Init(std::move(scenes));
}

void ScenesManager::Init(std::vector<std::unique_ptr<BaseScene>> scenes, bool load) {
    m_scenes = std::move(scenes);
    m_changed = true;
    m_current = 0;
    if (load)
        for (const auto& scene : m_scenes) scene->Load();
}

void ScenesManager::Update(float time) {
    m_changed = false;
    if (m_current + 1 >= m_scenes.size()) return;
    if (time > m_scenes[m_current + 1]->GetStartTime()) {
        ++m_current;
        m_changed = true;
    }
}
