// One scene of the show: the game objects of its scene file, their renderables, an animation
// instance that moves its animated nodes (cameras, trains), and its animated cameras, which also
// fix its place on the timeline (it starts when its first camera starts). Subclasses load their
// scene file in Setup and add their own wiring; Load then binds the animation and the cameras
// and gathers the renderables. A scene without animation data or without cameras is refused at
// load, naming the scene, since the timeline could neither start it nor show it.
#pragma once

#include <memory>
#include <string>
#include <vector>

class AnimCameraManager;
class Animation;
class GameObject;
class ICamera;
class Renderable;
struct SceneData;

class BaseScene {
public:
    BaseScene();
    virtual ~BaseScene();
    BaseScene(const BaseScene&) = delete;
    BaseScene& operator=(const BaseScene&) = delete;

    // Moves the animation, picks the camera for the time, updates every game object.
    virtual bool Update(float time, float dt);
    // Hooks the show never uses.
    virtual void OnEnter() {}
    virtual void OnLeave() {}
    // The camera chosen by the last Update; null before the first.
    virtual ICamera* GetCamera() { return m_camera; }
    virtual float GetStartTime();
    virtual float GetEndTime();
    // Loads the scene file and does the scene's own wiring.
    virtual void Setup() = 0;

    // Setup, then the animation and the cameras, then the renderable list.
    void Load();
    const std::vector<Renderable*>& GetRenderables() const { return m_renderables; }
    GameObject* FindGameObject(const std::string& name) const;
    const std::string& GetName() const { return m_name; }
    const std::vector<GameObject*>& GetGameObjects() const { return m_gameObjects; }
    AnimCameraManager* GetCameraManager() const { return m_cameraManager.get(); }

protected:
    // Reads the scene file of that name, fills m_name and m_gameObjects and keeps the file's
    // records; false when the file can't be read, with the reason in *problem when given.
    bool LoadScene(const std::string& fileName, std::string* problem = nullptr);

    std::string m_name;
    std::vector<GameObject*> m_gameObjects;
    std::vector<Renderable*> m_renderables;
    std::unique_ptr<AnimCameraManager> m_cameraManager;
    std::unique_ptr<Animation> m_animation;
    ICamera* m_camera = nullptr;

private:
    // The scene file's records, kept as long as the objects made from them.
    std::unique_ptr<SceneData> m_sceneRecords;
    std::vector<std::unique_ptr<GameObject>> m_ownedObjects;
};
