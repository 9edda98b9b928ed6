// Feeds arbitrary bytes to the material loader as a ".mat" file and reads back everything the
// material holds. Texture names must have lost their folders, and transparency must follow the
// opacity. A fatal report (a value that does not scan as a number, nesting too deep) is an
// accepted outcome.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "content/material.h"
#include "content/materialloader.h"
#include "fuzzsupport.h"

namespace {

size_t CheckTextureName(const std::string& name) {
    if (name.find_first_of("/\\") != std::string::npos) std::abort();
    return name.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    const std::string path = WriteFuzzInput(data, size, "mat");
    try {
        std::unique_ptr<Material> material = LoadMaterial(path);
        if (!material) return 0;
        const sm::Vec4& diffuse = material->GetDiffuseColor();
        if (material->IsTransparent() != (diffuse.w < 1.0f)) std::abort();
        size_t names = material->GetName().size();
        names += CheckTextureName(material->GetDiffuseTextureName());
        names += CheckTextureName(material->GetOpacityTextureName());
        names += CheckTextureName(material->GetBumpTextureName());
        names += CheckTextureName(material->GetEnvironmentTextureName());
        names += CheckTextureName(material->GetLightmapTextureName());
        volatile float sink = diffuse.x + diffuse.y + diffuse.z + material->GetSpecularColor().x +
                              material->GetGlossiness() + material->GetSpecularLevel() +
                              material->GetReflection() + static_cast<float>(names);
        (void)sink;
    } catch (const FatalError&) {
    }
    return 0;
}
