#include "math/boundingbox.h"

#include <cstring>
#include <utility>

#include "base/assert.h"

BoundingBox BoundingBox::FromVertices(const void* vertices, int count, int vertexSize,
                                      float scale) {
    BoundingBox box;
    if (count <= 0) return box;
    const int kPositionSize = 12;
    ASSERT(vertexSize >= kPositionSize);

    const unsigned char* bytes = static_cast<const unsigned char*>(vertices);
    for (int i = 0; i < count; ++i) {
        sm::Vec3 p;
        std::memcpy(&p, bytes + static_cast<std::size_t>(i) * vertexSize, sizeof p);
        if (i == 0) {
            box.minX = box.maxX = p.x;
            box.minY = box.maxY = p.y;
            box.minZ = box.maxZ = p.z;
        }
        if (p.x < box.minX) box.minX = p.x;
        if (p.x > box.maxX) box.maxX = p.x;
        if (p.y < box.minY) box.minY = p.y;
        if (p.y > box.maxY) box.maxY = p.y;
        if (p.z < box.minZ) box.minZ = p.z;
        if (p.z > box.maxZ) box.maxZ = p.z;
    }

    box.minX *= scale;
    box.maxX *= scale;
    box.minY *= scale;
    box.maxY *= scale;
    box.minZ *= scale;
    box.maxZ *= scale;
    if (scale < 0.0f) {
        std::swap(box.minX, box.maxX);
        std::swap(box.minY, box.maxY);
        std::swap(box.minZ, box.maxZ);
    }
    box.center = sm::Vec3((box.minX + box.maxX) / 2.0f, (box.minY + box.maxY) / 2.0f,
                          (box.minZ + box.maxZ) / 2.0f);
    return box;
}

sm::Vec3 BoundingBox::GetVertex(int index) const {
    switch (index) {
        case 0:
            return sm::Vec3(minX, maxY, minZ);
        case 1:
            return sm::Vec3(maxX, maxY, minZ);
        case 2:
            return sm::Vec3(maxX, maxY, maxZ);
        case 3:
            return sm::Vec3(minX, maxY, maxZ);
        case 4:
            return sm::Vec3(minX, minY, minZ);
        case 5:
            return sm::Vec3(maxX, minY, minZ);
        case 6:
            return sm::Vec3(maxX, minY, maxZ);
        case 7:
            return sm::Vec3(minX, minY, maxZ);
        default:
            ASSERT(false && "box has only 8 vertices, stupid...");
            return sm::Vec3(0, 0, 0);
    }
}
