// The XML node reader and the material loader over arbitrary bytes. Every attribute of every
// node goes through each typed accessor and the vector notation; fatal reports for values of
// the wrong kind or for deep nesting are expected and caught.
#include <cstddef>
#include <cstdint>

#include "content/materialloader.h"
#include "content/xmlnode.h"
#include "fuzzsupport.h"

namespace {

void Visit(const XMLNode& node) {
    node.FindChild("Param");
    for (const auto& attribute : node.GetAttributes()) {
        const std::string& name = attribute.first;
        node.HasAttribute(name);
        ParseVec3(node.GetAttribute(name, ""));
        try {
            node.GetAttributeInt(name, 0);
        } catch (const FatalError&) {
        }
        try {
            node.GetAttributeFloat(name, 0.0f);
        } catch (const FatalError&) {
        }
        try {
            node.GetAttributeBool(name, false);
        } catch (const FatalError&) {
        }
    }
    for (int i = 0; i < node.GetChildrenCount(); ++i) Visit(*node.GetChild(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    const std::string path = WriteFuzzInput(data, size, "mat");
    try {
        if (std::unique_ptr<XMLNode> root = XMLNode::LoadFromFile(path)) Visit(*root);
    } catch (const FatalError&) {
    }
    try {
        if (std::unique_ptr<Material> material = LoadMaterial(path)) material->IsTransparent();
    } catch (const FatalError&) {
    }
    return 0;
}
