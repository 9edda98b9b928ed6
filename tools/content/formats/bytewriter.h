// Little-endian byte writer for the binary content formats: 32-bit integers, IEEE floats, and
// strings stored as a 32-bit length followed by their bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ByteWriter {
public:
    void U8(uint8_t v) { m_bytes.push_back(static_cast<char>(v)); }
    void U16(uint16_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void U32(uint32_t v);
    void F32(float v);
    void String(const std::string& s);
    void Raw(const void* data, size_t size);

    const std::string& Bytes() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
};
