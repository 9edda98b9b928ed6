#include "content/unpackarchive.h"

#include <minizip/unzip.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "base/assert.h"
#include "platform/filesystem.h"
#include "platform/securewrite.h"

namespace {

// Room for a stored name and its terminator. minizip cuts a longer name to the buffer and then
// leaves it unterminated, so such a name is refused rather than used cut.
constexpr uLong kNameBufferSize = 260;

constexpr uLong kMethodStored = 0;
constexpr uLong kMethodDeflated = Z_DEFLATED;
constexpr uLong kFlagEncrypted = 1u << 0;
constexpr uLong kFlagStrongEncryption = 1u << 6;

struct ArchiveCloser {
    void operator()(std::remove_pointer_t<unzFile>* archive) const { unzClose(archive); }
};
using ArchiveHandle = std::unique_ptr<std::remove_pointer_t<unzFile>, ArchiveCloser>;

// ASSERT with the archive and entry added to the report in parentheses, so that the
// condition text stays as it is and the report still says which entry failed.
#define ASSERT_ENTRY(cond, context)                                                      \
    ((cond) ? static_cast<void>(0)                                                       \
            : ::ReportFatal(::FormatAssertionFailure(#cond, __FILE__, __LINE__) + " (" + \
                            (context) + ")"))

// A stored name as it can be shown: bytes outside printable ASCII as \xNN, long names cut.
std::string Quote(const std::string& name) {
    constexpr size_t kShown = 120;
    std::string out = "\"";
    for (size_t i = 0; i < name.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c >= 0x7F || c == '"') {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (name.size() > kShown) out += "...";
    return out + "\"";
}

std::string BaseName(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

class Unpacker {
public:
    Unpacker(const std::string& archivePath, const std::string& root, const UnpackLimits& limits)
        : m_archivePath(archivePath),
          m_archiveName(BaseName(archivePath)),
          m_root(PlatformResolvePath(root)),
          m_limits(limits) {}

    void Run();

private:
    // Reads the current entry's information and unpacks it.
    void UnpackCurrent(unzFile archive, uLong index);
    void CheckName(const std::string& name, const unz_file_info& fileInfo);
    void MakeFolder(const std::string& name);
    void MakeFile(unzFile archive, const std::string& name, const unz_file_info& fileInfo);
    // Fatal for a link or another user's folder in the way; false when the target could not
    // be created, which the caller skips.
    bool CheckWrite(const std::string& name, const BelowRootResult& result);

    [[noreturn]] void Fail(const std::string& name, const std::string& what) const {
        ReportFatal(m_archiveName + ": entry " + Quote(name) + " " + what);
    }
    std::string Context(const std::string& name, const std::string& what) const {
        return m_archiveName + ": entry " + Quote(name) + ": " + what;
    }

    std::string m_archivePath;
    std::string m_archiveName;
    std::string m_root;
    UnpackLimits m_limits;
    uint64_t m_total = 0;
    std::string m_lastName;
};

void Unpacker::Run() {
    ArchiveHandle archive(unzOpen(m_archivePath.c_str()));
    {
        // unzGoToFirstFile of no archive fails too, so a missing archive is caught here.
        const int res = unzGoToFirstFile(archive.get());
        ASSERT_ENTRY(res == 0, m_archiveName + ": cannot open the archive or its first entry");
    }
    for (uLong index = 0;; ++index) {
        UnpackCurrent(archive.get(), index);
        const int next = unzGoToNextFile(archive.get());
        if (next == UNZ_END_OF_LIST_OF_FILE) break;
        if (next != UNZ_OK)
            ReportFatal(m_archiveName + ": the central directory is damaged after entry " +
                        Quote(m_lastName) + " (unzGoToNextFile returned " + std::to_string(next) +
                        ")");
    }
}

void Unpacker::UnpackCurrent(unzFile archive, uLong index) {
    unz_file_info fileInfo;
    char buffer[kNameBufferSize];
    {
        const int res = unzGetCurrentFileInfo(archive, &fileInfo, buffer, kNameBufferSize, nullptr,
                                              0, nullptr, 0);
        ASSERT_ENTRY(res == 0, m_archiveName + ": cannot read the information of entry number " +
                                   std::to_string(index + 1));
    }
    const size_t stored =
        fileInfo.size_filename < kNameBufferSize ? fileInfo.size_filename : kNameBufferSize;
    std::string name(buffer, stored);
    if (fileInfo.size_filename >= kNameBufferSize)
        Fail(name, "has a name of " + std::to_string(fileInfo.size_filename) + " bytes; at most " +
                       std::to_string(kNameBufferSize - 1) + " fit");
    if (name.empty())
        ReportFatal(m_archiveName + ": entry number " + std::to_string(index + 1) +
                    " has an empty name");
    if (std::strlen(name.c_str()) != name.size()) Fail(name, "has a NUL character in its name");

    for (char& c : name)
        if (c == '\\') c = '/';
    m_lastName = name;
    CheckName(name, fileInfo);

    if (name.back() == '/')
        MakeFolder(name);
    else
        MakeFile(archive, name, fileInfo);
}

void Unpacker::CheckName(const std::string& name, const unz_file_info& fileInfo) {
    // Unix hosts keep the file mode in the high half of the external attributes.
    if (((fileInfo.external_fa >> 16) & S_IFMT) == S_IFLNK) Fail(name, "is a symbolic link");

    bool escapes = name.front() == '/';
    const unsigned char first = static_cast<unsigned char>(name[0]);
    if (name.size() >= 2 && name[1] == ':' &&
        ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')))
        escapes = true;
    for (const std::string& part : PlatformSplitPath(name))
        if (part == "..") escapes = true;
    if (escapes) Fail(name, "escapes the destination folder");
}

bool Unpacker::CheckWrite(const std::string& name, const BelowRootResult& result) {
    const std::string where = Quote(m_root + result.where);
    switch (result.status) {
        case BelowRootStatus::kOk:
            return true;
        case BelowRootStatus::kNotCreated:
            return false;
        case BelowRootStatus::kEscapesRoot:
            Fail(name, "escapes the destination folder");
        case BelowRootStatus::kSymbolicLink:
            Fail(name, "meets a symbolic link at " + where + ", which is not followed");
        case BelowRootStatus::kForeignOwner:
            Fail(name, "meets " + where + ", which belongs to another user");
        case BelowRootStatus::kHardLink:
            Fail(name, "meets " + where + ", which has other hard links");
        case BelowRootStatus::kWriteFailed:
            Fail(name, "cannot be written to " + where + ": " + std::strerror(result.error));
    }
    return false;
}

void Unpacker::MakeFolder(const std::string& name) {
    // A folder that cannot be created is not an error here; the files inside it are skipped.
    CheckWrite(name, PlatformCreateFolderBelow(m_root, name));
}

void Unpacker::MakeFile(unzFile archive, const std::string& name, const unz_file_info& fileInfo) {
    if (fileInfo.compression_method != kMethodStored &&
        fileInfo.compression_method != kMethodDeflated)
        Fail(name, "uses compression method " + std::to_string(fileInfo.compression_method) +
                       "; only stored (0) and deflated (8) can be read");
    if (fileInfo.flag & (kFlagEncrypted | kFlagStrongEncryption)) Fail(name, "is encrypted");
    const uint64_t size = fileInfo.uncompressed_size;
    // One read takes the whole entry, and a read's length is an unsigned.
    const uint64_t maxEntrySize = std::min<uint64_t>(m_limits.maxEntrySize, UINT_MAX);
    if (size > maxEntrySize)
        Fail(name, "declares " + std::to_string(size) + " bytes, over the limit of " +
                       std::to_string(maxEntrySize));
    if (size > m_limits.maxTotalSize - m_total)
        Fail(name, "brings the archive to " + std::to_string(m_total + size) +
                       " bytes, over the limit of " + std::to_string(m_limits.maxTotalSize));
    m_total += size;

    {
        const int res = unzOpenCurrentFile(archive);
        ASSERT_ENTRY(res == 0, Context(name, "cannot open the entry"));
    }
    std::vector<char> data(size);
    {
        // A negative error result wraps to a count that
        // no declared size reaches.
        const uLong res = static_cast<uLong>(static_cast<long>(
            unzReadCurrentFile(archive, data.data(), static_cast<unsigned>(size))));
        ASSERT_ENTRY(res == fileInfo.uncompressed_size,
                     Context(name, "read " + std::to_string(static_cast<long>(res)) + " of " +
                                       std::to_string(size) + " bytes"));
    }
    {
        // The close checks the CRC; it comes before the write so that damaged data never
        // reaches the disk.
        const int res = unzCloseCurrentFile(archive);
        ASSERT_ENTRY(res == 0,
                     Context(name, "unzCloseCurrentFile returned " + std::to_string(res) +
                                       (res == UNZ_CRCERROR ? ", the CRC does not match" : "")));
    }
    // A file that cannot be created is skipped; loading reports it when it looks for it.
    CheckWrite(name, PlatformWriteFileBelow(m_root, name, data.data(), data.size()));
}

}  // namespace

void UnpackArchive(const std::string& archivePath, const std::string& destinationRoot) {
    UnpackArchive(archivePath, destinationRoot, UnpackLimits());
}

void UnpackArchive(const std::string& archivePath, const std::string& destinationRoot,
                   const UnpackLimits& limits) {
    Unpacker(archivePath, destinationRoot, limits).Run();
}
