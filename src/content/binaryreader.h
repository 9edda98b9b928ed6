// BinaryReader, the little-endian cursor under the model, skinned-mesh and animation loaders:
// built over a whole file's bytes, it reads fields in order and stops the program on anything the
// buffer can't hold, so no read leaves it. It neither owns the bytes nor knows any one format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every failure goes to ReportFatal as "<file>: <problem> at byte <offset> reading <what>",
// followed by " of <context>" when a context is set, for example
//   models/Scene01.geo: truncated at byte 1234 reading vertex data of part 0 of mesh "floor"
class BinaryReader {
public:
    // Blocks that a count announces may hold at most this many bytes, so that count × size is
    // safe in the 32-bit arithmetic of every later user of the data.
    static constexpr size_t kMaxBlockBytes = 0x7FFFFFFF;

    BinaryReader(const void* data, size_t size, std::string fileName);

    // Each read takes the field at the cursor and advances past it. what names the field in a
    // failure report.
    int32_t ReadInt32(const char* what);
    uint16_t ReadUInt16(const char* what);
    uint8_t ReadUInt8(const char* what);
    float ReadFloat(const char* what);
    // A 32-bit signed length, then that many bytes taken as they are. A negative length is fatal.
    std::string ReadString(const char* what);
    void ReadBytes(void* destination, size_t count, const char* what);

    // A 32-bit count of elements that follow, each at least elementSize bytes (the exact size
    // for arrays, a lower bound for records). Fatal when the count is negative, when count ×
    // elementSize exceeds kMaxBlockBytes, or when that many bytes are not left after the count;
    // itemsWhat names the elements in the last report.
    int32_t ReadCount(const char* what, size_t elementSize, const char* itemsWhat);

    // Moves the cursor forward; fatal past the end.
    void Skip(size_t count, const char* what);

    size_t GetPosition() const { return m_position; }
    size_t GetSize() const { return m_size; }
    size_t GetRemaining() const { return m_size - m_position; }
    const std::string& GetFileName() const { return m_fileName; }

    // The record being read, for reports ("part 0 of mesh \"floor\""); empty for none.
    void SetContext(std::string context) { m_context = std::move(context); }
    const std::string& GetContext() const { return m_context; }

    // Reports "<file>: <problem> at byte <offset> reading <what>[ of <context>]".
    [[noreturn]] void Fail(size_t offset, const std::string& problem, const char* what) const;

    // A file-supplied text made safe for a report: in double quotes, printable ASCII kept,
    // quotes, backslashes and other bytes escaped, cut after 48 bytes with "...".
    static std::string Quote(const std::string& text);

    // The name under which reports mention a file: the last two components of the path ("\" and
    // "/" both separate), joined with "/", as in "models/Scene01.geo".
    static std::string DisplayName(const std::string& path);

private:
    void Need(size_t count, const char* what) const;

    const unsigned char* m_data;
    size_t m_size;
    size_t m_position = 0;
    std::string m_fileName;
    std::string m_context;
};

// Reads a whole file (the path goes through the platform's resolver). False when it can't be
// opened or read; bytes is then left empty.
bool ReadBinaryFile(const std::string& path, std::vector<unsigned char>* bytes);
