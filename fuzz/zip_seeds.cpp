// Writes seed archives for the zip fuzzer into the folder given as the only argument, all made
// with the zip writer: a well-formed archive of folders and files, and the hostile archives the
// unpacker's tests build (escaping, absolute and drive-letter names, a symbolic link, an empty
// name, a NUL in a name, unknown methods, encryption, sizes over the limits, short reads, a bad
// CRC, a damaged central directory). The bombs are sized against the fuzzer's own limits
// (64 KiB an entry, 256 KiB in all) so that they stay fast.
#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "seedsupport.h"

#include "formats/zipwriter.h"

namespace {

const std::string kTop = "korvane_data_orbendale/";

ZipWriter::RawEntry Stored(const std::string& name, const std::string& data) {
    return ZipWriter::RawEntry::Stored(name, data);
}

ZipWriter::RawEntry With(ZipWriter::RawEntry e,
                         const std::function<void(ZipWriter::RawEntry&)>& change) {
    change(e);
    return e;
}

class Seeds {
public:
    explicit Seeds(std::string folder) : m_folder(std::move(folder)) {}

    void Archive(const std::string& name, const std::function<void(ZipWriter&)>& add) {
        ZipWriter zip;
        m_ok = zip.Open(Path(name)) && m_ok;
        add(zip);
        m_ok = zip.Close() && m_ok;
    }

    // One hostile entry between a good folder and a good file, as the tests place them.
    void Hostile(const std::string& name, const ZipWriter::RawEntry& entry) {
        Archive(name, [&](ZipWriter& zip) {
            zip.AddFolder(kTop);
            zip.AddRaw(entry);
            zip.AddFile(kTop + "after.txt", "after");
        });
    }

    // Rewrites a seed already written.
    void Patch(const std::string& name, const std::function<void(std::string&)>& change) {
        std::ifstream in(Path(name), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        change(bytes);
        m_ok = Save(m_folder, name, bytes) && m_ok;
    }

    bool Ok() const { return m_ok; }

private:
    std::string Path(const std::string& name) const { return m_folder + "/" + name; }

    std::string m_folder;
    bool m_ok = true;
};

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes + std::string(500, 'z');
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    Seeds seeds(argv[1]);

    seeds.Archive("good.zip", [](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFolder(kTop + "models/");
        zip.AddFile(kTop + "models/Train01.geo", AllBytes());
        zip.AddFolder("korvane_data_orbendale\\Scenes\\");
        zip.AddFile("korvane_data_orbendale\\scenes\\a.scene", "<Scene/>\n");
        zip.AddFile(kTop + "MODELS//b.geo", "geo", ZipWriter::Method::kStored);
        zip.AddFile(kTop + "empty.txt", "");
        zip.AddFile(kTop + "empty.bin", "", ZipWriter::Method::kStored);
        zip.AddFile(kTop + "missing/skipped.txt", "no folder entry");
        zip.AddFile(kTop + "models", "a file where a folder is");
    });
    seeds.Archive("long-name.zip", [](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + std::string(259 - kTop.size(), 'n'), "fits");
        zip.AddFile(kTop + std::string(260 - kTop.size(), 'n'), "too long");
    });

    const struct {
        const char* seed;
        ZipWriter::RawEntry entry;
    } hostile[] = {
        {"parent.zip", Stored("../evil", "evil")},
        {"parent-backslash.zip", Stored("..\\evil", "evil")},
        {"climbs.zip", Stored(kTop + "../../outside/evil", "evil")},
        {"climbs-folder.zip", Stored(kTop + "..\\..\\outside\\dir\\", "")},
        {"absolute.zip", Stored("/abs/evil", "evil")},
        {"absolute-backslash.zip", Stored("\\abs\\evil", "evil")},
        {"drive.zip", Stored("C:\\evil", "evil")},
        {"drive-relative.zip", Stored("c:evil", "evil")},
        {"empty-name.zip", Stored("", "evil")},
        {"symlink.zip", With(Stored(kTop + "link", "../../outside"),
                             [](auto& e) { e.unixMode = S_IFLNK | 0777; })},
        {"symlink-folder.zip", With(Stored(kTop + "linked/", "/tmp"),
                                    [](auto& e) { e.unixMode = S_IFLNK | 0777; })},
        {"method12.zip", With(Stored(kTop + "bz.geo", "evil"), [](auto& e) { e.method = 12; })},
        {"encrypted.zip",
         With(Stored(kTop + "secret.geo", "evil"), [](auto& e) { e.encrypted = true; })},
        {"declares-huge.zip", With(Stored(kTop + "huge.geo", "evil"),
                                   [](auto& e) { e.uncompressedSize = (uint64_t(1) << 30) + 1; })},
        {"short-stored.zip",
         With(Stored(kTop + "short.geo", "abc"), [](auto& e) { e.uncompressedSize = 10; })},
        {"short-deflated.zip", With(Stored(kTop + "short.ani", ZipWriter::Deflate("hello")),
                                    [](auto& e) {
                                        e.method = 8;
                                        e.uncompressedSize = 100;
                                        e.crc = ZipWriter::Crc32("hello");
                                    })},
        {"bad-crc.zip", With(Stored(kTop + "crc.geo", "hello"), [](auto& e) { e.crc ^= 1; })},
        // Deflates to far more than it declares: only the declared bytes may be read.
        {"understated.zip", With(Stored(kTop + "under.geo", ZipWriter::Deflate(std::string(
                                                                   200000, 'u'))),
                                 [](auto& e) {
                                     e.method = 8;
                                     e.uncompressedSize = 100;
                                     e.crc = ZipWriter::Crc32(std::string(100, 'u'));
                                 })},
    };
    for (const auto& h : hostile) seeds.Hostile(h.seed, h.entry);

    // Bombs: one entry over the entry limit, and entries each under it that together pass the
    // total limit. Both are well-formed and compress to little.
    seeds.Archive("bomb-entry.zip", [](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "zeros", std::string(1 << 20, '\0'));
    });
    seeds.Archive("bomb-total.zip", [](ZipWriter& zip) {
        zip.AddFolder(kTop);
        for (int i = 0; i < 5; ++i)
            zip.AddFile(kTop + "zeros" + std::to_string(i), std::string(60 << 10, '\0'));
    });

    // A NUL in both copies of a name.
    seeds.Archive("nul-name.zip", [](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.geoQhidden", "x");
    });
    seeds.Patch("nul-name.zip", [](std::string& bytes) {
        for (size_t at = bytes.find(".geoQ"); at != std::string::npos;
             at = bytes.find(".geoQ", at))
            bytes[at + 4] = '\0';
    });

    // The signature of the second central directory record broken.
    seeds.Archive("damaged-directory.zip", [](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.txt", "a");
    });
    seeds.Patch("damaged-directory.zip", [](std::string& bytes) {
        if (bytes.size() < 22) return;
        const size_t end = bytes.size() - 22;
        auto u16 = [&](size_t at) {
            return size_t(static_cast<unsigned char>(bytes[at])) |
                   size_t(static_cast<unsigned char>(bytes[at + 1])) << 8;
        };
        const size_t first = u16(end + 16) | u16(end + 18) << 16;
        const size_t second = first + 46 + u16(first + 28) + u16(first + 30) + u16(first + 32);
        if (second < bytes.size()) bytes[second] = 'X';
    });

    return seeds.Ok() ? 0 : 1;
}
