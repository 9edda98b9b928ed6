#include "scene/sceneloader.h"

#include "base/assert.h"
#include "base/log.h"
#include "content/fileutils.h"
#include "content/xmlnode.h"

namespace {

// ASSERT for a content condition: the report also says where in which file the node is.
#define ASSERT_AT(node, cond) \
    ((cond) ? static_cast<void>(0) : ReportContentAssertion(#cond, __LINE__, *(node)))

[[noreturn]] void ReportContentAssertion(const char* condition, int line, const XMLNode& node) {
    if (!node.GetSourceName().empty()) {
        LogMessage("%s: line %d: unexpected element %s",
                   ContentFileName(node.GetSourceName()).c_str(), node.GetLine(),
                   node.GetName().c_str());
    }
    std::string where = node.DescribeOrigin();
    if (!where.empty()) where += ": ";
    ReportFatal(FormatAssertionFailure(condition, __FILE__, line) + " (" + where + "element " +
                node.GetName() + ")");
}

std::string& SceneContentPath() {
    static std::string path;
    return path;
}

std::unique_ptr<MaterialData> ParseOptionalMaterial(const XMLNode& owner) {
    const XMLNode* materialNode = owner.FindChild("Material");
    if (!materialNode) return nullptr;
    return std::make_unique<MaterialData>(ParseMaterialData(materialNode));
}

SceneElement::Key ParseKey(const XMLNode& node) {
    SceneElement::Key key;
    key.time = node.GetAttributeFloat("time", 0.0f);
    key.position = ParseVec3(node.GetAttribute("position", ""));
    return key;
}

std::unique_ptr<PathData> ParsePath(const XMLNode* node) {
    if (!node) return nullptr;
    auto path = std::make_unique<PathData>();
    path->Spread = node->GetAttributeFloat("spread", path->Spread);
    path->TriangleScale = node->GetAttributeFloat("triangle_scale", path->TriangleScale);
    path->Delay = node->GetAttributeFloat("delay", path->Delay);
    path->DontRender = node->GetAttributeBool("dont_render", path->DontRender);
    if (const XMLNode* weights = node->FindChild("RibbonWeights")) {
        for (int i = 0; i < weights->GetChildrenCount(); ++i) {
            const XMLNode* child = weights->GetChild(i);
            if (child->GetName() != "Key") continue;
            SceneElement::FloatKey key;
            key.time = child->GetAttributeFloat("time", 0.0f);
            key.value = child->GetAttributeFloat("value", 0.0f);
            path->RibbonWeights.push_back(key);
        }
    }
    for (int i = 0; i < node->GetChildrenCount(); ++i) {
        const XMLNode* child = node->GetChild(i);
        if (child->GetName() == "Key") path->Keys.push_back(ParseKey(*child));
    }
    return path;
}

std::unique_ptr<SourceData> ParseSource(const XMLNode* node) {
    if (!node) return nullptr;
    auto source = std::make_unique<SourceData>();
    source->MeshName = node->GetAttribute("mesh_name", "");
    source->Destroy = node->GetAttributeBool("destroy", source->Destroy);
    source->Stay = node->GetAttributeBool("stay", source->Stay);
    source->Material = ParseOptionalMaterial(*node);
    return source;
}

std::unique_ptr<DestinationData> ParseDestination(const XMLNode* node) {
    if (!node) return nullptr;
    auto destination = std::make_unique<DestinationData>();
    destination->MeshName = node->GetAttribute("mesh_name", "");
    destination->Stay = node->GetAttributeBool("stay", destination->Stay);
    destination->Material = ParseOptionalMaterial(*node);
    return destination;
}

// StaticSourceData and StaticDestinationData.
template <typename Record>
std::unique_ptr<Record> ParseStaticCopy(const XMLNode* node) {
    if (!node) return nullptr;
    auto copy = std::make_unique<Record>();
    copy->MeshName = node->GetAttribute("mesh_name", "");
    copy->Material = ParseOptionalMaterial(*node);
    return copy;
}

RibbonData ParseRibbon(const XMLNode& node) {
    RibbonData ribbon;
    ribbon.Source = ParseSource(node.FindChild("Source"));
    ribbon.Destination = ParseDestination(node.FindChild("Destination"));
    ribbon.StaticSource = ParseStaticCopy<StaticSourceData>(node.FindChild("StaticSource"));
    ribbon.StaticDestination =
        ParseStaticCopy<StaticDestinationData>(node.FindChild("StaticDestination"));
    ribbon.Path = ParsePath(node.FindChild("Path"));
    return ribbon;
}

StaticData ParseStatic(const XMLNode& node) {
    StaticData data;
    data.MeshName = node.GetAttribute("mesh_name", "");
    data.Order = node.GetAttributeInt("order", data.Order);
    data.Material = ParseOptionalMaterial(node);
    return data;
}

GuyData ParseGuy(const XMLNode& node) {
    GuyData guy;
    guy.Id = node.GetAttribute("id", "");
    guy.RibbonName = node.GetAttribute("ribbon_name", "");
    guy.Material = ParseOptionalMaterial(node);
    guy.Path = ParsePath(node.FindChild("Path"));
    if (const XMLNode* index = node.FindChild("AnimationIndex")) {
        for (int i = 0; i < index->GetChildrenCount(); ++i) {  // any tag
            const XMLNode* child = index->GetChild(i);
            SceneElement::IntKey key;
            key.time = child->GetAttributeFloat("time", 0.0f);
            key.value = child->GetAttributeInt("value", 0);
            guy.AnimationIndex.push_back(key);
        }
    }
    return guy;
}

// Ribbons, then statics, then guys, each in document order. With a factory, each record's object
// is built before the next entry is parsed. Every entry becomes one record or is fatal, so with
// the lists reserved up front no record moves once it is made.
std::unique_ptr<SceneData> ReadScene(const XMLNode& root, ISceneObjectFactory* factory) {
    const XMLNode* ribbons = root.FindChild("Ribbons");
    if (!ribbons) return nullptr;
    auto scene = std::make_unique<SceneData>();
    scene->name = root.GetAttribute("name", "");
    scene->ribbons.reserve(static_cast<size_t>(ribbons->GetChildrenCount()));
    for (int i = 0; i < ribbons->GetChildrenCount(); ++i) {
        const XMLNode* node = ribbons->GetChild(i);
        ASSERT_AT(node, node->GetName() == "Ribbon");
        scene->ribbons.push_back(ParseRibbon(*node));
        if (factory) factory->CreateRibbon(scene->name, scene->ribbons.back());
    }
    if (const XMLNode* statics = root.FindChild("StaticMeshes")) {
        scene->statics.reserve(static_cast<size_t>(statics->GetChildrenCount()));
        for (int i = 0; i < statics->GetChildrenCount(); ++i) {  // any tag
            scene->statics.push_back(ParseStatic(*statics->GetChild(i)));
            if (factory) factory->CreateStatic(scene->name, scene->statics.back());
        }
    }
    if (const XMLNode* guys = root.FindChild("Guys")) {
        scene->guys.reserve(static_cast<size_t>(guys->GetChildrenCount()));
        for (int i = 0; i < guys->GetChildrenCount(); ++i) {
            const XMLNode* node = guys->GetChild(i);
            ASSERT_AT(node, node->GetName() == "Guy");
            scene->guys.push_back(ParseGuy(*node));
            if (factory) factory->CreateGuy(scene->name, scene->guys.back());
        }
    }
    return scene;
}

}  // namespace

void SetSceneContentPath(const std::string& path) { SceneContentPath() = path; }

const std::string& GetSceneContentPath() { return SceneContentPath(); }

std::string GetSceneFilePath(const std::string& name) {
    return GetSceneContentPath() + "Scenes\\" + name + ".scene";
}

MaterialData ParseMaterialData(const XMLNode* materialNode) {
    ASSERT_AT(materialNode, materialNode->GetName() == "Material");
    MaterialData material;
    // A property element without "value" gives 0, false or (0, 0, 0), not the record default.
    auto floatValue = [&](const char* tag, float* member) {
        if (const XMLNode* node = materialNode->FindChild(tag))
            *member = node->GetAttributeFloat("value", 0.0f);
    };
    auto boolValue = [&](const char* tag, bool* member) {
        if (const XMLNode* node = materialNode->FindChild(tag))
            *member = node->GetAttributeBool("value", false);
    };
    if (const XMLNode* node = materialNode->FindChild("Diffuse"))
        material.Diffuse = ParseVec3(node->GetAttribute("value", ""));
    floatValue("Opacity", &material.Opacity);
    boolValue("UseSolid", &material.UseSolid);
    boolValue("UseWire", &material.UseWire);
    floatValue("SolidGlowPower", &material.SolidGlowPower);
    floatValue("SolidGlowMultiplier", &material.SolidGlowMultiplier);
    floatValue("WireGlowPower", &material.WireGlowPower);
    floatValue("WireGlowMultiplier", &material.WireGlowMultiplier);
    return material;
}

std::unique_ptr<SceneData> ParseScene(const XMLNode& root) { return ReadScene(root, nullptr); }

std::unique_ptr<SceneData> ParseSceneFile(const std::string& path) {
    std::unique_ptr<XMLNode> root = XMLNode::LoadFromFile(path);
    if (!root) return nullptr;
    return ParseScene(*root);
}

std::unique_ptr<SceneData> LoadScene(const std::string& name, ISceneObjectFactory& factory,
                                     std::string* problem) {
    std::unique_ptr<XMLNode> root = XMLNode::LoadFromFile(GetSceneFilePath(name), problem);
    if (!root) return nullptr;
    std::unique_ptr<SceneData> scene = ReadScene(*root, &factory);
    if (!scene && problem) *problem = "the root has no \"Ribbons\" element";
    return scene;
}
