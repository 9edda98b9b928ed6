#include "content/pathinfo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/fileutils.h"
#include "support/tempdir.h"

namespace {

struct PathCase {
    const char* path;
    const char* directory;
    const char* name;
    const char* extension;
    const char* fileName;
};

TEST(PathInfo, SplitsDirectoryNameAndLastExtension) {
    const PathCase cases[] = {
        {"", "", "", "", ""},
        {"brick.png", "", "brick", "png", "brick.png"},
        {"C:\\data\\textures\\brick.png", "C:\\data\\textures\\", "brick", "png", "brick.png"},
        {"/tmp/data/models/Train01.geo", "/tmp/data/models/", "Train01", "geo", "Train01.geo"},
        // the later of the two separators wins, whichever kind it is
        {"a/b\\c.txt", "a/b\\", "c", "txt", "c.txt"},
        {"a\\b/c.txt", "a\\b/", "c", "txt", "c.txt"},
        // only the last extension goes
        {"scene.tar.gz", "", "scene.tar", "gz", "scene.tar.gz"},
        // a dot in a folder name is not an extension
        {"dir.v2/readme", "dir.v2/", "readme", "", "readme"},
        // a leading dot alone is part of the name; a later one still splits
        {".profile", "", ".profile", "", ".profile"},
        {"dir/.png", "dir/", ".png", "", ".png"},
        {".hidden.png", "", ".hidden", "png", ".hidden.png"},
        // a trailing dot is cut and gives no extension
        {"name.", "", "name", "", "name"},
        {"folder\\", "folder\\", "", "", ""},
        {"/", "/", "", "", ""},
        {"Sky.PNG", "", "Sky", "PNG", "Sky.PNG"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.path);
        PathInfo info(c.path);
        EXPECT_EQ(info.GetDirectory(), c.directory);
        EXPECT_EQ(info.GetName(), c.name);
        EXPECT_EQ(info.GetExtension(), c.extension);
        EXPECT_EQ(info.GetFileName(), c.fileName);
        EXPECT_EQ(info.GetFullPath(), std::string(c.directory) + c.fileName);
    }
}

// Reports name a content file below the data folder, as the file system spells it.
TEST(ContentFileName, IsThePathBelowTheContentRoot) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("data/effects"));
    WriteFileBytes(dir.File("data/effects/Sprite.vpr"), "");
    const std::string data = dir.File("data/");
    EXPECT_EQ(ContentFileName(data + "loader.jpg"), "data/loader.jpg")
        << "without a root: the last two components";
    SetContentRoot(data);
    EXPECT_EQ(ContentFileName(data + "Effects\\Sprite.vpr"), "effects/Sprite.vpr");
    EXPECT_EQ(ContentFileName(data + "loader.jpg"), "loader.jpg");
    EXPECT_EQ(ContentFileName(data + "Scenes\\Missing.scene"), "Scenes/Missing.scene");
    EXPECT_EQ(ContentFileName(dir.File("elsewhere/textures/end.png")), "textures/end.png");
    EXPECT_EQ(ContentFileName("data/effects/Sprite.vpr"), "effects/Sprite.vpr")
        << "a relative path is not below an absolute root";
    SetContentRoot("");
}

}  // namespace
