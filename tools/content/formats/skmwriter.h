// Writes ".skm" skinned-mesh files from an in-memory description: the optional "KVNMDL" header,
// a mesh count (any value; one record always follows), then the single mesh record. Values are
// written as given, so tests can also make files the loader must refuse.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/skinnedmeshdata.h"
#include "formats/propertywriter.h"
#include "math/mat4.h"

struct SkmDesc {
    bool header = true;
    uint16_t version = 1;
    int32_t meshCount = 1;
    int32_t id = 0;
    std::string name;
    std::string secondName;
    sm::Mat4 transform;
    std::vector<int32_t> boneIds;
    std::vector<SkinnedVertex> vertices;
    std::vector<PropertyDesc> properties;
};

std::string WriteSkm(const SkmDesc& mesh);
