// BoundingBox, the axis-aligned box of a mesh part's vertex positions, computed once at load.
// Members interleave minimum and maximum per axis. Corners are numbered 0 … 3 around the top
// face (maximum y) and 4 … 7 in the same order around the bottom face; 2 is the maximum corner,
// 4 the minimum.
#pragma once

#include "math/vec3.h"

struct BoundingBox {
    float minX = 0.0f, maxX = 0.0f;
    float minY = 0.0f, maxY = 0.0f;
    float minZ = 0.0f, maxZ = 0.0f;
    sm::Vec3 center;

    // The box of count interleaved vertices whose position is the first three floats of each
    // vertex; vertexSize is the distance in bytes from one vertex to the next (at least 12).
    // The extents are multiplied by scale and center is taken from the scaled extents; a
    // negative scale keeps every minimum below its maximum. No vertices give the empty box at
    // the origin.
    static BoundingBox FromVertices(const void* vertices, int count, int vertexSize, float scale);

    // Corner 0 … 7; any other index is fatal.
    sm::Vec3 GetVertex(int index) const;
};
