#include "content/binaryreader.h"

#include <cstdio>
#include <cstring>

#include "base/assert.h"
#include "platform/filesystem.h"

BinaryReader::BinaryReader(const void* data, size_t size, std::string fileName)
    : m_data(static_cast<const unsigned char*>(data)),
      m_size(size),
      m_fileName(std::move(fileName)) {
    ASSERT(data != nullptr || size == 0);
}

void BinaryReader::Fail(size_t offset, const std::string& problem, const char* what) const {
    std::string message =
        m_fileName + ": " + problem + " at byte " + std::to_string(offset) + " reading " + what;
    if (!m_context.empty()) message += " of " + m_context;
    ReportFatal(message);
}

void BinaryReader::Need(size_t count, const char* what) const {
    if (count > GetRemaining()) Fail(m_position, "truncated", what);
}

void BinaryReader::ReadBytes(void* destination, size_t count, const char* what) {
    Need(count, what);
    if (count > 0) std::memcpy(destination, m_data + m_position, count);
    m_position += count;
}

void BinaryReader::Skip(size_t count, const char* what) {
    Need(count, what);
    m_position += count;
}

uint8_t BinaryReader::ReadUInt8(const char* what) {
    Need(1, what);
    return m_data[m_position++];
}

uint16_t BinaryReader::ReadUInt16(const char* what) {
    Need(2, what);
    const unsigned char* p = m_data + m_position;
    m_position += 2;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

int32_t BinaryReader::ReadInt32(const char* what) {
    Need(4, what);
    const unsigned char* p = m_data + m_position;
    m_position += 4;
    uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                    (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float BinaryReader::ReadFloat(const char* what) {
    int32_t bits = ReadInt32(what);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int32_t BinaryReader::ReadCount(const char* what, size_t elementSize, const char* itemsWhat) {
    const size_t countOffset = m_position;
    const int32_t count = ReadInt32(what);
    if (count < 0) Fail(countOffset, "negative count " + std::to_string(count), what);
    if (elementSize > 0 && static_cast<size_t>(count) > kMaxBlockBytes / elementSize) {
        Fail(countOffset,
             "count " + std::to_string(count) + " times " + std::to_string(elementSize) +
                 " bytes overflows",
             what);
    }
    Need(static_cast<size_t>(count) * elementSize, itemsWhat);
    return count;
}

std::string BinaryReader::ReadString(const char* what) {
    const size_t lengthOffset = m_position;
    const int32_t length = ReadInt32(what);
    if (length < 0) Fail(lengthOffset, "negative length " + std::to_string(length), what);
    Need(static_cast<size_t>(length), what);
    std::string text(reinterpret_cast<const char*>(m_data + m_position), length);
    m_position += length;
    return text;
}

std::string BinaryReader::Quote(const std::string& text) {
    constexpr size_t kShown = 48;
    std::string quoted = "\"";
    for (size_t i = 0; i < text.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            quoted += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            quoted += escape;
        }
    }
    if (text.size() > kShown) quoted += "...";
    return quoted + "\"";
}

std::string BinaryReader::DisplayName(const std::string& path) {
    std::vector<std::string> parts = PlatformSplitPath(path);
    if (parts.empty()) return path;
    if (parts.size() == 1) return parts.back();
    return parts[parts.size() - 2] + "/" + parts.back();
}

bool ReadBinaryFile(const std::string& path, std::vector<unsigned char>* bytes) {
    bytes->clear();
    FILE* file = std::fopen(PlatformResolvePath(path).c_str(), "rb");
    if (!file) return false;
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) bytes->clear();
    return ok;
}
