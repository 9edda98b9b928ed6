// The property record shared by ".geo" meshes and ".skm" files, written from a plain
// description. Any type bytes are written as given, so tests can make records the loader must
// refuse: a constant of a property type above 4 has no value bytes, and keys carry a value for
// Int and Float only.
#pragma once

#include <string>
#include <vector>

#include "formats/bytewriter.h"
#include "math/property.h"
#include "math/vec3.h"

struct PropertyKeyDesc {
    float time = 0.0f;
    int intValue = 0;      // Int keys
    float floatValue = 0;  // Float keys
};

struct PropertyDesc {
    std::string name;
    int propertyType = PropertyType_Int;  // written as one byte
    int animationType = AnimationType_None;
    // The constant, used when animationType is AnimationType_None.
    bool boolValue = false;
    int intValue = 0;
    float floatValue = 0.0f;
    sm::Vec3 vectorValue;
    std::string stringValue;
    // The keys of an animated property.
    std::vector<PropertyKeyDesc> keys;

    static PropertyDesc ConstantInt(const std::string& name, int value);
};

// The property count, then each record.
void WritePropertyRecords(ByteWriter& out, const std::vector<PropertyDesc>& properties);
