// Writes seed ".mat" files for the mat fuzzer into the folder given as the only argument, with
// the material writer: an empty material, one with every parameter and texture type the
// loader knows (later ones overriding earlier ones, values missing, unknown types and other
// elements), and one whose number does not scan.
#include <string>

#include "seedsupport.h"

#include "formats/materialwriter.h"

namespace {

MaterialTextureDesc Texture(const std::string& type, const std::string& file) {
    MaterialTextureDesc t;
    t.type = type;
    t.file = file;
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];

    MaterialDesc plain;
    plain.name = "Plain";
    bool ok = Save(folder, "plain.mat", WriteMaterial(plain));

    MaterialDesc full;
    full.rootElement = "Mtl";
    full.name = "Brick & <mortar>";
    MaterialTextureDesc env = Texture("Environment", "maps\\sky.png");
    env.reflection = MaterialFloat(0.35f);
    MaterialTextureDesc unnamed;
    unnamed.type = "Bump";
    full.children = {
        MaterialParamDesc{"Opacity", MaterialFloat(0.75f)},
        MaterialParamDesc{"Diffuse", MaterialColor(sm::Vec3(0.5f, 0.25f, 1))},
        MaterialParamDesc{"Specular", MaterialColor(sm::Vec3(1, 1, 0.5f))},
        MaterialParamDesc{"Glossiness", std::nullopt},
        MaterialParamDesc{"SpecularLevel", std::string("2")},
        MaterialParamDesc{"Shininess", std::string("7")},
        MaterialTexturesDesc{{Texture("Diffuse", "C:\\maps\\Brick.PNG"),
                              Texture("Opacity", "masks/brick.mask.png"), unnamed,
                              Texture("Bump", "bump.jpg"), Texture("Lightmap", ".lightmap"),
                              env, Texture("Unknown", "x.png")}},
        MaterialOtherDesc{"Note", {{"flag", "TRUE"}, {"count", "-12"}}},
        MaterialParamDesc{"Diffuse", std::string("1;2")},
    };
    ok = Save(folder, "full.mat", WriteMaterial(full)) && ok;

    MaterialDesc bad;
    bad.name = "Bad";
    bad.children = {MaterialParamDesc{"Glossiness", std::string("shiny")}};
    ok = Save(folder, "bad-number.mat", WriteMaterial(bad)) && ok;
    return ok ? 0 : 1;
}
