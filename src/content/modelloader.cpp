#include "content/modelloader.h"

#include <cstring>
#include <vector>

#include "base/assert.h"
#include "base/log.h"
#include "content/binaryreader.h"
#include "content/model.h"
#include "content/vertexinformation.h"

namespace {

// Id, name length, part count and property count; a transform adds 64.
constexpr size_t kMinMeshRecordBytes = 16;
constexpr size_t kTransformBytes = 64;
// Material name length, vertex type and vertex count.
constexpr size_t kMinPartRecordBytes = 9;

sm::Mat4 ReadMatrix(BinaryReader& reader, const char* what) {
    sm::Mat4 m;
    for (int i = 0; i < 16; ++i) m[i] = reader.ReadFloat(what);
    return m;
}

std::unique_ptr<MeshPart> ReadPart(BinaryReader& reader, int index, const std::string& owner) {
    reader.SetContext("part " + std::to_string(index) + " of " + owner);
    std::string materialName = reader.ReadString("material name");
    const size_t typeOffset = reader.GetPosition();
    const int vertexType = reader.ReadUInt8("vertex type");
    if (vertexType > VertexInformation::kMaxVertexType) {
        reader.Fail(typeOffset, "vertex type " + std::to_string(vertexType) + " above 5",
                    "vertex type");
    }
    const int vertexSize = VertexInformation::GetVertexSize(vertexType);
    const int count = reader.ReadCount("vertex count", vertexSize, "vertex data");
    std::vector<unsigned char> vertices(static_cast<size_t>(count) * vertexSize);
    reader.ReadBytes(vertices.data(), vertices.size(), "vertex data");
    return std::make_unique<MeshPart>(vertexType, count, std::move(vertices),
                                      std::move(materialName));
}

std::unique_ptr<Mesh> ReadMesh(BinaryReader& reader, int index, unsigned version) {
    reader.SetContext("mesh " + std::to_string(index));
    const int id = reader.ReadInt32("mesh id");
    std::string name = reader.ReadString("mesh name");
    const std::string owner = "mesh " + BinaryReader::Quote(name);
    reader.SetContext(owner);
    auto mesh = std::make_unique<Mesh>(id, std::move(name));
    if (version != 0) mesh->SetFileTransform(ReadMatrix(reader, "mesh transform"));

    const int partCount = reader.ReadCount("part count", kMinPartRecordBytes, "parts");
    for (int i = 0; i < partCount; ++i) mesh->AddPart(ReadPart(reader, i, owner));

    PropertyMap properties;
    ReadPropertyRecords(reader, owner, &properties);
    for (auto& entry : properties) mesh->SetProperty(std::move(entry.second));

    // The shadow flags must be Int properties; say which file broke the rule before the
    // property's own check stops the program.
    for (const char* flag : {"castShadows", "receiveshadows"}) {
        const Property* property = mesh->GetProperty(flag);
        if (property && property->GetPropertyType() != PropertyType_Int) {
            LogMessage("%s: property \"%s\" of %s is not an Int", reader.GetFileName().c_str(),
                       flag, owner.c_str());
        }
    }
    mesh->ApplyProperties();
    return mesh;
}

}  // namespace

size_t ReadModelHeader(const unsigned char* data, size_t size, unsigned* version) {
    *version = 0;
    if (size > 7 && std::memcmp(data, kModelMagic, sizeof kModelMagic) == 0) {
        *version = static_cast<unsigned>(data[6] | (data[7] << 8));
        return 8;
    }
    return 0;
}

std::unique_ptr<Model> LoadModelFromMemory(const void* data, size_t size,
                                           const std::string& fileName) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    BinaryReader reader(bytes, size, fileName);
    unsigned version = 0;
    reader.Skip(ReadModelHeader(bytes, size, &version), "header");

    auto model = std::make_unique<Model>();
    model->SetVersion(version);
    const size_t minMesh = kMinMeshRecordBytes + (version != 0 ? kTransformBytes : 0);
    const int meshCount = reader.ReadCount("mesh count", minMesh, "meshes");
    for (int i = 0; i < meshCount; ++i) model->AddMesh(ReadMesh(reader, i, version));
    return model;
}

std::unique_ptr<Model> LoadModel(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!ReadBinaryFile(path, &bytes)) {
        LogMessage("%s: can't read the model file", BinaryReader::DisplayName(path).c_str());
        ASSERT(false && "couldn't load model file");
    }
    return LoadModelFromMemory(bytes.data(), bytes.size(), BinaryReader::DisplayName(path));
}
