// SkinnedMeshData, the CPU-side content of one ".skm" file (one mesh whose vertices are weighted to
// up to four bones, each named by an animation node id), and its loader. The vertices stay as
// stored in the file, ready for upload; no GPU objects are made here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "content/propertyrecord.h"
#include "math/mat4.h"
#include "math/vec3.h"

// One skinned vertex, 32 bytes, as in the file and in the GPU buffer.
struct SkinnedVertex {
    sm::Vec3 position;
    uint8_t bones[4];  // indices into the bone ids (and the GPU mesh's bone matrices)
    float weights[4];
};

static_assert(sizeof(SkinnedVertex) == 32 && offsetof(SkinnedVertex, bones) == 12 &&
                  offsetof(SkinnedVertex, weights) == 16,
              "SkinnedVertex is the file's 32-byte layout");
static_assert(std::is_trivially_copyable<SkinnedVertex>::value, "copied bytewise");

class SkinnedMeshData {
public:
    SkinnedMeshData(int id, std::string name, std::string secondName, const sm::Mat4& transform,
                    std::vector<int32_t> boneIds, std::vector<SkinnedVertex> vertices,
                    PropertyMap properties);
    SkinnedMeshData(const SkinnedMeshData&) = delete;
    SkinnedMeshData& operator=(const SkinnedMeshData&) = delete;

    int GetId() const { return m_id; }
    const std::string& GetName() const { return m_name; }
    // A second text of the record; nothing interprets it.
    const std::string& GetSecondName() const { return m_secondName; }
    const sm::Mat4& GetTransform() const { return m_transform; }
    const sm::Mat4& GetTransformInverse() const { return m_transformInverse; }

    // Three vertices per triangle.
    int GetVerticesCount() const { return m_verticesCount; }
    const SkinnedVertex* GetVertices() const { return m_vertices.data(); }

    int GetBonesCount() const { return m_bonesCount; }
    // For bone index i, the id of the animation node that moves it.
    const int32_t* GetBoneIds() const { return m_boneIds.data(); }
    // Bone index 0 … count − 1; any other index is fatal.
    int GetBoneId(int index) const;

    // The property of that name, or null.
    Property* GetProperty(const std::string& name) const;
    const PropertyMap& GetProperties() const { return m_properties; }

private:
    int m_id;
    std::string m_name;
    std::string m_secondName;
    sm::Mat4 m_transform;
    sm::Mat4 m_transformInverse;
    int m_verticesCount;
    std::vector<SkinnedVertex> m_vertices;
    int m_bonesCount;
    std::vector<int32_t> m_boneIds;
    PropertyMap m_properties;
};

// Reads the file; one that can't be read fails the assertion
// false && "couldn't load model file". Logs "Bone index <i> = <id>" for every bone. Input is
// untrusted: damage, or a vertex bone index that names no bone, is fatal through the reader.
std::unique_ptr<SkinnedMeshData> LoadSkinnedMesh(const std::string& path);

// Parses a file held in memory; fileName appears in reports.
std::unique_ptr<SkinnedMeshData> LoadSkinnedMeshFromMemory(const void* data, size_t size,
                                                           const std::string& fileName);
