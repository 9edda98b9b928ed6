// AnimationCurve<T>, a keyed cubic Hermite curve with explicit tangents, for float, sm::Vec3 and
// sm::Quat. Paths, animation tracks and camera values are built by appending keys in increasing
// time and then calling ComputeTangents once (or by loading explicit tangents). Tangents are
// time derivatives (value per second) and are scaled by the segment duration, so unevenly spaced
// keys still give a C1 curve. A quaternion result is the plain component-wise blend: normalise
// it before using it as a rotation. Keys are not sorted or checked for equal times.
#pragma once

#include <type_traits>
#include <vector>

#include "math/quat.h"
#include "math/vec3.h"

template <typename T>
struct Keyframe {
    float time = 0.0f;
    T value{};
    T inTangent{};   // arriving at the key
    T outTangent{};  // leaving the key
};

template <typename T>
class AnimationCurve {
    static_assert(std::is_same<T, float>::value || std::is_same<T, sm::Vec3>::value ||
                      std::is_same<T, sm::Quat>::value,
                  "AnimationCurve exists for float, sm::Vec3 and sm::Quat");

public:
    // Appends a key; pass zero tangents when ComputeTangents follows.
    void AddKey(float time, const T& value, const T& inTangent, const T& outTangent);

    // Sets both tangents of every key from the values: the chord slope at the two ends, the mean
    // of the two neighbouring chord slopes inside. Does nothing with fewer than two keys.
    void ComputeTangents();

    // The first and last key times; an empty curve is fatal.
    float GetStartTime() const;
    float GetEndTime() const;

    // The value at time: the end values at or outside the key range, the Hermite blend of the
    // enclosing segment inside it. An empty curve is fatal.
    T Evaluate(float time) const;
    void Evaluate(float time, T* out) const { *out = Evaluate(time); }

    // The largest segment index i <= count − 2 with key i at or before time, by binary search.
    // time must lie strictly between the start and end times; anything else is fatal.
    int FindSegment(float time) const;

    int GetKeysCount() const { return static_cast<int>(m_keyframesVector.size()); }
    // Key 0 … count − 1; any other index is fatal.
    const Keyframe<T>& GetKey(int index) const;

private:
    std::vector<Keyframe<T>> m_keyframesVector;
};

extern template class AnimationCurve<float>;
extern template class AnimationCurve<sm::Vec3>;
extern template class AnimationCurve<sm::Quat>;
