// Seeds for the XML fuzzer: material files from the .mat writer, and a camera bookmark as the
// XML writer lays it out. Usage: xml-seeds FOLDER
#include <fstream>
#include <sstream>
#include <string>

#include "camera/xmlwriter.h"
#include "content/xmlnode.h"
#include "formats/materialwriter.h"

namespace {

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];

    MaterialDesc plain;
    plain.name = "Plain";
    Write(folder, "plain.mat", WriteMaterial(plain));

    MaterialDesc full;
    full.name = "Brick & <mortar>";
    MaterialTextureDesc env;
    env.type = "Environment";
    env.file = "maps\\sky.png";
    env.reflection = MaterialFloat(0.35f);
    MaterialTextureDesc diffuse;
    diffuse.type = "Diffuse";
    diffuse.file = "C:\\maps\\Brick.PNG";
    MaterialTextureDesc bump;
    bump.type = "Bump";
    bump.file = "bump.jpg";
    full.children = {
        MaterialParamDesc{"Diffuse", MaterialColor(sm::Vec3(0.5f, 0.25f, 1))},
        MaterialParamDesc{"Specular", MaterialColor(sm::Vec3(1, 1, 0.5f))},
        MaterialParamDesc{"Opacity", MaterialFloat(0.75f)},
        MaterialParamDesc{"Glossiness", std::nullopt},
        MaterialParamDesc{"SpecularLevel", std::string("2")},
        MaterialTexturesDesc{{diffuse, bump, env}},
        MaterialOtherDesc{"Note", {{"flag", "TRUE"}, {"count", "-12"}}},
    };
    Write(folder, "full.mat", WriteMaterial(full));

    std::ostringstream bookmark;
    XmlWriter writer(bookmark, 0);
    writer.OpenElement("Camera");
    writer.OpenElement("Transform");
    writer.WriteAttribute("position", FormatVec3(sm::Vec3(1, 2, 3), ";"));
    writer.WriteAttribute("yaw", 0.5f);
    writer.WriteAttribute("pitch", 0.0f);
    writer.WriteAttribute("roll", -1e-7f);
    writer.CloseElement();
    writer.CloseElement();
    Write(folder, "cam0", bookmark.str());
    return 0;
}
