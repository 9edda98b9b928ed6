// Every proper prefix of a valid file must stop with a report that names the file and a byte
// inside the prefix, never read past it (the copies are exact-size allocations, so
// AddressSanitizer in scripts/sanitize sees any overrun) and never load.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "content/animationdata.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "content/skinnedmeshdata.h"
#include "formats/aniwriter.h"
#include "formats/geowriter.h"
#include "formats/skmwriter.h"
#include "support/fatalcapture.h"

namespace {

using Loader = std::function<void(const void*, size_t)>;

std::vector<PropertyDesc> EveryPropertyKind() {
    std::vector<PropertyDesc> all;
    for (int type = PropertyType_Boolean; type <= PropertyType_String; ++type) {
        PropertyDesc constant;
        constant.name = "c" + std::to_string(type);
        constant.propertyType = type;
        constant.stringValue = "value";
        all.push_back(constant);
        PropertyDesc keyed = constant;
        keyed.name = "k" + std::to_string(type);
        keyed.animationType = AnimationType_State;
        keyed.keys = {{0.0f, 1, 1.0f}, {1.0f, 2, 2.0f}};
        all.push_back(keyed);
    }
    return all;
}

std::string Geo(bool header) {
    GeoModelDesc model;
    model.header = header;
    model.version = header ? 3 : 0;
    for (int m = 0; m < 2; ++m) {
        GeoMeshDesc mesh;
        mesh.id = m;
        mesh.name = "mesh" + std::to_string(m);
        mesh.parts.push_back({"a", 0, std::vector<float>(9, 1.0f)});
        mesh.parts.push_back({"b", 5, std::vector<float>(39, 2.0f)});
        mesh.properties = EveryPropertyKind();
        model.meshes.push_back(mesh);
    }
    return WriteGeo(model);
}

std::string Skm(bool header) {
    SkmDesc d;
    d.header = header;
    d.name = "guy";
    d.secondName = "x";
    d.boneIds = {1, 2};
    SkinnedVertex v{};
    v.bones[0] = 1;
    v.weights[0] = 1.0f;
    d.vertices = {v, v, v};
    d.properties = EveryPropertyKind();
    return WriteSkm(d);
}

std::string Ani() {
    AniNodeDesc leaf;
    leaf.id = 2;
    leaf.name = "leaf";
    leaf.position.keys = {{0, sm::Vec3(1, 2, 3)}, {1, sm::Vec3(3, 2, 1)}};
    leaf.rotation.keys = {{0, sm::Quat(1, 0, 0, 0)}, {1, sm::Quat(0, 0, 1, 0)}};
    leaf.scale.keys = {{0, sm::Vec3(1, 1, 1)}};
    AniNodeDesc node;
    node.id = 1;
    node.name = "node";
    node.children = {leaf, leaf};
    AniDesc d;
    d.nodes = {node, leaf};
    return WriteAni(d);
}

void ExpectEveryPrefixFails(const std::string& file, const char* name, const Loader& load) {
    const std::string prefix = std::string(name) + ": ";
    for (size_t length = 0; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        char* exact = static_cast<char*>(std::malloc(length ? length : 1));
        std::copy(file.begin(), file.begin() + length, exact);
        const std::string message = CaptureFatal([&] { load(exact, length); });
        std::free(exact);
        ASSERT_EQ(message.rfind(prefix, 0), 0u) << message;
        const size_t at = message.find(" at byte ");
        ASSERT_NE(at, std::string::npos) << message;
        EXPECT_LE(std::stoul(message.substr(at + 9)), length) << message;
        // Past a header-sized start, a cut file can only be short.
        if (length >= 8) {
            EXPECT_NE(message.find(": truncated at byte "), std::string::npos) << message;
        }
    }
    // The whole file loads.
    EXPECT_EQ(CaptureFatal([&] { load(file.data(), file.size()); }), "");
}

TEST(Truncation, EveryPrefixOfAModelFails) {
    for (bool header : {false, true}) {
        ExpectEveryPrefixFails(Geo(header), "models/a.geo", [](const void* data, size_t size) {
            LoadModelFromMemory(data, size, "models/a.geo");
        });
    }
}

TEST(Truncation, EveryPrefixOfASkinnedMeshFails) {
    for (bool header : {false, true}) {
        ExpectEveryPrefixFails(Skm(header), "SkinnedMeshes/guy.skm",
                               [](const void* data, size_t size) {
                                   LoadSkinnedMeshFromMemory(data, size, "SkinnedMeshes/guy.skm");
                               });
    }
}

TEST(Truncation, EveryPrefixOfAnAnimationFails) {
    ExpectEveryPrefixFails(Ani(), "animations/a.ani", [](const void* data, size_t size) {
        LoadAnimationFromMemory(data, size, "animations/a.ani");
    });
}

}  // namespace
