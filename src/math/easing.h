// Easing curves: stateless maps from a normalised parameter t to a value between two ends,
// (from, to, t) → value, with t clamped to [0, 1] first. LinearCurve and QuadOut (fast start,
// zero slope at the end) are the basic shapes; BlinkCurve rises with one shape during the first
// fraction of the interval and falls back with another during the rest. They are cheap values,
// meant to be made on the stack where needed.
#pragma once

#include "math/scalar.h"

template <typename T>
class IAnimationCurve {
public:
    virtual ~IAnimationCurve() = default;
    virtual T Evaluate(T from, T to, float t) const = 0;
};

namespace easing_detail {
inline float Clamp01(float t) { return sm::Max(sm::Min(t, 1.0f), 0.0f); }
}  // namespace easing_detail

// (to − from)·t + from.
template <typename T>
class LinearCurve : public IAnimationCurve<T> {
public:
    T Evaluate(T from, T to, float t) const override {
        t = easing_detail::Clamp01(t);
        return (to - from) * t + from;
    }
};

// −(to − from)·t·(t − 2) + from: from at t = 0, to at t = 1 with zero slope there.
template <typename T>
class QuadOut : public IAnimationCurve<T> {
public:
    T Evaluate(T from, T to, float t) const override {
        t = easing_detail::Clamp01(t);
        return -(to - from) * t * (t - 2.0f) + from;
    }
};

// Rise over [0, split] with Rise(from, to, t / split), then fall over (split, 1] with
// Fall(to, from, (t − split) / (1 − split)): from, up to `to` at the split, back to from at 1.
template <typename T, typename Rise, typename Fall>
class BlinkCurve : public IAnimationCurve<T> {
public:
    explicit BlinkCurve(float split) : m_split(split) {}

    T Evaluate(T from, T to, float t) const override {
        t = easing_detail::Clamp01(t);
        if (t <= m_split) return m_rise.Evaluate(from, to, t / m_split);
        return m_fall.Evaluate(to, from, (t - m_split) / (1.0f - m_split));
    }

private:
    float m_split;
    Rise m_rise;
    Fall m_fall;
};
