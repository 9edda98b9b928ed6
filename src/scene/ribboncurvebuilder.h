// The ribbon curve builders: for one triangle of a ribbon's mesh, where its centre flies (a
// position curve) and how its size changes on the way (a uniform-scale curve), one builder per
// kind of ribbon. A ribbon calls BuildPath and then BuildScale once per triangle while it is
// built. Every random value comes from the process-wide generator in a fixed order, so the
// same scene always scatters the same way; the order is part of each builder's contract.
// Builders hold no state and know nothing of meshes.
#pragma once

#include <memory>

#include "math/animationcurve.h"
#include "math/vec3.h"
#include "scene/scenedata.h"

// Path keys K0 ... K(n-1) are path.Keys; every builder stretches their times by a random
// factor ts per triangle. Below, RR is RandomRange and RUV RandomUnitVector, drawn in the order
// written; "offset(Ki)" is Ki.position + RUV() · r with r = RR(0, spread) drawn first.
class IRibbonCurveBuilder {
public:
    virtual ~IRibbonCurveBuilder() = default;

    // centre and normal are the triangle's centroid and unit face normal; halfKeys is
    // path.Keys.size() / 2. Too few keys for the builder, or a zero last key time, is fatal.
    virtual std::unique_ptr<AnimationCurve<sm::Vec3>> BuildPath(const sm::Vec3& centre,
                                                                const sm::Vec3& normal,
                                                                const PathData& path, int halfKeys,
                                                                float spread, float delay) = 0;
    // pathCurve is what BuildPath gave for the same triangle. No builder computes tangents
    // here: scale keys keep zero tangents.
    virtual std::unique_ptr<AnimationCurve<float>> BuildScale(
        const AnimationCurve<sm::Vec3>& pathCurve, float triangleScale) = 0;
};

// The mesh breaks up and flies away. Path: ts = RR(1, (K(n-1).time + delay) / K(n-1).time),
// lift = RR(1, 4); keys (K0·ts, centre), (K1·ts, centre + normal·lift), then offset(Ki) for
// i = 2 ... n-1; tangents computed. Scale: d = RR(key 0 time, key 1 time); (d, 1), (d + 3, s).
// Needs 2 keys.
class RibbonCurveSource : public IRibbonCurveBuilder {
public:
    std::unique_ptr<AnimationCurve<sm::Vec3>> BuildPath(const sm::Vec3& centre,
                                                        const sm::Vec3& normal,
                                                        const PathData& path, int halfKeys,
                                                        float spread, float delay) override;
    std::unique_ptr<AnimationCurve<float>> BuildScale(const AnimationCurve<sm::Vec3>& pathCurve,
                                                      float triangleScale) override;
};

// The mesh assembles from triangles flying in. Path: ts as for the source; offset(Ki) for
// i = 0 ... n-3; approach = RR(0.5, 2) and (K(n-2)·ts, centre + normal·approach); (K(n-1)·ts,
// centre); tangents computed, then the last key's tangents zeroed so the triangle lands at
// rest. Scale, no draws: (start, 0), (start + 1, s), (mid, s), (end - 1, s), (end, 1); flights
// of 2 s or less give keys out of order. Needs 2 keys.
class RibbonCurveDestination : public IRibbonCurveBuilder {
public:
    std::unique_ptr<AnimationCurve<sm::Vec3>> BuildPath(const sm::Vec3& centre,
                                                        const sm::Vec3& normal,
                                                        const PathData& path, int halfKeys,
                                                        float spread, float delay) override;
    std::unique_ptr<AnimationCurve<float>> BuildScale(const AnimationCurve<sm::Vec3>& pathCurve,
                                                      float triangleScale) override;
};

// The first half of a morph, over K0 ... K(h-1) with h = halfKeys: as the source, with
// ts = RR(1, (K(h-1).time + delay) / K(h-1).time) and lift = RR(0, 0), a draw that always gives
// 0. Scale: d = RR(key 0 time, key 1 time); (d, 1), (d + 0.5, s), (d + 0.6, s), (mid, s),
// (end - 0.6, s), (end - 0.5, s), (end, 0). Needs 2 <= h <= n.
class RibbonCurveFullSource : public IRibbonCurveBuilder {
public:
    std::unique_ptr<AnimationCurve<sm::Vec3>> BuildPath(const sm::Vec3& centre,
                                                        const sm::Vec3& normal,
                                                        const PathData& path, int halfKeys,
                                                        float spread, float delay) override;
    std::unique_ptr<AnimationCurve<float>> BuildScale(const AnimationCurve<sm::Vec3>& pathCurve,
                                                      float triangleScale) override;
};

// The second half of a morph: as the destination, with the offset keys for i = h-2 ... n-3.
// Scale: as the morph's source half, growing from 0 after d and ending at 1.
// Needs 2 <= h <= n.
class RibbonCurveFullDestination : public IRibbonCurveBuilder {
public:
    std::unique_ptr<AnimationCurve<sm::Vec3>> BuildPath(const sm::Vec3& centre,
                                                        const sm::Vec3& normal,
                                                        const PathData& path, int halfKeys,
                                                        float spread, float delay) override;
    std::unique_ptr<AnimationCurve<float>> BuildScale(const AnimationCurve<sm::Vec3>& pathCurve,
                                                      float triangleScale) override;
};

// The mesh shatters and falls. Path: v = RUV() with |v.y|, times RR(0.3, 6); start
// t = K0.time + centre.y · 0.05 · (K1.time - K0.time) + RR(0, 1); then BuildFall. Ignores
// normal, halfKeys, spread, delay and the triangle scale. Scale, no draws: (start, 1),
// (mid, 0.5), (end, 0.5), (end + 3, 0). A centre at or below y = 0 gives an empty path, which
// BuildScale rejects as fatal. Needs 2 keys.
class RibbonCurveDestroy : public IRibbonCurveBuilder {
public:
    std::unique_ptr<AnimationCurve<sm::Vec3>> BuildPath(const sm::Vec3& centre,
                                                        const sm::Vec3& normal,
                                                        const PathData& path, int halfKeys,
                                                        float spread, float delay) override;
    std::unique_ptr<AnimationCurve<float>> BuildScale(const AnimationCurve<sm::Vec3>& pathCurve,
                                                      float triangleScale) override;

    // The ballistic arc in 0.1 s steps with zero tangents: while p.y > 0, key (t, p), then
    // p += v·0.1, v.y -= 9.8·0.1, t += 0.1. Empty when position.y is not above 0. An arc of
    // more than kMaxFallKeys keys (a start height that is not finite, or absurdly high) is
    // fatal.
    static std::unique_ptr<AnimationCurve<sm::Vec3>> BuildFall(const sm::Vec3& position,
                                                               const sm::Vec3& velocity,
                                                               float startTime);
    // Over 100 minutes of falling.
    static constexpr int kMaxFallKeys = 1 << 16;
};
