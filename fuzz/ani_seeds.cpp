// Writes seed ".ani" files for the ani fuzzer into the folder given as the only argument: a
// small hierarchy with keyed and constant tracks of every kind.
#include <cmath>
#include <cstdio>
#include <string>

#include "seedsupport.h"

#include "formats/aniwriter.h"

namespace {

AniNodeDesc Keyed(int id, int keys) {
    AniNodeDesc n;
    n.id = id;
    n.name = "node" + std::to_string(id);
    n.baseMatrix = sm::Mat4::Translation(0, 1.0f * id, 0);
    for (int k = 0; k < keys; ++k) {
        const float t = 0.5f * k;
        n.position.keys.push_back({t, sm::Vec3(t, 2 * t, 3)});
        n.rotation.keys.push_back({t, sm::Quat::FromAxisAngle(0.3f * k, 0, 1, 0)});
        n.scale.keys.push_back({t, sm::Vec3(1, 1 + t, 1)});
    }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    AniNodeDesc root = Keyed(1, 4);
    AniNodeDesc constant;
    constant.id = 2;
    constant.name = "constant";
    constant.position.constant = sm::Vec3(1, 2, 3);
    constant.rotation.constant = sm::Quat::FromAxisAngle(1.0f, 0, 0, 1);
    constant.children = {Keyed(3, 2)};
    root.children = {constant, Keyed(4, 1)};
    AniDesc tree;
    tree.nodes = {root, Keyed(5, 3)};
    bool ok = Save(folder, "tree.ani", WriteAni(tree));
    AniDesc single;
    single.nodes = {Keyed(7, 2)};
    ok = Save(folder, "single.ani", WriteAni(single)) && ok;
    return ok ? 0 : 1;
}
