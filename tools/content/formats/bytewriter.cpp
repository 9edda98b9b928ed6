#include "formats/bytewriter.h"

#include <cstring>

void ByteWriter::U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
}

void ByteWriter::String(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    Raw(s.data(), s.size());
}

void ByteWriter::Raw(const void* data, size_t size) {
    m_bytes.append(static_cast<const char*>(data), size);
}
