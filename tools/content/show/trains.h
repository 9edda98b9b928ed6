// The two trains: their wagons, modelled around the origin with the front towards +x and the
// wheels on y = 0, and animations that carry each wagon along a track, one node per wagon.
#pragma once

#include <vector>

#include "show/scenekit.h"

namespace show {

// A track as a polyline of rail-foot points, walked by distance along it.
class TrackCurve {
public:
    explicit TrackCurve(std::vector<sm::Vec3> points);
    float Length() const { return m_along.back(); }
    // Clamped to the ends.
    sm::Vec3 At(float s) const;
    sm::Vec3 Direction(float s) const;
    const std::vector<sm::Vec3>& Points() const { return m_points; }

private:
    std::vector<sm::Vec3> m_points;
    std::vector<float> m_along;
};

struct TrainRun {
    float start = 0.0f;   // the train's front is at distance `from` along the track then
    float end = 0.0f;
    float from = 0.0f;
    float speed = 5.0f;   // units per second
};

// "Train01": a streamlined locomotive and two coaches. "Train02": a locomotive and three wagons.
// Node (and mesh) ids start at 101 and 201. Wagons are placed every `kTrainKeyStep` seconds.
TrainBuild Train01(const TrackCurve& track, const TrainRun& run);
TrainBuild Train02(const TrackCurve& track, const TrainRun& run);

constexpr float kTrainKeyStep = 0.25f;

// The wagon's world matrix on the track with its middle at distance s: along the track, level
// across it.
sm::Mat4 WagonPlacement(const TrackCurve& track, float s);

}  // namespace show
