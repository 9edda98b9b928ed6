#include "math/boundingsphere.h"

BoundingSphere BoundingSphere::FromBox(const BoundingBox& box) {
    BoundingSphere sphere;
    sphere.center = box.center;
    sphere.radius = (box.center - box.GetVertex(0)).Length();
    return sphere;
}
