#include "scene/ribboncurvebuilder.h"

#include <cmath>

#include "base/assert.h"
#include "math/random.h"

// Every random draw below is its own statement: the order of the draws is the contract.

namespace {

using PathCurve = AnimationCurve<sm::Vec3>;
using ScaleCurve = AnimationCurve<float>;

const sm::Vec3 kZero(0.0f, 0.0f, 0.0f);

void AddPathKey(PathCurve* curve, float time, const sm::Vec3& position) {
    curve->AddKey(time, position, kZero, kZero);
}

void AddScaleKey(ScaleCurve* curve, float time, float scale) {
    curve->AddKey(time, scale, 0.0f, 0.0f);
}

// A path key's position scattered by up to spread: the distance is drawn before the direction.
sm::Vec3 OffsetPosition(const SceneElement::Key& key, float spread) {
    float r = sm::RandomRange(0.0f, spread);
    sm::Vec3 direction = sm::RandomUnitVector();
    return key.position + direction * r;
}

// The per-triangle time stretch, in [1, (lastTime + delay) / lastTime].
float DrawTimeStretch(float lastTime, float delay) {
    ASSERT(lastTime != 0.0f);
    return sm::RandomRange(1.0f, (lastTime + delay) / lastTime);
}

void RequireKeys(const PathData& path) {
    size_t keysCount = path.Keys.size();
    ASSERT(keysCount >= 2);
}

void RequireHalfKeys(const PathData& path, int halfKeys) {
    int keysCount = static_cast<int>(path.Keys.size());
    ASSERT(halfKeys >= 2 && halfKeys <= keysCount);
}

// Source and morph-source paths over keys 0 ... count - 1: the triangle starts at its centre,
// rises along its normal by lift, then follows the scattered path keys.
std::unique_ptr<PathCurve> BuildDeparture(const sm::Vec3& centre, const sm::Vec3& normal,
                                          const PathData& path, int count, float spread,
                                          float delay, float liftMin, float liftMax) {
    const std::vector<SceneElement::Key>& k = path.Keys;
    float ts = DrawTimeStretch(k[count - 1].time, delay);
    float lift = sm::RandomRange(liftMin, liftMax);
    auto curve = std::make_unique<PathCurve>();
    AddPathKey(curve.get(), k[0].time * ts, centre);
    AddPathKey(curve.get(), k[1].time * ts, centre + normal * lift);
    for (int i = 2; i < count; ++i) {
        sm::Vec3 position = OffsetPosition(k[i], spread);
        AddPathKey(curve.get(), k[i].time * ts, position);
    }
    curve->ComputeTangents();
    return curve;
}

// Destination and morph-destination paths: the scattered keys first ... n - 3, an approach
// above the centre at key n - 2, and the centre at key n - 1, reached at rest.
std::unique_ptr<PathCurve> BuildArrival(const sm::Vec3& centre, const sm::Vec3& normal,
                                        const PathData& path, int first, float spread,
                                        float delay) {
    const std::vector<SceneElement::Key>& k = path.Keys;
    const int n = static_cast<int>(k.size());
    float ts = DrawTimeStretch(k[n - 1].time, delay);
    PathCurve keys;
    for (int i = first; i <= n - 3; ++i) {
        sm::Vec3 position = OffsetPosition(k[i], spread);
        AddPathKey(&keys, k[i].time * ts, position);
    }
    float approach = sm::RandomRange(0.5f, 2.0f);
    AddPathKey(&keys, k[n - 2].time * ts, centre + normal * approach);
    AddPathKey(&keys, k[n - 1].time * ts, centre);
    keys.ComputeTangents();

    // Curves take keys only by appending: copy them, with the last one's tangents zeroed.
    auto curve = std::make_unique<PathCurve>();
    const int last = keys.GetKeysCount() - 1;
    for (int i = 0; i < last; ++i) {
        const Keyframe<sm::Vec3>& key = keys.GetKey(i);
        curve->AddKey(key.time, key.value, key.inTangent, key.outTangent);
    }
    AddPathKey(curve.get(), keys.GetKey(last).time, keys.GetKey(last).value);
    return curve;
}

// The morph halves' scale: from `from` at d to s within half a second, s through the flight,
// and to `to` in the last half second.
std::unique_ptr<ScaleCurve> BuildMorphScale(const PathCurve& pathCurve, float s, float from,
                                            float to) {
    float d = sm::RandomRange(pathCurve.GetKey(0).time, pathCurve.GetKey(1).time);
    float start = pathCurve.GetStartTime();
    float end = pathCurve.GetEndTime();
    auto curve = std::make_unique<ScaleCurve>();
    AddScaleKey(curve.get(), d, from);
    AddScaleKey(curve.get(), d + 0.5f, s);
    AddScaleKey(curve.get(), d + 0.6f, s);
    AddScaleKey(curve.get(), (end + start) / 2.0f, s);
    AddScaleKey(curve.get(), end - 0.6f, s);
    AddScaleKey(curve.get(), end - 0.5f, s);
    AddScaleKey(curve.get(), end, to);
    return curve;
}

}  // namespace

std::unique_ptr<PathCurve> RibbonCurveSource::BuildPath(const sm::Vec3& centre,
                                                        const sm::Vec3& normal,
                                                        const PathData& path, int /*halfKeys*/,
                                                        float spread, float delay) {
    RequireKeys(path);
    return BuildDeparture(centre, normal, path, static_cast<int>(path.Keys.size()), spread, delay,
                          1.0f, 4.0f);
}

std::unique_ptr<ScaleCurve> RibbonCurveSource::BuildScale(const PathCurve& pathCurve,
                                                          float triangleScale) {
    float d = sm::RandomRange(pathCurve.GetKey(0).time, pathCurve.GetKey(1).time);
    auto curve = std::make_unique<ScaleCurve>();
    AddScaleKey(curve.get(), d, 1.0f);
    AddScaleKey(curve.get(), d + 3.0f, triangleScale);
    return curve;
}

std::unique_ptr<PathCurve> RibbonCurveDestination::BuildPath(const sm::Vec3& centre,
                                                             const sm::Vec3& normal,
                                                             const PathData& path, int /*halfKeys*/,
                                                             float spread, float delay) {
    RequireKeys(path);
    return BuildArrival(centre, normal, path, 0, spread, delay);
}

std::unique_ptr<ScaleCurve> RibbonCurveDestination::BuildScale(const PathCurve& pathCurve,
                                                               float triangleScale) {
    float start = pathCurve.GetStartTime();
    float end = pathCurve.GetEndTime();
    auto curve = std::make_unique<ScaleCurve>();
    AddScaleKey(curve.get(), start, 0.0f);
    AddScaleKey(curve.get(), start + 1.0f, triangleScale);
    AddScaleKey(curve.get(), (start + end) / 2.0f, triangleScale);
    AddScaleKey(curve.get(), end - 1.0f, triangleScale);
    AddScaleKey(curve.get(), end, 1.0f);
    return curve;
}

std::unique_ptr<PathCurve> RibbonCurveFullSource::BuildPath(const sm::Vec3& centre,
                                                            const sm::Vec3& normal,
                                                            const PathData& path, int halfKeys,
                                                            float spread, float delay) {
    RequireHalfKeys(path, halfKeys);
    return BuildDeparture(centre, normal, path, halfKeys, spread, delay, 0.0f, 0.0f);
}

std::unique_ptr<ScaleCurve> RibbonCurveFullSource::BuildScale(const PathCurve& pathCurve,
                                                              float triangleScale) {
    return BuildMorphScale(pathCurve, triangleScale, 1.0f, 0.0f);
}

std::unique_ptr<PathCurve> RibbonCurveFullDestination::BuildPath(const sm::Vec3& centre,
                                                                 const sm::Vec3& normal,
                                                                 const PathData& path, int halfKeys,
                                                                 float spread, float delay) {
    RequireHalfKeys(path, halfKeys);
    return BuildArrival(centre, normal, path, halfKeys - 2, spread, delay);
}

std::unique_ptr<ScaleCurve> RibbonCurveFullDestination::BuildScale(const PathCurve& pathCurve,
                                                                   float triangleScale) {
    return BuildMorphScale(pathCurve, triangleScale, 0.0f, 1.0f);
}

std::unique_ptr<PathCurve> RibbonCurveDestroy::BuildPath(const sm::Vec3& centre,
                                                         const sm::Vec3& /*normal*/,
                                                         const PathData& path, int /*halfKeys*/,
                                                         float /*spread*/, float /*delay*/) {
    RequireKeys(path);
    const std::vector<SceneElement::Key>& k = path.Keys;
    sm::Vec3 v = sm::RandomUnitVector();
    v.y = std::fabs(v.y);  // always upwards
    float speed = sm::RandomRange(0.3f, 6.0f);
    v = v * speed;
    // Higher triangles start later, plus up to a second at random.
    float wait = sm::RandomRange(0.0f, 1.0f);
    float t = k[0].time + centre.y * 0.05f * (k[1].time - k[0].time) + wait;
    return BuildFall(centre, v, t);
}

std::unique_ptr<ScaleCurve> RibbonCurveDestroy::BuildScale(const PathCurve& pathCurve,
                                                           float /*triangleScale*/) {
    float start = pathCurve.GetStartTime();
    float end = pathCurve.GetEndTime();
    auto curve = std::make_unique<ScaleCurve>();
    AddScaleKey(curve.get(), start, 1.0f);
    AddScaleKey(curve.get(), (start + end) / 2.0f, 0.5f);
    AddScaleKey(curve.get(), end, 0.5f);
    AddScaleKey(curve.get(), end + 3.0f, 0.0f);
    return curve;
}

std::unique_ptr<PathCurve> RibbonCurveDestroy::BuildFall(const sm::Vec3& position,
                                                         const sm::Vec3& velocity,
                                                         float startTime) {
    const sm::Vec3 gravity(0.0f, 9.8f, 0.0f);
    auto curve = std::make_unique<PathCurve>();
    sm::Vec3 p = position;
    sm::Vec3 v = velocity;
    float t = startTime;
    while (p.y > 0.0f) {
        int keysCount = curve->GetKeysCount();
        ASSERT(keysCount < kMaxFallKeys);
        AddPathKey(curve.get(), t, p);
        p = p + v * 0.1f;
        v = v - gravity * 0.1f;
        t = t + 0.1f;
    }
    return curve;
}
