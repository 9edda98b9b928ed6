#include "math/animationcurve.h"

#include "base/assert.h"

namespace {

// Component-wise difference and quotient for the tangent formulas; sm::Quat has no such
// operators of its own.
float Difference(float a, float b) { return a - b; }
sm::Vec3 Difference(const sm::Vec3& a, const sm::Vec3& b) { return a - b; }
sm::Quat Difference(const sm::Quat& a, const sm::Quat& b) { return sm::Quat(a.w - b.w, a.v - b.v); }

float Quotient(float a, float d) { return a / d; }
sm::Vec3 Quotient(const sm::Vec3& a, float d) { return a / d; }
sm::Quat Quotient(const sm::Quat& a, float d) { return sm::Quat(a.w / d, a.v / d); }

// (b − a) / duration.
template <typename T>
T Slope(const Keyframe<T>& a, const Keyframe<T>& b, float durationFactor) {
    return Quotient(Difference(b.value, a.value), (b.time - a.time) * durationFactor);
}

}  // namespace

template <typename T>
void AnimationCurve<T>::AddKey(float time, const T& value, const T& inTangent,
                               const T& outTangent) {
    Keyframe<T> key;
    key.time = time;
    key.value = value;
    key.inTangent = inTangent;
    key.outTangent = outTangent;
    m_keyframesVector.push_back(key);
}

template <typename T>
void AnimationCurve<T>::ComputeTangents() {
    const int n = GetKeysCount();
    if (n < 2) return;
    std::vector<Keyframe<T>>& k = m_keyframesVector;
    for (int i = 0; i < n; ++i) {
        T c;
        if (i == 0) {
            c = Slope(k[0], k[1], 1.0f);
        } else if (i == n - 1) {
            c = Slope(k[i - 1], k[i], 1.0f);
        } else {
            c = Slope(k[i], k[i + 1], 2.0f) + Slope(k[i - 1], k[i], 2.0f);
        }
        k[i].inTangent = c;
        k[i].outTangent = c;
    }
}

template <typename T>
float AnimationCurve<T>::GetStartTime() const {
    ASSERT(m_keyframesVector.size() > 0);
    return m_keyframesVector.front().time;
}

template <typename T>
float AnimationCurve<T>::GetEndTime() const {
    ASSERT(m_keyframesVector.size() > 0);
    return m_keyframesVector.back().time;
}

template <typename T>
const Keyframe<T>& AnimationCurve<T>::GetKey(int index) const {
    ASSERT(index >= 0 && index < GetKeysCount());
    return m_keyframesVector[index];
}

template <typename T>
int AnimationCurve<T>::FindSegment(float time) const {
    ASSERT(time > GetStartTime() && time < GetEndTime());
    const int n = GetKeysCount();
    int step = n / 2;
    int i = 0;
    while (step > 0) {
        int j = i + step;
        if (j < n - 1 && time >= m_keyframesVector[j].time) {
            i = j;
        } else {
            step /= 2;
        }
    }
    return i;
}

template <typename T>
T AnimationCurve<T>::Evaluate(float time) const {
    if (time <= GetStartTime()) return m_keyframesVector.front().value;
    if (time >= GetEndTime()) return m_keyframesVector.back().value;

    int i = FindSegment(time);
    const Keyframe<T>& a = m_keyframesVector[i];
    const Keyframe<T>& b = m_keyframesVector[i + 1];
    float d = b.time - a.time;
    float u = (time - a.time) / d;
    float u2 = u * u;
    float u3 = u2 * u;
    return a.value * (2.0f * u3 - 3.0f * u2 + 1.0f) + (a.outTangent * d) * (u3 - 2.0f * u2 + u) +
           b.value * (-2.0f * u3 + 3.0f * u2) + (b.inTangent * d) * (u3 - u2);
}

template class AnimationCurve<float>;
template class AnimationCurve<sm::Vec3>;
template class AnimationCurve<sm::Quat>;
