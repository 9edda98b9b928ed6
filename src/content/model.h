// Model, Mesh and MeshPart, the CPU-side content of one ".geo" file: meshes in file order, each
// with parts (one non-indexed triangle list, vertex type, material name and bounds) and properties.
// Built once by the loader; then only part materials and mesh transforms change. No GPU here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "content/itransformable.h"
#include "content/propertyrecord.h"
#include "math/boundingbox.h"
#include "math/boundingsphere.h"
#include "math/mat4.h"
#include "math/property.h"

class Material;
class Mesh;
class Model;

class MeshPart {
public:
    // vertices holds verticesCount × GetVertexSize(vertexType) bytes. The bounding box is taken
    // from every vertex position at scale 1 and the sphere from the box; the material is null.
    MeshPart(int vertexType, int verticesCount, std::vector<unsigned char> vertices,
             std::string materialName);
    MeshPart(const MeshPart&) = delete;
    MeshPart& operator=(const MeshPart&) = delete;

    Material* GetMaterial() const { return m_material; }
    void SetMaterial(Material* material) { m_material = material; }
    const std::string& GetMaterialName() const { return m_materialName; }

    int GetVertexType() const { return m_vertexType; }
    // Three vertices per triangle.
    int GetVerticesCount() const { return m_verticesCount; }
    int GetTrianglesCount() const { return m_verticesCount / 3; }
    const unsigned char* GetVertexData() const { return m_vertices.data(); }
    size_t GetVertexDataSize() const { return m_vertices.size(); }

    Mesh* GetMesh() const { return m_mesh; }
    const BoundingBox& GetBoundingBox() const { return m_boundingBox; }
    const BoundingSphere& GetBoundingSphere() const { return m_boundingSphere; }

private:
    friend class Mesh;

    Material* m_material = nullptr;  // not owned
    uint8_t m_vertexType;
    int m_verticesCount;
    std::vector<unsigned char> m_vertices;
    Mesh* m_mesh = nullptr;
    BoundingBox m_boundingBox;
    BoundingSphere m_boundingSphere;
    std::string m_materialName;
};

class Mesh : public ITransformable {
public:
    // Every transform starts as the identity, both shadow flags clear.
    Mesh(int id, std::string name);
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // ITransformable: not a camera; m_id; m_transform, m_transform2 and the model's transform.
    // The last is null while the mesh belongs to no model.
    bool IsCamera() const override { return false; }
    int GetId() const override { return m_id; }
    sm::Mat4* GetTransform() override { return &m_transform; }
    sm::Mat4* GetTransform2() override { return &m_transform2; }
    sm::Mat4* GetParentTransform() override;

    const std::string& GetName() const { return m_name; }
    Model* GetModel() const { return m_model; }

    // The transform stored in the file (identity for files without one) and its inverse.
    const sm::Mat4& GetFileTransform() const { return m_fileTransform; }
    const sm::Mat4& GetFileTransformInverse() const { return m_fileTransformInverse; }
    // Stores the matrix and its general inverse.
    void SetFileTransform(const sm::Mat4& transform);

    // Appends a part and makes this mesh its owner. Add parts before the mesh joins a model.
    void AddPart(std::unique_ptr<MeshPart> part);
    int GetPartsCount() const { return static_cast<int>(m_meshParts.size()); }
    // Part 0 … count − 1; any other index is fatal.
    MeshPart* GetPart(int index) const;

    // Stores a property under its name, replacing one of the same name.
    void SetProperty(std::unique_ptr<Property> property);
    // The property of that name, or null.
    Property* GetProperty(const std::string& name) const;
    const PropertyMap& GetProperties() const { return m_properties; }

    // castShadows and receiveShadows become true exactly when the properties "castShadows" and
    // "receiveshadows" exist with the integer value 1 at time 0. Either property of another type
    // than Int is fatal.
    void ApplyProperties();
    bool GetCastShadows() const { return m_castShadows; }
    bool GetReceiveShadows() const { return m_receiveShadows; }

private:
    friend class Model;

    int m_id;
    std::string m_name;
    sm::Mat4 m_fileTransform;
    sm::Mat4 m_fileTransformInverse;
    std::vector<std::unique_ptr<MeshPart>> m_meshParts;
    sm::Mat4 m_transform;
    sm::Mat4 m_transform2;
    Model* m_model = nullptr;
    bool m_castShadows = false;
    bool m_receiveShadows = false;
    PropertyMap m_properties;
};

class Model {
public:
    Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Appends a mesh with its parts and makes this model its owner.
    void AddMesh(std::unique_ptr<Mesh> mesh);
    int GetMeshesCount() const { return static_cast<int>(m_meshes.size()); }
    // Mesh 0 … count − 1; any other index is fatal.
    Mesh* GetMesh(int index) const;

    // The first mesh of that name, or null.
    Mesh* FindMesh(const std::string& name) const;

    // Appends every part of every mesh, meshes in file order and parts in file order, to list.
    void CollectMeshParts(std::vector<MeshPart*>* list) const;
    // The same parts, kept up to date by AddMesh.
    const std::vector<MeshPart*>& GetMeshParts() const { return m_meshParts; }

    sm::Mat4& GetTransform() { return m_transform; }
    const sm::Mat4& GetTransform() const { return m_transform; }

    // The file's format version: the header's, or 0 for a file without one.
    unsigned GetVersion() const { return m_version; }
    void SetVersion(unsigned version) { m_version = version; }

private:
    unsigned m_version = 0;
    std::vector<std::unique_ptr<Mesh>> m_meshes;
    sm::Mat4 m_transform;
    std::vector<MeshPart*> m_meshParts;  // not owned
};
