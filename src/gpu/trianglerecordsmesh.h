// The part of the GPU mesh family that every mesh shares: whole triangles drawn through an
// index buffer, and a dynamic record per vertex (colour, glow power and whatever else Record
// holds) whose three copies per triangle are always equal. The setters change only the CPU
// copy; the derived mesh's Draw uploads it and points its locations at it.
#pragma once

#include <vector>

#include "gpu/basemesh.h"
#include "gpu/meshbuffers.h"
#include "math/vec4.h"

template <typename Record>
class TriangleRecordsMesh : public BaseMesh {
public:
    ~TriangleRecordsMesh() override { ReleaseRecords(); }
    TriangleRecordsMesh(const TriangleRecordsMesh&) = delete;
    TriangleRecordsMesh& operator=(const TriangleRecordsMesh&) = delete;

    int GetTrianglesCount() const { return m_trianglesCount; }

    // Change only the CPU copy; the next Draw uploads it. Indices outside the mesh are fatal.
    void SetTriangleColor(int index, const sm::Vec4& color) {
        MeshBuffers::SetTriangleColor(&m_records, index, color);
    }
    void SetAllTrianglesColor(const sm::Vec4& color) {
        MeshBuffers::SetAllTrianglesColor(&m_records, color);
    }
    void SetTriangleGlowPower(int index, float power) {
        MeshBuffers::SetTriangleGlowPower(&m_records, index, power);
    }
    void SetAllTrianglesGlowPower(float power) {
        MeshBuffers::SetAllTrianglesGlowPower(&m_records, power);
    }

    // The CPU copy, as the next Draw uploads it. Indices outside the mesh are fatal.
    const sm::Vec4& GetTriangleColor(int index) const { return Triangle(index).color; }
    float GetTriangleGlowPower(int index) const { return Triangle(index).glowPower; }

    // GL buffer names, 0 before the buffers exist.
    unsigned GetDynamicBufferId() const { return m_dynamicBufferId; }
    unsigned GetIndexBufferId() const { return m_indexBufferId; }

protected:
    TriangleRecordsMesh() = default;

    // Makes the index buffer and the records for trianglesCount triangles, each starting as
    // initial. Call after the derived mesh has made its vertex buffer.
    void CreateRecords(int trianglesCount, const Record& initial) {
        ReleaseRecords();
        m_trianglesCount = trianglesCount;
        m_indexBufferId = MeshBuffers::CreateIndexBuffer(trianglesCount);
        m_records.assign(3 * static_cast<size_t>(trianglesCount), initial);
        m_dynamicBufferId = MeshBuffers::CreateDynamicBuffer(m_records.size() * sizeof(Record));
    }

    // Uploads the records; the derived mesh then points its locations at the dynamic buffer.
    void UploadRecords() {
        MeshBuffers::UploadDynamic(m_dynamicBufferId, m_records.data(),
                                   m_records.size() * sizeof(Record));
    }

    // Draws every triangle through the index buffer.
    void DrawTriangles() { MeshBuffers::DrawTriangles(m_indexBufferId, m_trianglesCount); }

    // The first of triangle index's three records. Indices outside the mesh are fatal.
    Record& Triangle(int index) {
        MeshBuffers::CheckTriangle(index, m_trianglesCount);
        return m_records[3 * static_cast<size_t>(index)];
    }
    const Record& Triangle(int index) const {
        MeshBuffers::CheckTriangle(index, m_trianglesCount);
        return m_records[3 * static_cast<size_t>(index)];
    }

private:
    void ReleaseRecords() {
        MeshBuffers::DeleteBuffer(&m_dynamicBufferId);
        MeshBuffers::DeleteBuffer(&m_indexBufferId);
    }

    unsigned m_dynamicBufferId = 0;
    unsigned m_indexBufferId = 0;
    int m_trianglesCount = 0;
    std::vector<Record> m_records;
};
