#include "demo/basescene.h"

#include "base/assert.h"
#include "camera/animcameramanager.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "content/fileutils.h"
#include "gpu/contentmanager.h"
#include "objects/gameobject.h"
#include "objects/sceneobjectfactory.h"
#include "scene/scenedata.h"
#include "scene/sceneloader.h"

BaseScene::BaseScene() = default;
BaseScene::~BaseScene() = default;

bool BaseScene::LoadScene(const std::string& fileName, std::string* problem) {
    SceneObjectFactory factory(m_gameObjects, m_ownedObjects,
                               ContentFileName(GetSceneFilePath(fileName)));
    std::unique_ptr<SceneData> records = ::LoadScene(fileName, factory, problem);
    if (!records) return false;
    m_name = records->name;
    m_sceneRecords = std::move(records);
    return true;
}

void BaseScene::Load() {
    Setup();

    const AnimationData* data = g_contentManager->GetAnimation(m_name);
    if (!data) {
        ReportFatal("scene \"" + m_name + "\": animation \"" + m_name +
                    "\" is missing (animations/" + m_name + ".ani): the scene has no cameras");
    }
    m_animation = std::make_unique<Animation>(data);
    m_cameraManager = std::make_unique<AnimCameraManager>();
    m_cameraManager->Load(GetSceneContentPath() + "cameras/" + m_name + ".cam", m_animation.get());
    if (m_cameraManager->GetCamerasCount() == 0) {
        ReportFatal("scene \"" + m_name + "\": cameras/" + m_name +
                    ".cam holds no camera, so the scene can't be shown");
    }

    for (GameObject* object : m_gameObjects)
        for (Renderable* renderable : object->GetRenderables()) m_renderables.push_back(renderable);
}

bool BaseScene::Update(float time, float dt) {
    m_animation->Update(time, sm::Mat4(), dt);
    m_camera = m_cameraManager->GetCameraAt(time);
    for (GameObject* object : m_gameObjects) object->Update(time, dt);
    return true;
}

float BaseScene::GetStartTime() { return m_cameraManager->GetCamera(0)->GetStartTime(); }

float BaseScene::GetEndTime() {
    return m_cameraManager->GetCamera(m_cameraManager->GetCamerasCount() - 1)->GetEndTime();
}

GameObject* BaseScene::FindGameObject(const std::string& name) const {
    for (GameObject* object : m_gameObjects)
        if (object->GetName() == name) return object;
    return nullptr;
}
