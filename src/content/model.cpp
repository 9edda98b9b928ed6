#include "content/model.h"

#include "base/assert.h"
#include "content/vertexinformation.h"

MeshPart::MeshPart(int vertexType, int verticesCount, std::vector<unsigned char> vertices,
                   std::string materialName)
    : m_vertexType(static_cast<uint8_t>(vertexType)),
      m_verticesCount(verticesCount),
      m_vertices(std::move(vertices)),
      m_materialName(std::move(materialName)) {
    const int vertexSize = VertexInformation::GetVertexSize(vertexType);
    ASSERT(verticesCount >= 0);
    ASSERT(m_vertices.size() == static_cast<size_t>(verticesCount) * vertexSize);
    m_boundingBox = BoundingBox::FromVertices(m_vertices.data(), verticesCount, vertexSize, 1.0f);
    m_boundingSphere = BoundingSphere::FromBox(m_boundingBox);
}

Mesh::Mesh(int id, std::string name) : m_id(id), m_name(std::move(name)) {}

sm::Mat4* Mesh::GetParentTransform() { return m_model ? &m_model->GetTransform() : nullptr; }

void Mesh::SetFileTransform(const sm::Mat4& transform) {
    m_fileTransform = transform;
    m_fileTransformInverse = transform.Inverse();
}

void Mesh::AddPart(std::unique_ptr<MeshPart> part) {
    ASSERT(m_model == nullptr);
    part->m_mesh = this;
    m_meshParts.push_back(std::move(part));
}

MeshPart* Mesh::GetPart(int index) const {
    ASSERT(index >= 0 && index < GetPartsCount());
    return m_meshParts[index].get();
}

void Mesh::SetProperty(std::unique_ptr<Property> property) {
    const std::string name = property->GetName();
    m_properties[name] = std::move(property);
}

Property* Mesh::GetProperty(const std::string& name) const {
    auto it = m_properties.find(name);
    return it == m_properties.end() ? nullptr : it->second.get();
}

void Mesh::ApplyProperties() {
    if (const Property* cast = GetProperty("castShadows")) m_castShadows = cast->GetInt(0.0f) == 1;
    if (const Property* receive = GetProperty("receiveshadows"))
        m_receiveShadows = receive->GetInt(0.0f) == 1;
}

void Model::AddMesh(std::unique_ptr<Mesh> mesh) {
    mesh->m_model = this;
    for (const auto& part : mesh->m_meshParts) m_meshParts.push_back(part.get());
    m_meshes.push_back(std::move(mesh));
}

Mesh* Model::GetMesh(int index) const {
    ASSERT(index >= 0 && index < GetMeshesCount());
    return m_meshes[index].get();
}

Mesh* Model::FindMesh(const std::string& name) const {
    for (const auto& mesh : m_meshes) {
        if (mesh->GetName() == name) return mesh.get();
    }
    return nullptr;
}

void Model::CollectMeshParts(std::vector<MeshPart*>* list) const {
    for (const auto& mesh : m_meshes) {
        for (const auto& part : mesh->m_meshParts) list->push_back(part.get());
    }
}
