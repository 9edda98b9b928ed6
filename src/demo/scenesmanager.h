// The show's timeline: nine scenes in the order 01, 02, 03, 05, 04, 06, 07, 08, 09, all loaded
// before the show starts. Each update moves at most one scene forward, when the time is past the
// next scene's start; the last scene stays active for good and the timeline never goes back.
#pragma once

#include <memory>
#include <vector>

class BaseScene;

class ScenesManager {
public:
    ScenesManager();
    virtual ~ScenesManager();
    ScenesManager(const ScenesManager&) = delete;
    ScenesManager& operator=(const ScenesManager&) = delete;

    // Creates the nine scenes and loads each in order.
    void Init();
    // A timeline of the given scenes, in that order; loads each unless they are loaded already.
    void Init(std::vector<std::unique_ptr<BaseScene>> scenes, bool load = true);
    void Update(float time);
    BaseScene* GetActiveScene() const { return m_scenes[m_current].get(); }
    bool HasChanged() const { return m_changed; }
    unsigned GetActiveIndex() const { return m_current; }
    size_t GetScenesCount() const { return m_scenes.size(); }
    BaseScene* GetScene(size_t index) const { return m_scenes[index].get(); }

private:
    std::vector<std::unique_ptr<BaseScene>> m_scenes;
    unsigned m_current = 0;
    bool m_changed = false;
};
