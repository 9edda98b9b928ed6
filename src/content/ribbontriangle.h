// One flying triangle of a ribbon: the path of its centre, its scale over time, and its spin.
// IRibbonTriangleList is how other parts read a ribbon's triangles without knowing the ribbon:
// a skinned figure that dissolves into a ribbon follows these curves triangle by triangle.
#pragma once

#include <memory>

#include "math/animationcurve.h"
#include "math/vec3.h"

struct RibbonTriangle {
    std::unique_ptr<AnimationCurve<sm::Vec3>> m_path;  // position of the centre over time
    std::unique_ptr<AnimationCurve<float>> m_scale;    // uniform scale over time
    sm::Vec3 m_spinAxis;                               // random unit axis
    float m_spin = 0.0f;                               // spin of the last update
    float m_spinSpeed = 0.0f;                          // random, in [1, 10)
};

class IRibbonTriangleList {
public:
    virtual ~IRibbonTriangleList() = default;
    // May be 0 (a ribbon without triangles).
    virtual int GetRibbonTrianglesCount() const = 0;
    // Triangle 0 ... count - 1.
    virtual const RibbonTriangle& GetRibbonTriangle(int index) const = 0;
};
