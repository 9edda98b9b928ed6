#include "gpu/meshbuffers.h"

#include <GL/glew.h>

#include <cstdint>

#include "content/animation.h"
#include "content/skinnedmeshdata.h"

namespace MeshBuffers {

int TrianglesCount(int verticesCount) {
    int trianglesCount = verticesCount > 0 ? verticesCount / 3 : 0;
    ASSERT(trianglesCount <= kMaxTriangles);
    return trianglesCount;
}

unsigned CreateStaticBuffer(const void* data, size_t bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

unsigned CreateIndexBuffer(int trianglesCount) {
    std::vector<uint16_t> indices(static_cast<size_t>(trianglesCount) * 3);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint16_t>(i);
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)), indices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return buffer;
}

unsigned CreateDynamicBuffer(size_t bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

void UploadDynamic(unsigned buffer, const void* data, size_t bytes) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_DYNAMIC_DRAW);
}

void FloatAttribute(int location, int components, int stride, size_t offset) {
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offset));
}

void DrawTriangles(unsigned indexBuffer, int trianglesCount) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glDrawElements(GL_TRIANGLES, 3 * trianglesCount, GL_UNSIGNED_SHORT, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

unsigned CreateSkinnedVertexBuffer(const SkinnedMeshData& data, int trianglesCount) {
    return CreateStaticBuffer(data.GetVertices(),
                              3 * static_cast<size_t>(trianglesCount) * sizeof(SkinnedVertex));
}

void SkinnedVertexAttributes(unsigned vertexBuffer) {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    FloatAttribute(0, 3, sizeof(SkinnedVertex), offsetof(SkinnedVertex, position));
    glVertexAttribIPointer(1, 4, GL_UNSIGNED_BYTE, sizeof(SkinnedVertex),
                           reinterpret_cast<const void*>(offsetof(SkinnedVertex, bones)));
    FloatAttribute(2, 4, sizeof(SkinnedVertex), offsetof(SkinnedVertex, weights));
}

void BindBones(const SkinnedMeshData& data, Animation* animation,
               std::vector<sm::Mat4>* boneMatrices) {
    ASSERT(static_cast<int>(boneMatrices->size()) == data.GetBonesCount());
    for (int i = 0; i < data.GetBonesCount(); ++i) {
        Animation* anim = animation ? animation->FindNode(data.GetBoneId(i)) : nullptr;
        ASSERT(anim != NULL);
        anim->SetTarget(&(*boneMatrices)[i], nullptr);
    }
}

void DeleteBuffer(unsigned* buffer) {
    if (*buffer != 0) glDeleteBuffers(1, buffer);
    *buffer = 0;
}

}  // namespace MeshBuffers
