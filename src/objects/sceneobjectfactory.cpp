#include "objects/sceneobjectfactory.h"

#include "base/log.h"
#include "content/model.h"
#include "gpu/contentmanager.h"
#include "objects/guy.h"
#include "objects/ribbon.h"
#include "objects/static.h"

SceneObjectFactory::SceneObjectFactory(std::vector<GameObject*>& objects,
                                       std::vector<std::unique_ptr<GameObject>>& owner,
                                       std::string sceneFile)
    : m_objects(objects), m_owner(owner), m_sceneFile(std::move(sceneFile)) {}

void SceneObjectFactory::CreateRibbon(const std::string& modelName, const RibbonData& data) {
    if (data.Source) CheckMesh(modelName, data.Source->MeshName, "ribbon source");
    if (data.Destination) CheckMesh(modelName, data.Destination->MeshName, "ribbon destination");
    if (data.StaticSource) CheckMesh(modelName, data.StaticSource->MeshName, "static source");
    if (data.StaticDestination)
        CheckMesh(modelName, data.StaticDestination->MeshName, "static destination");
    Add(std::make_unique<Ribbon>(modelName, &data));
}

void SceneObjectFactory::CreateStatic(const std::string& modelName, const StaticData& data) {
    CheckMesh(modelName, data.MeshName, "static");
    Add(std::make_unique<Static>(modelName, &data));
}

void SceneObjectFactory::CreateGuy(const std::string& /*modelName*/, const GuyData& data) {
    Add(std::make_unique<Guy>(&data));
}

void SceneObjectFactory::Add(std::unique_ptr<GameObject> object) {
    m_objects.push_back(object.get());
    m_owner.push_back(std::move(object));
}

void SceneObjectFactory::CheckMesh(const std::string& modelName, const std::string& meshName,
                                   const char* what) const {
    if (m_sceneFile.empty() || !g_contentManager) return;
    const Model* model = g_contentManager->GetModel(modelName);
    if (!model) {
        LogMessage("models/%s.geo: missing, and %s needs it", modelName.c_str(),
                   m_sceneFile.c_str());
    } else if (!model->FindMesh(meshName)) {
        LogMessage("%s: %s \"%s\" is not a mesh of models/%s.geo", m_sceneFile.c_str(), what,
                   meshName.c_str(), modelName.c_str());
    }
}
