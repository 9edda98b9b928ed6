// Writes ".geo" model files from an in-memory description, with or without the "KVNMDL"
// header. Mesh transforms are written exactly when the header is there with a version other than
// 0. Parts must use vertex types 0 … 5 with whole vertices; anything else is a fatal error (make
// hostile files by editing the bytes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/propertywriter.h"
#include "math/mat4.h"

struct GeoPartDesc {
    std::string materialName;
    int vertexType = 0;
    // Interleaved vertices in the layout of the vertex type, GetVertexSize / 4 floats each.
    std::vector<float> vertices;
};

struct GeoMeshDesc {
    int32_t id = 0;
    std::string name;
    sm::Mat4 transform;  // written only when the file has a transform
    std::vector<GeoPartDesc> parts;
    std::vector<PropertyDesc> properties;
};

struct GeoModelDesc {
    bool header = false;
    uint16_t version = 0;  // must stay 0 without the header
    std::vector<GeoMeshDesc> meshes;
};

std::string WriteGeo(const GeoModelDesc& model);
