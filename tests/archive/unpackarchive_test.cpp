#include "content/unpackarchive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "formats/zipwriter.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

namespace fs = std::filesystem;

const std::string kTop = "korvane_data_orbendale/";
const std::string kAssertPrefix = "Assertion failed: ";

// The layout of one run: the archive, the root it unpacks into (standing for the temporary
// folder) and a folder beside the root that nothing may reach.
struct Layout {
    TempDir dir;
    std::string archive = dir.File("demodat");
    std::string root = dir.File("tmp/");
    std::string data = root + kTop;
    std::string outside = dir.File("outside");
    Layout() {
        fs::create_directories(root);
        fs::create_directories(outside);
    }

    void Build(const std::function<void(ZipWriter&)>& add) const {
        ZipWriter zip;
        ASSERT_TRUE(zip.Open(archive));
        add(zip);
        ASSERT_TRUE(zip.Close());
    }
    std::string Unpack(const UnpackLimits& limits = UnpackLimits()) const {
        return CaptureFatal([&] { UnpackArchive(archive, root, limits); });
    }
};

ZipWriter::RawEntry Stored(const std::string& name, const std::string& data) {
    return ZipWriter::RawEntry::Stored(name, data);
}

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes + std::string(5000, 'z');
}

size_t CountFiles(const std::string& folder) {
    size_t n = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (!e.is_directory()) ++n;
    return n;
}

TEST(UnpackArchive, UnpacksFoldersAndFilesBelowTheRoot) {
    Layout run;
    const std::string binary = AllBytes();
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFolder(kTop + "models/");
        zip.AddFile(kTop + "models/Train01.geo", binary);
        zip.AddFolder(kTop + "effects");
        zip.AddFile(kTop + "effects/Sprite.vpr", "void main() {}\n", ZipWriter::Method::kStored);
        zip.AddFile(kTop + "empty.txt", "");
        zip.AddFile(kTop + "empty.bin", "", ZipWriter::Method::kStored);
    });
    EXPECT_EQ(run.Unpack(), "");

    EXPECT_EQ(ReadFileBytes(run.data + "models/Train01.geo"), binary);
    EXPECT_EQ(ReadFileBytes(run.data + "effects/Sprite.vpr"), "void main() {}\n");
    EXPECT_EQ(fs::file_size(run.data + "empty.txt"), 0u);
    EXPECT_EQ(fs::file_size(run.data + "empty.bin"), 0u);
    EXPECT_EQ(CountFiles(run.root), 4u);
    struct stat st;
    ASSERT_EQ(stat(run.data.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "the data folder is private";
}

TEST(UnpackArchive, ArchiveOfOnlyFoldersCreatesNoFiles) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFolder(kTop + "textures/");
        zip.AddFolder("korvane_data_orbendale\\Scenes\\");
    });
    EXPECT_EQ(run.Unpack(), "");
    EXPECT_TRUE(fs::is_directory(run.data + "textures"));
    EXPECT_TRUE(fs::is_directory(run.data + "Scenes"));
    EXPECT_EQ(CountFiles(run.root), 0u);
}

TEST(UnpackArchive, SecondRunOverwritesTheFirst) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.txt", "the first run's longer text");
        zip.AddFile(kTop + "old.txt", "old");
    });
    ASSERT_EQ(run.Unpack(), "");
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.txt", "second");
    });
    EXPECT_EQ(run.Unpack(), "");
    EXPECT_EQ(ReadFileBytes(run.data + "a.txt"), "second");
    EXPECT_EQ(ReadFileBytes(run.data + "old.txt"), "old") << "files the archive lacks stay";
}

TEST(UnpackArchive, BackslashNamesAndFoldersUnderAnotherCase) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder("korvane_data_orbendale\\");
        zip.AddFolder("korvane_data_orbendale\\Models\\");
        zip.AddFile("korvane_data_orbendale\\models\\a.geo", "geo");
        zip.AddFile("korvane_data_orbendale/MODELS//b.geo", "geo2");
    });
    EXPECT_EQ(run.Unpack(), "");
    EXPECT_EQ(ReadFileBytes(run.data + "Models/a.geo"), "geo");
    EXPECT_EQ(ReadFileBytes(run.data + "Models/b.geo"), "geo2");
    EXPECT_EQ(CountFiles(run.root), 2u);
}

TEST(UnpackArchive, FileWithoutItsFolderEntryIsSkipped) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "missing/a.geo", "a");
        zip.AddFile(kTop + "b.geo", "b");
    });
    EXPECT_EQ(run.Unpack(), "");
    EXPECT_FALSE(fs::exists(run.data + "missing"));
    EXPECT_EQ(ReadFileBytes(run.data + "b.geo"), "b");
}

TEST(UnpackArchive, MissingArchiveFailsOnItsFirstEntry) {
    Layout run;
    const std::string message = run.Unpack();
    EXPECT_EQ(message.rfind(kAssertPrefix + "res == 0, file unpackarchive.cpp, line ", 0), 0u)
        << message;
    EXPECT_NE(message.find("demodat: cannot open the archive"), std::string::npos) << message;
}

TEST(UnpackArchive, NamesUpTo259BytesFit) {
    Layout run;
    const std::string fits = kTop + std::string(259 - kTop.size(), 'n');
    const std::string tooLong = fits + "x";
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(fits, "fits");
        zip.AddFile(tooLong, "too long");
    });
    const std::string message = run.Unpack();
    EXPECT_EQ(ReadFileBytes(run.root + fits), "fits");
    EXPECT_NE(message.find("demodat: entry \"korvane_data_orbendale/nnn"), std::string::npos);
    EXPECT_NE(message.find("has a name of 260 bytes; at most 259 fit"), std::string::npos)
        << message;
    EXPECT_EQ(CountFiles(run.root), 1u);
}

// Each hostile entry stops the unpacking with a report that names it. The entry comes after
// a good one and before another, and nothing lands outside the root or after the fault.
TEST(UnpackArchive, HostileEntriesAreFatalAndNamed) {
    const uint64_t kGiB = uint64_t(1) << 30;
    const std::string kEscapes = "\" escapes the destination folder";
    auto file = [](const std::string& name) { return Stored(name, "evil"); };
    auto folder = [](const std::string& name) { return Stored(name, ""); };
    auto with = [](ZipWriter::RawEntry e, const std::function<void(ZipWriter::RawEntry&)>& f) {
        f(e);
        return e;
    };
    const struct {
        ZipWriter::RawEntry entry;
        std::vector<std::string> message;  // parts the report holds
    } cases[] = {
        {file("../evil"), {"demodat: entry \"../evil" + kEscapes}},
        {file("..\\evil"), {"demodat: entry \"../evil" + kEscapes}},
        {file(kTop + "../../outside/evil"), {"\"" + kTop + "../../outside/evil" + kEscapes}},
        {folder(kTop + "..\\..\\outside\\dir\\"), {"/../../outside/dir/" + kEscapes}},
        {file("/abs/evil"), {"entry \"/abs/evil" + kEscapes}},
        {file("\\abs\\evil"), {"entry \"/abs/evil" + kEscapes}},
        {file("C:\\evil"), {"entry \"C:/evil" + kEscapes}},
        {file("c:evil"), {"entry \"c:evil" + kEscapes}},
        {file(""), {"demodat: entry number 2 has an empty name"}},
        {with(Stored(kTop + "link", "../../outside"), [](auto& e) { e.unixMode = S_IFLNK | 0777; }),
         {"entry \"korvane_data_orbendale/link\" is a symbolic link"}},
        {with(file(kTop + "bz.geo"), [](auto& e) { e.method = 12; }),
         {"entry \"korvane_data_orbendale/bz.geo\" uses compression method 12; only stored (0) "
          "and deflated (8) can be read"}},
        {with(file(kTop + "secret.geo"), [](auto& e) { e.encrypted = true; }),
         {"entry \"korvane_data_orbendale/secret.geo\" is encrypted"}},
        {with(file(kTop + "huge.geo"), [&](auto& e) { e.uncompressedSize = kGiB + 1; }),
         {"entry \"korvane_data_orbendale/huge.geo\" declares 1073741825 bytes, over the limit "
          "of 1073741824"}},
        {with(Stored(kTop + "short.geo", "abc"), [](auto& e) { e.uncompressedSize = 10; }),
         {kAssertPrefix + "res == fileInfo.uncompressed_size, file unpackarchive.cpp, line ",
          "(demodat: entry \"korvane_data_orbendale/short.geo\": read 3 of 10 bytes)"}},
        {with(Stored(kTop + "short.ani", ZipWriter::Deflate("hello")),
              [](auto& e) {
                  e.method = 8;
                  e.uncompressedSize = 100;
                  e.crc = ZipWriter::Crc32("hello");
              }),
         {kAssertPrefix + "res == fileInfo.uncompressed_size, file unpackarchive.cpp, line ",
          "entry \"korvane_data_orbendale/short.ani\": read 5 of 100 bytes"}},
        {with(Stored(kTop + "crc.geo", "hello"), [](auto& e) { e.crc ^= 1; }),
         {kAssertPrefix + "res == 0, file unpackarchive.cpp, line ",
          "entry \"korvane_data_orbendale/crc.geo\": unzCloseCurrentFile returned -105, the CRC "
          "does not match"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.name);
        Layout run;
        run.Build([&](ZipWriter& zip) {
            zip.AddFolder(kTop);
            zip.AddRaw(c.entry);
            zip.AddFile(kTop + "after.txt", "after");
        });
        const std::string message = run.Unpack();
        for (const std::string& part : c.message)
            EXPECT_NE(message.find(part), std::string::npos) << message << "\nlacks: " << part;
        EXPECT_EQ(CountFiles(run.root), 0u);
        EXPECT_TRUE(fs::is_empty(run.outside));
        EXPECT_FALSE(fs::exists(run.dir.File("evil")));
    }
}

TEST(UnpackArchive, NameWithANulIsFatal) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.geoQhidden", "x");
    });
    // Put the NUL into the local and the central copy of the name.
    std::string bytes = ReadFileBytes(run.archive);
    for (size_t at = bytes.find(".geoQ"); at != std::string::npos; at = bytes.find(".geoQ", at))
        bytes[at + 4] = '\0';
    WriteFileBytes(run.archive, bytes);
    EXPECT_NE(run.Unpack().find(
                  "demodat: entry \"korvane_data_orbendale/a.geo\\x00hidden\" has a NUL character"),
              std::string::npos);
    EXPECT_EQ(CountFiles(run.root), 0u);
}

TEST(UnpackArchive, DamagedCentralDirectoryStopsTheLoop) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.txt", "a");
    });
    // Break the signature of the second central directory record.
    std::string bytes = ReadFileBytes(run.archive);
    const size_t end = bytes.size() - 22;
    auto u16 = [&](size_t at) {
        return size_t(static_cast<unsigned char>(bytes[at])) |
               size_t(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    const size_t first = u16(end + 16) | u16(end + 18) << 16;
    const size_t second = first + 46 + u16(first + 28) + u16(first + 30) + u16(first + 32);
    bytes[second] = 'X';
    WriteFileBytes(run.archive, bytes);

    const std::string message = run.Unpack();
    EXPECT_EQ(message,
              "demodat: the central directory is damaged after entry "
              "\"korvane_data_orbendale/\" (unzGoToNextFile returned -103)");
    EXPECT_TRUE(fs::is_directory(run.data));
}

TEST(UnpackArchive, TotalOfDeclaredSizesIsLimited) {
    UnpackLimits limits;
    limits.maxTotalSize = 12;
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a", "123456");
        zip.AddFile(kTop + "b", "123456");
    });
    EXPECT_EQ(run.Unpack(limits), "") << "the limit itself is allowed";
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a", "123456");
        zip.AddFile(kTop + "b", "123456");
        zip.AddFile(kTop + "c", "7");
    });
    EXPECT_EQ(run.Unpack(limits),
              "demodat: entry \"korvane_data_orbendale/c\" brings the archive to 13 bytes, over "
              "the limit of 12");
}

TEST(UnpackArchive, LinksInTheWayAreNotFollowed) {
    for (const bool linkedFolder : {true, false}) {
        SCOPED_TRACE(linkedFolder ? "linked data folder" : "linked file");
        Layout run;
        WriteFileBytes(run.outside + "/target", "keep");
        if (linkedFolder) {
            fs::create_directory_symlink(run.outside, run.root + "korvane_data_orbendale");
        } else {
            fs::create_directories(run.data);
            fs::create_symlink(run.outside + "/target", run.data + "target");
        }
        run.Build([&](ZipWriter& zip) {
            zip.AddFolder(kTop);
            zip.AddFile(kTop + "target", "overwritten");
        });
        const std::string where =
            linkedFolder ? run.root + "korvane_data_orbendale" : run.data + "target";
        const std::string message = run.Unpack();
        EXPECT_NE(message.find("meets a symbolic link at \"" + where + "\", which is not followed"),
                  std::string::npos)
            << message;
        EXPECT_EQ(ReadFileBytes(run.outside + "/target"), "keep");
        EXPECT_EQ(fs::directory_iterator(run.outside)->path().filename(), "target");
    }
}

TEST(UnpackArchive, AnotherUsersDataFolderIsRefused) {
    Layout run;
    run.Build([&](ZipWriter& zip) {
        zip.AddFolder(kTop);
        zip.AddFile(kTop + "a.txt", "a");
    });
    std::string root = run.root;
    if (geteuid() == 0) {
        fs::create_directories(run.data);
        ASSERT_EQ(chown(run.data.c_str(), 65534, 65534), 0);
    } else {
        // Without the right to give a folder away, unpack "tmp/..." below "/".
        struct stat st;
        if (stat("/tmp", &st) != 0 || st.st_uid == geteuid()) GTEST_SKIP() << "no foreign folder";
        run.Build([&](ZipWriter& zip) { zip.AddFolder("tmp/pindle-never-created/"); });
        root = "/";
    }
    const std::string message = CaptureFatal([&] { UnpackArchive(run.archive, root); });
    EXPECT_NE(message.find("which belongs to another user"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(run.data + "a.txt"));
}

}  // namespace
