// Writes seed ".geo" files for the geo fuzzer into the folder given as the only argument: with
// and without the header, every vertex type, and every kind of property record.
#include <cstdio>
#include <string>

#include "seedsupport.h"

#include "formats/geowriter.h"

namespace {

std::vector<PropertyDesc> Properties() {
    std::vector<PropertyDesc> all = {PropertyDesc::ConstantInt("castShadows", 1),
                                     PropertyDesc::ConstantInt("receiveshadows", 0)};
    for (int type = PropertyType_Boolean; type <= PropertyType_String; ++type) {
        PropertyDesc p;
        p.name = "p" + std::to_string(type);
        p.propertyType = type;
        p.stringValue = "text";
        all.push_back(p);
        p.name = "k" + std::to_string(type);
        p.animationType = AnimationType_State;
        p.keys = {{0.0f, 1, 0.5f}, {2.0f, 3, 1.5f}};
        all.push_back(p);
    }
    return all;
}

GeoModelDesc Model(bool header, uint16_t version) {
    GeoModelDesc model;
    model.header = header;
    model.version = version;
    for (int type = 0; type <= 5; ++type) {
        GeoMeshDesc mesh;
        mesh.id = type;
        mesh.name = "mesh" + std::to_string(type);
        mesh.transform = sm::Mat4::Translation(1.0f * type, 2, 3);
        const int floats[] = {3, 6, 8, 10, 11, 13};
        std::vector<float> vertices;
        for (int i = 0; i < 3 * floats[type]; ++i) vertices.push_back(0.25f * i);
        mesh.parts.push_back({"material" + std::to_string(type), type, vertices});
        if (type == 2) mesh.properties = Properties();
        model.meshes.push_back(mesh);
    }
    return model;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = Save(folder, "plain.geo", WriteGeo(Model(false, 0)));
    ok = Save(folder, "header0.geo", WriteGeo(Model(true, 0))) && ok;
    ok = Save(folder, "header1.geo", WriteGeo(Model(true, 1))) && ok;
    return ok ? 0 : 1;
}
