// A named object of a scene: it owns a list of renderables (in creation order) and is updated
// with the music time every frame. Scenes find objects by name and hand their renderables to
// the graphics engine. The renderables themselves belong to the derived object.
#pragma once

#include <string>
#include <vector>

#include "math/mat4.h"

class Renderable;

class GameObject {
public:
    GameObject() = default;
    virtual ~GameObject() = default;
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    // Nothing in the show does anything here; kept for the object's interface.
    virtual void OnCreated() {}
    virtual void Update(float time, float dt) {
        (void)time;
        (void)dt;
    }

    std::vector<Renderable*>& GetRenderables() { return m_renderables; }
    const std::vector<Renderable*>& GetRenderables() const { return m_renderables; }
    const std::string& GetName() const { return m_name; }

    sm::Mat4 m_worldMatrix;

protected:
    void SetName(std::string name) { m_name = std::move(name); }

    std::vector<Renderable*> m_renderables;
    std::string m_name;
};
