// Property, a named, typed value attached to a mesh by its model file: a flag, number, vector
// or text, either one constant value or keys in an interpolator evaluated at the show's time.
// The type and the animation type are fixed at construction; every setter and getter asserts
// the type, so a mismatch is fatal rather than a misread. Keys can be added to animated int and
// float properties only; animated bool, vector and string properties stay without keys.
#pragma once

#include <memory>
#include <string>
#include <variant>

#include "math/interpolator.h"
#include "math/vec3.h"

// Values as stored in model files.
enum PropertyType {
    PropertyType_Boolean = 0,
    PropertyType_Int = 1,
    PropertyType_Float = 2,
    PropertyType_Vector3 = 3,
    PropertyType_String = 4,
};

enum AnimationType {
    AnimationType_None = 0,
    AnimationType_State = 1,
    AnimationType_Linear = 2,
    AnimationType_TCB = 3,
};

class Property {
public:
    // Valid: every type with AnimationType_None or AnimationType_State; int, float and vector
    // also with Linear and TCB. Any other pair (or a value outside the enumerations) is fatal.
    // A constant starts at false, 0, 0.0, (0, 0, 0) or the empty string; an interpolator empty.
    Property(const std::string& name, int propType, int animType);
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    const std::string& GetName() const { return m_name; }
    PropertyType GetPropertyType() const { return static_cast<PropertyType>(m_propType); }
    AnimationType GetAnimationType() const { return static_cast<AnimationType>(m_animType); }
    bool IsAnimated() const { return m_animType != AnimationType_None; }

    // Constant bool, vector and string properties only.
    void SetBool(bool value);
    void SetVector3(const sm::Vec3& value);
    void SetString(const std::string& value);
    // Animated: appends a key at time (step flag clear) with no ordering check, so add keys in
    // increasing time. Constant: stores the value and ignores time.
    void SetInt(int value, float time);
    void SetFloat(float value, float time);

    // The value at time. Animated: the interpolator's result (the zero value while it has no
    // keys), and *keyIndex, when given, receives the index of the deciding key. Constant: the
    // stored value; *keyIndex is not written.
    int GetInt(float time, int* keyIndex = nullptr) const;
    float GetFloat(float time, int* keyIndex = nullptr) const;
    bool GetBool(float time, int* keyIndex = nullptr) const;
    sm::Vec3 GetVector3(float time, int* keyIndex = nullptr) const;
    std::string GetString(float time, int* keyIndex = nullptr) const;

    // The keys of an animated property (an IInterpolator of the value type); null for a
    // constant.
    const IKeysContainer* GetInterpolator() const { return m_interpolator.get(); }

private:
    template <typename T>
    T Get(float time, int* keyIndex) const;
    template <typename T>
    void Set(const T& value, float time);

    std::string m_name;
    int m_propType;
    int m_animType;
    // The value of a constant property, of the property's type.
    std::variant<bool, int, float, sm::Vec3, std::string> m_constant;
    // The interpolator of an animated property; null for a constant.
    std::unique_ptr<IKeysContainer> m_interpolator;
};
