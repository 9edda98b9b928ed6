#include "formats/zipwriter.h"

#include <gtest/gtest.h>
#include <minizip/unzip.h>
#include <sys/stat.h>

#include "support/tempdir.h"

namespace {

struct ReadEntry {
    std::string name;
    unz_file_info info;
    std::string data;  // read raw (as stored), so that any method can be looked at
};

std::vector<ReadEntry> ReadArchive(const std::string& path) {
    std::vector<ReadEntry> entries;
    unzFile zip = unzOpen(path.c_str());
    if (!zip) return entries;
    for (int res = unzGoToFirstFile(zip); res == UNZ_OK; res = unzGoToNextFile(zip)) {
        ReadEntry e;
        char name[1024];
        if (unzGetCurrentFileInfo(zip, &e.info, name, sizeof name, nullptr, 0, nullptr, 0) !=
            UNZ_OK)
            break;
        e.name = name;
        int method = 0, level = 0;
        if (unzOpenCurrentFile2(zip, &method, &level, 1) == UNZ_OK) {
            e.data.resize(e.info.compressed_size);
            const int n = unzReadCurrentFile(zip, e.data.data(), e.data.size());
            e.data.resize(n > 0 ? n : 0);
            unzCloseCurrentFile(zip);
        }
        entries.push_back(e);
    }
    unzClose(zip);
    return entries;
}

void WriteSample(const std::string& path) {
    ZipWriter zip;
    ASSERT_TRUE(zip.Open(path));
    EXPECT_TRUE(zip.AddFolder("top"));
    EXPECT_TRUE(zip.AddFolder("top\\sub\\"));
    EXPECT_TRUE(zip.AddFile("top/a.txt", std::string(1000, 'a')));
    EXPECT_TRUE(zip.AddFile("top/b.bin", "stored", ZipWriter::Method::kStored));
    ZipWriter::RawEntry raw;
    raw.name = "/abs\\odd";
    raw.method = 99;
    raw.data = "raw bytes";
    raw.uncompressedSize = 123456;
    raw.crc = 0xDEADBEEF;
    raw.encrypted = true;
    EXPECT_TRUE(zip.AddRaw(raw));
    raw.name = "link";
    raw.method = 0;
    raw.encrypted = false;
    raw.unixMode = S_IFLNK | 0777;
    EXPECT_TRUE(zip.AddRaw(raw));
    EXPECT_TRUE(zip.Close());
}

TEST(ZipWriter, SameEntriesGiveTheSameBytes) {
    TempDir dir;
    WriteSample(dir.File("one.zip"));
    WriteSample(dir.File("two.zip"));
    EXPECT_EQ(ReadFileBytes(dir.File("one.zip")), ReadFileBytes(dir.File("two.zip")));
}

TEST(ZipWriter, EntriesCarryWhatWasAsked) {
    TempDir dir;
    WriteSample(dir.File("a.zip"));
    const std::vector<ReadEntry> e = ReadArchive(dir.File("a.zip"));
    ASSERT_EQ(e.size(), 6u);

    EXPECT_EQ(e[0].name, "top/");
    EXPECT_TRUE(S_ISDIR(e[0].info.external_fa >> 16));
    EXPECT_EQ(e[1].name, "top\\sub\\");

    EXPECT_EQ(e[2].name, "top/a.txt");
    EXPECT_EQ(e[2].info.compression_method, 8u);
    EXPECT_EQ(e[2].info.uncompressed_size, 1000u);
    EXPECT_EQ(e[2].info.crc, ZipWriter::Crc32(std::string(1000, 'a')));
    EXPECT_EQ(e[2].data, ZipWriter::Deflate(std::string(1000, 'a')));
    EXPECT_TRUE(S_ISREG(e[2].info.external_fa >> 16));
    EXPECT_EQ(e[2].info.version >> 8, 3u);
    EXPECT_EQ(e[2].info.dosDate, e[0].info.dosDate);

    EXPECT_EQ(e[3].info.compression_method, 0u);
    EXPECT_EQ(e[3].data, "stored");

    EXPECT_EQ(e[4].name, "/abs\\odd");
    EXPECT_EQ(e[4].info.compression_method, 99u);
    EXPECT_EQ(e[4].info.uncompressed_size, 123456u);
    EXPECT_EQ(e[4].info.crc, 0xDEADBEEFu);
    EXPECT_EQ(e[4].info.flag & 1, 1u);

    EXPECT_EQ(e[5].info.flag & 1, 0u);
    EXPECT_TRUE(S_ISLNK(e[5].info.external_fa >> 16));
    EXPECT_EQ(e[5].data, "raw bytes");
}

TEST(ZipWriter, FailsWithoutAnOpenArchive) {
    TempDir dir;
    ZipWriter zip;
    EXPECT_FALSE(zip.AddFile("a", "a"));
    EXPECT_FALSE(zip.Open(dir.File("missing/a.zip")));
    EXPECT_FALSE(zip.Close());
}

}  // namespace
