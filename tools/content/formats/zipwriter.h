// Writes zip archives through minizip's zip interface. The content builder packs the show's
// archive with it, and tests build well-formed and hostile archives with it. Use: Open, then
// AddFolder / AddFile / AddRaw in the order the entries should have, then Close (the destructor
// closes an archive left open). Every entry carries the same fixed time stamp and attributes, so
// the same calls give the same bytes on every run. Names are stored as given (any separators,
// absolute names, anything but a NUL); nothing here checks what a reader would refuse.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ZipWriter {
public:
    enum class Method { kStored, kDeflated };

    // An entry whose stored bytes and header fields are taken as they are, unchecked.
    struct RawEntry {
        std::string name;
        uint16_t method = 0;            // any method number
        std::string data;               // the bytes as the archive holds them
        uint64_t uncompressedSize = 0;  // declared size
        uint32_t crc = 0;               // declared CRC-32
        bool encrypted = false;         // sets the "encrypted" flag bit; the data stays as given
        uint32_t unixMode = 0;          // st_mode bits for the external attributes; 0: a plain file

        // A stored entry whose declared size and CRC-32 match data.
        static RawEntry Stored(const std::string& name, const std::string& data);
    };

    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Creates or truncates the archive file. False when it cannot be created.
    bool Open(const std::string& path);
    // A folder entry. name is stored as given; a "/" is appended when it ends in no separator.
    bool AddFolder(const std::string& name);
    bool AddFile(const std::string& name, const std::string& data,
                 Method method = Method::kDeflated);
    bool AddRaw(const RawEntry& entry);
    // Writes the central directory. False when any step of this archive failed.
    bool Close();

    static uint32_t Crc32(const std::string& data);
    // The data deflated as the zip method 8 stores it (raw deflate, no zlib header).
    static std::string Deflate(const std::string& data);

private:
    bool AddEntry(const std::string& name, const std::string& data, int method, bool raw,
                  uint64_t declaredSize, uint32_t declaredCrc, bool encrypted, uint32_t mode);
    bool PatchMethods();

    void* m_zip = nullptr;
    std::string m_path;
    bool m_ok = true;
    int m_entries = 0;
    // Methods minizip refuses to write: stored as 0, then put into the headers after Close.
    std::vector<std::pair<int, uint16_t>> m_methodPatches;
};
