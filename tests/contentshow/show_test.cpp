// The show's content as the build packs it: it passes the inspector's validation, it is the same
// bytes on every build, and no scene draws more than the frame's triangle budget.
#include <gtest/gtest.h>

#include <cstdio>

#include "content/unpackarchive.h"
#include "inspect.h"
#include "show/show.h"
#include "showfiles.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

TEST(BuiltContent, PassesValidation) {
    for (const std::string& problem : ValidateDataFolder(PINDLE_BUILT_ARCHIVE))
        ADD_FAILURE() << problem;
}

TEST(BuiltContent, IsTheSameBytesOnEveryBuild) {
    TempDir dir;
    ASSERT_EQ(CaptureFatal([&] { UnpackArchive(PINDLE_BUILT_ARCHIVE, dir.Path() + "/"); }), "");
    // The build's own run of the builder, another run here, and the one every test shares.
    const FileTree again = show::ShowFiles(show::BuildShow());
    ASSERT_EQ(again.size(), ShowFileTree().size());
    for (const auto& [path, bytes] : ShowFileTree()) {
        ASSERT_TRUE(again.count(path)) << path;
        EXPECT_TRUE(again.at(path) == bytes) << path << " differs between two runs";
        EXPECT_TRUE(ReadFileBytes(dir.File("korvane_data_orbendale/" + path)) == bytes)
            << path << " differs from the built archive";
    }
}

TEST(FrameBudget, NoSceneDrawsMoreThanSixtyThousandTriangles) {
    for (const show::SceneBuild& scene : TheShow().scenes) {
        const int peak = show::PeakDrawnTriangles(scene);
        std::printf("%-10s model %6d triangles, at most %6d drawn in a frame\n", scene.name.c_str(),
                    show::ModelTriangles(scene), peak);
        EXPECT_LE(peak, 60000) << scene.name;
        // Something is on screen all through the window.
        for (float t = scene.start; t < scene.end; t += 1.0f)
            EXPECT_GT(show::DrawnTriangles(scene, t), 0) << scene.name << " at " << t;
    }
}

}  // namespace
