// Keyframe interpolators: a list of timed keys of one value type, answering "what is the value
// at time t". Animated properties store their keys in one, and step interpolators of ints drive
// discrete state. Three behaviours share one interface: LinearInterpolator, StateInterpolator
// (step) and TCBInterpolator (a uniform Catmull–Rom spline; it has no tension, continuity or
// bias parameters). Keys are kept in the order added; AddKey does no ordering, InsertKey keeps
// the keys sorted. Every behaviour clamps to the first and last key outside the key range.
//
// Provided value types: int, float, sm::Vec3 and sm::Vec4 for all three behaviours; bool and
// std::string for StateInterpolator only. int results are computed in float and truncated
// toward zero.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include "math/vec3.h"
#include "math/vec4.h"

template <typename T>
struct KeyFrame {
    float time = 0.0f;
    bool step = false;  // meaning depends on the behaviour; see each class
    T value{};
};

// The type-independent part of every interpolator.
class IKeysContainer {
public:
    virtual ~IKeysContainer() = default;
    virtual int GetKeysCount() const = 0;
    // Removes the key at index; later keys move up.
    virtual void RemoveKey(int index) = 0;
};

template <typename T>
class IInterpolator : public IKeysContainer {
public:
    // Writes the value at time to *out and returns the index of the key that decided it. With
    // no keys it returns 0 and leaves *out as it is. startIndex is where the State and TCB
    // searches begin: 0 is always right, a larger value only if it does not pass the last key
    // at or before time (a start index past that is ignored and the search begins at 0).
    virtual int Evaluate(float time, T* out, int startIndex) const = 0;
    // Appends a key with no ordering check; add keys in increasing time.
    virtual void AddKey(float time, T value, bool step) = 0;
    // Inserts before the first key whose time is not smaller; a key at exactly the same time
    // has its value and step flag replaced instead.
    virtual void InsertKey(float time, T value, bool step) = 0;
    virtual KeyFrame<T> GetKey(int index) const = 0;
    virtual void GetKey(int index, float* time, T* value, bool* step) const = 0;
};

namespace interpolator_detail {
template <typename T>
constexpr bool kIsNumeric = std::is_same<T, int>::value || std::is_same<T, float>::value ||
                            std::is_same<T, sm::Vec3>::value || std::is_same<T, sm::Vec4>::value;
template <typename T>
constexpr bool kIsSupported =
    kIsNumeric<T> || std::is_same<T, bool>::value || std::is_same<T, std::string>::value;
}  // namespace interpolator_detail

// Key storage and the operations common to every behaviour. Index arguments must name an
// existing key; anything else is fatal.
template <typename T>
class Interpolator : public IInterpolator<T> {
    static_assert(interpolator_detail::kIsSupported<T>, "no interpolator for this value type");

public:
    int GetKeysCount() const override;
    void RemoveKey(int index) override;
    void AddKey(float time, T value, bool step) override;
    void InsertKey(float time, T value, bool step) override;
    KeyFrame<T> GetKey(int index) const override;
    void GetKey(int index, float* time, T* value, bool* step) const override;

protected:
    // The clamping shared by all behaviours: with no keys, at or before the first key, or at
    // or after the last, sets *index (and *out when there are keys) and returns true.
    bool EvaluateOutsideRange(float time, T* out, int* index) const;

    std::vector<KeyFrame<T>> m_keys;
};

// Straight lines between keys. A set step flag on a segment's end key makes the whole open
// segment take that key's value. startIndex is ignored.
template <typename T>
class LinearInterpolator : public Interpolator<T> {
    static_assert(interpolator_detail::kIsNumeric<T>, "no linear interpolator for this type");

public:
    int Evaluate(float time, T* out, int startIndex) const override;
};

// Holds each key's value until the next key's time. Step flags are ignored.
template <typename T>
class StateInterpolator : public Interpolator<T> {
    static_assert(interpolator_detail::kIsSupported<T>, "no state interpolator for this type");

public:
    int Evaluate(float time, T* out, int startIndex) const override;
};

// Uniform Catmull–Rom spline with natural end conditions; key spacing in time does not enter
// the tangents, and exactly two keys give a straight line. A set step flag on a segment's start
// key holds that value over the segment, and a set flag stops the spline from reaching across
// the key for a neighbouring tangent.
template <typename T>
class TCBInterpolator : public Interpolator<T> {
    static_assert(interpolator_detail::kIsNumeric<T>, "no TCB interpolator for this type");

public:
    int Evaluate(float time, T* out, int startIndex) const override;
};

// Defined in interpolator.cpp for exactly the provided combinations.
extern template class Interpolator<int>;
extern template class Interpolator<float>;
extern template class Interpolator<sm::Vec3>;
extern template class Interpolator<sm::Vec4>;
extern template class Interpolator<bool>;
extern template class Interpolator<std::string>;
extern template class LinearInterpolator<int>;
extern template class LinearInterpolator<float>;
extern template class LinearInterpolator<sm::Vec3>;
extern template class LinearInterpolator<sm::Vec4>;
extern template class StateInterpolator<int>;
extern template class StateInterpolator<float>;
extern template class StateInterpolator<sm::Vec3>;
extern template class StateInterpolator<sm::Vec4>;
extern template class StateInterpolator<bool>;
extern template class StateInterpolator<std::string>;
extern template class TCBInterpolator<int>;
extern template class TCBInterpolator<float>;
extern template class TCBInterpolator<sm::Vec3>;
extern template class TCBInterpolator<sm::Vec4>;
