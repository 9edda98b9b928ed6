#include "content/propertyrecord.h"

#include <cmath>
#include <cstdio>

#include "content/binaryreader.h"

namespace {

constexpr int kMaxPropertyType = PropertyType_String;
constexpr int kMaxAnimationType = AnimationType_TCB;

// Name length, the two type bytes and the smallest payload (a Boolean constant or a key count
// would be more).
constexpr size_t kMinPropertyRecordBytes = 4 + 1 + 1 + 1;

std::string FormatFloat(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// Property stores Linear and TCB keys only for numbers and vectors.
bool HasStorage(int propType, int animType) {
    if (animType == AnimationType_None || animType == AnimationType_State) return true;
    return propType == PropertyType_Int || propType == PropertyType_Float ||
           propType == PropertyType_Vector3;
}

std::unique_ptr<Property> ReadProperty(BinaryReader& reader, int index, const std::string& owner) {
    reader.SetContext("property " + std::to_string(index) + " of " + owner);
    std::string name = reader.ReadString("property name");
    reader.SetContext("property " + BinaryReader::Quote(name) + " of " + owner);

    const size_t typeOffset = reader.GetPosition();
    const int propType = reader.ReadUInt8("property type");
    if (propType > kMaxPropertyType) {
        reader.Fail(typeOffset, "property type " + std::to_string(propType) + " above 4",
                    "property type");
    }
    const size_t animOffset = reader.GetPosition();
    const int animType = reader.ReadUInt8("animation type");
    if (animType > kMaxAnimationType) {
        reader.Fail(animOffset, "animation type " + std::to_string(animType) + " above 3",
                    "animation type");
    }
    if (!HasStorage(propType, animType)) {
        reader.Fail(animOffset,
                    "animation type " + std::to_string(animType) + " with property type " +
                        std::to_string(propType),
                    "animation type");
    }

    auto property = std::make_unique<Property>(name, propType, animType);
    if (animType == AnimationType_None) {
        switch (propType) {
            case PropertyType_Boolean:
                property->SetBool(reader.ReadUInt8("Boolean value") != 0);
                break;
            case PropertyType_Int:
                property->SetInt(reader.ReadInt32("Int value"), 0.0f);
                break;
            case PropertyType_Float:
                property->SetFloat(reader.ReadFloat("Float value"), 0.0f);
                break;
            case PropertyType_Vector3: {
                sm::Vec3 v;
                v.x = reader.ReadFloat("Vector3 value");
                v.y = reader.ReadFloat("Vector3 value");
                v.z = reader.ReadFloat("Vector3 value");
                property->SetVector3(v);
                break;
            }
            case PropertyType_String:
                property->SetString(reader.ReadString("String value"));
                break;
        }
        return property;
    }

    // Keys carry a value for Int and Float only; the other types store just the times.
    const bool valued = propType == PropertyType_Int || propType == PropertyType_Float;
    const int count = reader.ReadCount("key count", valued ? 8 : 4, "keys");
    float previous = 0.0f;
    for (int i = 0; i < count; ++i) {
        const size_t keyOffset = reader.GetPosition();
        const float time = reader.ReadFloat("key time");
        CheckKeyTime(reader, keyOffset, time, i > 0 ? &previous : nullptr, "key time");
        previous = time;
        if (propType == PropertyType_Int) {
            property->SetInt(reader.ReadInt32("key value"), time);
        } else if (propType == PropertyType_Float) {
            property->SetFloat(reader.ReadFloat("key value"), time);
        }
    }
    return property;
}

}  // namespace

void CheckKeyTime(const BinaryReader& reader, size_t offset, float time, const float* previousTime,
                  const char* what) {
    if (!std::isfinite(time)) reader.Fail(offset, "key time " + FormatFloat(time), what);
    if (previousTime && !(time > *previousTime)) {
        reader.Fail(offset,
                    "key time " + FormatFloat(time) + " not after " + FormatFloat(*previousTime),
                    what);
    }
}

void ReadPropertyRecords(BinaryReader& reader, const std::string& owner, PropertyMap* properties) {
    reader.SetContext(owner);
    const int count = reader.ReadCount("property count", kMinPropertyRecordBytes, "properties");
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<Property> property = ReadProperty(reader, i, owner);
        const std::string name = property->GetName();
        (*properties)[name] = std::move(property);
    }
}
