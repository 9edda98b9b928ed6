// Scene files: ParseSceneFile reads one into description records, and LoadScene finds a scene's
// file under the data folder and builds its game objects through an ISceneObjectFactory, entry
// by entry. Parsing checks the file's structure only (tags, value spelling); whether a
// description makes a working object is for the object constructors to decide.
#pragma once

#include <memory>
#include <string>

#include "scene/scenedata.h"

class XMLNode;

// Builds a scene's game objects from its descriptions and appends them to the scene's list.
// LoadScene calls it for every ribbon, then every static, then every guy, each group in
// document order, as soon as the entry is parsed and before the next one is read. A record
// stays where it is for as long as the SceneData that LoadScene gives back.
class ISceneObjectFactory {
public:
    virtual ~ISceneObjectFactory() = default;
    virtual void CreateRibbon(const std::string& modelName, const RibbonData& data) = 0;
    virtual void CreateStatic(const std::string& modelName, const StaticData& data) = 0;
    virtual void CreateGuy(const std::string& modelName, const GuyData& data) = 0;
};

// The folder scene files are found under: the data folder, ending with a separator. Empty
// until the demo controller sets it, which it does before any scene loads.
void SetSceneContentPath(const std::string& path);
const std::string& GetSceneContentPath();

// GetSceneContentPath() + "Scenes\" + name + ".scene"; the path resolver takes either separator.
std::string GetSceneFilePath(const std::string& name);

// Reads the file at path (through the path resolver). Null when it can't be read as XML or its
// root has no "Ribbons" child. A child of "Ribbons" other than "Ribbon", of "Guys" other than
// "Guy", and a boolean spelt otherwise than true, false, 1 or 0, are fatal.
std::unique_ptr<SceneData> ParseSceneFile(const std::string& path);
// The same from a tree already loaded; root is the document's element, whatever its tag.
std::unique_ptr<SceneData> ParseScene(const XMLNode& root);
// A "Material" element (any other tag is fatal): the defaults of MaterialData, then each
// property element present sets its member from its "value" attribute.
MaterialData ParseMaterialData(const XMLNode* materialNode);

// Reads GetSceneFilePath(name) as ParseSceneFile does, but has the factory build each entry's
// object before it parses the next entry: of two faulty entries, the first one's fault is the
// one reported, whether the parser or the object finds it. Gives back every record (its name is
// the root's "name"); the caller keeps them as long as the objects. Null, with nothing created,
// where ParseSceneFile gives null; *problem (when given) then says why, in XMLNode::LoadFromFile's
// words or as "the root has no \"Ribbons\" element".
std::unique_ptr<SceneData> LoadScene(const std::string& name, ISceneObjectFactory& factory,
                                     std::string* problem = nullptr);
