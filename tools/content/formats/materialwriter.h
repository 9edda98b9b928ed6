// Writes ".mat" material files from an in-memory description, for the content builder and for
// test fixtures. Values are kept as text so a fixture can hold anything, malformed values
// included; the helpers below format numbers so they read back exactly. The root's children
// come out in the description's order, which is the order the loader applies them in.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "math/vec3.h"

struct MaterialParamDesc {
    std::string type;                  // "Diffuse", "Specular", "Opacity", ...
    std::optional<std::string> value;  // no "Value" attribute when empty
};

struct MaterialTextureDesc {
    std::string element = "Texture";        // the loader ignores the tag
    std::string type;                       // "Diffuse", "Bump", "Environment", ...
    std::optional<std::string> file;        // no "File" attribute when empty
    std::optional<std::string> reflection;  // "Reflection", read for "Environment"
};

struct MaterialTexturesDesc {
    std::vector<MaterialTextureDesc> textures;
};

// Any other child of the root, which the loader skips.
struct MaterialOtherDesc {
    std::string element;
    std::vector<std::pair<std::string, std::string>> attributes;
};

using MaterialChildDesc = std::variant<MaterialParamDesc, MaterialTexturesDesc, MaterialOtherDesc>;

struct MaterialDesc {
    std::string rootElement = "Material";  // the loader ignores the tag
    std::optional<std::string> name;       // "Name"
    std::vector<MaterialChildDesc> children;
};

// A float as text that scans back to the same float ("%.9g", "C" locale).
std::string MaterialFloat(float value);
// Three floats as "r;g;b", each as MaterialFloat gives it.
std::string MaterialColor(const sm::Vec3& color);

// The file's bytes: an XML declaration, then the root with one tab of indent per level.
std::string WriteMaterial(const MaterialDesc& material);
