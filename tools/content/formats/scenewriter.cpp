#include "formats/scenewriter.h"

#include <sstream>

#include "camera/xmlwriter.h"
#include "content/cnumeric.h"

namespace {

std::string Float(float value) { return FormatC("%.9g", static_cast<double>(value)); }

std::string Vec3Text(const sm::Vec3& v) { return Float(v.x) + ";" + Float(v.y) + ";" + Float(v.z); }

const char* Bool(bool value) { return value ? "true" : "false"; }

class SceneWriter {
public:
    explicit SceneWriter(std::ostream& out) : m_xml(out, 0) {}

    void Scene(const SceneData& scene) {
        m_xml.OpenElement("Scene");
        m_xml.WriteAttribute("name", scene.name);
        m_xml.OpenElement("Ribbons");
        for (const RibbonData& ribbon : scene.ribbons) Ribbon(ribbon);
        m_xml.CloseElement();
        if (!scene.statics.empty()) {
            m_xml.OpenElement("StaticMeshes");
            for (const StaticData& data : scene.statics) Static(data);
            m_xml.CloseElement();
        }
        if (!scene.guys.empty()) {
            m_xml.OpenElement("Guys");
            for (const GuyData& guy : scene.guys) Guy(guy);
            m_xml.CloseElement();
        }
        m_xml.CloseElement();
    }

private:
    void Ribbon(const RibbonData& ribbon) {
        m_xml.OpenElement("Ribbon");
        if (const SourceData* source = ribbon.Source.get()) {
            m_xml.OpenElement("Source");
            m_xml.WriteAttribute("mesh_name", source->MeshName);
            m_xml.WriteAttribute("stay", Bool(source->Stay));
            m_xml.WriteAttribute("destroy", Bool(source->Destroy));
            Material(source->Material.get());
            m_xml.CloseElement();
        }
        if (const DestinationData* destination = ribbon.Destination.get()) {
            m_xml.OpenElement("Destination");
            m_xml.WriteAttribute("mesh_name", destination->MeshName);
            m_xml.WriteAttribute("stay", Bool(destination->Stay));
            Material(destination->Material.get());
            m_xml.CloseElement();
        }
        if (ribbon.StaticSource) {
            StaticCopy("StaticSource", ribbon.StaticSource->MeshName,
                       ribbon.StaticSource->Material.get());
        }
        if (ribbon.StaticDestination) {
            StaticCopy("StaticDestination", ribbon.StaticDestination->MeshName,
                       ribbon.StaticDestination->Material.get());
        }
        Path(ribbon.Path.get());
        m_xml.CloseElement();
    }

    void StaticCopy(const char* tag, const std::string& meshName, const MaterialData* material) {
        m_xml.OpenElement(tag);
        m_xml.WriteAttribute("mesh_name", meshName);
        Material(material);
        m_xml.CloseElement();
    }

    void Static(const StaticData& data) {
        m_xml.OpenElement("Static");  // the loader takes any tag here
        m_xml.WriteAttribute("mesh_name", data.MeshName);
        m_xml.WriteAttribute("order", std::to_string(data.Order));
        Material(data.Material.get());
        m_xml.CloseElement();
    }

    void Guy(const GuyData& guy) {
        m_xml.OpenElement("Guy");
        m_xml.WriteAttribute("id", guy.Id);
        m_xml.WriteAttribute("ribbon_name", guy.RibbonName);
        Material(guy.Material.get());
        Path(guy.Path.get());
        if (!guy.AnimationIndex.empty()) {
            m_xml.OpenElement("AnimationIndex");
            for (const SceneElement::IntKey& key : guy.AnimationIndex) {
                m_xml.OpenElement("Key");
                m_xml.WriteAttribute("time", Float(key.time));
                m_xml.WriteAttribute("value", std::to_string(key.value));
                m_xml.CloseElement();
            }
            m_xml.CloseElement();
        }
        m_xml.CloseElement();
    }

    void Path(const PathData* path) {
        if (!path) return;
        m_xml.OpenElement("Path");
        m_xml.WriteAttribute("spread", Float(path->Spread));
        m_xml.WriteAttribute("triangle_scale", Float(path->TriangleScale));
        m_xml.WriteAttribute("delay", Float(path->Delay));
        m_xml.WriteAttribute("dont_render", Bool(path->DontRender));
        for (const SceneElement::Key& key : path->Keys) {
            m_xml.OpenElement("Key");
            m_xml.WriteAttribute("time", Float(key.time));
            m_xml.WriteAttribute("position", Vec3Text(key.position));
            m_xml.CloseElement();
        }
        if (!path->RibbonWeights.empty()) {
            m_xml.OpenElement("RibbonWeights");
            for (const SceneElement::FloatKey& key : path->RibbonWeights) {
                m_xml.OpenElement("Key");
                m_xml.WriteAttribute("time", Float(key.time));
                m_xml.WriteAttribute("value", Float(key.value));
                m_xml.CloseElement();
            }
            m_xml.CloseElement();
        }
        m_xml.CloseElement();
    }

    void Material(const MaterialData* material) {
        if (!material) return;
        m_xml.OpenElement("Material");
        Value("Diffuse", Vec3Text(material->Diffuse));
        Value("Opacity", Float(material->Opacity));
        Value("UseSolid", Bool(material->UseSolid));
        Value("UseWire", Bool(material->UseWire));
        Value("SolidGlowPower", Float(material->SolidGlowPower));
        Value("SolidGlowMultiplier", Float(material->SolidGlowMultiplier));
        Value("WireGlowPower", Float(material->WireGlowPower));
        Value("WireGlowMultiplier", Float(material->WireGlowMultiplier));
        m_xml.CloseElement();
    }

    void Value(const char* tag, const std::string& value) {
        m_xml.OpenElement(tag);
        m_xml.WriteAttribute("value", value);
        m_xml.CloseElement();
    }

    XmlWriter m_xml;
};

}  // namespace

std::string WriteScene(const SceneData& scene) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    SceneWriter(out).Scene(scene);
    return out.str();
}
