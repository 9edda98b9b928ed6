#include "formats/propertywriter.h"

PropertyDesc PropertyDesc::ConstantInt(const std::string& name, int value) {
    PropertyDesc p;
    p.name = name;
    p.propertyType = PropertyType_Int;
    p.intValue = value;
    return p;
}

void WritePropertyRecords(ByteWriter& out, const std::vector<PropertyDesc>& properties) {
    out.I32(static_cast<int32_t>(properties.size()));
    for (const PropertyDesc& p : properties) {
        out.String(p.name);
        out.U8(static_cast<uint8_t>(p.propertyType));
        out.U8(static_cast<uint8_t>(p.animationType));
        if (p.animationType == AnimationType_None) {
            switch (p.propertyType) {
                case PropertyType_Boolean:
                    out.U8(p.boolValue ? 1 : 0);
                    break;
                case PropertyType_Int:
                    out.I32(p.intValue);
                    break;
                case PropertyType_Float:
                    out.F32(p.floatValue);
                    break;
                case PropertyType_Vector3:
                    out.F32(p.vectorValue.x);
                    out.F32(p.vectorValue.y);
                    out.F32(p.vectorValue.z);
                    break;
                case PropertyType_String:
                    out.String(p.stringValue);
                    break;
                default:
                    break;
            }
            continue;
        }
        out.I32(static_cast<int32_t>(p.keys.size()));
        for (const PropertyKeyDesc& key : p.keys) {
            out.F32(key.time);
            if (p.propertyType == PropertyType_Int) out.I32(key.intValue);
            if (p.propertyType == PropertyType_Float) out.F32(key.floatValue);
        }
    }
}
