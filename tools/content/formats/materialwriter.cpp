#include "formats/materialwriter.h"

#include <sstream>

#include "camera/xmlwriter.h"
#include "content/cnumeric.h"

namespace {

struct ChildWriter {
    XmlWriter& writer;

    void operator()(const MaterialParamDesc& param) const {
        writer.OpenElement("Param");
        writer.WriteAttribute("Type", param.type);
        if (param.value) writer.WriteAttribute("Value", *param.value);
        writer.CloseElement();
    }

    void operator()(const MaterialTexturesDesc& group) const {
        writer.OpenElement("Textures");
        for (const MaterialTextureDesc& texture : group.textures) {
            writer.OpenElement(texture.element);
            writer.WriteAttribute("Type", texture.type);
            if (texture.file) writer.WriteAttribute("File", *texture.file);
            if (texture.reflection) writer.WriteAttribute("Reflection", *texture.reflection);
            writer.CloseElement();
        }
        writer.CloseElement();
    }

    void operator()(const MaterialOtherDesc& other) const {
        writer.OpenElement(other.element);
        for (const auto& attribute : other.attributes) {
            writer.WriteAttribute(attribute.first, attribute.second);
        }
        writer.CloseElement();
    }
};

}  // namespace

std::string MaterialFloat(float value) { return FormatC("%.9g", static_cast<double>(value)); }

std::string MaterialColor(const sm::Vec3& color) {
    return MaterialFloat(color.x) + ";" + MaterialFloat(color.y) + ";" + MaterialFloat(color.z);
}

std::string WriteMaterial(const MaterialDesc& material) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    XmlWriter writer(out, 0);
    writer.OpenElement(material.rootElement);
    if (material.name) writer.WriteAttribute("Name", *material.name);
    for (const MaterialChildDesc& child : material.children) {
        std::visit(ChildWriter{writer}, child);
    }
    writer.CloseElement();
    return out.str();
}
