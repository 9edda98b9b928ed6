// The scene loader's object factory of the show: every ribbon, static and guy record becomes a
// Ribbon, Static or Guy. Each new object is appended to the scene's object list (file order)
// and handed to the owner list, which deletes it when it goes; the lists are the caller's and
// must outlive the factory's use. It wires nothing between objects (a guy's ribbon is the
// scene's business). The objects' constructors stop the program on a model or mesh the content
// lacks; given the scene file's name, the factory first logs a line that names the file and the
// mesh.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scene/sceneloader.h"

class GameObject;

class SceneObjectFactory : public ISceneObjectFactory {
public:
    // objects gets a non-owning pointer to each object, owner the object itself, both in
    // creation order. sceneFile names the scene file in the log ("Scenes/Scene02.scene"); empty,
    // nothing is logged.
    SceneObjectFactory(std::vector<GameObject*>& objects,
                       std::vector<std::unique_ptr<GameObject>>& owner,
                       std::string sceneFile = std::string());

    void CreateRibbon(const std::string& modelName, const RibbonData& data) override;
    void CreateStatic(const std::string& modelName, const StaticData& data) override;
    void CreateGuy(const std::string& modelName, const GuyData& data) override;

private:
    void Add(std::unique_ptr<GameObject> object);
    // Logs the scene file and the mesh when the scene's model lacks it, or the model is missing.
    void CheckMesh(const std::string& modelName, const std::string& meshName,
                   const char* what) const;

    std::vector<GameObject*>& m_objects;
    std::vector<std::unique_ptr<GameObject>>& m_owner;
    std::string m_sceneFile;
};
