#include "math/interpolator.h"

#include <utility>

#include "base/assert.h"

namespace {

// Arithmetic of the blends. Numeric types compute in their own type, except int, which computes
// in float and truncates toward zero when a result is stored back as int.
template <typename T>
struct Blend {
    using Calc = T;
    static T ToCalc(const T& v) { return v; }
    static T FromCalc(const T& c) { return c; }
};

template <>
struct Blend<int> {
    using Calc = float;
    static float ToCalc(int v) { return static_cast<float>(v); }
    static int FromCalc(float c) { return static_cast<int>(c); }
};

template <typename T>
T Scaled(const T& v, float s) {
    return Blend<T>::FromCalc(Blend<T>::ToCalc(v) * s);
}

// A search start that may be trusted: an existing key at or before time; otherwise 0.
template <typename T>
int CheckedStart(const std::vector<KeyFrame<T>>& keys, float time, int startIndex) {
    if (startIndex <= 0 || startIndex >= static_cast<int>(keys.size())) return 0;
    return keys[startIndex].time <= time ? startIndex : 0;
}

}  // namespace

template <typename T>
int Interpolator<T>::GetKeysCount() const {
    return static_cast<int>(m_keys.size());
}

template <typename T>
void Interpolator<T>::RemoveKey(int index) {
    ASSERT(index >= 0 && index < GetKeysCount());
    m_keys.erase(m_keys.begin() + index);
}

template <typename T>
void Interpolator<T>::AddKey(float time, T value, bool step) {
    KeyFrame<T> key;
    key.time = time;
    key.step = step;
    key.value = std::move(value);
    m_keys.push_back(std::move(key));
}

template <typename T>
void Interpolator<T>::InsertKey(float time, T value, bool step) {
    auto it = m_keys.begin();
    while (it != m_keys.end() && it->time < time) ++it;
    if (it != m_keys.end() && it->time == time) {
        it->value = std::move(value);
        it->step = step;
        return;
    }
    KeyFrame<T> key;
    key.time = time;
    key.step = step;
    key.value = std::move(value);
    m_keys.insert(it, std::move(key));
}

template <typename T>
KeyFrame<T> Interpolator<T>::GetKey(int index) const {
    ASSERT(index >= 0 && index < GetKeysCount());
    return m_keys[index];
}

template <typename T>
void Interpolator<T>::GetKey(int index, float* time, T* value, bool* step) const {
    ASSERT(index >= 0 && index < GetKeysCount());
    const KeyFrame<T>& key = m_keys[index];
    *time = key.time;
    *value = key.value;
    *step = key.step;
}

template <typename T>
bool Interpolator<T>::EvaluateOutsideRange(float time, T* out, int* index) const {
    int n = GetKeysCount();
    if (n == 0) {
        *index = 0;
        return true;
    }
    if (time <= m_keys[0].time) {
        *out = m_keys[0].value;
        *index = 0;
        return true;
    }
    if (time >= m_keys[n - 1].time) {
        *out = m_keys[n - 1].value;
        *index = n - 1;
        return true;
    }
    return false;
}

template <typename T>
int LinearInterpolator<T>::Evaluate(float time, T* out, int /*startIndex*/) const {
    int index;
    if (this->EvaluateOutsideRange(time, out, &index)) return index;
    const std::vector<KeyFrame<T>>& keys = this->m_keys;

    // time lies strictly inside the key range, so the scan stops at some i >= 1.
    int i = 0;
    for (;; ++i) {
        if (keys[i].time == time) {
            *out = keys[i].value;
            return i;
        }
        if (keys[i].time > time) break;
    }
    const KeyFrame<T>& a = keys[i - 1];
    const KeyFrame<T>& b = keys[i];
    if (b.step) {
        *out = b.value;
        return i;
    }
    float u = (time - a.time) / (b.time - a.time);
    *out =
        Blend<T>::FromCalc(Blend<T>::ToCalc(a.value) * (1.0f - u) + Blend<T>::ToCalc(b.value) * u);
    return i;
}

template <typename T>
int StateInterpolator<T>::Evaluate(float time, T* out, int startIndex) const {
    int index;
    if (this->EvaluateOutsideRange(time, out, &index)) return index;
    const std::vector<KeyFrame<T>>& keys = this->m_keys;

    // The first key is at or before time and the last after it, so 1 <= j <= n - 1.
    int j = CheckedStart(keys, time, startIndex);
    while (j < static_cast<int>(keys.size()) && keys[j].time <= time) ++j;
    *out = keys[j - 1].value;
    return j - 1;
}

template <typename T>
int TCBInterpolator<T>::Evaluate(float time, T* out, int startIndex) const {
    int index;
    if (this->EvaluateOutsideRange(time, out, &index)) return index;
    const std::vector<KeyFrame<T>>& keys = this->m_keys;
    const int n = static_cast<int>(keys.size());

    // The first key is before time and the last after it, so 1 <= b <= n - 1.
    int b = CheckedStart(keys, time, startIndex);
    while (b < n && keys[b].time < time) ++b;
    if (keys[b].time == time) {
        *out = keys[b].value;
        return b;
    }
    const int a = b - 1;
    const KeyFrame<T>& keyA = keys[a];
    const KeyFrame<T>& keyB = keys[b];
    if (keyA.step) {
        *out = keyA.value;
        return b;
    }

    using B = Blend<T>;
    float u = (time - keyA.time) / (keyB.time - keyA.time);
    const T& p1 = keyA.value;
    const T& p2 = keyB.value;

    T m1 = (a > 0 && !keys[a - 1].step) ? Scaled<T>(p2 - keys[a - 1].value, 0.5f)
                                        : Scaled<T>(p2 - p1, 1.5f);
    T m2 = (b + 1 < n && !keyB.step) ? Scaled<T>(keys[b + 1].value - p1, 0.5f)
                                     : Scaled<T>(p2 - p1, 1.5f);
    if (n == 2) {
        m1 = p2 - p1;
        m2 = p2 - p1;
    } else {
        if (a == 0) m1 = B::FromCalc(B::ToCalc(m1) - B::ToCalc(m2) * 0.5f);
        if (b == n - 1) m2 = B::FromCalc(B::ToCalc(m2) - B::ToCalc(m1) * 0.5f);
    }

    float u2 = u * u;
    float u3 = u2 * u;
    *out = B::FromCalc(B::ToCalc(p1) * (2.0f * u3 - 3.0f * u2 + 1.0f) +
                       B::ToCalc(p2) * (-2.0f * u3 + 3.0f * u2) +
                       B::ToCalc(m1) * (u3 - 2.0f * u2 + u) + B::ToCalc(m2) * (u3 - u2));
    return b;
}

template class Interpolator<int>;
template class Interpolator<float>;
template class Interpolator<sm::Vec3>;
template class Interpolator<sm::Vec4>;
template class Interpolator<bool>;
template class Interpolator<std::string>;
template class LinearInterpolator<int>;
template class LinearInterpolator<float>;
template class LinearInterpolator<sm::Vec3>;
template class LinearInterpolator<sm::Vec4>;
template class StateInterpolator<int>;
template class StateInterpolator<float>;
template class StateInterpolator<sm::Vec3>;
template class StateInterpolator<sm::Vec4>;
template class StateInterpolator<bool>;
template class StateInterpolator<std::string>;
template class TCBInterpolator<int>;
template class TCBInterpolator<float>;
template class TCBInterpolator<sm::Vec3>;
template class TCBInterpolator<sm::Vec4>;
