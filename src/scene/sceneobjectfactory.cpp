#include "scene/sceneobjectfactory.h"

#include "objects/guy.h"
#include "objects/static.h"
#include "scene/ribbon.h"

SceneObjectFactory::SceneObjectFactory(std::vector<GameObject*>& objects,
                                       std::vector<std::unique_ptr<GameObject>>& owner)
    : m_objects(objects), m_owner(owner) {}

void SceneObjectFactory::CreateRibbon(const std::string& modelName, const RibbonData& data) {
    Add(std::make_unique<Ribbon>(modelName, &data));
}

void SceneObjectFactory::CreateStatic(const std::string& modelName, const StaticData& data) {
    Add(std::make_unique<Static>(modelName, &data));
}

void SceneObjectFactory::CreateGuy(const std::string& /*modelName*/, const GuyData& data) {
    Add(std::make_unique<Guy>(&data));
}

void SceneObjectFactory::Add(std::unique_ptr<GameObject> object) {
    m_objects.push_back(object.get());
    m_owner.push_back(std::move(object));
}
