#include "formats/zipwriter.h"

#include <minizip/zip.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Version made by: host 3 (Unix), so readers take the mode from the external attributes.
constexpr uLong kVersionMadeBy = (3u << 8) | 20u;
constexpr uLong kMsDosFolder = 0x10;

zip_fileinfo FixedInfo(uint32_t mode) {
    zip_fileinfo info{};
    // 1980-01-01 00:00:00, the earliest time a zip entry can carry.
    info.tmz_date.tm_mday = 1;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_year = 1980;
    info.dosDate = 0;
    info.internal_fa = 0;
    info.external_fa = static_cast<uLong>(mode) << 16;
    if (S_ISDIR(mode)) info.external_fa |= kMsDosFolder;
    return info;
}

uint16_t GetU16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                                 (static_cast<unsigned char>(b[at + 1]) << 8));
}

uint32_t GetU32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(GetU16(b, at)) | (static_cast<uint32_t>(GetU16(b, at + 2)) << 16);
}

void PutU16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

}  // namespace

ZipWriter::~ZipWriter() {
    if (m_zip) Close();
}

bool ZipWriter::Open(const std::string& path) {
    if (m_zip) Close();
    m_zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    m_path = path;
    m_ok = m_zip != nullptr;
    m_entries = 0;
    m_methodPatches.clear();
    return m_ok;
}

bool ZipWriter::AddFolder(const std::string& name) {
    std::string stored = name;
    if (stored.empty() || (stored.back() != '/' && stored.back() != '\\')) stored += '/';
    return AddEntry(stored, std::string(), 0, false, 0, 0, false, S_IFDIR | 0755);
}

bool ZipWriter::AddFile(const std::string& name, const std::string& data, Method method) {
    return AddEntry(name, data, method == Method::kDeflated ? Z_DEFLATED : 0, false, 0, 0, false,
                    S_IFREG | 0644);
}

bool ZipWriter::AddRaw(const RawEntry& entry) {
    int method = entry.method;
    if (method != 0 && method != Z_DEFLATED) {
        m_methodPatches.emplace_back(m_entries, entry.method);
        method = 0;
    }
    return AddEntry(entry.name, entry.data, method, true, entry.uncompressedSize, entry.crc,
                    entry.encrypted, entry.unixMode ? entry.unixMode : S_IFREG | 0644);
}

bool ZipWriter::AddEntry(const std::string& name, const std::string& data, int method, bool raw,
                         uint64_t declaredSize, uint32_t declaredCrc, bool encrypted,
                         uint32_t mode) {
    if (!m_zip) return false;
    const zip_fileinfo info = FixedInfo(mode);
    int res = zipOpenNewFileInZip4_64(m_zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                      method, Z_DEFAULT_COMPRESSION, raw ? 1 : 0, -MAX_WBITS,
                                      DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, kVersionMadeBy,
                                      encrypted ? 1 : 0, 0);
    if (res == ZIP_OK) {
        size_t done = 0;
        while (res == ZIP_OK && done < data.size()) {
            const size_t chunk = std::min<size_t>(data.size() - done, 1u << 30);
            res = zipWriteInFileInZip(m_zip, data.data() + done, static_cast<unsigned>(chunk));
            done += chunk;
        }
        const int closed = raw ? zipCloseFileInZipRaw64(m_zip, declaredSize, declaredCrc)
                               : zipCloseFileInZip(m_zip);
        if (res == ZIP_OK) res = closed;
    }
    ++m_entries;
    if (res != ZIP_OK) m_ok = false;
    return res == ZIP_OK;
}

bool ZipWriter::Close() {
    if (!m_zip) return false;
    if (zipClose(m_zip, nullptr) != ZIP_OK) m_ok = false;
    m_zip = nullptr;
    if (m_ok && !m_methodPatches.empty()) m_ok = PatchMethods();
    return m_ok;
}

// Puts the methods minizip will not write into the local and central headers of their entries.
bool ZipWriter::PatchMethods() {
    std::string bytes;
    {
        std::ifstream in(m_path, std::ios::binary);
        if (!in) return false;
        std::ostringstream all;
        all << in.rdbuf();
        bytes = all.str();
    }
    // No archive comment is written, so the end record is the last 22 bytes.
    if (bytes.size() < 22 || GetU32(bytes, bytes.size() - 22) != 0x06054b50) return false;
    const size_t end = bytes.size() - 22;
    size_t at = GetU32(bytes, end + 16);
    const int count = GetU16(bytes, end + 10);
    for (int index = 0; index < count; ++index) {
        if (at + 46 > bytes.size() || GetU32(bytes, at) != 0x02014b50) return false;
        for (const auto& patch : m_methodPatches) {
            if (patch.first != index) continue;
            const size_t local = GetU32(bytes, at + 42);
            if (local + 30 > bytes.size()) return false;
            PutU16(bytes, at + 10, patch.second);
            PutU16(bytes, local + 8, patch.second);
        }
        at += 46 + GetU16(bytes, at + 28) + GetU16(bytes, at + 30) + GetU16(bytes, at + 32);
    }
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

uint32_t ZipWriter::Crc32(const std::string& data) {
    uLong crc = crc32(0L, Z_NULL, 0);
    size_t done = 0;
    while (done < data.size()) {
        const size_t chunk = std::min<size_t>(data.size() - done, 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data() + done),
                    static_cast<uInt>(chunk));
        done += chunk;
    }
    return static_cast<uint32_t>(crc);
}

std::string ZipWriter::Deflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return std::string();
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int res = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return res == Z_STREAM_END ? out : std::string();
}

ZipWriter::RawEntry ZipWriter::RawEntry::Stored(const std::string& name, const std::string& data) {
    RawEntry e;
    e.name = name;
    e.data = data;
    e.uncompressedSize = data.size();
    e.crc = Crc32(data);
    return e;
}
