// BoundingSphere, the sphere around a mesh part's bounding box: same centre, radius to the
// box's corners. A default sphere has radius 0 at the origin.
#pragma once

#include "math/boundingbox.h"
#include "math/vec3.h"

struct BoundingSphere {
    float radius = 0.0f;
    sm::Vec3 center;

    // centre = box.center, radius = the distance from it to corner 0.
    static BoundingSphere FromBox(const BoundingBox& box);
};
