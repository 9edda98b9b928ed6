#include "platform/securewrite.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/tempdir.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;

BelowRootResult Write(const std::string& root, const std::string& relative,
                      const std::string& data) {
    return PlatformWriteFileBelow(root, relative, data.data(), data.size());
}

// A test folder with the root for writing below it and a folder outside that root.
struct Tree {
    TempDir dir;
    std::string root = dir.File("root/");
    std::string outside = dir.File("outside");
    Tree() {
        fs::create_directories(root);
        fs::create_directories(outside);
    }
};

TEST(SecureWrite, CreatesPrivateFoldersAndWritesFiles) {
    Tree t;
    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "data").status, BelowRootStatus::kOk);
    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "data\\models\\").status, BelowRootStatus::kOk);
    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "data/models").status, BelowRootStatus::kOk);
    struct stat st;
    ASSERT_EQ(stat((t.root + "data").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);

    EXPECT_EQ(Write(t.root, "data//models\\a.geo", "first, longer").status, BelowRootStatus::kOk);
    EXPECT_EQ(Write(t.root, "data/models/a.geo", "second").status, BelowRootStatus::kOk);
    EXPECT_EQ(ReadFileBytes(t.root + "data/models/a.geo"), "second");
    EXPECT_EQ(Write(t.root, "data/empty", "").status, BelowRootStatus::kOk);
    EXPECT_EQ(fs::file_size(t.root + "data/empty"), 0u);
    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "").status, BelowRootStatus::kOk);
}

TEST(SecureWrite, ReusesNamesThatDifferOnlyInCase) {
    Tree t;
    ASSERT_EQ(PlatformCreateFolderBelow(t.root, "Data").status, BelowRootStatus::kOk);
    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "data").where, "Data");
    ASSERT_EQ(Write(t.root, "Data/Sprite.vpr", "old").status, BelowRootStatus::kOk);
    const BelowRootResult r = Write(t.root, "DATA/sprite.VPR", "new");
    EXPECT_EQ(r.status, BelowRootStatus::kOk);
    EXPECT_EQ(r.where, "Data/Sprite.vpr");
    EXPECT_EQ(ReadFileBytes(t.root + "Data/Sprite.vpr"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(t.root + "Data"), fs::directory_iterator()), 1);
}

TEST(SecureWrite, WhatCannotBeCreatedIsReportedAsNotCreated) {
    Tree t;
    WriteFileBytes(t.root + "file", "x");
    ASSERT_EQ(mkfifo((t.root + "fifo").c_str(), 0600), 0);

    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "missing/child").status,
              BelowRootStatus::kNotCreated);
    EXPECT_EQ(PlatformCreateFolderBelow(t.root, "file").status, BelowRootStatus::kNotCreated);
    EXPECT_EQ(Write(t.root, "missing/a.txt", "x").status, BelowRootStatus::kNotCreated);
    EXPECT_EQ(Write(t.root, "file/a.txt", "x").status, BelowRootStatus::kNotCreated);
    EXPECT_EQ(Write(t.root, "", "x").status, BelowRootStatus::kNotCreated);
    // A FIFO is neither waited on nor written.
    EXPECT_EQ(Write(t.root, "fifo", "x").status, BelowRootStatus::kNotCreated);
    EXPECT_EQ(PlatformCreateFolderBelow(t.dir.File("no-root/"), "a").status,
              BelowRootStatus::kNotCreated);
}

TEST(SecureWrite, NeverLeavesTheRoot) {
    Tree t;
    fs::create_directories(t.root + "data");
    for (const char* relative :
         {"../outside/x", "data/../../outside/x", "..", "/tmp/x", "\\tmp\\x", "data\\..\\..\\x"}) {
        EXPECT_EQ(PlatformCreateFolderBelow(t.root, relative).status, BelowRootStatus::kEscapesRoot)
            << relative;
        EXPECT_EQ(Write(t.root, relative, "x").status, BelowRootStatus::kEscapesRoot) << relative;
    }
    EXPECT_TRUE(fs::is_empty(t.outside));
}

TEST(SecureWrite, FollowsNoLinkBelowTheRoot) {
    Tree t;
    fs::create_directories(t.root + "data/sub");
    WriteFileBytes(t.outside + "/target.txt", "keep");
    fs::create_directory_symlink(t.outside, t.root + "linked");
    fs::create_directory_symlink(t.outside, t.root + "data/models");
    fs::create_symlink(t.outside + "/target.txt", t.root + "data/a.txt");
    fs::create_symlink(t.outside + "/dangling.txt", t.root + "data/b.txt");

    const struct {
        bool folder;
        const char* relative;
        const char* where;
    } cases[] = {
        {true, "linked", "linked"},
        {true, "linked/sub", "linked"},
        {false, "linked/x.txt", "linked"},
        {true, "data/models", "data/models"},
        {false, "data/models/a.geo", "data/models"},
        {false, "data/a.txt", "data/a.txt"},
        {false, "data/b.txt", "data/b.txt"},
        {false, "DATA/A.TXT", "data/a.txt"},
    };
    for (const auto& c : cases) {
        const BelowRootResult r = c.folder ? PlatformCreateFolderBelow(t.root, c.relative)
                                           : Write(t.root, c.relative, "overwritten");
        EXPECT_EQ(r.status, BelowRootStatus::kSymbolicLink) << c.relative;
        EXPECT_EQ(r.where, c.where) << c.relative;
    }
    EXPECT_EQ(ReadFileBytes(t.outside + "/target.txt"), "keep");
    EXPECT_FALSE(fs::exists(t.outside + "/dangling.txt"));
    EXPECT_FALSE(fs::exists(t.outside + "/sub"));
    EXPECT_FALSE(fs::exists(t.outside + "/x.txt"));
}

TEST(SecureWrite, TheRootItselfMayBeALink) {
    Tree t;
    fs::create_directory_symlink(t.root, t.dir.File("root-link"));
    EXPECT_EQ(Write(t.dir.File("root-link/"), "a.txt", "x").status, BelowRootStatus::kOk);
    EXPECT_EQ(ReadFileBytes(t.root + "a.txt"), "x");
}

TEST(SecureWrite, RefusesAFileWithOtherHardLinks) {
    Tree t;
    WriteFileBytes(t.outside + "/precious", "keep");
    fs::create_hard_link(t.outside + "/precious", t.root + "a.txt");
    const BelowRootResult r = Write(t.root, "a.txt", "overwritten");
    EXPECT_EQ(r.status, BelowRootStatus::kHardLink);
    EXPECT_EQ(ReadFileBytes(t.outside + "/precious"), "keep");
}

TEST(SecureWrite, RefusesFoldersAndFilesOfAnotherUser) {
    if (geteuid() == 0) {
        Tree t;
        fs::create_directories(t.root + "data");
        fs::create_directories(t.root + "mine");
        WriteFileBytes(t.root + "mine/theirs.txt", "keep");
        ASSERT_EQ(chown((t.root + "data").c_str(), kOtherUser, kOtherUser), 0);
        ASSERT_EQ(chown((t.root + "mine/theirs.txt").c_str(), kOtherUser, kOtherUser), 0);

        EXPECT_EQ(PlatformCreateFolderBelow(t.root, "data").status, BelowRootStatus::kForeignOwner);
        const BelowRootResult r = Write(t.root, "data/a.txt", "x");
        EXPECT_EQ(r.status, BelowRootStatus::kForeignOwner);
        EXPECT_EQ(r.where, "data");
        EXPECT_FALSE(fs::exists(t.root + "data/a.txt"));
        EXPECT_EQ(Write(t.root, "mine/theirs.txt", "x").status, BelowRootStatus::kForeignOwner);
        EXPECT_EQ(ReadFileBytes(t.root + "mine/theirs.txt"), "keep");

        // The root is exempt, as /tmp belongs to root.
        ASSERT_EQ(chown(t.root.c_str(), kOtherUser, kOtherUser), 0);
        EXPECT_EQ(Write(t.root, "new.txt", "x").status, BelowRootStatus::kOk);
    } else {
        // Without the right to give a folder away, use one that is not ours: "/tmp" below "/".
        struct stat st;
        if (stat("/tmp", &st) != 0 || st.st_uid == geteuid()) GTEST_SKIP() << "no foreign folder";
        const BelowRootResult r = PlatformCreateFolderBelow("/", "tmp/pindle-never-created");
        EXPECT_EQ(r.status, BelowRootStatus::kForeignOwner);
        EXPECT_EQ(r.where, "tmp");
    }
}

}  // namespace
