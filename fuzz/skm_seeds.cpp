// Writes seed ".skm" files for the skm fuzzer into the folder given as the only argument: with
// and without the header, with bones, vertices and properties.
#include <cstdio>
#include <string>

#include "seedsupport.h"

#include "formats/skmwriter.h"

namespace {

SkmDesc Guy(bool header) {
    SkmDesc d;
    d.header = header;
    d.id = 1;
    d.name = "guy";
    d.secondName = "Bip01";
    d.transform = sm::Mat4::Scale(50, 50, 50);
    d.boneIds = {10, 11, 12, 13};
    for (int i = 0; i < 6; ++i) {
        SkinnedVertex v{};
        v.position = sm::Vec3(1.0f * i, 2, 3);
        for (int k = 0; k < 4; ++k) {
            v.bones[k] = static_cast<uint8_t>((i + k) % 4);
            v.weights[k] = 0.25f;
        }
        d.vertices.push_back(v);
    }
    PropertyDesc keyed;
    keyed.name = "glow";
    keyed.propertyType = PropertyType_Float;
    keyed.animationType = AnimationType_Linear;
    keyed.keys = {{0.0f, 0, 0.0f}, {1.0f, 0, 1.0f}};
    d.properties = {PropertyDesc::ConstantInt("castShadows", 1), keyed};
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = Save(folder, "header.skm", WriteSkm(Guy(true)));
    ok = Save(folder, "plain.skm", WriteSkm(Guy(false))) && ok;
    return ok ? 0 : 1;
}
