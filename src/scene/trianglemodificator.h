// Triangle modificators: a per-frame effect that a ribbon applies to each of its triangles
// after moving it. BlinkAtStartAndEnd, the only one, flashes each triangle's glow as it
// departs. A modificator reaches the ribbon only through IModifiableRibbon and keeps no state
// of its own, so one instance serves every ribbon.
#pragma once

#include "content/ribbontriangle.h"

// What a modificator may read and change of a ribbon: the flight record of each triangle, and
// the glow power of each triangle in the ribbon's GPU mesh. TrianglesRibbon implements it.
class IModifiableRibbon : public IRibbonTriangleList {
public:
    // index is 0 ... GetRibbonTrianglesCount() - 1.
    virtual void SetTriangleGlowPower(int index, float power) = 0;
};

// Ribbons hold modificators without owning them, and nothing deletes one through this type.
class ITriangleModificator {
public:
    virtual void Modify(float time, IModifiableRibbon* ribbon, int triangleIndex) = 0;

protected:
    ~ITriangleModificator() = default;
};

// During the first second of a triangle's path (from its path curve's start time, both ends
// included) sets its glow power to a blink from 0.8 up to 2.0 at 0.05 of the second (quadratic
// ease-out) and linearly back to 0.8; at any other time it changes nothing, so the glow stays
// at 0.8 after the flash. There is no flash at the end of the path.
class BlinkAtStartAndEnd : public ITriangleModificator {
public:
    // The one shared instance; it lives until the process ends.
    static BlinkAtStartAndEnd* GetInstance();

    void Modify(float time, IModifiableRibbon* ribbon, int triangleIndex) override;

    static constexpr float kDuration = 1.0f;  // seconds
    static constexpr float kSplit = 0.05f;    // of the duration: the peak
    static constexpr float kRestGlow = 0.8f;
    static constexpr float kPeakGlow = 2.0f;

private:
    BlinkAtStartAndEnd() = default;
};
