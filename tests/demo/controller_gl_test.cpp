// Runs on a virtual display with Mesa.
#include <gtest/gtest.h>

#include <unistd.h>

#include "demo/democontroller.h"
#include "render/billboard.h"
#include "support/tempdir.h"

namespace {

TEST(DemoControllerGl, ReleaseTwiceThenInitializeAgain) {
    TempDir dir;  // the controller writes log.txt in the working folder
    char cwd[4096];
    const std::string previous = getcwd(cwd, sizeof cwd) ? cwd : ".";
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    {
        DemoController controller;
        ASSERT_TRUE(controller.Initialize(nullptr, "first", 320, 180, 32, 0, false, true));
        ASSERT_NE(controller.GetWindow(), nullptr);
        ASSERT_NE(Billboard::GetBufferId(), 0u);
        controller.Release();
        EXPECT_EQ(controller.GetWindow(), nullptr);
        EXPECT_EQ(Billboard::GetBufferId(), 0u);
        controller.Release();  // nothing left to release
        EXPECT_EQ(controller.GetWindow(), nullptr);
        // Everything the first start made is gone, so a second start on the same object works
        // (a buffer left behind would stop it on its creation check).
        ASSERT_TRUE(controller.Initialize(nullptr, "second", 320, 180, 32, 0, false, true));
        EXPECT_NE(controller.GetWindow(), nullptr);
        EXPECT_NE(Billboard::GetBufferId(), 0u);
    }
    EXPECT_EQ(Billboard::GetBufferId(), 0u);  // the destructor releases as well
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

}  // namespace
