#include "content/materialloader.h"

#include "base/log.h"
#include "content/fileutils.h"
#include "content/pathinfo.h"
#include "content/xmlnode.h"

namespace {

void ApplyParam(const XMLNode& param, Material& material) {
    const std::string type = param.GetAttribute("Type", "");
    if (type == "Diffuse") {
        const sm::Vec3 rgb = ParseVec3(param.GetAttribute("Value", ""));
        const float opacity = material.GetDiffuseColor().w;
        material.SetDiffuseColor(sm::Vec4(rgb.x, rgb.y, rgb.z, opacity));
    } else if (type == "Specular") {
        material.SetSpecularColor(ParseVec3(param.GetAttribute("Value", "")));
    } else if (type == "Opacity") {
        sm::Vec4 color = material.GetDiffuseColor();
        color.w = param.GetAttributeFloat("Value", 0.0f);
        material.SetDiffuseColor(color);
    } else if (type == "Glossiness") {
        material.SetGlossiness(param.GetAttributeFloat("Value", 0.0f));
    } else if (type == "SpecularLevel") {
        material.SetSpecularLevel(param.GetAttributeFloat("Value", 0.0f));
    }
}

void ApplyTexture(const XMLNode& reference, Material& material) {
    const std::string type = reference.GetAttribute("Type", "");
    const std::string name = PathInfo(reference.GetAttribute("File", "")).GetName();
    if (type == "Diffuse") {
        material.SetDiffuseTextureName(name);
    } else if (type == "Opacity") {
        material.SetOpacityTextureName(name);
    } else if (type == "Bump") {
        material.SetBumpTextureName(name);
    } else if (type == "Lightmap") {
        material.SetLightmapTextureName(name);
    } else if (type == "Environment") {
        material.SetEnvironmentTextureName(name);
        material.SetReflection(reference.GetAttributeFloat("Reflection", 0.0f));
    }
}

}  // namespace

std::unique_ptr<Material> LoadMaterial(const std::string& path) {
    std::string problem;
    std::unique_ptr<XMLNode> root = XMLNode::LoadFromFile(path, &problem);
    if (!root) {
        LogMessage("%s: %s", ContentFileName(path).c_str(), problem.c_str());
        return nullptr;
    }
    auto material = std::make_unique<Material>();
    material->SetName(root->GetAttribute("Name", ""));
    for (int i = 0; i < root->GetChildrenCount(); ++i) {
        const XMLNode& child = *root->GetChild(i);
        const std::string name = child.GetName();
        if (name == "Param") {
            ApplyParam(child, *material);
        } else if (name == "Textures") {
            for (int t = 0; t < child.GetChildrenCount(); ++t) {
                ApplyTexture(*child.GetChild(t), *material);
            }
        }
    }
    return material;
}
