#include "content/skinnedmeshdata.h"

#include <cstring>

#include "base/assert.h"
#include "base/log.h"
#include "content/binaryreader.h"
#include "content/modelloader.h"

SkinnedMeshData::SkinnedMeshData(int id, std::string name, std::string secondName,
                                 const sm::Mat4& transform, std::vector<int32_t> boneIds,
                                 std::vector<SkinnedVertex> vertices, PropertyMap properties)
    : m_id(id),
      m_name(std::move(name)),
      m_secondName(std::move(secondName)),
      m_transform(transform),
      m_transformInverse(transform.Inverse()),
      m_verticesCount(static_cast<int>(vertices.size())),
      m_vertices(std::move(vertices)),
      m_bonesCount(static_cast<int>(boneIds.size())),
      m_boneIds(std::move(boneIds)),
      m_properties(std::move(properties)) {}

int SkinnedMeshData::GetBoneId(int index) const {
    ASSERT(index >= 0 && index < m_bonesCount);
    return m_boneIds[index];
}

Property* SkinnedMeshData::GetProperty(const std::string& name) const {
    auto it = m_properties.find(name);
    return it == m_properties.end() ? nullptr : it->second.get();
}

std::unique_ptr<SkinnedMeshData> LoadSkinnedMeshFromMemory(const void* data, size_t size,
                                                           const std::string& fileName) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    BinaryReader reader(bytes, size, fileName);
    unsigned version = 0;  // not used by this format
    reader.Skip(ReadModelHeader(bytes, size, &version), "header");

    reader.ReadInt32("mesh count");  // exactly one record follows whatever it says
    reader.SetContext("skinned mesh");
    const int id = reader.ReadInt32("mesh id");
    std::string name = reader.ReadString("mesh name");
    reader.SetContext("skinned mesh " + BinaryReader::Quote(name));
    std::string secondName = reader.ReadString("second name");
    sm::Mat4 transform;
    for (int i = 0; i < 16; ++i) transform[i] = reader.ReadFloat("mesh transform");

    const int bonesCount = reader.ReadCount("bone count", 4, "bone ids");
    std::vector<int32_t> boneIds(bonesCount);
    for (int i = 0; i < bonesCount; ++i) {
        boneIds[i] = reader.ReadInt32("bone id");
        LogMessage("Bone index %d = %d", i, boneIds[i]);
    }

    const int verticesCount = reader.ReadCount("vertex count", sizeof(SkinnedVertex), "vertices");
    std::vector<SkinnedVertex> vertices(verticesCount);
    const size_t verticesOffset = reader.GetPosition();
    reader.ReadBytes(vertices.data(), vertices.size() * sizeof(SkinnedVertex), "vertices");
    for (int v = 0; v < verticesCount; ++v) {
        for (int k = 0; k < 4; ++k) {
            if (vertices[v].bones[k] >= bonesCount) {
                reader.Fail(
                    verticesOffset + v * sizeof(SkinnedVertex) + offsetof(SkinnedVertex, bones) + k,
                    "bone index " + std::to_string(vertices[v].bones[k]) +
                        " not below the bone count " + std::to_string(bonesCount),
                    ("bone indices of vertex " + std::to_string(v)).c_str());
            }
        }
    }

    PropertyMap properties;
    ReadPropertyRecords(reader, "skinned mesh " + BinaryReader::Quote(name), &properties);
    return std::make_unique<SkinnedMeshData>(id, std::move(name), std::move(secondName), transform,
                                             std::move(boneIds), std::move(vertices),
                                             std::move(properties));
}

std::unique_ptr<SkinnedMeshData> LoadSkinnedMesh(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!ReadBinaryFile(path, &bytes)) {
        LogMessage("%s: can't read the skinned mesh file", BinaryReader::DisplayName(path).c_str());
        ASSERT(false && "couldn't load model file");
    }
    return LoadSkinnedMeshFromMemory(bytes.data(), bytes.size(), BinaryReader::DisplayName(path));
}
