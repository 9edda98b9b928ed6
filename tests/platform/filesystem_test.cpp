#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "support/tempdir.h"

namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& to) : m_old(fs::current_path()) {
        fs::current_path(to);
    }
    ~ScopedChdir() { fs::current_path(m_old); }

private:
    fs::path m_old;
};

TEST(TempFolder, ComesFromTmpdirElseTmpAndEndsWithASlash) {
    {
        ScopedEnv env("TMPDIR", nullptr);
        EXPECT_EQ(PlatformTempFolder(), "/tmp/");
    }
    {
        ScopedEnv env("TMPDIR", "");
        EXPECT_EQ(PlatformTempFolder(), "/tmp/");
    }
    {
        ScopedEnv env("TMPDIR", "/run/user/1000");
        EXPECT_EQ(PlatformTempFolder(), "/run/user/1000/");
    }
    {
        ScopedEnv env("TMPDIR", "/var/tmp/");
        EXPECT_EQ(PlatformTempFolder(), "/var/tmp/");
    }
}

TEST(CurrentFolder, IsTheWorkingFolderWithoutTrailingSlash) {
    TempDir dir;
    const std::string real = fs::canonical(dir.Path()).string();
    ScopedChdir in(dir.Path());
    EXPECT_EQ(PlatformCurrentFolder(), real);
}

TEST(CreateFolder, ExistingFoldersAreFineUnderAnyCase) {
    TempDir dir;
    EXPECT_TRUE(PlatformCreateFolder(dir.File("effects")));
    EXPECT_TRUE(fs::is_directory(dir.File("effects")));
    EXPECT_TRUE(PlatformCreateFolder(dir.File("effects")));
    EXPECT_TRUE(PlatformCreateFolder(dir.Path() + "\\Effects\\"));
    EXPECT_FALSE(fs::exists(dir.File("Effects")));

    EXPECT_FALSE(PlatformCreateFolder(dir.File("missing/child")));
    WriteFileBytes(dir.File("file"), "x");
    EXPECT_FALSE(PlatformCreateFolder(dir.File("file")));
}

TEST(ResolvePath, FallsBackToCaseInsensitiveNamesAndAcceptsBothSeparators) {
    TempDir dir;
    const std::string root = dir.Path();
    fs::create_directories(root + "/effects");
    fs::create_directories(root + "/Models");
    fs::create_directories(root + "/Both");
    fs::create_directories(root + "/both");
    WriteFileBytes(root + "/effects/Sprite.vpr", "v");

    const struct {
        std::string in, out;
    } cases[] = {
        {root + "/effects/Sprite.vpr", root + "/effects/Sprite.vpr"},
        {root + "/Effects/Sprite.vpr", root + "/effects/Sprite.vpr"},
        {root + "\\EFFECTS\\sprite.VPR", root + "/effects/Sprite.vpr"},
        {root + "\\\\effects//\\Sprite.vpr", root + "/effects/Sprite.vpr"},
        {root + "\\models\\", root + "/Models/"},
        // The first missing component and everything below it stay as given.
        {root + "/effects/Missing/x.VPR", root + "/effects/Missing/x.VPR"},
        {root + "/Nothing/EFFECTS", root + "/Nothing/EFFECTS"},
        // An exact name wins; among several inexact ones the byte-wise smallest does.
        {root + "/both", root + "/both"},
        {root + "/BOTH", root + "/Both"},
        {"", ""},
        {"\\", "/"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlatformResolvePath(c.in), c.out) << c.in;

    ScopedChdir in(root);
    EXPECT_EQ(PlatformResolvePath("EFFECTS\\sprite.vpr"), "effects/Sprite.vpr");
}

TEST(MaskMatches, StarAndQuestionMarkWithoutRegardToCase) {
    const struct {
        const char* mask;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.geo", "Train01.geo", true},
        {"*.geo", "TRAIN01.GEO", true},
        {"*.GEO", "train01.geo", true},
        {"*.geo", ".geo", true},
        {"*.geo", "train01.geox", false},
        {"*.geo", "train01geo", false},
        {"*.png", "a.png.jpg", false},
        {"*.png", "a.jpg.png", true},
        {"?.png", "a.png", true},
        {"?.png", "ab.png", false},
        {"?.png", ".png", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},
        {"**", "x", true},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        // Backtracking over many stars stays linear.
        {"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlatformMaskMatches(c.mask, c.name), c.matches) << c.mask << " " << c.name;
}

TEST(FindFiles, ListsMatchingNamesSortedWithoutRegardToCase) {
    TempDir dir;
    fs::create_directories(dir.File("Models/d.geo"));  // folders match as well
    for (const char* name : {"b.GEO", "a.geo", "C.geo", "c.png", "geo"})
        WriteFileBytes(dir.File(std::string("Models/") + name), "");

    EXPECT_EQ(PlatformFindFiles(dir.Path() + "\\models\\", "*.geo"),
              (std::vector<std::string>{"a.geo", "b.GEO", "C.geo", "d.geo"}));
    EXPECT_EQ(PlatformFindFiles(dir.File("Models"), "*").size(), 6u);  // no "." or ".."
    EXPECT_TRUE(PlatformFindFiles(dir.File("Models"), "*.jpg").empty());
    EXPECT_TRUE(PlatformFindFiles(dir.File("missing"), "*").empty());
}

}  // namespace
