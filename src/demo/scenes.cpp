#include "demo/scenes.h"

#include "base/assert.h"
#include "base/log.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "content/fileutils.h"
#include "content/model.h"
#include "gpu/contentmanager.h"
#include "gpu/shader.h"
#include "objects/guy.h"
#include "objects/ribbon.h"
#include "objects/static.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/renderable.h"
#include "scene/sceneloader.h"

void PlainScene::Setup() {
    std::string problem;
    if (!LoadScene(m_fileName, &problem)) {
        LogMessage("%s: %s", ContentFileName(GetSceneFilePath(m_fileName)).c_str(),
                   problem.c_str());
        ASSERT(false);
    }
}

float Scene01::GetEndTime() {
    ASSERT(false);
    return 0.0f;
}

void Scene04::Setup() {
    PlainScene::Setup();
    Guy* guy = dynamic_cast<Guy*>(FindGameObject("scene.guy.1"));
    ASSERT(guy);
    if (guy->GetRibbonName().empty()) return;
    Ribbon* ribbon =
        dynamic_cast<Ribbon*>(FindGameObject("scene.morph.dst." + guy->GetRibbonName()));
    ASSERT(ribbon != NULL);
    guy->SetRibbon(ribbon);
}

TrainScene::~TrainScene() = default;

void TrainScene::Setup() {
    PlainScene::Setup();
    const AnimationData* animData = g_contentManager->GetAnimation(m_train);
    ASSERT(animData != NULL);
    Model* trainModel = g_contentManager->GetModel(m_train);
    ASSERT(trainModel != NULL);
    m_trainAnim = std::make_unique<Animation>(animData);
    m_trainWireAnim = std::make_unique<Animation>(animData);

    for (int i = 0; i < trainModel->GetMeshesCount(); ++i) {
        const Mesh* mesh = trainModel->GetMesh(i);
        Animation* anim = m_trainAnim->FindNode(mesh->GetId());
        ASSERT(anim != NULL);
        Animation* animWire = m_trainWireAnim->FindNode(mesh->GetId());
        ASSERT(animWire != NULL);
        Static* wagon = dynamic_cast<Static*>(FindGameObject(mesh->GetName()));
        if (!wagon) {
            ReportFatal("scene \"" + m_name + "\": no static \"" + mesh->GetName() +
                        "\" for the mesh of " + m_train + " that carries it");
        }
        const std::vector<Renderable*>& renderables = wagon->GetRenderables();
        ASSERT(renderables.size() == 2);
        Renderable* solid = renderables[0];
        Renderable* wire = renderables[1];
        static_cast<BaseGlowTransparencySpecullar*>(solid->GetMaterial())
            ->SetWorldMatrix(&solid->m_worldMatrix);
        static_cast<BaseGlowTransparencySpecullar*>(wire->GetMaterial())
            ->SetWorldMatrix(&wire->m_worldMatrix);
        anim->SetTarget(&solid->m_worldMatrix, nullptr);
        animWire->SetTarget(&wire->m_worldMatrix, nullptr);
    }
}

bool TrainScene::Update(float time, float dt) {
    BaseScene::Update(time, dt);
    m_trainAnim->Update(time, sm::Mat4(), dt);
    m_trainWireAnim->Update(time, sm::Mat4(), dt);
    return true;
}

void Scene07::Setup() {
    TrainScene::Setup();
    Static* water = dynamic_cast<Static*>(FindGameObject("woda"));
    ASSERT(water != NULL);
    m_waterShader = g_contentManager->GetShader("Water");
    ASSERT(m_waterShader != NULL);
    const std::vector<Renderable*>& renderables = water->GetRenderables();
    for (size_t i = 0; i < renderables.size() && i < 2; ++i)
        static_cast<BaseGlowTransparencySpecullar*>(renderables[i]->GetMaterial())
            ->SetShader(m_waterShader);
}

bool Scene07::Update(float time, float dt) {
    TrainScene::Update(time, dt);
    m_waterShader->Use();
    m_waterShader->SetFloat("u_time", time);
    return true;
}
