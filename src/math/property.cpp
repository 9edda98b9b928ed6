#include "math/property.h"

#include "base/assert.h"

namespace {

// Linear and TCB exist for the numeric types only; any other request is fatal.
template <typename T>
std::unique_ptr<IKeysContainer> MakeInterpolator(int animType) {
    switch (animType) {
        case AnimationType_State:
            return std::make_unique<StateInterpolator<T>>();
        case AnimationType_Linear:
            if constexpr (interpolator_detail::kIsNumeric<T>) {
                return std::make_unique<LinearInterpolator<T>>();
            }
            break;
        case AnimationType_TCB:
            if constexpr (interpolator_detail::kIsNumeric<T>) {
                return std::make_unique<TCBInterpolator<T>>();
            }
            break;
        default:
            break;
    }
    ASSERT(0);
    return nullptr;
}

// The zero value of T stored in the constant and, when animated, the interpolator.
template <typename T>
void Create(int animType, std::variant<bool, int, float, sm::Vec3, std::string>* constant,
            std::unique_ptr<IKeysContainer>* interpolator) {
    *constant = T{};
    if (animType != AnimationType_None) *interpolator = MakeInterpolator<T>(animType);
}

}  // namespace

Property::Property(const std::string& name, int propType, int animType)
    : m_name(name), m_propType(propType), m_animType(animType) {
    switch (propType) {
        case PropertyType_Boolean:
            Create<bool>(animType, &m_constant, &m_interpolator);
            break;
        case PropertyType_Int:
            Create<int>(animType, &m_constant, &m_interpolator);
            break;
        case PropertyType_Float:
            Create<float>(animType, &m_constant, &m_interpolator);
            break;
        case PropertyType_Vector3:
            Create<sm::Vec3>(animType, &m_constant, &m_interpolator);
            break;
        case PropertyType_String:
            Create<std::string>(animType, &m_constant, &m_interpolator);
            break;
        default:
            ASSERT(0);
    }
}

template <typename T>
void Property::Set(const T& value, float time) {
    if (IsAnimated()) {
        static_cast<IInterpolator<T>*>(m_interpolator.get())->AddKey(time, value, false);
    } else {
        m_constant = value;
    }
}

template <typename T>
T Property::Get(float time, int* keyIndex) const {
    if (!IsAnimated()) return std::get<T>(m_constant);
    T result{};
    int index =
        static_cast<const IInterpolator<T>*>(m_interpolator.get())->Evaluate(time, &result, 0);
    if (keyIndex) *keyIndex = index;
    return result;
}

void Property::SetBool(bool value) {
    ASSERT(m_propType == PropertyType_Boolean);
    ASSERT(!IsAnimated());
    Set(value, 0.0f);
}

void Property::SetInt(int value, float time) {
    ASSERT(m_propType == PropertyType_Int);
    Set(value, time);
}

void Property::SetFloat(float value, float time) {
    ASSERT(m_propType == PropertyType_Float);
    Set(value, time);
}

void Property::SetVector3(const sm::Vec3& value) {
    ASSERT(m_propType == PropertyType_Vector3);
    ASSERT(!IsAnimated());
    Set(value, 0.0f);
}

void Property::SetString(const std::string& value) {
    ASSERT(m_propType == PropertyType_String);
    ASSERT(!IsAnimated());
    Set(value, 0.0f);
}

int Property::GetInt(float time, int* keyIndex) const {
    ASSERT(m_propType == PropertyType_Int);
    return Get<int>(time, keyIndex);
}

float Property::GetFloat(float time, int* keyIndex) const {
    ASSERT(m_propType == PropertyType_Float);
    return Get<float>(time, keyIndex);
}

bool Property::GetBool(float time, int* keyIndex) const {
    ASSERT(m_propType == PropertyType_Boolean);
    return Get<bool>(time, keyIndex);
}

sm::Vec3 Property::GetVector3(float time, int* keyIndex) const {
    ASSERT(m_propType == PropertyType_Vector3);
    return Get<sm::Vec3>(time, keyIndex);
}

std::string Property::GetString(float time, int* keyIndex) const {
    ASSERT(m_propType == PropertyType_String);
    return Get<std::string>(time, keyIndex);
}
